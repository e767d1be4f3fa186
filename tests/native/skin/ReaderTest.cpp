#include "skin/Lzh.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinObjects.h"
#include "skin/WinSkinStore.h"
#include "tests/native/skin/TestFiles.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qv {
namespace {

// Collects what the skin engine shows to the user while a test runs.
class MessageLog {
public:
  MessageLog() {
    previous_ = SetSkinMessageHandler([this](const std::string &text) { messages.push_back(text); });
  }
  ~MessageLog() { SetSkinMessageHandler(previous_); }
  std::vector<std::string> messages;

private:
  TSkinMessageHandler previous_;
};

TBytes Archive(int32_t mark, const std::string &list, const std::vector<int32_t> &sizes, const TBytes &data) {
  TBytes a;
  AppendLE32(a, static_cast<uint32_t>(mark));
  AppendLE32(a, static_cast<uint32_t>(list.size()));
  AppendLE32(a, 0);
  AppendLE32(a, 0);
  a.insert(a.end(), list.begin(), list.end());
  for (int32_t s : sizes)
    AppendLE32(a, static_cast<uint32_t>(s));
  a.insert(a.end(), data.begin(), data.end());
  return a;
}

TEST(SkinReader, ReadsTheVectorArchiveAndFindsNamesInAnyCase) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(test::VectorFile("skin-archive.lzh")));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "top.bmp", "buttons.bmp"}));
  EXPECT_EQ(reader.Header()[0], 20000);
  EXPECT_EQ(reader.Header()[1], 32);

  TBytes top, again;
  reader.ExtractFile("Top.bmp", top);
  ASSERT_EQ(static_cast<int>(top.size()), reader.EntrySize(1));
  EXPECT_EQ(top[0], 'B');
  reader.ExtractFile("TOP.BMP", again);
  EXPECT_TRUE(top == again);

  TBytes missing = {1, 2, 3};
  reader.ExtractFile("absent.bmp", missing);
  EXPECT_TRUE(missing.empty());

  TBytes ini;
  EXPECT_EQ(reader.ExtractFirstContaining(".ini", ini), "skin.ini");
  EXPECT_EQ(static_cast<int>(ini.size()), reader.EntrySize(0));
  // The fragment is taken as given: names are lower-cased, so an upper-case fragment never matches.
  EXPECT_EQ(reader.ExtractFirstContaining(".INI", ini), "");
  EXPECT_TRUE(ini.empty());
}

TEST(SkinReader, RefusesMalformedArchives) {
  const TBytes data = {'a', 'b', 'c'};
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadArchive(Archive(20000, "a\r\nb\r\n", {1, 2}, data)));
  EXPECT_EQ(reader.EntryCount(), 2);

  EXPECT_THROW(reader.LoadArchive(Archive(20000, "a\r\nb\r\n", {-1, 2}, data)), ESkinPackage);
  EXPECT_EQ(reader.EntryCount(), 0); // nothing half-loaded
  EXPECT_THROW(reader.LoadArchive(Archive(20000, "a\r\nb\r\n", {2, 2}, data)), ESkinPackage);
  EXPECT_THROW(reader.LoadArchive(Archive(20000, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, data)),
               ESkinPackage);
  EXPECT_THROW(reader.LoadArchive(TBytes(10, 0)), ESkinPackage);

  // A name-list length that is negative or runs past the end.
  TBytes bad = Archive(20000, "a\r\n", {3}, data);
  bad[4] = 0xFF, bad[5] = 0xFF, bad[6] = 0xFF, bad[7] = 0xFF;
  EXPECT_THROW(reader.LoadArchive(bad), ESkinPackage);
  bad[7] = 0x00;
  EXPECT_THROW(reader.LoadArchive(bad), ESkinPackage);
  // A size table that does not fit.
  EXPECT_THROW(reader.LoadArchive(Archive(20000, "a\r\nb\r\nc\r\n", {}, {})), ESkinPackage);
}

TEST(SkinReader, HoldsAtMost1001Entries) {
  std::string list;
  for (int i = 0; i < 1001; ++i)
    list += "f" + std::to_string(i) + ".bmp\r\n";
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadArchive(Archive(20000, list, std::vector<int32_t>(1001, 0), {})));
  EXPECT_EQ(reader.EntryCount(), 1001);
  list += "one-too-many.bmp\r\n";
  EXPECT_THROW(reader.LoadArchive(Archive(20000, list, std::vector<int32_t>(1002, 0), {})), ESkinPackage);
}

// A package that is refused, whatever the reason, leaves no skin in force until a later load
// succeeds; the objects of the skin before stay untouched for the windows still painting with them.
TEST(SkinReader, ARefusedPackageLeavesNoSkinButKeepsTheOldObjects) {
  MessageLog log;
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(test::VectorFile("skin-archive.lzh")));
  ASSERT_FALSE(skin.NoSkinLoaded());
  const int topWidth = skin.Top->Image.Width();
  ASSERT_GT(topWidth, 0);

  // An old mark: the message once, false, no skin.
  EXPECT_FALSE(skin.LoadPackage(PackLzh(Archive(19999, "a\r\n", {0}, {}))));
  EXPECT_TRUE(skin.NoSkinLoaded());
  ASSERT_EQ(log.messages.size(), 1u);
  EXPECT_EQ(log.messages[0], "This is Older Skin File\rPlease update to new version !");

  std::string many;
  for (int i = 0; i < 1100; ++i)
    many += "x\r\n";
  const std::vector<TBytes> refused = {
      PackLzh(Archive(20000, many, std::vector<int32_t>(1100, 0), {})),
      PackLzh(Archive(20000, "a\r\n", {-5}, {})), PackLzh(Archive(20000, "a\r\n", {100}, {1, 2, 3})),
      TBytes{0xFF, 0xFF, 0xFF, 0x7F, 0x00}, // a declared size of 2 GiB
  };
  for (const TBytes &package : refused) {
    ASSERT_TRUE(skin.LoadPackage(test::VectorFile("skin-archive.lzh")));
    EXPECT_FALSE(skin.LoadPackage(package));
    EXPECT_TRUE(skin.NoSkinLoaded());
    EXPECT_EQ(skin.Top->Image.Width(), topWidth);
  }
  EXPECT_EQ(log.messages.size(), 1u + refused.size());
  ASSERT_TRUE(skin.LoadPackage(test::VectorFile("skin-archive.lzh")));
  EXPECT_FALSE(skin.NoSkinLoaded());
}

TEST(SkinPackageTool, RefusesToUnpackNamesOutsideTheFolder) {
  EXPECT_TRUE(IsBareFileName("top.bmp"));
  for (const char *name : {"../evil.bmp", "a/b.bmp", "..", "c:boot.ini", "x\\y.bmp", ""})
    EXPECT_FALSE(IsBareFileName(name)) << name;
  const TBytes packed = PackLzh(Archive(20000, "skin.ini\r\n../../escape.bmp\r\n", {1, 1}, {'x', 'y'}));
  EXPECT_THROW(UnpackSkinPackage(packed, "unpack-refused"), Exception);
}

// Unpacking checks the whole package first: a truncated or ambiguous one leaves no folder behind.
TEST(SkinPackageTool, RefusesTruncatedPackagesAndDoubleNamesBeforeWritingAnything) {
  const std::string folder = "unpack-damaged";
  std::filesystem::remove_all(folder);
  const TBytes package = test::DefaultSkinPackage();
  EXPECT_EQ(UnpackWholeLzh(package), UnpackLzh(package));
  for (std::size_t size : {package.size() - 1, package.size() * 3 / 4, package.size() / 2, std::size_t{40}}) {
    const TBytes cut(package.begin(), package.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(UnpackSkinPackage(cut, folder), ESkinPackage) << size;
    EXPECT_FALSE(std::filesystem::exists(folder)) << size;
  }
  // The engine itself still decodes a short stream as if zeros followed; the tool refuses it.
  const TBytes truncated = test::VectorFile("truncated.lzh");
  EXPECT_NO_THROW(UnpackLzh(truncated));
  EXPECT_THROW(UnpackWholeLzh(truncated), ESkinPackage);

  const TBytes twice =
      PackLzh(Archive(20000, "skin.ini\r\nTop.bmp\r\ntop.BMP\r\n", {1, 1, 1}, {'x', 'y', 'z'}));
  EXPECT_THROW(UnpackSkinPackage(twice, folder), Exception);
  EXPECT_FALSE(std::filesystem::exists(folder));
}

// Folder and file names are UTF-8 and go through the wide file API on Windows.
TEST(SkinPackageTool, PacksAndUnpacksInAFolderWithAChineseName) {
  const std::string folder = "皮肤测试";
  std::filesystem::remove_all(PathFromUtf8(folder));
  const TBytes package = test::DefaultSkinPackage();
  const std::vector<TSkinEntry> entries = UnpackSkinPackage(package, folder + "/解开");
  ASSERT_FALSE(entries.empty());
  WriteFileBytes(folder + "/解开/说明.txt", {'t'});
  const std::vector<TSkinEntry> again = ReadSkinArchive(UnpackWholeLzh(PackSkinFolder(folder + "/解开")));
  ASSERT_EQ(again.size(), entries.size() + 1);
  EXPECT_EQ(again.front().Name, entries.front().Name); // the description first
  EXPECT_TRUE(
      std::any_of(again.begin(), again.end(), [](const TSkinEntry &e) { return e.Name == "说明.txt"; }));
  std::filesystem::remove_all(PathFromUtf8(folder));
}

TEST(SkinStore, NamesItemsUniquelyAndCopiesPackages) {
  TSkinStore store;
  TSkinCollectionItem &first = store.Store().Add();
  TSkinCollectionItem &second = store.Store().Add();
  EXPECT_EQ(first.Name(), "SkinItem0");
  EXPECT_EQ(second.Name(), "SkinItem1");
  EXPECT_EQ(first.SkinData(), "Load Skin");
  first.SetDataStream({1, 2, 3});
  EXPECT_EQ(first.DataSize(), 3);
  try {
    second.SetName("skinitem0");
    FAIL() << "a duplicate name was accepted";
  } catch (const Exception &e) {
    EXPECT_EQ(e.Message(), "The name skinitem0 is already used.");
  }
  EXPECT_EQ(second.Name(), "SkinItem1");
  first.SetName("Blue");

  TSkinStore copy;
  copy.SetStore(store.Store());
  ASSERT_EQ(copy.Store().Count(), 2);
  EXPECT_EQ(copy.Store().Items(0).Name(), "Blue");
  EXPECT_TRUE(copy.Store().Items(0).DataStream() == first.DataStream());
}

} // namespace
} // namespace qv

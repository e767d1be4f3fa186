#include "platform/classes/Layout.h"
#include "platform/classes/Properties.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"
#include "tests/native/skin/TestFiles.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace qv {
namespace {

std::string Hex(const TBytes &bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "{";
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s + "}";
}

TBytes Stream(const TBytes &packed) {
  TBytes s;
  AppendLE32(s, static_cast<uint32_t>(packed.size()));
  s.insert(s.end(), packed.begin(), packed.end());
  return s;
}

TEST(SkinDataComponent, PublishesItsSettingsWithTheirDefaults) {
  RegisterSkinClasses();
  const TClassInfo *info = FindClassInfo("TSkinData");
  ASSERT_NE(info, nullptr);
  std::unique_ptr<TComponent> made(info->Create(nullptr));
  TSkinData &data = dynamic_cast<TSkinData &>(*made);
  EXPECT_EQ(GetPropText(data, "DisableTag"), "99");
  EXPECT_EQ(data.Options(), 0x48);
  EXPECT_EQ(GetPropText(data, "Options"), "[xoPreview, xoToolbarBK]");
  EXPECT_FALSE(data.SkinControls() & SkinBit(xcMenuItem));
  EXPECT_FALSE(data.SkinControls() & SkinBit(xcFastReport));
  EXPECT_TRUE(data.SkinControls() & SkinBit(xcSystemMenu));
  EXPECT_EQ(GetPropText(data, "SkinFormtype"), "sfMainform");
  EXPECT_EQ(GetPropText(data, "Version"), "3.64.10.19");
  SetPropText(data, "Version", "'1.0'");
  EXPECT_EQ(data.Version(), "3.64.10.19");
  EXPECT_EQ(data.Skin3rd()->Count(), 112);
  EXPECT_EQ(data.Skin3rd()->Strings(13), "TAdvPageControl=nil");
  EXPECT_EQ(data.SkinStore(), "(none)");
  EXPECT_TRUE(data.NoSkinLoaded());
}

TEST(SkinDataComponent, ReadsAndWritesSkinStream) {
  std::vector<std::string> shown;
  const TSkinMessageHandler previous =
      SetSkinMessageHandler([&](const std::string &t) { shown.push_back(t); });
  TSkinData data(nullptr);
  const TBytes packed = test::DefaultSkinPackage();
  SetPropText(data, "SkinStream", Hex(Stream(packed)));
  EXPECT_FALSE(data.NoSkinLoaded());
  EXPECT_EQ(data.Skin().SkinName, "Steel Blue");
  EXPECT_EQ(data.SkinStore(), "(Good)");
  EXPECT_TRUE(data.SkinStream() == Stream(packed));

  // An old mark: shown once; the component holds no skin until a later load succeeds.
  TBytes old = PackLzh(TBytes{0x1F, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); // 19999
  data.SetSkinStream(Stream(old));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(data.NoSkinLoaded());
  EXPECT_EQ(data.Skin().SkinName, "Steel Blue"); // the old objects stay for windows painting with them
  data.SetSkinStream(Stream(packed));
  EXPECT_FALSE(data.NoSkinLoaded());

  // A stored size larger than what follows is refused without reading past the bytes.
  TBytes cut = Stream(packed);
  cut.resize(cut.size() - 100);
  data.SetSkinStream(cut);
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_TRUE(data.NoSkinLoaded());
  EXPECT_TRUE(data.Package() == packed);

  // A size of 0 stores no package and loads nothing.
  TSkinData empty(nullptr);
  empty.SetSkinStream({0, 0, 0, 0});
  EXPECT_TRUE(empty.Package().empty());
  EXPECT_TRUE(empty.NoSkinLoaded());
  SetSkinMessageHandler(previous);
}

TEST(SkinDataComponent, SkinFileMarksNoSkinUntilALoadSucceeds) {
  std::vector<std::string> shown;
  const TSkinMessageHandler previous =
      SetSkinMessageHandler([&](const std::string &t) { shown.push_back(t); });
  TSkinData data(nullptr);
  ASSERT_TRUE(data.LoadPackage(test::DefaultSkinPackage()));
  EXPECT_FALSE(data.SetSkinFile("no-such-skin.skn"));
  EXPECT_TRUE(data.NoSkinLoaded()); // the mark stays: no new window is skinned with it
  EXPECT_EQ(data.SkinFile(), "no-such-skin.skn");
  ASSERT_EQ(shown.size(), 1u); // reported, not silently dropped
  EXPECT_NE(shown[0].find("no-such-skin.skn"), std::string::npos);
  WriteFileBytes("component-test.skn", test::DefaultSkinPackage());
  EXPECT_TRUE(data.SetSkinFile("component-test.skn"));
  EXPECT_FALSE(data.NoSkinLoaded());
  // Clearing the property names no file: the skin in force stays.
  EXPECT_FALSE(data.SetSkinFile(""));
  EXPECT_FALSE(data.NoSkinLoaded());
  // A folder is not a skin file.
  EXPECT_FALSE(data.SetSkinFile("."));
  EXPECT_TRUE(data.NoSkinLoaded());
  EXPECT_EQ(shown.size(), 2u);
  std::remove("component-test.skn");
  SetSkinMessageHandler(previous);
}

TEST(SkinDataComponent, LoadedSettlesActiveAndTheMenuKinds) {
  TSkinData without(nullptr);
  without.SetLoading(true);
  SetPropText(without, "Active", "True");
  without.Loaded();
  EXPECT_FALSE(without.Active()); // no skin: no skinning

  TSkinData with(nullptr);
  with.SetLoading(true);
  with.SetSkinStream(Stream(test::DefaultSkinPackage()));
  SetPropText(with, "Active", "True");
  SetPropText(with, "SkinControls", "[xcMainMenu,xcMenuItem,xcSystemMenu]");
  with.Loaded();
  EXPECT_TRUE(with.Active());
  EXPECT_EQ(with.SkinControls(), SkinBit(xcMainMenu) | SkinBit(xcSystemMenu));

  TSkinData noMainMenu(nullptr);
  SetPropText(noMainMenu, "SkinControls", "[xcMenuItem,xcSystemMenu]");
  noMainMenu.Loaded();
  EXPECT_EQ(noMainMenu.SkinControls(), SkinBit(xcMenuItem));
}

TEST(SkinStore, StreamsItsNamedPackagesInALayout) {
  RegisterSkinClasses();
  TSkinStore store(nullptr);
  LoadLayout(store, R"(
object SkinStore1: TSkinStore
  Store = <
    item
      Name = 'Blue'
      DataStream = { 01 02 03 }
    end
    item
    end>
end
)",
             "Store");
  ASSERT_EQ(store.Store().Count(), 2);
  EXPECT_EQ(store.Store().Items(0).Name(), "Blue");
  EXPECT_TRUE(store.Store().Items(0).DataStream() == (TBytes{1, 2, 3}));
  EXPECT_EQ(store.Store().Items(1).Name(), "SkinItem1");
  EXPECT_EQ(store.Store().Items(1).DataSize(), 0);

  TSkinStore again(nullptr);
  LoadLayout(again, WriteLayout(store), "Again");
  ASSERT_EQ(again.Store().Count(), 2);
  EXPECT_EQ(again.Store().Items(0).Name(), "Blue");
  EXPECT_TRUE(again.Store().Items(0).DataStream() == (TBytes{1, 2, 3}));
  EXPECT_EQ(again.Store().Items(1).Name(), "SkinItem1");

  // Two items of one name (any letter case) are refused.
  TSkinStore twice(nullptr);
  EXPECT_ANY_THROW(LoadLayout(twice, R"(
object S: TSkinStore
  Store = <
    item
      Name = 'Blue'
    end
    item
      Name = 'BLUE'
    end>
end
)",
                              "Twice"));
}

} // namespace
} // namespace qv

// The one file API: UTF-8 paths (Chinese names included, through the wide API on Windows), whole
// reads and writes, and the two ways failures reach callers (nullopt/false or EFileError).
#include "platform/base/FileIO.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

class FileIO : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::remove_all(PathFromUtf8(kDir));
    std::filesystem::create_directory(PathFromUtf8(kDir));
  }
  void TearDown() override { std::filesystem::remove_all(PathFromUtf8(kDir)); }
  const std::string kDir = "文件测试";
};

TEST_F(FileIO, ReadsAndWritesWholeFilesUnderChineseNames) {
  const std::string text = kDir + "/题库 一.txt", bytes = kDir + "/皮肤.skn";
  std::string content = "第一行\r\n";
  content.push_back('\0');
  content += std::string(200000, 'x'); // more than one read chunk
  ASSERT_TRUE(WriteFileContents(text, content));
  EXPECT_EQ(ReadFileContents(text), content);
  EXPECT_TRUE(FileExists(text));
  EXPECT_FALSE(IsDirectory(text));
  EXPECT_TRUE(IsDirectory(kDir));
  EXPECT_FALSE(FileExists(kDir));

  const std::vector<uint8_t> data = {0, 1, 0xFF, 0x80};
  WriteFileBytes(bytes, data);
  EXPECT_EQ(ReadFileBytes(bytes), data);
  WriteFileBytes(bytes, {}); // replaced, now empty
  EXPECT_EQ(ReadFileBytes(bytes), std::vector<uint8_t>{});

  // The file is found under the name the directory listing gives back.
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(PathFromUtf8(kDir)))
    names.push_back(Utf8FromPath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"皮肤.skn", "题库 一.txt"}));
}

TEST_F(FileIO, FailuresGiveAReasonOrAnExceptionNamingTheFile) {
  const std::string missing = kDir + "/没有.txt", inMissingFolder = kDir + "/没有/a.txt";
  std::string reason;
  EXPECT_EQ(ReadFileContents(missing, &reason), std::nullopt);
  EXPECT_EQ(reason, "文件不存在");
  EXPECT_EQ(ReadFileContents(kDir, &reason), std::nullopt);
  EXPECT_EQ(reason, "这是一个文件夹，不是文件");
  EXPECT_FALSE(WriteFileContents(inMissingFolder, "x"));
  try {
    ReadFileBytes(missing);
    FAIL();
  } catch (const EFileError &e) {
    EXPECT_EQ(e.Message(), "无法读取文件“" + missing + "”：文件不存在");
  }
  try {
    WriteFileBytes(inMissingFolder, {1});
    FAIL();
  } catch (const EFileError &e) {
    EXPECT_EQ(e.Message(), "无法写入文件“" + inMissingFolder + "”：所在的文件夹不存在");
  }
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(IsDirectory(missing));
}

} // namespace
} // namespace qv

// Every program file carries the project's icon in all its sizes, a version resource with the
// product name, a Chinese description, the version and the copyright line, and the manifest
// (asInvoker, system DPI awareness, no Common Controls 6). Read as data files, as Explorer does.
#include "platform/base/Text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace qv {
namespace {

std::vector<std::string> Programs() {
  std::vector<std::string> files;
  std::stringstream all(PROGRAM_FILES);
  for (std::string f; std::getline(all, f, '|');)
    files.push_back(f);
  return files;
}

#pragma pack(push, 2)
struct TGroupIconEntry {
  BYTE Width, Height, Colors, Reserved;
  WORD Planes, BitCount;
  DWORD BytesInRes;
  WORD Id;
};
struct TGroupIconHeader {
  WORD Reserved, Type, Count;
};
#pragma pack(pop)

std::string ResourceBytes(HMODULE m, LPCWSTR name, LPCWSTR type) {
  HRSRC r = FindResourceW(m, name, type);
  if (!r) return {};
  const char *p = static_cast<const char *>(LockResource(LoadResource(m, r)));
  return std::string(p, SizeofResource(m, r));
}

std::string VersionString(const std::vector<char> &block, const char *key) {
  wchar_t *value = nullptr;
  UINT len = 0;
  std::wstring path = L"\\StringFileInfo\\080404b0\\" + Widen(key);
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &len) || len == 0)
    return {};
  return Narrow(value);
}

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  *reinterpret_cast<std::wstring *>(out) = IS_INTRESOURCE(name) ? L"#" : name;
  return FALSE;
}

class Resources : public ::testing::TestWithParam<std::string> {
protected:
  void SetUp() override {
    module_ = LoadLibraryExW(Widen(GetParam()).c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << GetParam() << ": error " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_P(Resources, TheIconHasEverySizeAndLoads) {
  std::string group = ResourceBytes(module_, L"MAINICON", RT_GROUP_ICON);
  ASSERT_GE(group.size(), sizeof(TGroupIconHeader));
  const auto *header = reinterpret_cast<const TGroupIconHeader *>(group.data());
  ASSERT_EQ(group.size(), sizeof(TGroupIconHeader) + header->Count * sizeof(TGroupIconEntry));
  const auto *entries = reinterpret_cast<const TGroupIconEntry *>(group.data() + sizeof(TGroupIconHeader));
  std::set<int> sizes;
  for (int i = 0; i < header->Count; ++i) {
    sizes.insert(entries[i].Width == 0 ? 256 : entries[i].Width);
    EXPECT_EQ(entries[i].BitCount, 32);
    EXPECT_EQ(ResourceBytes(module_, MAKEINTRESOURCEW(entries[i].Id), RT_ICON).size(), entries[i].BytesInRes);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
  // The first icon group is the one Explorer and the shortcuts show.
  std::wstring first;
  EnumResourceNamesW(module_, RT_GROUP_ICON, FirstName, reinterpret_cast<LONG_PTR>(&first));
  EXPECT_EQ(first, L"MAINICON");
  HICON small = static_cast<HICON>(LoadImageW(module_, L"MAINICON", IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(small, nullptr);
  if (small) DestroyIcon(small);
}

TEST_P(Resources, TheVersionNamesTheProductInChinese) {
  std::wstring file = Widen(GetParam());
  DWORD handle = 0, size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &len));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1u);
  EXPECT_EQ(VersionString(block, "ProductName"), "焊工考试系统（练习版）");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "1.0.0");
  EXPECT_EQ(VersionString(block, "LegalCopyright"), "Copyright © 2026 Qorvane");
  std::string description = VersionString(block, "FileDescription");
  ASSERT_FALSE(description.empty());
  EXPECT_GE(static_cast<unsigned char>(description[0]), 0xE0) << description << " is not Chinese";
  std::string name = GetParam().substr(GetParam().find_last_of("/\\") + 1);
  EXPECT_EQ(VersionString(block, "OriginalFilename"), name);
}

TEST_P(Resources, TheManifestRunsAsInvokerAndIsSystemDpiAware) {
  std::string manifest = ResourceBytes(module_, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(
      manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">system<"),
      std::string::npos);
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos)
      << "Windows 10 and 11";
  EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Programs, Resources, ::testing::ValuesIn(Programs()), [](const auto &info) {
  std::string name = info.param.substr(info.param.find_last_of("/\\") + 1);
  return name.substr(0, name.find('.'));
});

} // namespace
} // namespace qv

#include "platform/data/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#ifdef _WIN32
#include "platform/base/Text.h"
#endif

namespace qv {

namespace {

std::filesystem::path PathOf(const std::string &utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

FILE *OpenFile(const std::string &path, const char *mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(Widen(path).c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

struct FileCloser {
  void operator()(FILE *f) const { std::fclose(f); }
};

} // namespace

std::optional<std::string> ReadFileContents(const std::string &path, std::string *error) {
  if (IsDirectory(path)) {
    if (error) *error = "这是一个文件夹，不是文件";
    return std::nullopt;
  }
  std::unique_ptr<FILE, FileCloser> f(OpenFile(path, "rb"));
  if (!f) {
    if (error) *error = errno == ENOENT ? "文件不存在" : "文件无法打开（没有读取权限或被占用）";
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
    bytes.append(buffer, n);
  if (std::ferror(f.get())) {
    if (error) *error = "读取文件时出错";
    return std::nullopt;
  }
  return bytes;
}

bool WriteFileContents(const std::string &path, const std::string &bytes) {
  std::unique_ptr<FILE, FileCloser> f(OpenFile(path, "wb"));
  if (!f) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
  return std::fclose(f.release()) == 0;
}

bool FileExists(const std::string &path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathOf(path), ec);
}

bool IsDirectory(const std::string &path) {
  std::error_code ec;
  return std::filesystem::is_directory(PathOf(path), ec);
}

} // namespace qv

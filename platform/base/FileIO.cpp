#include "platform/base/FileIO.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include "platform/base/Text.h"
#endif

namespace qv {

namespace {

// An open C stream, closed when it goes out of scope.
class TFile {
public:
  TFile(const std::string &path, const char *mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    file_ = _wfopen(Widen(path).c_str(), wideMode.c_str());
#else
    file_ = std::fopen(path.c_str(), mode);
#endif
  }
  TFile(const TFile &) = delete;
  TFile &operator=(const TFile &) = delete;
  ~TFile() {
    if (file_) std::fclose(file_);
  }

  explicit operator bool() const { return file_ != nullptr; }
  std::FILE *Get() const { return file_; }
  // Flushes and closes; false when buffered data could not be written.
  bool Close() {
    std::FILE *f = file_;
    file_ = nullptr;
    return std::fclose(f) == 0;
  }

private:
  std::FILE *file_ = nullptr;
};

std::string OpenFailure() {
  if (errno == ENOENT) return "文件不存在";
  if (errno == EACCES) return "没有读取权限";
  return "文件无法打开（被占用？）";
}

// Appends the whole file to `out`; on failure returns false with a reason.
template <class TBuffer> bool ReadAll(const std::string &path, TBuffer &out, std::string &reason) {
  if (IsDirectory(path)) {
    reason = "这是一个文件夹，不是文件";
    return false;
  }
  TFile f(path, "rb");
  if (!f) {
    reason = OpenFailure();
    return false;
  }
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f.Get())) > 0)
    out.insert(out.end(), chunk, chunk + n);
  if (std::ferror(f.Get())) {
    reason = "读取文件时出错";
    return false;
  }
  return true;
}

bool WriteAll(const std::string &path, const void *data, std::size_t size, std::string &reason) {
  TFile f(path, "wb");
  if (!f) {
    reason = errno == ENOENT ? "所在的文件夹不存在" : "无法创建文件（没有写入权限或被占用）";
    return false;
  }
  const bool written = size == 0 || std::fwrite(data, 1, size, f.Get()) == size;
  if (!f.Close() || !written) {
    reason = "写入文件时出错（磁盘已满？）";
    return false;
  }
  return true;
}

} // namespace

std::filesystem::path PathFromUtf8(const std::string &utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path &path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::optional<std::string> ReadFileContents(const std::string &path, std::string *error) {
  std::string bytes, reason;
  if (ReadAll(path, bytes, reason)) return bytes;
  if (error) *error = reason;
  return std::nullopt;
}

bool WriteFileContents(const std::string &path, const std::string &bytes) {
  std::string reason;
  return WriteAll(path, bytes.data(), bytes.size(), reason);
}

std::vector<uint8_t> ReadFileBytes(const std::string &path) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadAll(path, bytes, reason)) throw EFileError("无法读取文件“" + path + "”：" + reason);
  return bytes;
}

void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::string reason;
  if (!WriteAll(path, bytes.data(), bytes.size(), reason))
    throw EFileError("无法写入文件“" + path + "”：" + reason);
}

bool FileExists(const std::string &path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

bool IsDirectory(const std::string &path) {
  std::error_code ec;
  return std::filesystem::is_directory(PathFromUtf8(path), ec);
}

} // namespace qv

#pragma once
// Files by UTF-8 path: whole-file reads and writes, existence checks, and the conversion between
// UTF-8 text and std::filesystem paths. On Windows every path goes through the wide API, so
// Chinese folder and file names work whatever the system's code page.
#include "platform/base/Exception.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class EFileError : public Exception {
public:
  using Exception::Exception;
};

// A path given as UTF-8 text, and a path as UTF-8 text (never the system's narrow code page).
std::filesystem::path PathFromUtf8(const std::string &utf8);
std::string Utf8FromPath(const std::filesystem::path &path);

// Reads the whole file; nullopt when it cannot be opened or read. `error` (if given) receives
// a short reason in Chinese.
std::optional<std::string> ReadFileContents(const std::string &path, std::string *error = nullptr);

// Writes the whole file, replacing it; false on failure.
bool WriteFileContents(const std::string &path, const std::string &bytes);

// The same for byte buffers; throw EFileError naming the file and the reason.
std::vector<uint8_t> ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

bool FileExists(const std::string &path);
bool IsDirectory(const std::string &path);

} // namespace qv

#pragma once
// Whole-file reads and writes by UTF-8 path (wide paths on Windows, so Chinese folder names work).
#include <optional>
#include <string>

namespace qv {

// Reads the whole file; nullopt when it cannot be opened or read. `error` (if given) receives
// a short reason in Chinese.
std::optional<std::string> ReadFileContents(const std::string &path, std::string *error = nullptr);

// Writes the whole file, replacing it; false on failure.
bool WriteFileContents(const std::string &path, const std::string &bytes);

bool FileExists(const std::string &path);
bool IsDirectory(const std::string &path);

} // namespace qv

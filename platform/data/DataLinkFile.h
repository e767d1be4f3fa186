#pragma once
// The connection description file (server.udl): an optional UTF-16LE byte-order mark, a line
// "[oledb]", comment lines starting with ';', then "Key=Value;Key=Value". We read Provider and
// Data Source; Data Source is relative to the working directory.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace qv {

struct TDataLinkSettings {
  std::vector<std::pair<std::string, std::string>> Items; // every key and value, in file order
  std::string Provider;
  std::string DataSource;

  // The value of `key` (case-insensitive), or empty text.
  std::string Value(const std::string &key) const;
};

// A data-link file holds a line or two; anything larger is not one and is refused unread.
inline constexpr size_t kMaxDataLinkBytes = 64 * 1024;

// Parses the bytes of a data-link file. `fileName` only names the file in messages.
// Throws EDatabaseError naming the file and what is wrong (encoding, missing [oledb] line, a part
// that is not Key=Value, no Provider, no Data Source).
TDataLinkSettings ParseDataLink(const std::string &bytes, const std::string &fileName);

// Parses a connection string ("Key=Value;Key=Value"); no key is required. Throws EDatabaseError
// when a part is not Key=Value.
TDataLinkSettings ParseConnectionString(const std::string &text);

// Reads and parses the file; a missing or unreadable file throws EDatabaseError naming it.
TDataLinkSettings ReadDataLinkFile(const std::string &path);

// The bytes of a data-link file for a SQLite database: UTF-16LE with byte-order mark, CR LF lines.
std::string FormatDataLink(const std::string &dataSource);

// Writes FormatDataLink(dataSource) to `path`; throws EDatabaseError when it cannot.
void WriteDataLinkFile(const std::string &path, const std::string &dataSource);

// True when `provider` names the engine this build reads ("SQLite", any letter case).
bool IsSupportedProvider(const std::string &provider);

} // namespace qv

#include "platform/data/DataLinkFile.h"

#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/data/DataError.h"

namespace qv {

namespace {

[[noreturn]] void Malformed(const std::string &fileName, const std::string &what) {
  throw EDatabaseError("连接描述文件“" + fileName + "”格式不正确：" + what);
}

// Decodes the file to UTF-8: UTF-16LE when it starts with its byte-order mark (or looks like
// UTF-16LE without one), else UTF-8 with or without a byte-order mark.
std::string DecodeText(const std::string &bytes, const std::string &fileName) {
  bool utf16 = false;
  size_t start = 0;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    utf16 = true;
    start = 2;
  } else if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
    utf16 = true;
  } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    start = 3;
  }
  if (!utf16) {
    if (bytes.find('\0') != std::string::npos) Malformed(fileName, "文件含有不可识别的二进制内容");
    return bytes.substr(start);
  }
  if ((bytes.size() - start) % 2 != 0) Malformed(fileName, "UTF-16 文本的字节数不完整");
  return Utf16LeBytesToUtf8(std::string_view(bytes).substr(start));
}

std::vector<std::string> SplitLines(const std::string &text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// Splits "Key=Value;Key='quoted;value'" into pairs. Values may be quoted with ' or " (a doubled
// quote inside stands for itself).
void ParseInitString(const std::string &line, int lineNo, const std::string &fileName,
                     std::vector<std::pair<std::string, std::string>> &items) {
  size_t i = 0;
  while (i < line.size()) {
    size_t eq = line.find('=', i);
    size_t semi = line.find(';', i);
    if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
      std::string part = Trim(line.substr(i, semi == std::string::npos ? std::string::npos : semi - i));
      if (!part.empty())
        Malformed(fileName, "第 " + std::to_string(lineNo) + " 行的“" + Excerpt(part) + "”不是“键=值”的形式");
      if (semi == std::string::npos) break;
      i = semi + 1;
      continue;
    }
    std::string key = Trim(line.substr(i, eq - i));
    if (key.empty()) Malformed(fileName, "第 " + std::to_string(lineNo) + " 行有一个没有键名的“=”");
    i = eq + 1;
    while (i < line.size() && line[i] == ' ')
      ++i;
    std::string value;
    if (i < line.size() && (line[i] == '"' || line[i] == '\'')) {
      char quote = line[i++];
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == quote) {
          if (i + 1 < line.size() && line[i + 1] == quote) {
            value += quote;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        value += line[i++];
      }
      if (!closed)
        Malformed(fileName, "第 " + std::to_string(lineNo) + " 行“" + Excerpt(key) + "”的值缺少结束引号");
      while (i < line.size() && line[i] == ' ')
        ++i;
      if (i < line.size() && line[i] != ';')
        Malformed(fileName, "第 " + std::to_string(lineNo) + " 行“" + Excerpt(key) + "”的引号值后面应为“;”");
      if (i < line.size()) ++i;
    } else {
      size_t end = line.find(';', i);
      value = Trim(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? line.size() : end + 1;
    }
    items.emplace_back(key, value);
  }
}

// Quotes a value that would otherwise be cut at ';' or lose its blanks.
std::string QuoteValue(const std::string &value) {
  if (value.find_first_of(";\"'") == std::string::npos && Trim(value) == value) return value;
  std::string quoted = "\"";
  for (char c : value)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

} // namespace

std::string TDataLinkSettings::Value(const std::string &key) const {
  for (const auto &[k, v] : Items)
    if (SameText(k, key)) return v;
  return {};
}

bool IsSupportedProvider(const std::string &provider) { return SameText(Trim(provider), "SQLite"); }

TDataLinkSettings ParseDataLink(const std::string &bytes, const std::string &fileName) {
  if (bytes.empty()) Malformed(fileName, "文件是空的");
  if (bytes.size() > kMaxDataLinkBytes)
    Malformed(fileName, "文件有 " + std::to_string(bytes.size()) + " 字节，连接描述文件不会超过 " +
                            std::to_string(kMaxDataLinkBytes / 1024) + " KB");
  std::vector<std::string> lines = SplitLines(DecodeText(bytes, fileName));
  TDataLinkSettings settings;
  bool header = false;
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string line = Trim(lines[n]);
    if (line.empty()) continue;
    if (!header) {
      if (!SameText(line, "[oledb]"))
        Malformed(fileName, "第一行应为“[oledb]”，实际是“" + Excerpt(line) + "”");
      header = true;
      continue;
    }
    if (line[0] == ';') continue;
    ParseInitString(line, static_cast<int>(n + 1), fileName, settings.Items);
  }
  if (!header) Malformed(fileName, "缺少“[oledb]”行");
  settings.Provider = settings.Value("Provider");
  settings.DataSource = settings.Value("Data Source");
  if (settings.Provider.empty()) Malformed(fileName, "没有指定提供程序（Provider=...）");
  if (settings.DataSource.empty()) Malformed(fileName, "没有指定数据库文件（Data Source=...）");
  return settings;
}

TDataLinkSettings ParseConnectionString(const std::string &text) {
  TDataLinkSettings settings;
  ParseInitString(text, 1, "连接字符串", settings.Items);
  settings.Provider = settings.Value("Provider");
  settings.DataSource = settings.Value("Data Source");
  return settings;
}

TDataLinkSettings ReadDataLinkFile(const std::string &path) {
  std::string reason;
  std::optional<std::string> bytes = ReadFileContents(path, &reason);
  if (!bytes) throw EDatabaseError("无法读取连接描述文件“" + path + "”：" + reason);
  return ParseDataLink(*bytes, path);
}

std::string FormatDataLink(const std::string &dataSource) {
  std::string text = "[oledb]\r\n; 考试客户端的数据库连接：Data Source 相对于程序的工作目录\r\n"
                     "Provider=SQLite;Data Source=" +
                     QuoteValue(dataSource) + "\r\n";
  return "\xFF\xFE" + Utf8ToUtf16LeBytes(text);
}

void WriteDataLinkFile(const std::string &path, const std::string &dataSource) {
  if (!WriteFileContents(path, FormatDataLink(dataSource)))
    throw EDatabaseError("无法写入连接描述文件“" + path + "”");
}

} // namespace qv

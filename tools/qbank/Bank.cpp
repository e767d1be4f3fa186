#include "tools/qbank/Bank.h"

#include "platform/base/Exception.h"
#include "platform/base/FileIO.h"
#include "platform/base/Text.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace qv::bank {

namespace {

const std::vector<std::string> kKeys = {"subject", "type", "no", "stem", "A",   "B",
                                        "C",       "D",    "E",  "F",    "key", "points"};

struct TLine {
  std::string Key, Value;
  int Number;
};

bool IsBlankText(const std::string &s) { return s.find_first_not_of(" \t\r") == std::string::npos; }

std::string StripBlanks(const std::string &s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool ValidUtf8(std::string_view s) { return Utf16ToUtf8(Utf8ToUtf16(s)) == s; }

// Why the text is not UTF-8, or empty when it is. Checked once per file: a file saved as GBK or
// UTF-16 would otherwise give an error on every line.
std::string EncodingProblem(const std::string &text) {
  const auto starts = [&](const char *mark) { return text.rfind(mark, 0) == 0; };
  if (starts("\xFF\xFE")) return "文件是 UTF-16 LE 编码（开头有其字节顺序标记），不是 UTF-8";
  if (starts("\xFE\xFF")) return "文件是 UTF-16 BE 编码（开头有其字节顺序标记），不是 UTF-8";
  if (text.find('\0') != std::string::npos) return "文件含有 NUL 字节（像是 UTF-16 编码），不是 UTF-8 文本";
  if (ValidUtf8(text)) return {};
  int line = 1;
  for (std::size_t pos = 0;; ++line) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    if (!ValidUtf8(std::string_view(text).substr(pos, end - pos))) break;
    pos = end + 1;
  }
  return "文件不是 UTF-8 文本（第 " + std::to_string(line) + " 行起，可能是 GBK 编码）";
}

bool ParsePositive(const std::string &text, int &out) {
  if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
  out = std::stoi(text);
  return out > 0;
}

class TRecordReader {
public:
  TRecordReader(const std::string &file, std::vector<std::string> &errors) : file_(file), errors_(errors) {}

  void Error(int line, const std::string &message) {
    errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
    ok_ = false;
  }

  // Validates one record's lines; returns whether `q` is complete and correct.
  bool Read(const std::vector<TLine> &lines, TBankQuestion &q) {
    ok_ = true;
    q = TBankQuestion{};
    q.File = file_;
    q.Line = lines.front().Number;
    std::map<std::string, const TLine *> seen;
    int lastOrder = -1;
    for (const TLine &l : lines) {
      auto it = std::find(kKeys.begin(), kKeys.end(), l.Key);
      if (it == kKeys.end()) {
        Error(l.Number, "未知的键“" + l.Key + "”（可用：subject、type、no、stem、A 至 F、key、points）");
        continue;
      }
      if (seen.count(l.Key)) {
        Error(l.Number, "键“" + l.Key + "”重复出现");
        continue;
      }
      int order = static_cast<int>(it - kKeys.begin());
      if (order < lastOrder)
        Error(l.Number, "键“" + l.Key + "”的位置不对：顺序应为 subject、type、no、stem、A-F、key、points");
      lastOrder = std::max(lastOrder, order);
      seen[l.Key] = &l;
    }
    for (const char *required : {"subject", "type", "no", "stem", "key", "points"})
      if (!seen.count(required)) Error(q.Line, std::string("题目缺少“") + required + "”");
    if (!ok_) return false;

    q.Subject = seen["subject"]->Value;
    if (std::find(Subjects().begin(), Subjects().end(), q.Subject) == Subjects().end()) {
      std::string list;
      for (const std::string &s : Subjects())
        list += (list.empty() ? "“" : "、“") + s + "”";
      Error(seen["subject"]->Number, "科目“" + q.Subject + "”不是登录窗口的科目之一（" + list +
                                         "；基础科目写作 subject: \"1基础  \"，带两个尾随空格）");
    }
    q.Type = seen["type"]->Value;
    bool single = q.Type == kSingle, multiple = q.Type == kMultiple, trueFalse = q.Type == kTrueFalse;
    if (!single && !multiple && !trueFalse)
      Error(seen["type"]->Number, "题型“" + q.Type + "”无效：应为 单项选择、多项选择 或 判断题");
    if (!ParsePositive(seen["no"]->Value, q.No))
      Error(seen["no"]->Number, "题号“" + seen["no"]->Value + "”应为正整数");
    q.Stem = seen["stem"]->Value;
    if (q.Stem.empty()) Error(seen["stem"]->Number, "题干是空的");
    if (!ParsePositive(seen["points"]->Value, q.Points) || q.Points > 100)
      Error(seen["points"]->Number, "分值“" + seen["points"]->Value + "”应为 1 至 100 的整数");

    std::string present;
    for (int k = 0; k < 6; ++k) {
      std::string letter(1, static_cast<char>('A' + k));
      if (!seen.count(letter)) continue;
      q.Options[static_cast<size_t>(k)] = seen[letter]->Value;
      present += letter;
      if (seen[letter]->Value.empty()) Error(seen[letter]->Number, "选项 " + letter + " 是空的");
    }
    const std::string &key = seen["key"]->Value;
    int keyLine = seen["key"]->Number;
    q.Key = key;
    if (single) {
      if (present != "ABCD")
        Error(q.Line, "单项选择题应有且只有 A、B、C、D 四个选项（现有：" + present + "）");
      if (key.size() != 1 || key[0] < 'A' || key[0] > 'D')
        Error(keyLine, "单项选择题的答案应为 A、B、C、D 之一（现为“" + key + "”）");
    } else if (multiple) {
      if (present != "ABCD" && present != "ABCDE" && present != "ABCDEF")
        Error(q.Line, "多项选择题应有 A 至 D 四个选项，可再有 E、F（依次，不跳过；现有：" + present + "）");
      bool ordered = key.size() >= 2;
      for (size_t i = 0; i < key.size() && ordered; ++i)
        ordered = present.find(key[i]) != std::string::npos && (i == 0 || key[i] > key[i - 1]);
      if (!ordered)
        Error(keyLine, "多项选择题的答案应为至少两个不同的大写字母，按 A 到 F 的顺序，且是已有的选项（现为“" +
                           key + "”）");
    } else if (trueFalse) {
      if (!present.empty()) Error(q.Line, "判断题不应有选项（现有：" + present + "）");
      if (key != "对" && key != "错") Error(keyLine, "判断题的答案应为“对”或“错”（现为“" + key + "”）");
    }
    return ok_;
  }

private:
  std::string file_;
  std::vector<std::string> &errors_;
  bool ok_ = true;
};

// A value as it must be written: plain, or between double quotes when blanks around it would
// otherwise be lost or when it would read as a quoted value.
std::string FormatValue(const std::string &value, const std::string &where) {
  if (value.find_first_of("\r\n") != std::string::npos) throw Exception(where + "含有换行，无法写成一行");
  bool looksQuoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (StripBlanks(value) == value && !looksQuoted) return value;
  if (value.find('"') != std::string::npos)
    throw Exception(where + "首尾有空格或引号，又含有双引号，源格式无法表示：“" + value + "”");
  return "\"" + value + "\"";
}

} // namespace

const std::vector<std::string> &Subjects() {
  static const std::vector<std::string> subjects = {"1基础  ",    "电焊",   "气焊", "气割",
                                                    "二氧化碳焊", "氩弧焊", "钎焊"};
  return subjects;
}

std::string FileNameForSubject(const std::string &subject, int ordinal) {
  static const std::map<std::string, std::string> names = {
      {"1基础  ", "1-basic.txt"},    {"电焊", "2-arc.txt"},       {"气焊", "3-gas-welding.txt"},
      {"气割", "4-gas-cutting.txt"}, {"二氧化碳焊", "5-co2.txt"}, {"氩弧焊", "6-argon.txt"},
      {"钎焊", "7-brazing.txt"}};
  auto it = names.find(subject);
  return it != names.end() ? it->second : "subject-" + std::to_string(ordinal) + ".txt";
}

void ParseBank(const std::string &text, const std::string &fileName, std::vector<TBankQuestion> &questions,
               std::vector<std::string> &errors) {
  TRecordReader reader(fileName, errors);
  std::vector<TLine> record;
  std::string subject;
  auto finish = [&]() {
    if (record.empty()) return;
    TBankQuestion q;
    if (reader.Read(record, q)) {
      if (!subject.empty() && q.Subject != subject)
        reader.Error(q.Line, "一个文件只放一个科目：本文件前面的题目属于“" + subject + "”，这道题属于“" +
                                 q.Subject + "”");
      else
        questions.push_back(q);
      subject = q.Subject;
    }
    record.clear();
  };

  if (std::string problem = EncodingProblem(text); !problem.empty()) {
    errors.push_back(fileName + ": " + problem + "；请用 UTF-8 另存后再试");
    return;
  }
  size_t pos = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  int number = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsBlankText(line)) {
      finish();
      continue;
    }
    if (line[0] == '#') continue;
    size_t colon = line.find(':');
    std::string key = colon == std::string::npos ? std::string() : line.substr(0, colon);
    bool asciiKey = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80 && c != ' ' && c != '\t';
    });
    if (!asciiKey) {
      reader.Error(number, "应为“键: 值”的形式：“" + line + "”");
      continue;
    }
    std::string value = StripBlanks(line.substr(colon + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
      if (value.find('"') != std::string::npos) {
        reader.Error(number, "引号括起的值里不能再有双引号");
        continue;
      }
    }
    record.push_back({key, value, number});
  }
  finish();
}

std::vector<TBankQuestion> ReadBankDirectory(const std::string &dir, std::vector<std::string> &errors) {
  std::vector<TBankQuestion> questions;
  std::filesystem::path root(std::u8string(dir.begin(), dir.end()));
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) {
    errors.push_back(dir + ": 题库文件夹不存在");
    return questions;
  }
  std::vector<std::string> files;
  for (const auto &entry : std::filesystem::directory_iterator(root, ec)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
    std::u8string p = entry.path().u8string();
    files.emplace_back(p.begin(), p.end());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) errors.push_back(dir + ": 文件夹里没有题库文件（*.txt）");
  for (const std::string &file : files) {
    std::string reason;
    auto text = ReadFileContents(file, &reason);
    if (!text) {
      errors.push_back(file + ": 无法读取：" + reason);
      continue;
    }
    ParseBank(*text, file, questions, errors);
  }
  std::map<std::tuple<std::string, std::string, int>, const TBankQuestion *> numbers;
  for (const TBankQuestion &q : questions) {
    auto [it, fresh] = numbers.emplace(std::make_tuple(q.Subject, q.Type, q.No), &q);
    if (!fresh)
      errors.push_back(q.File + ":" + std::to_string(q.Line) + ": 科目“" + q.Subject + "”的" + q.Type +
                       "题号 " + std::to_string(q.No) + " 重复（另见 " + it->second->File + ":" +
                       std::to_string(it->second->Line) + "）");
  }
  return questions;
}

std::string FormatBank(const std::vector<TBankQuestion> &questions) {
  std::string out;
  if (!questions.empty())
    out += "# 题库：科目“" + questions.front().Subject + "”（由 qbank export 从数据库导出）\n";
  for (const TBankQuestion &q : questions) {
    std::string where = "科目“" + q.Subject + "”" + q.Type + "第 " + std::to_string(q.No) + " 题的";
    out += "\n";
    out += "subject: " + FormatValue(q.Subject, where + "科目") + "\n";
    out += "type: " + FormatValue(q.Type, where + "题型") + "\n";
    out += "no: " + std::to_string(q.No) + "\n";
    out += "stem: " + FormatValue(q.Stem, where + "题干") + "\n";
    for (size_t k = 0; k < 6; ++k) {
      if (q.Options[k].empty()) continue;
      std::string letter(1, static_cast<char>('A' + k));
      out += letter + ": " + FormatValue(q.Options[k], where + "选项 " + letter) + "\n";
    }
    out += "key: " + FormatValue(q.Key, where + "答案") + "\n";
    out += "points: " + std::to_string(q.Points) + "\n";
  }
  return out;
}

} // namespace qv::bank

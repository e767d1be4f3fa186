#pragma once
// The question-bank source: text files, one per subject, of records "key: value" separated by
// blank lines (see assets/bank/README.md). Reading validates every record and reports problems
// with file and line; writing produces text that reads back to the same questions.
#include <array>
#include <string>
#include <vector>

namespace qv::bank {

inline const char *const kSingle = "单项选择";
inline const char *const kMultiple = "多项选择";
inline const char *const kTrueFalse = "判断题";

// The subject captions of the login window, in its order.
const std::vector<std::string> &Subjects();

struct TBankQuestion {
  std::string Subject, Type;
  int No = 0;
  std::string Stem;
  std::array<std::string, 6> Options; // A to F; empty when absent
  std::string Key;
  int Points = 0;
  std::string File; // where it was read, for messages
  int Line = 0;
};

// Parses one file's text; appends the questions it holds and a message "file:line: ..." for each
// problem. Questions with problems are not appended. Text that is not UTF-8 (UTF-16, GBK) gets one
// message naming the file and is not parsed.
void ParseBank(const std::string &text, const std::string &fileName, std::vector<TBankQuestion> &questions,
               std::vector<std::string> &errors);

// Reads every *.txt of `dir` in name order, then checks that no (subject, type, no) repeats.
std::vector<TBankQuestion> ReadBankDirectory(const std::string &dir, std::vector<std::string> &errors);

// The source text of the questions (one subject), with a heading comment. Throws qv::Exception
// when a value cannot be written on one line so that it reads back the same.
std::string FormatBank(const std::vector<TBankQuestion> &questions);

// The file name export uses for a subject ("1-basic.txt", ...; others "subject-N.txt").
std::string FileNameForSubject(const std::string &subject, int ordinal);

} // namespace qv::bank

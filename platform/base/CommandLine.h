#pragma once
// The command lines of the project's programs: declared options, positional arguments taken in
// order, the built-in --help, -h and --version, and the exit codes every program shares (0 done,
// 1 failed, 2 wrong usage, with nothing done). An argument that starts with "-" is always an
// option, never a file or folder name, unless it follows "--".
#include "platform/base/Exception.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// Wrong usage; the message is one line naming the problem.
class EUsageError : public Exception {
public:
  using Exception::Exception;
};

// The version of the project, one for all its programs.
const char *ProjectVersion();

// The arguments after the program's name, as UTF-8. On Windows they are read from the wide
// command line (argc and argv are not used, so wmain programs can call it too), and Chinese file
// names arrive whatever the code page.
std::vector<std::string> ProgramArguments(int argc, char **argv);

// `text` as a whole number in [min, max]; throws EUsageError naming `what` otherwise.
int ParseWholeNumber(const std::string &what, const std::string &text, int min, int max);

// An option such as "--minutes" (with the name of its value, "N") or a flag (no value name).
struct TOption {
  std::string Name;
  std::string ValueName;
};

// A parsed command line. Positional arguments are taken in order; a missing one or one left
// over throws EUsageError naming it.
class TArguments {
public:
  std::string Take(const std::string &name);
  std::optional<std::string> TakeOptional();
  void Finish() const;

  bool Has(const std::string &option) const { return values_.count(option) != 0; }
  std::optional<std::string> Value(const std::string &option) const;
  // The option's value as a whole number in [min, max]; nullopt when the option is absent.
  std::optional<int> IntValue(const std::string &option, int min, int max) const;

private:
  friend class TCommandLine;
  std::vector<std::string> positional_;
  std::size_t next_ = 0;
  std::map<std::string, std::string> values_; // flags map to an empty value
};

class TCommandLine {
public:
  enum class TRequest { Run, Help, Version };

  // `usage` is the whole text --help prints; the options are the ones the program accepts
  // besides --help, -h and --version.
  TCommandLine(std::string program, std::string usage, std::vector<TOption> options = {});

  // Fills `out` from the arguments (without the program name); throws EUsageError.
  TRequest Parse(const std::vector<std::string> &args, TArguments &out) const;

  // Parses and answers --help and --version on standard output (exit 0); otherwise runs `body`.
  // An EUsageError, from the parser or from `body`, prints "program: problem" and the usage on
  // standard error (exit 2); any other exception prints "program: message" (exit 1). Programs take
  // all their arguments before they do anything, so wrong usage never leaves anything behind.
  int Run(const std::vector<std::string> &args, const std::function<int(TArguments &)> &body) const;

  const std::string &Program() const { return program_; }
  const std::string &Usage() const { return usage_; }

private:
  const TOption *Find(const std::string &name) const;

  std::string program_, usage_;
  std::vector<TOption> options_;
};

} // namespace qv

#include "platform/base/CommandLine.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include "platform/base/Text.h"
#include <windows.h>

#include <shellapi.h>
#endif

namespace qv {

namespace {

bool IsOption(const std::string &arg) { return !arg.empty() && arg[0] == '-'; }

} // namespace

const char *ProjectVersion() { return QV_PROJECT_VERSION; }

std::vector<std::string> ProgramArguments(int argc, char **argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  struct TLocalFree {
    void operator()(LPWSTR *p) const { LocalFree(p); }
  };
  int count = 0;
  std::unique_ptr<LPWSTR, TLocalFree> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i)
    args.push_back(Narrow(wide.get()[i]));
  return args;
#else
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

std::string TArguments::Take(const std::string &name) {
  if (next_ >= positional_.size()) throw EUsageError("缺少参数 " + name);
  return positional_[next_++];
}

std::optional<std::string> TArguments::TakeOptional() {
  if (next_ >= positional_.size()) return std::nullopt;
  return positional_[next_++];
}

void TArguments::Finish() const {
  if (next_ < positional_.size()) throw EUsageError("多余的参数“" + positional_[next_] + "”");
}

std::optional<std::string> TArguments::Value(const std::string &option) const {
  auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<int> TArguments::IntValue(const std::string &option, int min, int max) const {
  std::optional<std::string> text = Value(option);
  if (!text) return std::nullopt;
  return ParseWholeNumber(option, *text, min, max);
}

int ParseWholeNumber(const std::string &what, const std::string &text, int min, int max) {
  bool digits = !text.empty() && text.size() <= 9;
  for (char c : text)
    digits = digits && c >= '0' && c <= '9';
  const long long value = digits ? std::stoll(text) : -1;
  if (!digits || value < min || value > max)
    throw EUsageError(what + " 应为 " + std::to_string(min) + " 至 " + std::to_string(max) +
                      " 的整数（现为“" + text + "”）");
  return static_cast<int>(value);
}

TCommandLine::TCommandLine(std::string program, std::string usage, std::vector<TOption> options)
    : program_(std::move(program)), usage_(std::move(usage)), options_(std::move(options)) {}

const TOption *TCommandLine::Find(const std::string &name) const {
  for (const TOption &o : options_)
    if (o.Name == name) return &o;
  return nullptr;
}

TCommandLine::TRequest TCommandLine::Parse(const std::vector<std::string> &args, TArguments &out) const {
  out = TArguments{};
  // Help and version answer whatever else the line holds.
  for (const std::string &arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return TRequest::Help;
    if (arg == "--version") return TRequest::Version;
  }
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (optionsEnded || !IsOption(arg)) {
      out.positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const TOption *option = Find(name);
    if (!option) throw EUsageError("未知的选项“" + name + "”");
    if (out.values_.count(name)) throw EUsageError("选项 " + name + " 只能给一次");
    std::string value;
    if (option->ValueName.empty()) {
      if (equals != std::string::npos) throw EUsageError("选项 " + name + " 不带值");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else {
      if (i + 1 >= args.size() || IsOption(args[i + 1]))
        throw EUsageError("选项 " + name + " 后面缺少 " + option->ValueName);
      value = args[++i];
    }
    out.values_[name] = value;
  }
  return TRequest::Run;
}

int TCommandLine::Run(const std::vector<std::string> &args,
                      const std::function<int(TArguments &)> &body) const {
  try {
    TArguments parsed;
    switch (Parse(args, parsed)) {
    case TRequest::Help:
      std::fputs(usage_.c_str(), stdout);
      return 0;
    case TRequest::Version:
      std::printf("%s %s\n", program_.c_str(), ProjectVersion());
      return 0;
    case TRequest::Run:
      break;
    }
    return body(parsed);
  } catch (const EUsageError &e) {
    std::fprintf(stderr, "%s: %s\n%s", program_.c_str(), e.what(), usage_.c_str());
    return 2;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "%s: %s\n", program_.c_str(), e.what());
    return 1;
  }
}

} // namespace qv

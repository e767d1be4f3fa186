#include "grid/CalcEngine.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv {

namespace {

std::string Trimmed(const std::string &text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool ParseNumber(const std::string &text, double &out) {
  if (text.empty()) return false;
  errno = 0;
  char *end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (errno == ERANGE || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

bool IsArithmetic(char op) { return op == '+' || op == '-' || op == '*' || op == '/'; }

} // namespace

std::string FormatCalcValue(double value, char decimalSeparator) {
  if (value == 0) return "0"; // also for -0
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  // "1E+20" -> "1E20", "1E-05" -> "1E-5".
  if (size_t e = text.find('E'); e != std::string::npos) {
    std::string mantissa = text.substr(0, e), exponent = text.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    text = mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  if (decimalSeparator != '.')
    for (char &c : text)
      if (c == '.') c = decimalSeparator;
  return text;
}

TCalcEngine::TCalcEngine(char decimalSeparator) : separator_(decimalSeparator) {}

std::string TCalcEngine::Canonical(const std::string &text) const {
  std::string out = text;
  for (char &c : out)
    if (c == separator_) c = '.';
  return out;
}

double TCalcEngine::Value() const {
  if (status_ == TStatus::Error) return 0;
  double v = 0;
  return ParseNumber(Canonical(Trimmed(display_)), v) ? v : 0;
}

void TCalcEngine::SetValue(double value) {
  if (!std::isfinite(value)) return SetError();
  display_ = FormatCalcValue(value, separator_);
  status_ = TStatus::NewNumber;
}

bool TCalcEngine::Paste(const std::string &text) {
  if (status_ == TStatus::Error) return false;
  std::string t = Trimmed(text);
  for (char &c : t)
    if (c == ',') c = '.';
  double v = 0;
  if (!ParseNumber(Canonical(t), v)) return false;
  SetValue(v);
  // Pasted like typed: the next operator takes it as its second operand.
  status_ = TStatus::Entering;
  return true;
}

void TCalcEngine::Clear() {
  status_ = TStatus::NewNumber;
  display_ = "0";
  pending_ = '=';
  operand_ = 0;
}

void TCalcEngine::SetError() {
  status_ = TStatus::Error;
  display_ = "Error";
}

bool TCalcEngine::EqualMeansEquals() const {
  return status_ == TStatus::Entering && operand_ != 0 && IsArithmetic(pending_);
}

void TCalcEngine::StartNumber() {
  if (status_ == TStatus::Entering) return;
  status_ = TStatus::Entering;
  display_ = "0";
}

void TCalcEngine::Key(char key) {
  char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (status_ == TStatus::Error) {
    if (k == 'C') Clear();
    return;
  }
  if (k >= '0' && k <= '9') return Digit(k);
  if (k == '.' || k == ',' || k == separator_) return DecimalPoint();
  switch (k) {
  case '\b':
    return Backspace();
  case '+':
  case '-':
  case '*':
  case '/':
  case '%':
  case '=':
    return Operator(k);
  case '\r':
    return Operator('=');
  case 'C':
  case '\x1b':
    return Clear();
  case 'I':
    return ChangeSign();
  case 'R':
  case 'S':
    return Unary(k);
  default:
    return;
  }
}

void TCalcEngine::Digit(char digit) {
  StartNumber();
  if (display_ == "0") {
    display_ = std::string(1, digit);
    return;
  }
  if (display_.find('E') != std::string::npos) return;
  size_t limit = kMaxDigits + (display_[0] == '-' ? 1 : 0);
  if (display_.size() >= limit) return;
  display_ += digit;
}

void TCalcEngine::DecimalPoint() {
  StartNumber();
  if (display_.find(separator_) == std::string::npos) display_ += separator_;
}

void TCalcEngine::Backspace() {
  StartNumber();
  if (display_.size() == 1 || (display_.size() == 2 && display_[0] == '-'))
    display_ = "0";
  else
    display_.pop_back();
}

void TCalcEngine::Operator(char op) {
  if (status_ == TStatus::Entering) {
    status_ = TStatus::NewNumber;
    double value = Value();
    if (op == '%') {
      if (pending_ == '*' || pending_ == '/')
        value = value / 100;
      else if (pending_ == '+' || pending_ == '-')
        value = operand_ * value / 100;
    }
    double result = value;
    switch (pending_) {
    case '+':
      result = operand_ + value;
      break;
    case '-':
      result = operand_ - value;
      break;
    case '*':
      result = operand_ * value;
      break;
    case '/':
      if (value == 0) return SetError();
      result = operand_ / value;
      break;
    default: // '=' or '%': the new number stands alone
      break;
    }
    SetValue(result);
    if (status_ == TStatus::Error) return;
  }
  pending_ = op;
  operand_ = Value();
}

void TCalcEngine::ChangeSign() {
  if (display_ == "0") return;
  if (display_[0] == '-')
    display_.erase(0, 1);
  else
    display_.insert(0, "-");
}

void TCalcEngine::Unary(char op) {
  status_ = TStatus::NewNumber;
  double value = Value();
  if (op == 'R') {
    if (value == 0) return SetError();
    SetValue(1 / value);
  } else {
    if (value < 0) return SetError();
    SetValue(std::sqrt(value));
  }
}

} // namespace qv

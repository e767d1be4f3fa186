#pragma once
// The arithmetic of the popup calculator: a key-driven four-function engine with percent, sign
// change, reciprocal and square root, evaluated strictly left to right. It holds the display text,
// the pending operator and the first operand; the window only forwards keys and shows Display().
// Portable: no <windows.h>.
#include <string>

namespace qv {

class TCalcEngine {
public:
  enum class TStatus { NewNumber, Entering, Error };

  // decimalSeparator is the locale's ('.' or ','); both '.' and ',' are accepted as keys.
  explicit TCalcEngine(char decimalSeparator = '.');

  // One key: digits, the decimal separator, '+', '-', '*', '/', '%', '=', '\r' (Enter), 'C',
  // '\x1b' (Escape), 'I' (sign), 'R' (1/x), 'S' (square root), '\b' (Backspace). Letters may be
  // lower case. Other keys are ignored; in the error state everything but 'C' is.
  void Key(char key);

  const std::string &Display() const { return display_; }
  // The display read as a number (0 in the error state).
  double Value() const;
  // Shows value in the general form (15 significant digits); a new number starts with the next
  // digit. A value that is not finite gives the error state.
  void SetValue(double value);
  // Shows the number in text (trimmed) as if it had been typed; false (nothing changes) when the
  // text is no number.
  bool Paste(const std::string &text);
  // Status 0, display "0", pending "=", operand 0.
  void Clear();

  TStatus Status() const { return status_; }
  char PendingOperator() const { return pending_; }
  double Operand() const { return operand_; }
  // The equal button reads "=" while a number is being entered, the operand is non-zero and an
  // arithmetic operator is pending; "Ok" otherwise.
  bool EqualMeansEquals() const;

  // Longest display of digits typed (a leading minus adds one).
  static constexpr size_t kMaxDigits = 15;

private:
  std::string display_ = "0";
  TStatus status_ = TStatus::NewNumber;
  char pending_ = '=';
  double operand_ = 0;
  char separator_;

  void StartNumber();
  void Digit(char digit);
  void DecimalPoint();
  void Backspace();
  void Operator(char op);
  void ChangeSign();
  void Unary(char op);
  void SetError();
  // The display with the locale's separator as '.', for parsing.
  std::string Canonical(const std::string &text) const;
};

// The general form of a value as the calculator shows it: up to 15 significant digits, the
// exponent written "E" with its sign only when negative ("1E20", "1.5E-7"), the locale's separator.
std::string FormatCalcValue(double value, char decimalSeparator);

} // namespace qv

#include "platform/data/Field.h"

#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSet.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

[[noreturn]] void NotANumber(const std::string &text, const std::string &field, const char *kind) {
  throw EDatabaseError("“" + text + "”不是有效的" + kind + "（字段“" + field + "”）");
}

bool ParseInteger(const std::string &text, int64_t &out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  errno = 0;
  char *end = nullptr;
  long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}

bool ParseFloat(const std::string &text, double &out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  errno = 0;
  char *end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (errno == ERANGE || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

} // namespace

TField::TField(TDataSet *dataSet, int index, const TFieldDef &def)
    : dataSet_(dataSet), index_(index), name_(def.Name), type_(def.DataType), size_(def.Size),
      readOnly_(def.ReadOnly),
      alignment_(IsNumeric() ? TFieldAlignment::taRightJustify : TFieldAlignment::taLeftJustify) {}

TDbValue TField::Value() const { return dataSet_->FieldValue(index_); }

bool TField::IsNull() const { return IsNullValue(dataSet_->FieldValue(index_)); }

std::string TField::AsString() const { return ValueToText(dataSet_->FieldValue(index_)); }

int64_t TField::AsInteger() const {
  const TDbValue &v = dataSet_->FieldValue(index_);
  if (const auto *i = std::get_if<int64_t>(&v)) return *i;
  if (const auto *d = std::get_if<double>(&v)) return std::llround(*d);
  if (const auto *s = std::get_if<std::string>(&v)) {
    int64_t out = 0;
    if (Trim(*s).empty()) return 0;
    if (!ParseInteger(*s, out)) NotANumber(*s, name_, "整数");
    return out;
  }
  return 0;
}

double TField::AsFloat() const {
  const TDbValue &v = dataSet_->FieldValue(index_);
  if (const auto *i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  if (const auto *d = std::get_if<double>(&v)) return *d;
  if (const auto *s = std::get_if<std::string>(&v)) {
    double out = 0;
    if (Trim(*s).empty()) return 0;
    if (!ParseFloat(*s, out)) NotANumber(*s, name_, "数值");
    return out;
  }
  return 0;
}

void TField::SetValue(const TDbValue &value) { dataSet_->SetFieldValue(this, value); }

void TField::SetAsString(const std::string &text) {
  switch (type_) {
  case TFieldType::ftInteger: {
    int64_t v = 0;
    if (Trim(text).empty()) return Clear();
    if (!ParseInteger(text, v)) NotANumber(text, name_, "整数");
    return SetValue(v);
  }
  case TFieldType::ftFloat: {
    double v = 0;
    if (Trim(text).empty()) return Clear();
    if (!ParseFloat(text, v)) NotANumber(text, name_, "数值");
    return SetValue(v);
  }
  default:
    return SetValue(text);
  }
}

void TField::SetAsInteger(int64_t value) {
  switch (type_) {
  case TFieldType::ftInteger:
    return SetValue(value);
  case TFieldType::ftFloat:
    return SetValue(static_cast<double>(value));
  default:
    return SetValue(std::to_string(value));
  }
}

void TField::SetAsFloat(double value) {
  switch (type_) {
  case TFieldType::ftInteger:
    if (value != std::trunc(value) || std::fabs(value) > 9.2e18)
      NotANumber(ValueToText(value), name_, "整数");
    return SetValue(static_cast<int64_t>(value));
  case TFieldType::ftFloat:
    return SetValue(value);
  default:
    return SetValue(ValueToText(value));
  }
}

std::string TField::DisplayText() const {
  if (IsBlob() && !IsNull()) return "(BLOB)";
  return AsString();
}

int TField::DisplayWidth() const {
  if (displayWidth_ < 0) {
    if (IsNumeric())
      displayWidth_ = 10;
    else if (size_ > 0)
      displayWidth_ = size_;
    else
      displayWidth_ = dataSet_->ComputeDisplayWidth(index_);
  }
  return displayWidth_;
}

bool TField::CanModify() const { return !readOnly_ && dataSet_->CanModify(); }

void TField::FocusControl() { dataSet_->DataEvent(TDataEvent::FocusControl, this); }

} // namespace qv

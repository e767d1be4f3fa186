#include "platform/data/Field.h"

#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSet.h"
#include "platform/data/DateTime.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

// One section of a display format, taken apart.
struct TNumberPattern {
  std::string Prefix, Suffix; // literal text before the first and after the last placeholder
  int MinInt = 0;             // 0 placeholders before the decimal point
  int MinDec = 0, MaxDec = 0; // 0 and 0-or-# placeholders after it
  bool Thousands = false;
  bool HasDigits = false;
};

TNumberPattern ParsePattern(const std::string &section) {
  TNumberPattern p;
  bool afterPoint = false, seenDigit = false;
  std::string literal;
  for (size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    if (c == '"' || c == '\'') {
      size_t end = section.find(c, i + 1);
      if (end == std::string::npos) end = section.size();
      literal += section.substr(i + 1, end - i - 1);
      i = end;
      continue;
    }
    if (c == '0' || c == '#') {
      if (!seenDigit) p.Prefix = literal;
      literal.clear();
      seenDigit = p.HasDigits = true;
      if (afterPoint) {
        ++p.MaxDec;
        if (c == '0') p.MinDec = p.MaxDec;
      } else if (c == '0') {
        ++p.MinInt;
      }
      continue;
    }
    if (c == '.' && !afterPoint) {
      if (!seenDigit) p.Prefix = literal, literal.clear();
      afterPoint = seenDigit = p.HasDigits = true;
      continue;
    }
    if (c == ',' && seenDigit && !afterPoint) {
      p.Thousands = true;
      continue;
    }
    literal += c;
  }
  if (seenDigit)
    p.Suffix = literal;
  else
    p.Prefix = literal;
  return p;
}

// The magnitude of value (not negative) laid out by the pattern.
std::string LayOut(const TNumberPattern &p, double magnitude) {
  if (!p.HasDigits) return p.Prefix;
  // Halves round away from zero (the C library would round them to even).
  double scale = std::pow(10.0, p.MaxDec);
  if (magnitude * scale < 1e17) magnitude = std::round(magnitude * scale) / scale;
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", p.MaxDec, magnitude);
  std::string digits = buffer;
  std::string intPart = digits, decPart;
  if (size_t point = digits.find('.'); point != std::string::npos) {
    intPart = digits.substr(0, point);
    decPart = digits.substr(point + 1);
  }
  while (static_cast<int>(decPart.size()) > p.MinDec && decPart.back() == '0')
    decPart.pop_back();
  intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size()));
  while (static_cast<int>(intPart.size()) < p.MinInt)
    intPart.insert(0, "0");
  if (p.Thousands)
    for (int at = static_cast<int>(intPart.size()) - 3; at > 0; at -= 3)
      intPart.insert(static_cast<size_t>(at), ",");
  std::string out = p.Prefix + intPart;
  if (!decPart.empty()) out += "." + decPart;
  if (intPart.empty() && decPart.empty()) out += "0";
  return out + p.Suffix;
}

} // namespace

std::string FormatFloat(const std::string &format, double value) {
  if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
  if (format.empty()) return ValueToText(value);
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote)
      quote = c == quote ? 0 : quote;
    else if (c == '"' || c == '\'')
      quote = c;
    else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  TNumberPattern positive = ParsePattern(sections[0]);
  // Zero and the sign are judged on the value as it will be shown.
  bool zero = std::round(std::fabs(value) * std::pow(10.0, positive.MaxDec)) == 0;
  if (zero && sections.size() > 2 && !sections[2].empty()) return LayOut(ParsePattern(sections[2]), 0);
  if (value < 0 && !zero) {
    if (sections.size() > 1 && !sections[1].empty()) return LayOut(ParsePattern(sections[1]), -value);
    return "-" + LayOut(positive, -value);
  }
  return LayOut(positive, std::fabs(value));
}

TField::TField(TDataSet *dataSet, int index, const TFieldDef &def)
    : dataSet_(dataSet), index_(index), name_(def.Name), type_(def.DataType), size_(def.Size),
      readOnly_(def.ReadOnly),
      alignment_(IsNumeric() ? TAlignment::taRightJustify : TAlignment::taLeftJustify) {}

TField::TField(TDataSet *dataSet, int index, const TLookupFieldDef &def)
    : dataSet_(dataSet), index_(index), kind_(TFieldKind::fkLookup), lookup_(def), name_(def.Name),
      type_(TFieldType::ftString), size_(0), readOnly_(false), alignment_(TAlignment::taLeftJustify) {
  // The type and size of the result field, when the lookup dataset is open to tell them.
  TDataSet *lookup = def.LookupDataSet;
  if (TField *result = lookup ? lookup->FindField(def.LookupResultField) : nullptr;
      result && !result->IsLookup()) {
    type_ = result->DataType();
    size_ = result->Size();
    alignment_ = result->Alignment();
  }
}

std::vector<TField *> TField::KeyFieldList() const {
  std::vector<TField *> out;
  if (!IsLookup()) return out;
  for (const std::string &name : FieldNameList(lookup_.KeyFields)) {
    TField *key = dataSet_->FindField(name);
    out.push_back(key && !key->IsLookup() ? key : nullptr);
  }
  return out;
}

std::vector<TDbValue> TField::KeyValues() const {
  std::vector<TDbValue> out;
  for (TField *key : KeyFieldList())
    out.push_back(key ? key->Value() : TDbValue{});
  return out;
}

void TField::SetKeyValues(const std::vector<TDbValue> &values) {
  std::vector<TField *> keys = KeyFieldList();
  if (keys.empty() || values.size() != keys.size())
    throw EDatabaseError("查找字段“" + name_ + "”需要" + std::to_string(keys.size()) + "个键值");
  for (TField *key : keys)
    if (!key) throw EDatabaseError("查找字段“" + name_ + "”的键字段“" + lookup_.KeyFields + "”不存在");
  for (size_t i = 0; i < keys.size(); ++i)
    keys[i]->SetValue(values[i]);
}

int TField::FindLookupRecord(const std::vector<TDbValue> &key) const {
  TDataSet *lookup = lookup_.LookupDataSet;
  if (!lookup || !lookup->Active()) return -1;
  for (const TDbValue &v : key)
    if (IsNullValue(v)) return -1;
  std::vector<TField *> fields;
  for (const std::string &name : FieldNameList(lookup_.LookupKeyFields))
    fields.push_back(lookup->FindField(name));
  return lookup->FindRecord(fields, key, {});
}

TDbValue TField::LookupValue() const {
  TDataSet *lookup = lookup_.LookupDataSet;
  int record = FindLookupRecord(KeyValues());
  TField *result = record >= 0 ? lookup->FindField(lookup_.LookupResultField) : nullptr;
  if (!result || result->IsLookup()) return {};
  return lookup->RecordValue(record, result->Index());
}

const TDbValue &TField::Raw() const {
  if (!IsLookup()) return dataSet_->FieldValue(index_);
  lookedUp_ = LookupValue();
  return lookedUp_;
}

TDbValue TField::Value() const { return Raw(); }

bool TField::IsNull() const { return IsNullValue(Raw()); }

std::string TField::AsString() const { return ValueToText(Raw()); }

int64_t TField::AsInteger() const {
  const TDbValue &v = Raw();
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
  const TDbValue &v = Raw();
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

void TField::SetValue(const TDbValue &value) {
  if (!IsLookup()) return dataSet_->SetFieldValue(this, value);
  size_t keys = KeyFieldList().size();
  // Null clears every key field; any other value is the key of a one-field key.
  if (IsNullValue(value)) return SetKeyValues(std::vector<TDbValue>(keys));
  if (keys != 1) throw EDatabaseError("查找字段“" + name_ + "”有多个键字段，不能只赋一个键值");
  SetKeyValues({value});
}

void TField::SetAsString(const std::string &text) {
  if (IsLookup()) {
    if (Trim(text).empty()) return Clear();
    TDataSet *lookup = lookup_.LookupDataSet;
    TField *result = lookup && lookup->Active() ? lookup->FindField(lookup_.LookupResultField) : nullptr;
    int record = result ? lookup->FindRecord({result}, {text}, {true, false}) : -1;
    if (record < 0) throw EDatabaseError("“" + text + "”不在字段“" + name_ + "”的查找列表中");
    std::vector<TDbValue> key;
    for (const std::string &name : FieldNameList(lookup_.LookupKeyFields))
      key.push_back(lookup->RecordValue(record, lookup->FieldByName(name)->Index()));
    return SetKeyValues(key);
  }
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
  case TFieldType::ftDate:
  case TFieldType::ftDateTime: {
    TDateTimeParts parts;
    if (Trim(text).empty()) return Clear();
    if (!ParseDateTime(text, parts)) NotANumber(text, name_, "日期");
    return SetValue(FormatDateTime(parts, type_ == TFieldType::ftDateTime));
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
  if (IsNumeric() && !IsNull() && (!displayFormat_.empty() || currency_))
    return FormatFloat(displayFormat_.empty() ? kCurrencyFormat : displayFormat_, AsFloat());
  return AsString();
}

int TField::DisplayWidth() const {
  if (displayWidth_ < 0 && IsLookup()) {
    TDataSet *lookup = lookup_.LookupDataSet;
    TField *result = lookup ? lookup->FindField(lookup_.LookupResultField) : nullptr;
    return result && !result->IsLookup() ? result->DisplayWidth() : 10;
  }
  if (displayWidth_ < 0) {
    if (IsNumeric() || type_ == TFieldType::ftDate)
      displayWidth_ = 10;
    else if (type_ == TFieldType::ftDateTime)
      displayWidth_ = 19;
    else if (size_ > 0)
      displayWidth_ = size_;
    else
      displayWidth_ = dataSet_->ComputeDisplayWidth(index_);
  }
  return displayWidth_;
}

bool TField::CanModify() const {
  if (!IsLookup()) return !readOnly_ && dataSet_->CanModify();
  std::vector<TField *> keys = KeyFieldList();
  return !readOnly_ && !keys.empty() &&
         std::all_of(keys.begin(), keys.end(), [](const TField *key) { return key && key->CanModify(); });
}

void TField::FocusControl() { dataSet_->DataEvent(TDataEvent::FocusControl, this); }

} // namespace qv

#pragma once
// One column of an open dataset, read and written through the dataset's current record (or the
// record a data link has made active while drawing).
#include "platform/base/Alignment.h"
#include "platform/data/Value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TDataSet;

// A number as a display format describes it: sections "positive;negative;zero", digit
// placeholders 0 (always shown) and # (shown when significant), one decimal point, a comma
// anywhere in the integer part for thousands separators, quoted text and other characters as
// they are. An empty format gives the general form (up to 15 significant digits).
std::string FormatFloat(const std::string &format, double value);
// The format of money amounts: thousands separated, two decimals.
inline const char *const kCurrencyFormat = "#,##0.00";

// Dates are held as text "YYYY-MM-DD", dates with times as "YYYY-MM-DD HH:MM:SS" (DateTime.h).
enum class TFieldType { ftString, ftInteger, ftFloat, ftBlob, ftDate, ftDateTime };
// A data field holds a column of the result; a lookup field shows a value of another dataset.
enum class TFieldKind { fkData, fkLookup };

// What the dataset learns about a column when it opens.
struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;          // declared length of a text column ("VARCHAR(50)"), else 0
  bool ReadOnly = false; // an expression or a column that the dataset cannot write back
};

// A lookup field: its value is the LookupResultField of the record of LookupDataSet whose
// LookupKeyFields equal this dataset's KeyFields (field lists separated by ';'). It is null when
// a key is null, no record matches or the lookup dataset is closed. Assigning it sets the key
// fields.
struct TLookupFieldDef {
  std::string Name;
  std::string KeyFields;
  TDataSet *LookupDataSet = nullptr;
  std::string LookupKeyFields;
  std::string LookupResultField;
};

class TField {
public:
  TField(TDataSet *dataSet, int index, const TFieldDef &def);
  TField(TDataSet *dataSet, int index, const TLookupFieldDef &def);

  TDataSet *DataSet() const { return dataSet_; }
  int Index() const { return index_; }
  const std::string &FieldName() const { return name_; }
  TFieldType DataType() const { return type_; }
  int Size() const { return size_; }
  bool IsBlob() const { return type_ == TFieldType::ftBlob; }
  bool IsNumeric() const { return type_ == TFieldType::ftInteger || type_ == TFieldType::ftFloat; }
  bool IsDate() const { return type_ == TFieldType::ftDate || type_ == TFieldType::ftDateTime; }

  TFieldKind FieldKind() const { return kind_; }
  bool IsLookup() const { return kind_ == TFieldKind::fkLookup; }
  // The definition of a lookup field (empty names for a data field).
  const TLookupFieldDef &LookupDef() const { return lookup_; }
  // This dataset's fields named by KeyFields (null entries for names it lacks).
  std::vector<TField *> KeyFieldList() const;
  // The key of a lookup field: the key fields' values in order.
  std::vector<TDbValue> KeyValues() const;
  // Writes the key fields (one value per key field), as assigning the field does.
  void SetKeyValues(const std::vector<TDbValue> &values);

  // Reading. Null reads as empty text, 0 or 0.0; numbers as decimal text. Reading a text that
  // is not a number as a number throws EDatabaseError.
  TDbValue Value() const;
  bool IsNull() const;
  std::string AsString() const;
  int64_t AsInteger() const;
  double AsFloat() const;

  // Writing: only in edit or insert state and when the field can be modified, else
  // EDatabaseError. Text written to a numeric field must be a number, to a date field a date
  // (stored in the canonical form); empty text writes null. A lookup field takes a key value
  // (with one key field; null clears every key field), or as text the result text of a record
  // of the lookup dataset (letter case ignored), whose key it writes; an unknown text throws.
  void SetValue(const TDbValue &value);
  void SetAsString(const std::string &text);
  void SetAsInteger(int64_t value);
  void SetAsFloat(double value);
  void Clear() { SetValue(std::monostate{}); }

  // The text a grid cell shows, and the text an editor starts from and writes back. A numeric
  // field with a DisplayFormat (or marked Currency) shows its value formatted.
  std::string DisplayText() const;
  const std::string &DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const std::string &format) { displayFormat_ = format; }
  // A real field that holds money (shown in kCurrencyFormat unless a DisplayFormat says otherwise).
  bool Currency() const { return currency_; }
  void SetCurrency(bool on) { currency_ = on; }
  // Significant digits of the general form of a real field.
  int Precision() const { return precision_; }
  void SetPrecision(int digits) { precision_ = digits; }
  std::string EditText() const { return AsString(); }
  void SetEditText(const std::string &text) { SetAsString(text); }

  // Width in characters (a Chinese character counts two): the declared length of a text column,
  // else the widest value of the open result (at most 64), 10 for numbers.
  int DisplayWidth() const;
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
  const std::string &DisplayLabel() const { return label_.empty() ? name_ : label_; }
  void SetDisplayLabel(const std::string &label) { label_ = label; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // Not read-only and the dataset can be modified; for a lookup field: every key field can.
  bool CanModify() const;

  // Asks the controls attached to the dataset to put the focus on this field's control.
  void FocusControl();

private:
  friend class TDataSet;
  // The value as stored (data field) or as looked up now (lookup field).
  const TDbValue &Raw() const;
  TDbValue LookupValue() const;
  // The lookup dataset's record whose key fields equal key; -1 for none.
  int FindLookupRecord(const std::vector<TDbValue> &key) const;

  TDataSet *dataSet_;
  int index_;
  TFieldKind kind_ = TFieldKind::fkData;
  TLookupFieldDef lookup_;
  mutable TDbValue lookedUp_;
  std::string name_;
  TFieldType type_;
  int size_;
  bool readOnly_;
  mutable int displayWidth_ = -1;
  TAlignment alignment_;
  std::string label_;
  bool visible_ = true;
  std::string displayFormat_;
  bool currency_ = false;
  int precision_ = 15;
};

} // namespace qv

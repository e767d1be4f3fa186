// Footers: the binding of sum, average and count footers to items of the grid's summary list,
// and the text of a footer cell (DBGridEhPaint.cpp draws it).
#include "grid/DBGridEh.h"

#include "platform/data/Field.h"

#include <algorithm>
#include <cstdio>

namespace qv {

// Binding -------------------------------------------------------------------------------------

TColumnFooterEh::~TColumnFooterEh() { FreeSum(); }

void TColumnFooterEh::FreeSum() {
  if (!sum_) return;
  TDBSum *sum = sum_;
  sum_ = nullptr;
  sums_->Delete(sum->Index());
  sums_ = nullptr;
}

void TColumnFooterEh::BindSum() {
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  TGroupOperation op = TGroupOperation::goSum;
  switch (valueType_) {
  case TFooterValueType::fvtSum:
    op = TGroupOperation::goSum;
    break;
  case TFooterValueType::fvtAvg:
    op = TGroupOperation::goAvg;
    break;
  case TFooterValueType::fvtCount:
    op = TGroupOperation::goCount;
    break;
  default:
    grid = nullptr;
    break;
  }
  if (!grid) {
    FreeSum();
    return;
  }
  std::string field = op == TGroupOperation::goCount
                          ? std::string()
                          : (fieldName_.empty() ? column_->FieldName() : fieldName_);
  if (sum_ && sum_->FieldName() == field && sum_->GroupOperation() == op) return;
  TDBSumCollection *sums = grid->SumList()->SumCollection();
  // One recalculation for the new item with its field and operation.
  sums->BeginUpdate();
  struct TEnd {
    TDBSumCollection *c;
    ~TEnd() { c->EndUpdate(); }
  } end{sums};
  if (!sum_) {
    sum_ = sums->Add();
    sums_ = sums;
  }
  sum_->SetFieldName(field);
  sum_->SetGroupOperation(op);
}

TColumnFooterEh *TColumnEh::FooterOf(int i) {
  if (footers_.Count() == 0) return &footer_;
  return i >= 0 && i < footers_.Count() ? footers_.Items(i) : nullptr;
}

// Text ----------------------------------------------------------------------------------------

std::string FormatSummaryValue(const TField *field, double value, const std::string &format) {
  if (!field || !field->IsNumeric()) return "0";
  if (!format.empty()) return FormatFloat(format, value);
  if (!field->DisplayFormat().empty()) return FormatFloat(field->DisplayFormat(), value);
  if (field->DataType() == TFieldType::ftInteger) return FormatFloat("0", value);
  if (field->Currency()) return FormatFloat(kCurrencyFormat, value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", std::clamp(field->Precision(), 1, 17), value);
  return buffer;
}

std::string TCustomDBGridEh::FooterText(TColumnEh *column, int footerRow) {
  TColumnFooterEh *footer = column ? column->FooterOf(footerRow) : nullptr;
  if (!footer) return {};
  TDataSet *ds = DataSet();
  switch (footer->ValueType()) {
  case TFooterValueType::fvtNon:
    return {};
  case TFooterValueType::fvtSum:
  case TFooterValueType::fvtAvg: {
    const TDBSum *sum = footer->Sum();
    TField *field = sum && ds ? ds->FindField(sum->FieldName()) : nullptr;
    return FormatSummaryValue(field, sum && sumList_->Active() ? sum->Value() : 0, footer->DisplayFormat());
  }
  case TFooterValueType::fvtCount: {
    const TDBSum *sum = footer->Sum();
    double count = sum && sumList_->Active() ? sum->Value() : 0;
    return footer->DisplayFormat().empty() ? FormatFloat("0", count)
                                           : FormatFloat(footer->DisplayFormat(), count);
  }
  case TFooterValueType::fvtFieldValue: {
    TField *field =
        footer->FieldName().empty() || !dataLink_.Active() ? nullptr : ds->FindField(footer->FieldName());
    if (!field || ds->IsEmpty()) return {};
    if (footer->DisplayFormat().empty()) return field->DisplayText();
    // Formatted like a data cell with a display format: numbers only.
    return field->IsNull() || !field->IsNumeric() ? std::string()
                                                  : FormatFloat(footer->DisplayFormat(), field->AsFloat());
  }
  case TFooterValueType::fvtStaticText:
    return footer->Value();
  }
  return {};
}

} // namespace qv

// The grid's column model: columns, titles, footers, grid-wide defaults and the collection.
#include "grid/DBGridEh.h"
#include "grid/DBLookupGridEh.h"

#include "platform/data/Field.h"

#include <algorithm>
#include <cassert>

namespace qv {

// TFollowingFont -------------------------------------------------------------------------------

TFollowingFont::TFollowingFont(std::function<void()> changed) : changed_(std::move(changed)) {
  font_.OnChange = [this] {
    if (copying_) return;
    explicit_ = true;
    if (changed_) changed_();
  };
}

TFont &TFollowingFont::Get(const TFont &def) {
  if (!explicit_ && !font_.SameAs(def)) {
    copying_ = true;
    font_.Assign(def);
    copying_ = false;
  }
  return font_;
}

// TColumnTitleEh -------------------------------------------------------------------------------

TColumnTitleEh::TColumnTitleEh(TColumnEh *column) : column_(column), font_([this] { Changed(); }) {}

void TColumnTitleEh::Changed() {
  if (column_) column_->ColumnChanged();
}

TAlignment TColumnTitleEh::Alignment() const {
  if (IsPropertySet("Alignment")) return alignment_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid ? grid->ColumnDefValues()->Title()->Alignment() : TAlignment::taLeftJustify;
}

void TColumnTitleEh::SetAlignment(TAlignment a) {
  alignment_ = a;
  MarkPropertySet("Alignment");
  Changed();
}

std::string TColumnTitleEh::Caption() const {
  if (IsPropertySet("Caption")) return caption_;
  if (!column_) return {};
  if (TField *f = column_->Field()) return f->DisplayLabel();
  return column_->FieldName();
}

void TColumnTitleEh::SetCaption(const std::string &s) {
  caption_ = s;
  MarkPropertySet("Caption");
  Changed();
}

TColor TColumnTitleEh::Color() const {
  if (IsPropertySet("Color")) return color_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid ? grid->ColumnDefValues()->Title()->Color() : clBtnFace;
}

void TColumnTitleEh::SetColor(TColor c) {
  color_ = c;
  MarkPropertySet("Color");
  Changed();
}

bool TColumnTitleEh::EndEllipsis() const {
  if (IsPropertySet("EndEllipsis")) return endEllipsis_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid && grid->ColumnDefValues()->Title()->EndEllipsis();
}

void TColumnTitleEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  MarkPropertySet("EndEllipsis");
  Changed();
}

TFont *TColumnTitleEh::Font() {
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  if (!grid) return &font_.Raw();
  return &font_.Get(*grid->TitleFont());
}

void TColumnTitleEh::SetImageIndex(int i) {
  imageIndex_ = i;
  Changed();
}

TTextOrientationEh TColumnTitleEh::Orientation() const {
  if (IsPropertySet("Orientation")) return orientation_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid ? grid->ColumnDefValues()->Title()->Orientation() : TTextOrientationEh::tohHorizontal;
}

void TColumnTitleEh::SetOrientation(TTextOrientationEh o) {
  orientation_ = o;
  MarkPropertySet("Orientation");
  Changed();
}

void TColumnTitleEh::SetSortIndex(int i) {
  sortIndex_ = i;
  if (column_) column_->ColumnChanged(true);
}

void TColumnTitleEh::SetSortMarker(TSortMarkerEh m) {
  sortMarker_ = m;
  Changed();
}

bool TColumnTitleEh::TitleButton() const {
  if (IsPropertySet("TitleButton")) return titleButton_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid && grid->ColumnDefValues()->Title()->TitleButton();
}

void TColumnTitleEh::SetTitleButton(bool on) {
  titleButton_ = on;
  MarkPropertySet("TitleButton");
  Changed();
}

bool TColumnTitleEh::ToolTips() const {
  if (IsPropertySet("ToolTips")) return toolTips_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid && grid->ColumnDefValues()->Title()->ToolTips();
}

void TColumnTitleEh::SetToolTips(bool on) {
  toolTips_ = on;
  MarkPropertySet("ToolTips");
}

void TColumnTitleEh::RestoreDefaults() {
  for (const char *name :
       {"Alignment", "Caption", "Color", "EndEllipsis", "Orientation", "TitleButton", "ToolTips"})
    MarkPropertySet(name, false);
  font_.ResetToDefault();
  imageIndex_ = -1;
  sortIndex_ = 0;
  sortMarker_ = TSortMarkerEh::smNoneEh;
}

// TColumnFooterEh ------------------------------------------------------------------------------

TColumnFooterEh::TColumnFooterEh(TCollection *collection, TColumnEh *column)
    : TCollectionItem(collection), column_(column), font_([this] { FooterChanged(); }) {}

void TColumnFooterEh::FooterChanged() {
  if (Collection())
    Changed();
  else if (column_)
    column_->ColumnChanged();
}

TAlignment TColumnFooterEh::Alignment() const {
  if (IsPropertySet("Alignment")) return alignment_;
  TField *f = column_ ? column_->Field() : nullptr;
  return f ? f->Alignment() : TAlignment::taLeftJustify;
}

void TColumnFooterEh::SetAlignment(TAlignment a) {
  alignment_ = a;
  MarkPropertySet("Alignment");
  FooterChanged();
}

TColor TColumnFooterEh::Color() const {
  if (IsPropertySet("Color")) return color_;
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  return grid ? grid->FooterColor() : clWindow;
}

void TColumnFooterEh::SetColor(TColor c) {
  color_ = c;
  MarkPropertySet("Color");
  FooterChanged();
}

void TColumnFooterEh::SetDisplayFormat(const std::string &s) {
  displayFormat_ = s;
  FooterChanged();
}

void TColumnFooterEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  FooterChanged();
}

void TColumnFooterEh::SetFieldName(const std::string &s) {
  fieldName_ = s;
  BindSum();
  FooterChanged();
}

TFont *TColumnFooterEh::Font() {
  TCustomDBGridEh *grid = column_ ? column_->Grid() : nullptr;
  if (!grid) return &font_.Raw();
  return &font_.Get(*grid->FooterFont());
}

void TColumnFooterEh::SetValue(const std::string &s) {
  value_ = s;
  FooterChanged();
}

void TColumnFooterEh::SetValueType(TFooterValueType t) {
  valueType_ = t;
  BindSum();
  FooterChanged();
}

void TColumnFooterEh::SetWordWrap(bool on) {
  wordWrap_ = on;
  FooterChanged();
}

TColumnFootersEh::TColumnFootersEh(TColumnEh *column)
    : TCollection(column, [column](TCollection *c) { return std::make_unique<TColumnFooterEh>(c, column); }),
      column_(column) {}

void TColumnFootersEh::Update(TCollectionItem *) {
  if (column_) column_->ColumnChanged();
}

// Grid-wide defaults ---------------------------------------------------------------------------

TAlignment TColumnTitleDefValuesEh::Alignment() const {
  if (IsPropertySet("Alignment")) return alignment_;
  return grid_ && grid_->UseMultiTitle() ? TAlignment::taCenter : TAlignment::taLeftJustify;
}

void TColumnTitleDefValuesEh::SetAlignment(TAlignment a) {
  alignment_ = a;
  MarkPropertySet("Alignment");
  Changed();
}

TColor TColumnTitleDefValuesEh::Color() const {
  if (IsPropertySet("Color")) return color_;
  return grid_ ? grid_->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesEh::SetColor(TColor c) {
  color_ = c;
  MarkPropertySet("Color");
  Changed();
}

void TColumnTitleDefValuesEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  Changed();
}

void TColumnTitleDefValuesEh::SetOrientation(TTextOrientationEh o) {
  orientation_ = o;
  Changed();
}

void TColumnTitleDefValuesEh::SetTitleButton(bool on) {
  titleButton_ = on;
  Changed();
}

void TColumnTitleDefValuesEh::Changed() {
  if (grid_) grid_->Invalidate();
}

void TColumnDefValuesEh::SetAlwaysShowEditButton(bool on) {
  alwaysShowEditButton_ = on;
  Changed();
}

void TColumnDefValuesEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  Changed();
}

void TColumnDefValuesEh::Changed() {
  if (grid_) grid_->Invalidate();
}

// TColumnEh ------------------------------------------------------------------------------------

TColumnEh::TColumnEh(TCollection *collection)
    : TCollectionItem(collection), font_([this] { ColumnChanged(); }), footer_(nullptr, this), footers_(this),
      editButtons_(this), title_(this) {
  autoFitBaseWidth_ = Width();
}

TColumnEh::~TColumnEh() {
  if (TCustomDBGridEh *grid = Grid()) grid->Selection().Columns().Remove(this);
}

TCustomDBGridEh *TColumnEh::Grid() const {
  auto *columns = dynamic_cast<TDBGridColumnsEh *>(Collection());
  return columns ? columns->Grid() : nullptr;
}

void TColumnEh::ColumnChanged(bool all) {
  auto *columns = dynamic_cast<TDBGridColumnsEh *>(Collection());
  if (!columns) return;
  if (all) columns->wholeChanged_ = true;
  Changed();
}

TField *TColumnEh::Field() const {
  if (field_ || fieldName_.empty()) return field_;
  TCustomDBGridEh *grid = Grid();
  if (!grid || grid->Loading() || !grid->DataLink().Active()) return nullptr;
  field_ = grid->DataSet()->FindField(fieldName_);
  if (field_) const_cast<TColumnEh *>(this)->fieldName_ = field_->FieldName();
  return field_;
}

void TColumnEh::SetField(TField *f) {
  if (field_ == f) return;
  field_ = f;
  if (f) fieldName_ = f->FieldName();
  if (!persistent_ && f) {
    // A generated column follows its field: its own settings go back to the defaults.
    RestoreDefaults();
    autoFitBaseWidth_ = Width();
  }
  ColumnChanged();
}

void TColumnEh::SetFieldName(const std::string &name) {
  fieldName_ = name;
  field_ = nullptr;
  TCustomDBGridEh *grid = Grid();
  if (grid && !grid->Loading() && grid->DataLink().Active())
    Field(); // binds now and takes the field's own letter case
  autoFitBaseWidth_ = Width();
  // Footers over the column's field follow the new name.
  footer_.BindSum();
  for (int i = 0; i < footers_.Count(); ++i)
    footers_.Items(i)->BindSum();
  // The grid's field map changes with the name: the whole collection is laid out again.
  ColumnChanged(true);
}

TAlignment TColumnEh::Alignment() const {
  if (explicit_ & cvAlignment) return alignment_;
  if (TField *f = Field()) return f->Alignment();
  return TAlignment::taLeftJustify;
}

void TColumnEh::SetAlignment(TAlignment a) {
  alignment_ = a;
  explicit_ |= cvAlignment;
  ColumnChanged();
}

bool TColumnEh::AlwaysShowEditButton() const {
  if (explicitFlags_ & exAlwaysShowEditButton) return alwaysShowEditButton_;
  TCustomDBGridEh *grid = Grid();
  return grid && grid->ColumnDefValues()->AlwaysShowEditButton();
}

void TColumnEh::SetAlwaysShowEditButton(bool on) {
  alwaysShowEditButton_ = on;
  explicitFlags_ |= exAlwaysShowEditButton;
  ColumnChanged();
}

void TColumnEh::SetAutoFitColWidth(bool on) {
  if (autoFitColWidth_ == on) return;
  autoFitColWidth_ = on;
  TCustomDBGridEh *grid = Grid();
  if (grid && grid->AutoFitColWidths()) {
    width_ = autoFitBaseWidth_;
    explicit_ |= cvWidth;
  }
  ColumnChanged();
}

void TColumnEh::SetButtonStyle(TColumnButtonStyleEh s) {
  buttonStyle_ = s;
  ColumnChanged();
}

void TColumnEh::SetCheckboxes(bool on) {
  checkboxes_ = on;
  ColumnChanged();
}

TColor TColumnEh::Color() const {
  if (explicit_ & cvColor) return color_;
  TCustomDBGridEh *grid = Grid();
  return grid ? grid->Color() : clWindow;
}

void TColumnEh::SetColor(TColor c) {
  color_ = c;
  explicit_ |= cvColor;
  ColumnChanged();
}

void TColumnEh::SetDisplayFormat(const std::string &s) {
  displayFormat_ = s;
  ColumnChanged();
}

bool TColumnEh::EndEllipsis() const {
  if (explicitFlags_ & exEndEllipsis) return endEllipsis_;
  TCustomDBGridEh *grid = Grid();
  return grid && grid->ColumnDefValues()->EndEllipsis();
}

void TColumnEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  explicitFlags_ |= exEndEllipsis;
  ColumnChanged();
}

TFont *TColumnEh::Font() {
  TCustomDBGridEh *grid = Grid();
  TFont *f = grid ? &font_.Get(grid->Font()) : &font_.Raw();
  if (font_.Explicit()) explicit_ |= cvFont;
  return f;
}

void TColumnEh::SetMaxWidth(int w) {
  maxWidth_ = w;
  if (w > 0 && Width() > w) SetWidth(w);
}

void TColumnEh::SetMinWidth(int w) {
  minWidth_ = w;
  if (w > 0 && Width() < w) SetWidth(w);
}

void TColumnEh::SetNotInKeyListIndex(int i) {
  notInKeyListIndex_ = i;
  ColumnChanged();
}

bool TColumnEh::ReadOnly() const {
  if (explicit_ & cvReadOnly) return readOnly_;
  TCustomDBGridEh *grid = Grid();
  if (grid && grid->ReadOnly()) return true;
  TField *f = Field();
  return f && f->ReadOnly();
}

void TColumnEh::SetReadOnly(bool on) {
  readOnly_ = on;
  explicit_ |= cvReadOnly;
  ColumnChanged();
}

bool TColumnEh::ToolTips() const {
  if (explicitFlags_ & exToolTips) return toolTips_;
  TCustomDBGridEh *grid = Grid();
  return grid && grid->ColumnDefValues()->ToolTips();
}

void TColumnEh::SetVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  ColumnChanged(true);
}

void TColumnEh::SetWordWrap(bool on) {
  wordWrap_ = on;
  ColumnChanged();
}

int TColumnEh::Width() const { return (explicit_ & cvWidth) ? width_ : DefaultWidth(); }

void TColumnEh::SetWidth(int w) {
  if (w == -1) return;
  if (maxWidth_ > 0) w = std::min(w, maxWidth_);
  if (minWidth_ > 0) w = std::max(w, minWidth_);
  width_ = w;
  explicit_ |= cvWidth;
  TCustomDBGridEh *grid = Grid();
  if (!persistent_ && grid && grid->HandleAllocated() && Field()) {
    // A generated column keeps its field's display width in step.
    TEXTMETRICW tm{};
    int w0 = 8;
    TWindowDC screen(nullptr);
    {
      TSelectGuard sel(screen.Get(), const_cast<TColumnEh *>(this)->Font()->Handle());
      GetTextMetricsW(screen.Get(), &tm);
      SIZE sz{};
      GetTextExtentPoint32W(screen.Get(), L"0", 1, &sz);
      w0 = std::max<int>(sz.cx, 1);
    }
    field_->SetDisplayWidth(std::max<int>((w + tm.tmAveCharWidth / 2 - tm.tmOverhang - 3) / w0, 1));
  }
  ColumnChanged();
}

int TColumnEh::FitWidth(int w) {
  if (w == -1) return Width();
  if (maxWidth_ > 0) w = std::min(w, maxWidth_);
  if (minWidth_ > 0) w = std::max(w, minWidth_);
  width_ = w;
  explicit_ |= cvWidth;
  return width_;
}

int TColumnEh::DefaultWidth() const {
  TCustomDBGridEh *grid = Grid();
  if (!grid) return 64;
  TField *f = Field();
  if (!f) return grid->DefaultColWidth();
  TWindowDC screen(nullptr);
  TSelectGuard sel(screen.Get(), const_cast<TColumnEh *>(this)->Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.Get(), &tm);
  SIZE sz{};
  GetTextExtentPoint32W(screen.Get(), L"0", 1, &sz);
  return (sz.cx - tm.tmOverhang) * f->DisplayWidth() + tm.tmOverhang + 4;
}

void TColumnEh::RestoreDefaults() {
  explicit_ = 0;
  explicitFlags_ = 0;
  font_.ResetToDefault();
  title_.RestoreDefaults();
}

std::string TColumnEh::DisplayText() const {
  TField *f = Field();
  if (!f) return {};
  if (specRow_ && specRow_->Visible() && IsLookup())
    return Grid()->LookupCellText(const_cast<TColumnEh *>(this));
  if (keyList_.Count() > 0) {
    std::string key = f->EditText();
    for (int i = 0; i < keyList_.Count(); ++i)
      if (keyList_[i] == key) return i < pickList_.Count() ? pickList_[i] : std::string();
    if (notInKeyListIndex_ >= 0 && notInKeyListIndex_ < pickList_.Count())
      return pickList_[notInKeyListIndex_];
    return {};
  }
  if (displayFormat_.empty()) return f->DisplayText();
  if (f->IsNull() || !f->IsNumeric()) return {};
  // The float format of display formats ("0.00", "#,##0"): the format is data, never a printf
  // format, so no text of a layout can make the grid read past its arguments.
  return FormatFloat(displayFormat_, f->AsFloat());
}

// TDBGridColumnsEh -----------------------------------------------------------------------------

TDBGridColumnsEh::TDBGridColumnsEh(TCustomDBGridEh *grid)
    : TCollection(grid, [](TCollection *c) { return std::make_unique<TDBGridColumnEh>(c); }), grid_(grid) {}

void TDBGridColumnsEh::RemoveGenerated() {
  BeginUpdate();
  for (int i = Count() - 1; i >= 0; --i)
    if (!Items(i)->IsPersistent()) Delete(i);
  EndUpdate();
}

void TDBGridColumnsEh::Update(TCollectionItem *item) {
  bool whole = wholeChanged_ || !item;
  wholeChanged_ = false;
  if (!grid_) return;
  if (whole)
    grid_->ColumnsChangedNotify();
  else
    grid_->ColumnChangedNotify(static_cast<TColumnEh *>(item));
}

// TDBGridEhScrollBar ---------------------------------------------------------------------------

void TDBGridEhScrollBar::SetVisible(bool on) {
  SetVisibleMode(on ? TScrollBarVisibleModeEh::sbAutoShowEh : TScrollBarVisibleModeEh::sbNeverShowEh);
}

void TDBGridEhScrollBar::SetVisibleMode(TScrollBarVisibleModeEh m) {
  if (mode_ == m) return;
  mode_ = m;
  if (!grid_) return;
  if (vertical_)
    grid_->UpdateVertScrollBar();
  else
    grid_->RequestLayout();
}

void TDBGridEhScrollBar::SetExtScrollBar(TWinControl *c) {
  if (ext_ == c) return;
  // The grid hears of the control's destruction and forgets it then.
  if (grid_ && ext_) grid_->RemoveFreeNotification(ext_);
  ext_ = c;
  if (grid_ && ext_) grid_->FreeNotification(ext_);
  if (!grid_) return;
  if (vertical_)
    grid_->UpdateVertScrollBar();
  else
    grid_->RequestLayout();
}

} // namespace qv

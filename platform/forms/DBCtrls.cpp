// The data source component and the read-only data-aware text field.
#include "platform/forms/DBCtrls.h"

#include "platform/classes/ClassBuilder.h"

namespace qv {

const TClassInfo &TDataSetComponent::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TDataSetComponent, TComponent>("TDataSetComponent", [](auto &) {});
  return info;
}

// TDBDataSource --------------------------------------------------------------------------------

const TClassInfo &TDBDataSource::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBDataSource, TComponent>("TDataSource", [](auto &c) {
    c.template Reference<TDataSetComponent>("DataSet", &TDBDataSource::DataSetComponent,
                                            &TDBDataSource::SetDataSetComponent);
  });
  return info;
}

TDBDataSource::TDBDataSource(TComponent *owner)
    : TComponent(owner), source_(std::make_unique<TDataSource>()) {}

// Controls still linked to the source hear that it goes (they become inactive).
TDBDataSource::~TDBDataSource() = default;

void TDBDataSource::SetDataSetComponent(TDataSetComponent *c) {
  if (dataSetComponent_ == c) return;
  if (dataSetComponent_) RemoveFreeNotification(dataSetComponent_);
  dataSetComponent_ = c;
  if (c) FreeNotification(c);
  source_->SetDataSet(c ? c->DataSet() : nullptr);
}

void TDBDataSource::SetDataSet(TDataSet *ds) {
  SetDataSetComponent(nullptr);
  source_->SetDataSet(ds);
}

void TDBDataSource::Notification(TComponent *c, TOperation op) {
  if (op == TOperation::opRemove && c == dataSetComponent_) {
    dataSetComponent_ = nullptr;
    source_->SetDataSet(nullptr);
  }
  TComponent::Notification(c, op);
}

// TDBEdit --------------------------------------------------------------------------------------

const TClassInfo &TDBEdit::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDBEdit, TCustomEdit>("TDBEdit", [](auto &c) {
    c.String("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField, std::string());
    c.template Reference<TDBDataSource>("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource);
  });
  return info;
}

TDBEdit::TDBEdit(TComponent *owner) : TCustomEdit(owner), link_(this) {
  // The field is shown, never written: the edit stays read-only whatever the layout says.
  SetReadOnly(true);
  link_.SetReadOnly(true);
}

TDBEdit::~TDBEdit() { link_.SetDataSource(nullptr); }

void TDBEdit::SetDataSource(TDBDataSource *ds) {
  if (dataSource_ == ds) return;
  if (dataSource_) RemoveFreeNotification(dataSource_);
  dataSource_ = ds;
  if (ds) FreeNotification(ds);
  link_.SetDataSource(ds ? ds->Source() : nullptr);
  ShowFieldText();
}

void TDBEdit::SetDataField(const std::string &name) {
  dataField_ = name;
  ShowFieldText();
}

TField *TDBEdit::Field() const {
  if (!link_.Active() || dataField_.empty()) return nullptr;
  return link_.DataSet()->FindField(dataField_);
}

void TDBEdit::ShowFieldText() {
  if (Loading()) return;
  TField *f = Field();
  std::string text = f ? f->DisplayText() : std::string();
  if (text != Text()) SetText(text);
}

void TDBEdit::Notification(TComponent *c, TOperation op) {
  if (op == TOperation::opRemove && c == dataSource_) {
    dataSource_ = nullptr;
    link_.SetDataSource(nullptr);
  }
  TCustomEdit::Notification(c, op);
}

void TDBEdit::Loaded() {
  TCustomEdit::Loaded();
  ShowFieldText();
}

} // namespace qv

#pragma once
// Data-aware controls and the components that join them to datasets in layouts.
#include "platform/data/DataSource.h"
#include "platform/forms/StdCtrls.h"

#include <memory>

#include <string>

namespace qv {

// A component that offers a dataset (the program's queries derive from it).
class TDataSetComponent : public TComponent {
  QV_DECLARE_CLASS(TDataSetComponent)
public:
  explicit TDataSetComponent(TComponent *owner) : TComponent(owner) {}
  virtual TDataSet *DataSet() const = 0;
};

// The layout's data source component (class name "TDataSource"): joins a dataset component to
// data-aware controls.
class TDBDataSource : public TComponent {
  QV_DECLARE_CLASS(TDBDataSource)
public:
  explicit TDBDataSource(TComponent *owner);
  ~TDBDataSource() override;

  TDataSource *Source() const { return source_.get(); }
  TDataSetComponent *DataSetComponent() const { return dataSetComponent_; }
  void SetDataSetComponent(TDataSetComponent *c);
  // For code that holds a plain dataset (no component).
  void SetDataSet(TDataSet *ds);
  TDataSet *DataSet() const { return source_->DataSet(); }

  void Notification(TComponent *c, TOperation op) override;

private:
  std::unique_ptr<TDataSource> source_;
  TDataSetComponent *dataSetComponent_ = nullptr;
};

// A read-only data-aware text field: shows the current record's value of DataField.
class TDBEdit : public TCustomEdit {
  QV_DECLARE_CLASS(TDBEdit)
public:
  explicit TDBEdit(TComponent *owner);
  ~TDBEdit() override;

  TDBDataSource *DataSource() const { return dataSource_; }
  void SetDataSource(TDBDataSource *ds);
  const std::string &DataField() const { return dataField_; }
  void SetDataField(const std::string &name);
  // The bound field, or nullptr while the dataset is closed or has no such field.
  TField *Field() const;

  void Notification(TComponent *c, TOperation op) override;
  void Loaded() override;

private:
  // Shows the field again whenever the dataset opens, closes, moves or changes the record.
  class TFieldLink : public TDataLink {
  public:
    explicit TFieldLink(TDBEdit *edit) : edit_(edit) {}

  private:
    TDBEdit *edit_;
    void ActiveChanged() override { edit_->ShowFieldText(); }
    void RecordChanged(TField *) override { edit_->ShowFieldText(); }
    void LayoutChanged() override { edit_->ShowFieldText(); }
  };
  TFieldLink link_;
  TDBDataSource *dataSource_ = nullptr;
  std::string dataField_;
  void ShowFieldText();
};

} // namespace qv

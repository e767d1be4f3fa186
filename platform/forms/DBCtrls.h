#pragma once
// Data-aware controls and the components that join them to datasets in layouts. Datasets are
// reached through DBLink.h.
#include "platform/forms/DBLink.h"
#include "platform/forms/StdCtrls.h"

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

  TDataSource *Source() const { return source_; }
  TDataSetComponent *DataSetComponent() const { return dataSetComponent_; }
  void SetDataSetComponent(TDataSetComponent *c);
  // For code that holds a plain dataset (no component).
  void SetDataSet(TDataSet *ds);
  TDataSet *DataSet() const;

  void Notification(TComponent *c, TOperation op) override;

private:
  TDataSource *source_;
  TDataSetComponent *dataSetComponent_ = nullptr;
};

// A read-only data-aware text field: shows the current record's value of DataField.
class TDBEdit : public TCustomEdit, private TDataLinkClient {
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
  TControlDataLink link_;
  TDBDataSource *dataSource_ = nullptr;
  std::string dataField_;
  void ShowFieldText();
  void LinkActiveChanged() override { ShowFieldText(); }
  void LinkRecordChanged(TField *) override { ShowFieldText(); }
  void LinkLayoutChanged() override { ShowFieldText(); }
};

} // namespace qv

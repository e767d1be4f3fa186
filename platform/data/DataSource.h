#pragma once
// Data sources and data links: how controls (the grid, data-aware edits) follow a dataset.
// A data source joins one dataset to any number of data links. A data link keeps a window of
// buffered records around the current record (BufferCount records starting at the first
// buffered one) and hears the dataset's changes through its virtual methods; controls derive
// from it.
#include "platform/data/DataSet.h"

#include <functional>
#include <vector>

namespace qv {

class TDataLink;

class TDataSource {
public:
  TDataSource() = default;
  explicit TDataSource(TDataSet *dataSet) { SetDataSet(dataSet); }
  ~TDataSource();
  TDataSource(const TDataSource &) = delete;
  TDataSource &operator=(const TDataSource &) = delete;

  TDataSet *DataSet() const { return dataSet_; }
  // Re-points every attached link (they hear ActiveChanged when that changes their active state).
  void SetDataSet(TDataSet *dataSet);
  // A disabled source makes its links inactive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TDataSetState State() const;

  std::function<void(TDataSource &)> OnStateChange;
  std::function<void(TDataSource &, TField *)> OnDataChange;
  std::function<void(TDataSource &)> OnUpdateData;

private:
  friend class TDataSet;
  friend class TDataLink;
  void Notify(TDataEvent event, TField *field);
  void UpdateLinks();

  TDataSet *dataSet_ = nullptr;
  bool enabled_ = true;
  std::vector<TDataLink *> links_;
};

class TDataLink {
public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink &) = delete;
  TDataLink &operator=(const TDataLink &) = delete;

  TDataSource *DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource *dataSource);
  TDataSet *DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }
  // Source set and enabled, dataset open.
  bool Active() const { return active_; }
  // The dataset is in edit or insert state (as this link last heard).
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  // Size of the window of buffered records (at least 1).
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int count);
  // Records in the window: BufferCount, or fewer near the end of the data (0 when inactive).
  int RecordCount() const;
  // Dataset index (from 0) of the first buffered record.
  int FirstRecord() const { return first_; }
  // Position of the current record in the window. Setting it makes the fields read the record at
  // that position (for drawing); set it back to the previous value afterwards.
  int ActiveRecord() const;
  void SetActiveRecord(int record);

  // Puts the dataset into edit state unless this link is read-only; true when it is editing.
  bool Edit();
  // Writes this link's pending input into the fields (runs UpdateData).
  void UpdateRecord();
  int MoveBy(int distance);
  // Escape in a control: by default cancels the dataset's edit.
  virtual void Reset();

protected:
  // Notifications, each at the moment its name says. Defaults follow one another: a scroll is
  // reported as a data set change, a data set change as a record change.
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  // The window of buffered records moved by `distance` records (0 when the current record moved
  // inside the window).
  virtual void DataSetScrolled(int distance) {
    (void)distance;
    DataSetChanged();
  }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField *field) { (void)field; }
  virtual void EditingChanged() {}
  virtual void UpdateData() {}
  virtual void FocusControl(TField *field) { (void)field; }
  virtual void CheckBrowseMode() {}

private:
  friend class TDataSource;
  void DataEvent(TDataEvent event, TField *field);
  void UpdateActive();
  // Moves the window so that it holds the current record; returns how far it moved.
  int AdjustWindow();

  TDataSource *dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;
  int bufferCount_ = 1;
  int first_ = 0;
};

} // namespace qv

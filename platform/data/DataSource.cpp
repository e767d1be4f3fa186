#include "platform/data/DataSource.h"

#include "platform/base/ScopeExit.h"

#include <algorithm>

namespace qv {

TDataSource::~TDataSource() {
  for (TDataLink *link : std::vector<TDataLink *>(links_))
    link->SetDataSource(nullptr);
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet *dataSet) {
  if (dataSet_ == dataSet) return;
  // Links see the old dataset go (inactive) before the new one comes.
  if (dataSet_) {
    std::erase(dataSet_->dataSources_, this);
    dataSet_ = nullptr;
    UpdateLinks();
  }
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->dataSources_.push_back(this);
  UpdateLinks();
  if (OnStateChange) OnStateChange(*this);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  UpdateLinks();
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : TDataSetState::dsInactive;
}

void TDataSource::UpdateLinks() {
  for (TDataLink *link : std::vector<TDataLink *>(links_))
    link->UpdateActive();
}

void TDataSource::Notify(TDataEvent event, TField *field) {
  if (!enabled_) return;
  for (TDataLink *link : std::vector<TDataLink *>(links_))
    link->DataEvent(event, field);
  switch (event) {
  case TDataEvent::ActiveChange:
  case TDataEvent::UpdateState:
    if (OnStateChange) OnStateChange(*this);
    break;
  case TDataEvent::FieldChange:
  case TDataEvent::RecordChange:
  case TDataEvent::DataSetChange:
  case TDataEvent::DataSetScroll:
  case TDataEvent::LayoutChange:
    if (OnDataChange) OnDataChange(*this, event == TDataEvent::FieldChange ? field : nullptr);
    break;
  case TDataEvent::UpdateRecord:
    if (OnUpdateData) OnUpdateData(*this);
    break;
  default:
    break;
  }
}

TDataLink::~TDataLink() {
  if (dataSource_) std::erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource *dataSource) {
  if (dataSource_ == dataSource) return;
  if (dataSource_) std::erase(dataSource_->links_, this);
  dataSource_ = dataSource;
  if (dataSource_) dataSource_->links_.push_back(this);
  UpdateActive();
}

void TDataLink::UpdateActive() {
  TDataSet *dataSet = DataSet();
  bool active = dataSource_ && dataSource_->Enabled() && dataSet && dataSet->Active();
  if (active == active_) return;
  active_ = active;
  first_ = 0;
  if (active_) AdjustWindow();
  TDataSetState state = active_ ? dataSet->State() : TDataSetState::dsInactive;
  editing_ = state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
  ActiveChanged();
}

int TDataLink::AdjustWindow() {
  TDataSet *dataSet = DataSet();
  int old = first_;
  int count = dataSet->RecordCount();
  int current = dataSet->current_;
  if (count == 0) {
    first_ = 0;
  } else {
    if (current < first_) first_ = current;
    if (current >= first_ + bufferCount_) first_ = current - bufferCount_ + 1;
    if (first_ + bufferCount_ > count) first_ = std::max(0, count - bufferCount_);
  }
  return first_ - old;
}

void TDataLink::DataEvent(TDataEvent event, TField *field) {
  if (event == TDataEvent::ActiveChange) return UpdateActive();
  if (!active_) return;
  switch (event) {
  case TDataEvent::FieldChange:
    return RecordChanged(field);
  case TDataEvent::RecordChange:
    return RecordChanged(nullptr);
  case TDataEvent::DataSetChange:
    AdjustWindow();
    return DataSetChanged();
  case TDataEvent::DataSetScroll:
    return DataSetScrolled(AdjustWindow());
  case TDataEvent::LayoutChange:
    AdjustWindow();
    return LayoutChanged();
  case TDataEvent::UpdateState: {
    TDataSetState state = DataSet()->State();
    bool editing = state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
    if (editing != editing_) {
      editing_ = editing;
      EditingChanged();
    }
    return;
  }
  case TDataEvent::UpdateRecord:
    if (updating_) return;
    {
      auto updating = ScopedFlag(updating_);
      UpdateData();
    }
    return;
  case TDataEvent::CheckBrowseMode:
    return CheckBrowseMode();
  case TDataEvent::FocusControl:
    return FocusControl(field);
  default:
    return;
  }
}

void TDataLink::SetBufferCount(int count) {
  bufferCount_ = std::max(1, count);
  if (active_) AdjustWindow();
}

int TDataLink::RecordCount() const {
  if (!active_) return 0;
  return std::min(bufferCount_, DataSet()->RecordCount() - first_);
}

int TDataLink::ActiveRecord() const {
  if (!active_ || DataSet()->IsEmpty()) return 0;
  return DataSet()->ActiveIndex() - first_;
}

void TDataLink::SetActiveRecord(int record) {
  if (active_) DataSet()->SetActiveIndex(first_ + record);
}

bool TDataLink::Edit() {
  TDataSet *dataSet = DataSet();
  if (!readOnly_ && active_ && dataSet->State() == TDataSetState::dsBrowse && dataSet->CanModify() &&
      !dataSet->IsEmpty())
    dataSet->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  if (!active_ || updating_) return;
  DataEvent(TDataEvent::UpdateRecord, nullptr);
}

int TDataLink::MoveBy(int distance) { return active_ ? DataSet()->MoveBy(distance) : 0; }

void TDataLink::Reset() {
  if (active_) DataSet()->Cancel();
}

} // namespace qv

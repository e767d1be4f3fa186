// Summaries: the one pass over the records, the incremental updates chained in front of (or
// behind) the dataset's own handlers, and record numbering by bookmarks.
#include "grid/DBSumLst.h"

#include "platform/base/Text.h"
#include "platform/data/Field.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {

int64_t ToFixedPoint(double value) {
  double scaled = std::round(value * static_cast<double>(kSumScale));
  // Out-of-range values saturate instead of wrapping.
  if (!(scaled < 9.2e18)) return std::numeric_limits<int64_t>::max();
  if (!(scaled > -9.2e18)) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(scaled);
}

// TDBSum ----------------------------------------------------------------------------------------

void TDBSum::SetFieldName(const std::string &name) {
  if (fieldName_ == name) return;
  fieldName_ = name;
  Changed();
}

void TDBSum::SetGroupOperation(TGroupOperation op) {
  if (operation_ == op) return;
  operation_ = op;
  Changed();
}

void TDBSum::UpdateAverage() {
  Accumulated = NonNullCount <= 0 ? 0 : std::llround(static_cast<double>(RawSum) / NonNullCount);
}

void TDBSum::ClearValues() {
  Accumulated = RawSum = EditStartValue = 0;
  NonNullCount = 0;
  EditStartVariant = TDbValue{};
}

TDBSumCollection::TDBSumCollection(TDBSumListProducer *owner)
    : TCollection(owner, [](TCollection *c) { return std::make_unique<TDBSum>(c); }), owner_(owner) {}

void TDBSumCollection::Update(TCollectionItem *item) {
  TCollection::Update(item);
  owner_->RecalcAll();
}

// Attaching and detaching -----------------------------------------------------------------------

TDBSumListProducer::TDBSumListProducer(TComponent *owner, bool active)
    : owner_(owner), sums_(this), active_(active) {}

TDBSumListProducer::~TDBSumListProducer() {
  if (dataSet_) {
    UnhookEvents();
    dataSet_->RemoveFreeNotification(this);
  }
}

bool TDBSumListProducer::OwnerLoading() const { return owner_ && owner_->Loading(); }

void TDBSumListProducer::SetDataSet(TDataSet *ds) {
  if (ds == dataSet_) {
    // Attaching may have waited for the owner's loading to end.
    if (active_ && !hooked_) Attach();
    return;
  }
  Detach();
  if (dataSet_) dataSet_->RemoveFreeNotification(this);
  dataSet_ = ds;
  if (dataSet_)
    dataSet_->AddFreeNotification(this, [this] {
      // The dataset goes: its handlers are put back while it still exists.
      UnhookEvents();
      dataSet_ = nullptr;
      ClearValues();
      Changed();
    });
  if (active_) Attach();
}

void TDBSumListProducer::SetActive(bool on) {
  if (active_ == on) return;
  active_ = on;
  if (on)
    Attach();
  else
    Detach();
}

void TDBSumListProducer::SetExternalRecalc(bool on) {
  externalRecalc_ = on;
  RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool on) {
  virtualRecords_ = on;
  RecalcAll();
}

void TDBSumListProducer::Attach() {
  if (!dataSet_ || OwnerLoading()) return;
  HookEvents();
  RecalcAll();
}

void TDBSumListProducer::Detach() {
  UnhookEvents();
  recordOrder_.clear();
  lastFoundIndex_ = -1;
  pendingInsert_ = false;
  ClearValues();
  Changed();
}

void TDBSumListProducer::HookEvents() {
  if (hooked_ || !dataSet_) return;
  TDataSet &ds = *dataSet_;
  savedAfterEdit_ = ds.AfterEdit;
  savedAfterInsert_ = ds.AfterInsert;
  savedAfterOpen_ = ds.AfterOpen;
  savedAfterPost_ = ds.AfterPost;
  savedAfterScroll_ = ds.AfterScroll;
  savedBeforeDelete_ = ds.BeforeDelete;
  savedAfterClose_ = ds.AfterClose;
  savedAfterCancel_ = ds.AfterCancel;
  auto call = [](const TDataSetNotifyEvent &saved, TDataSet &d) {
    if (saved) saved(d);
  };
  ds.AfterEdit = [this, call](TDataSet &d) {
    DoAfterEdit();
    call(savedAfterEdit_, d);
  };
  ds.AfterInsert = [this, call](TDataSet &d) {
    DoAfterInsert();
    call(savedAfterInsert_, d);
  };
  ds.AfterOpen = [this, call](TDataSet &d) {
    call(savedAfterOpen_, d);
    RecalcAll();
  };
  ds.AfterPost = [this, call](TDataSet &d) {
    DoAfterPost();
    call(savedAfterPost_, d);
  };
  ds.AfterScroll = [this, call](TDataSet &d) {
    call(savedAfterScroll_, d);
    DoAfterScroll();
  };
  ds.BeforeDelete = [this, call](TDataSet &d) {
    call(savedBeforeDelete_, d);
    DoBeforeDelete();
  };
  ds.AfterClose = [this, call](TDataSet &d) {
    DoAfterClose();
    call(savedAfterClose_, d);
  };
  ds.AfterCancel = [this, call](TDataSet &d) {
    call(savedAfterCancel_, d);
    pendingInsert_ = false;
  };
  hooked_ = true;
}

void TDBSumListProducer::UnhookEvents() {
  if (!hooked_) return;
  hooked_ = false;
  if (!dataSet_) return;
  TDataSet &ds = *dataSet_;
  ds.AfterEdit = std::move(savedAfterEdit_);
  ds.AfterInsert = std::move(savedAfterInsert_);
  ds.AfterOpen = std::move(savedAfterOpen_);
  ds.AfterPost = std::move(savedAfterPost_);
  ds.AfterScroll = std::move(savedAfterScroll_);
  ds.BeforeDelete = std::move(savedBeforeDelete_);
  ds.AfterClose = std::move(savedAfterClose_);
  ds.AfterCancel = std::move(savedAfterCancel_);
}

void TDBSumListProducer::ClearValues() {
  for (int i = 0; i < sums_.Count(); ++i)
    sums_.Items(i)->ClearValues();
}

void TDBSumListProducer::Changed() { SumListChanged(this); }

// The full pass ---------------------------------------------------------------------------------

namespace {

// A record's contribution to an item: its field's value x 10000 for a sum or an average (0 for a
// null, a missing or a non-numeric field, which then counts as null), 10000 for a count unless
// the field is null.
int64_t ContributionOf(const TDBSum &sum, const TField *field, bool &isNull) {
  isNull = !field || field->IsNull();
  if (sum.GroupOperation() == TGroupOperation::goCount)
    return sum.FieldName().empty() || !isNull ? kSumScale : 0;
  if (isNull || !field->IsNumeric()) {
    isNull = true;
    return 0;
  }
  if (field->DataType() == TFieldType::ftInteger) return field->AsInteger() * kSumScale;
  return ToFixedPoint(field->AsFloat());
}

} // namespace

int64_t TDBSumListProducer::Contribution(const TDBSum &sum, bool &isNull) const {
  return ContributionOf(sum, sum.FieldName().empty() ? nullptr : dataSet_->FindField(sum.FieldName()),
                        isNull);
}

void TDBSumListProducer::RecalcAll() {
  if (OwnerLoading() || !active_ || !dataSet_ || !dataSet_->Active() || !hooked_) return;
  ClearValues();
  lastFoundIndex_ = -1;
  OnRecalcAll(this);
  struct TDone {
    TDBSumListProducer &p;
    ~TDone() { p.recalculating_ = false; }
  } done{*this};
  if (!externalRecalc_) {
    bool needPass = UsesVirtualOrder();
    for (int i = 0; i < sums_.Count(); ++i)
      needPass = needPass || sums_.Items(i)->GroupOperation() == TGroupOperation::goCount ||
                 !sums_.Items(i)->FieldName().empty();
    if (needPass) {
      TDataSet &ds = *dataSet_;
      ds.DisableControls();
      struct TEnable {
        TDataSet &ds;
        ~TEnable() { ds.EnableControls(); }
      } enable{ds};
      recordOrder_.clear();
      recalculating_ = true;
      // The fields of each item, looked up once for the whole pass.
      std::vector<TField *> fields;
      for (int i = 0; i < sums_.Count(); ++i) {
        const std::string &name = sums_.Items(i)->FieldName();
        fields.push_back(name.empty() ? nullptr : ds.FindField(name));
      }
      bool keepOrder = UsesVirtualOrder();
      for (ds.First(); !ds.Eof() && !ds.IsEmpty(); ds.Next()) {
        for (int i = 0; i < sums_.Count(); ++i) {
          TDBSum &sum = *sums_.Items(i);
          bool isNull = true;
          int64_t v = ContributionOf(sum, fields[static_cast<size_t>(i)], isNull);
          if (sum.GroupOperation() != TGroupOperation::goAvg) {
            sum.Accumulated += v;
          } else if (!isNull) {
            sum.RawSum += v;
            ++sum.NonNullCount;
          }
        }
        if (keepOrder) recordOrder_.push_back(ds.GetBookmark());
      }
      ds.First();
      for (int i = 0; i < sums_.Count(); ++i)
        if (sums_.Items(i)->GroupOperation() == TGroupOperation::goAvg) sums_.Items(i)->UpdateAverage();
    }
  }
  OnAfterRecalcAll(this);
  recalculating_ = false;
  Changed();
}

const TDBSum *TDBSumListProducer::Find(TGroupOperation op, const std::string &fieldName) const {
  for (int i = 0; i < sums_.Count(); ++i) {
    const TDBSum *sum = sums_.Items(i);
    if (sum->GroupOperation() == op && SameText(sum->FieldName(), fieldName)) return sum;
  }
  return nullptr;
}

// Incremental maintenance -----------------------------------------------------------------------

void TDBSumListProducer::DoAfterEdit() {
  if (!active_) return;
  for (int i = 0; i < sums_.Count(); ++i) {
    TDBSum &sum = *sums_.Items(i);
    bool isNull = true;
    sum.EditStartValue = Contribution(sum, isNull);
    TField *f = sum.FieldName().empty() ? nullptr : dataSet_->FindField(sum.FieldName());
    sum.EditStartVariant = f ? f->Value() : TDbValue{};
  }
}

void TDBSumListProducer::DoAfterInsert() {
  if (!active_) return;
  // The new record is in no total yet.
  for (int i = 0; i < sums_.Count(); ++i) {
    sums_.Items(i)->EditStartValue = 0;
    sums_.Items(i)->EditStartVariant = TDbValue{};
  }
  pendingInsert_ = UsesVirtualOrder();
}

void TDBSumListProducer::DoAfterPost() {
  if (!active_) return;
  for (int i = 0; i < sums_.Count(); ++i) {
    TDBSum &sum = *sums_.Items(i);
    bool isNull = true;
    int64_t now = Contribution(sum, isNull);
    switch (sum.GroupOperation()) {
    case TGroupOperation::goSum:
    case TGroupOperation::goCount:
      sum.Accumulated += now - sum.EditStartValue;
      break;
    case TGroupOperation::goAvg: {
      bool wasNull = IsNullValue(sum.EditStartVariant);
      sum.RawSum += now - sum.EditStartValue;
      if (isNull && !wasNull) --sum.NonNullCount;
      if (!isNull && wasNull) ++sum.NonNullCount;
      sum.UpdateAverage();
      break;
    }
    }
    // The posted state is the start of the next edit of this record.
    sum.EditStartValue = now;
  }
  if (pendingInsert_) {
    pendingInsert_ = false;
    InsertBookmark(dataSet_->GetBookmark());
  }
  Changed();
}

void TDBSumListProducer::DoBeforeDelete() {
  if (!active_) return;
  for (int i = 0; i < sums_.Count(); ++i) {
    TDBSum &sum = *sums_.Items(i);
    bool isNull = true;
    int64_t v = Contribution(sum, isNull);
    if (sum.GroupOperation() == TGroupOperation::goAvg) {
      sum.RawSum -= v;
      if (!isNull) --sum.NonNullCount;
      sum.UpdateAverage();
    } else {
      sum.Accumulated -= v;
    }
  }
  if (UsesVirtualOrder()) {
    int at = FindBookmark(dataSet_->GetBookmark());
    if (at >= 0) recordOrder_.erase(recordOrder_.begin() + at);
    lastFoundIndex_ = -1;
  }
  Changed();
}

void TDBSumListProducer::DoAfterScroll() {
  // A filter change would call for a full pass here; the datasets of this system have none.
}

void TDBSumListProducer::DoAfterClose() {
  ClearValues();
  Changed();
  recalculating_ = false;
  recordOrder_.clear();
  lastFoundIndex_ = -1;
}

// Record numbering ------------------------------------------------------------------------------

bool TDBSumListProducer::UsesVirtualOrder() const {
  return virtualRecords_ && dataSet_ && !dataSet_->IsSequenced();
}

bool TDBSumListProducer::IsSequenced() const {
  if (!dataSet_) return false;
  if (dataSet_->IsSequenced()) return true;
  return virtualRecords_ && active_ && (!recordOrder_.empty() || (dataSet_->Bof() && dataSet_->Eof()));
}

int TDBSumListProducer::FindBookmark(TBookmark bookmark) const {
  int n = static_cast<int>(recordOrder_.size());
  if (n == 0) return -1;
  int i = lastFoundIndex_ >= 0 && lastFoundIndex_ < n ? lastFoundIndex_ : 0;
  int step = dataSet_->CompareBookmarks(bookmark, recordOrder_[static_cast<size_t>(i)]) < 0 ? -1 : 1;
  for (; i >= 0 && i < n; i += step) {
    int c = dataSet_->CompareBookmarks(bookmark, recordOrder_[static_cast<size_t>(i)]);
    if (c == 0) return lastFoundIndex_ = i;
    if ((step > 0 && c < 0) || (step < 0 && c > 0)) break;
  }
  return -1;
}

void TDBSumListProducer::InsertBookmark(TBookmark bookmark) {
  auto at = recordOrder_.begin();
  while (at != recordOrder_.end() && dataSet_->CompareBookmarks(*at, bookmark) < 0)
    ++at;
  lastFoundIndex_ = static_cast<int>(recordOrder_.insert(at, bookmark) - recordOrder_.begin());
}

int TDBSumListProducer::RecNo() const {
  if (!dataSet_) return 0;
  if (!UsesVirtualOrder()) return dataSet_->RecNo();
  return FindBookmark(dataSet_->GetBookmark()) + 1;
}

int TDBSumListProducer::RecordCount() const {
  if (!dataSet_) return 0;
  return UsesVirtualOrder() ? static_cast<int>(recordOrder_.size()) : dataSet_->RecordCount();
}

void TDBSumListProducer::SetRecNo(int recNo) {
  if (!dataSet_) return;
  if (!UsesVirtualOrder()) return dataSet_->SetRecNo(recNo);
  if (recordOrder_.empty()) return;
  int i = std::clamp(recNo, 1, static_cast<int>(recordOrder_.size())) - 1;
  dataSet_->GotoBookmark(recordOrder_[static_cast<size_t>(i)]);
}

} // namespace qv

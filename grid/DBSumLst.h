#pragma once
// Summaries over a dataset: sums, averages and counts computed in one pass over the records and
// then kept up to date by chaining the dataset's edit, insert, post, delete, scroll, open, close
// and cancel events. Values are fixed point with 4 decimals (value x 10000 in 64 bits), so sums
// of money-like values stay exact under any number of additions and subtractions.
//
// The producer can also number the records of a dataset that cannot number its own
// (VirtualRecords): it keeps the bookmarks in dataset order.
//
// No window code here: the grid owns one producer (TDBGridEhSumList) for its footers.
#include "platform/classes/Collection.h"
#include "platform/data/DataSet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

enum class TGroupOperation { goSum, goAvg, goCount };

// Fixed point of the summaries: 4 decimals.
constexpr int64_t kSumScale = 10000;
// value x 10000 to the nearest integer.
int64_t ToFixedPoint(double value);
inline double FromFixedPoint(int64_t fixed) { return static_cast<double>(fixed) / kSumScale; }

class TDBSum : public TCollectionItem {
  QV_DECLARE_CLASS(TDBSum)
public:
  explicit TDBSum(TCollection *collection) : TCollectionItem(collection) {}
  // The field aggregated (may be empty for a count).
  const std::string &FieldName() const { return fieldName_; }
  void SetFieldName(const std::string &name);
  TGroupOperation GroupOperation() const { return operation_; }
  void SetGroupOperation(TGroupOperation op);

  // The sum, the average or the count (n records: n x 10000).
  int64_t Accumulated = 0;
  // For an average: the running sum behind it and the records whose field is not null.
  int64_t RawSum = 0;
  int NonNullCount = 0;
  // The current record's contribution when its edit or insertion began, and its value then.
  int64_t EditStartValue = 0;
  TDbValue EditStartVariant;

  // Accumulated as a number.
  double Value() const { return FromFixedPoint(Accumulated); }
  void ClearValues();
  // Accumulated := RawSum / NonNullCount to the nearest integer (0 without values).
  void UpdateAverage();

private:
  std::string fieldName_;
  TGroupOperation operation_ = TGroupOperation::goSum;
};

class TDBSumListProducer;

class TDBSumCollection : public TCollection {
  QV_DECLARE_CLASS(TDBSumCollection)
public:
  explicit TDBSumCollection(TDBSumListProducer *owner);
  TDBSum *Items(int i) const { return static_cast<TDBSum *>(TCollection::Items(i)); }
  TDBSum *Add() { return static_cast<TDBSum *>(TCollection::Add()); }

protected:
  void Update(TCollectionItem *item) override;

private:
  TDBSumListProducer *owner_;
};

class TDBSumListProducer : public TPersistent {
  QV_DECLARE_CLASS(TDBSumListProducer)
public:
  // owner: the component whose loading holds recalculation back (may be null). A bare producer
  // starts active; the grid's starts inactive.
  explicit TDBSumListProducer(TComponent *owner, bool active = true);
  ~TDBSumListProducer() override;

  TDataSet *DataSet() const { return dataSet_; }
  // Detaches from the old dataset and attaches to the new one when active.
  void SetDataSet(TDataSet *ds);
  TDBSumCollection *SumCollection() { return &sums_; }
  const TDBSumCollection *SumCollection() const { return &sums_; }

  bool Active() const { return active_; }
  void SetActive(bool on);
  // The application fills the values itself (in OnRecalcAll); no pass over the records.
  bool ExternalRecalc() const { return externalRecalc_; }
  void SetExternalRecalc(bool on);
  bool VirtualRecords() const { return virtualRecords_; }
  void SetVirtualRecords(bool on);
  bool EventsHooked() const { return hooked_; }
  bool Recalculating() const { return recalculating_; }

  // Clears every value, then (when attached) visits every record once; the dataset is left on
  // its first record.
  void RecalcAll();
  // The item of an operation over a field (letter case ignored), or nullptr.
  const TDBSum *Find(TGroupOperation op, const std::string &fieldName) const;

  // Record numbering for the grid's scroll bar: the dataset's own, or the bookmark list.
  bool IsSequenced() const;
  int RecNo() const;
  int RecordCount() const;
  void SetRecNo(int recNo);
  const std::vector<TBookmark> &RecordOrder() const { return recordOrder_; }

  TNotifyEvent OnRecalcAll, OnAfterRecalcAll, SumListChanged;

private:
  TComponent *owner_;
  TDataSet *dataSet_ = nullptr;
  TDBSumCollection sums_;
  bool active_, externalRecalc_ = false, virtualRecords_ = false;
  bool hooked_ = false, recalculating_ = false, pendingInsert_ = false;
  std::vector<TBookmark> recordOrder_;
  mutable int lastFoundIndex_ = -1;
  // The handlers the producer chained in front of, restored exactly on detach.
  TDataSetNotifyEvent savedAfterEdit_, savedAfterInsert_, savedAfterOpen_, savedAfterPost_, savedAfterScroll_,
      savedBeforeDelete_, savedAfterClose_, savedAfterCancel_;

  bool OwnerLoading() const;
  void Attach();
  void Detach();
  void HookEvents();
  void UnhookEvents();
  void ClearValues();
  void Changed();
  // The record's contribution to an item, and whether its field is null (or missing).
  int64_t Contribution(const TDBSum &sum, bool &isNull) const;
  bool UsesVirtualOrder() const;
  int FindBookmark(TBookmark bookmark) const;
  void InsertBookmark(TBookmark bookmark);

  void DoAfterEdit();
  void DoAfterInsert();
  void DoAfterPost();
  void DoBeforeDelete();
  void DoAfterScroll();
  void DoAfterClose();
};

} // namespace qv

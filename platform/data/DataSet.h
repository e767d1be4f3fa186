#pragma once
// A dataset: an in-memory result with a current record, the start and end flags, the four
// states and the scroll hooks. Every move (first, last, next, prior, move by, go to a bookmark
// or record number, insert, append, delete) first posts a pending edit, then runs BeforeScroll on
// the record that is still current, then moves, then runs AfterScroll on the new current record.
// A next or prior that cannot move because its flag is already set runs BeforeScroll only. On an
// empty result there is no current record and no scroll hook runs. Subclasses (TQuery) fetch the
// records and write posts and deletes to the database.
#include "platform/data/Field.h"
#include "platform/data/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv {

class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// Identifies a record for as long as the dataset stays open; 0 is no record.
using TBookmark = uint64_t;

using TDataSetNotifyEvent = std::function<void(TDataSet &)>;

// How Locate compares: letters without regard to case; text values by their start.
struct TLocateOptions {
  bool CaseInsensitive = false;
  bool PartialKey = false;
};

// The names of a field list "a;b;c" (blanks around names dropped, empty names skipped).
std::vector<std::string> FieldNameList(const std::string &names);

// What a dataset tells its data sources and, through them, their data links.
enum class TDataEvent {
  FieldChange,     // a field of the current record was written (info: the field)
  RecordChange,    // the current record changed as a whole
  DataSetChange,   // records, order or current record changed beyond a scroll
  DataSetScroll,   // the current record moved
  LayoutChange,    // the fields changed
  ActiveChange,    // opened or closed
  UpdateState,     // the state changed (browse, edit, insert)
  UpdateRecord,    // controls must write pending input into the fields
  CheckBrowseMode, // a pending edit is about to be posted or cancelled
  FocusControl,    // put the focus on the control of a field (info: the field)
};

class TDataSet {
public:
  TDataSet() = default;
  virtual ~TDataSet();
  TDataSet(const TDataSet &) = delete;
  TDataSet &operator=(const TDataSet &) = delete;

  // Opening runs the statement and reads every record: browse state, first record current,
  // start flag set, end flag set when there is no record; AfterScroll runs once when there is one.
  void Open();
  // Posts a pending modified edit (a failed post keeps the dataset open), then discards the result.
  void Close();
  void SetActive(bool active) { active ? Open() : Close(); }
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to `distance` records; returns how many it moved (negative backwards). Sets the end
  // (start) flag when it runs off the last (first) record; does not move while that flag is set.
  int MoveBy(int distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return rows_.empty(); }

  int RecordCount() const { return static_cast<int>(rows_.size()); }
  // Number of the current record, 1 to RecordCount (0 when empty or inactive).
  int RecNo() const { return rows_.empty() ? 0 : current_ + 1; }
  // Moves to record `recNo` (clamped to the records there are), like a bookmark jump.
  void SetRecNo(int recNo);
  // Whether RecNo and RecordCount number the records (a dataset that fetches lazily may not).
  virtual bool IsSequenced() const { return true; }

  TBookmark GetBookmark() const;
  // The bookmark of the record whose fields are read now (the one a data link shows while it
  // draws, else the current one).
  TBookmark ActiveBookmark() const;
  bool BookmarkValid(TBookmark bookmark) const;
  // Throws EDatabaseError when the record is gone.
  void GotoBookmark(TBookmark bookmark);
  // -1, 0 or 1 by the records' order in the dataset; invalid bookmarks sort before valid ones.
  int CompareBookmarks(TBookmark a, TBookmark b) const;

  // Browse to edit state for the current record; no effect while editing or inserting. Throws
  // when inactive, empty or read-only.
  void Edit();
  // A new empty record before the current one (Insert) or after the last (Append), in insert state.
  void Insert();
  void Append();
  // Writes the edited or inserted record to the database, then browse state. No effect in browse.
  // A failed write throws and leaves the edit in place.
  void Post();
  // Discards the edit (an inserted record disappears). No effect in browse.
  void Cancel();
  // Removes the current record from the database; the next record (or, at the end, the previous
  // one) becomes current. Throws on an empty result. In insert state it cancels the insertion.
  void Delete();
  // Posts a pending edit: edit state is posted; an insertion is posted when modified, else cancelled.
  void CheckBrowseMode();
  // Asks the data links to write their pending input into the fields.
  void UpdateRecord();
  // True when a field was written since the edit or insertion began.
  bool Modified() const { return modified_; }
  // Whether records can be edited, inserted and deleted at all.
  bool CanModify() const { return Active() && InternalCanModify(); }

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField *Fields(int index) const { return fields_.at(static_cast<size_t>(index)).get(); }
  // Looks a field up by name, letter case ignored; FindField returns null, FieldByName throws.
  TField *FindField(const std::string &name) const;
  TField *FieldByName(const std::string &name) const;

  // Adds a lookup field after the data fields; it stays defined across closing and opening.
  // The lookup dataset may be freed first: the field then reads null.
  void AddLookupField(const TLookupFieldDef &def);
  const std::vector<TLookupFieldDef> &LookupFieldDefs() const { return lookupDefs_; }
  // Makes the first record whose fields (names as in FieldNameList) match values current;
  // false (the position kept) when none does. Numbers match numbers of equal value; null
  // matches null.
  bool Locate(const std::string &fields, const std::vector<TDbValue> &values, TLocateOptions options = {});
  // The value of resultField in the first record whose key fields match values (as Locate
  // compares), without moving; null when none does or the dataset is closed.
  TDbValue Lookup(const std::string &keyFields, const std::vector<TDbValue> &values,
                  const std::string &resultField, TLocateOptions options = {}) const;

  // While disabled (counted), data links hear nothing but open and close; the last enable tells
  // them that the data set changed.
  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Objects that chain the events below (a summary list) hear of the dataset's destruction here,
  // before anything of it is gone, and put the handlers back. One entry per key.
  void AddFreeNotification(const void *key, std::function<void()> onFree);
  void RemoveFreeNotification(const void *key);

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

protected:
  struct TRecord {
    TBookmark Id = 0;
    std::vector<TDbValue> Values;
  };
  // Fills the field definitions and the records. Throws on failure (the dataset stays closed).
  virtual void InternalOpen(std::vector<TFieldDef> &defs, std::vector<std::vector<TDbValue>> &records) = 0;
  virtual void InternalClose() {}
  // Writes an edited (`inserting` false) or new record; `changed` marks the fields written.
  // May fill values the database assigned (a new key) into `values`.
  virtual void InternalPost(const std::vector<TDbValue> &original, std::vector<TDbValue> &values,
                            const std::vector<bool> &changed, bool inserting) = 0;
  virtual void InternalDelete(const std::vector<TDbValue> &values) = 0;
  virtual bool InternalCanModify() const = 0;

  void CheckActive() const;
  void CheckInactive(const std::string &what) const;

private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;

  const TDbValue &FieldValue(int index) const;
  // A field's stored value in record `record` (0-based), ignoring a pending edit.
  const TDbValue &RecordValue(int record, int field) const {
    return rows_[static_cast<size_t>(record)].Values[static_cast<size_t>(field)];
  }
  // The first record whose fields match values; -1 for none.
  int FindRecord(const std::vector<TField *> &fields, const std::vector<TDbValue> &values,
                 TLocateOptions options) const;
  void CreateLookupField(const TLookupFieldDef &def);
  void LookupDataSetFreed(const TDataSet *lookup);
  void SetFieldValue(TField *field, TDbValue value);
  void DataEvent(TDataEvent event, TField *field = nullptr);
  void SetState(TDataSetState state);
  void Fire(const TDataSetNotifyEvent &event) {
    if (event) event(*this);
  }
  void BeginInsert(bool append);
  // Index of the record whose fields are read: the current one, or the one a data link shows.
  int ActiveIndex() const { return activeIndex_; }
  void SetActiveIndex(int index);
  int IndexOf(TBookmark bookmark) const;
  void JumpTo(int index);
  int ComputeDisplayWidth(int field) const;

  TDataSetState state_ = TDataSetState::dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  int dataFieldCount_ = 0; // the data fields come first, then the lookup fields
  std::vector<TLookupFieldDef> lookupDefs_;
  std::vector<TRecord> rows_;
  std::vector<TDbValue> editBuffer_;
  std::vector<bool> changed_;
  int current_ = 0;
  int activeIndex_ = 0;
  bool bof_ = true, eof_ = true;
  bool modified_ = false;
  int disableCount_ = 0;
  bool eventsSuppressed_ = false;
  TBookmark nextId_ = 1;
  mutable std::unordered_map<TBookmark, int> positions_;
  mutable bool positionsValid_ = false;
  std::vector<TDataSource *> dataSources_;
  std::vector<std::pair<const void *, std::function<void()>>> freeNotifications_;
};

} // namespace qv

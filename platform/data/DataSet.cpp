#include "platform/data/DataSet.h"

#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataSource.h"

#include <algorithm>
#include <cassert>

namespace qv {

std::vector<std::string> FieldNameList(const std::string &names) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string name = Trim(names.substr(start, end - start));
    if (!name.empty()) out.push_back(name);
    start = end + 1;
  }
  return out;
}

namespace {

// Whether a stored value matches a wanted one for Locate and lookups.
bool ValueMatches(const TDbValue &stored, const TDbValue &wanted, TLocateOptions options) {
  if (IsNullValue(stored) || IsNullValue(wanted)) return IsNullValue(stored) && IsNullValue(wanted);
  auto number = [](const TDbValue &v, double &out) {
    if (const auto *i = std::get_if<int64_t>(&v)) return out = static_cast<double>(*i), true;
    if (const auto *d = std::get_if<double>(&v)) return out = *d, true;
    return false;
  };
  double a = 0, b = 0;
  if (number(stored, a) && number(wanted, b)) return a == b;
  std::string have = ValueToText(stored), want = ValueToText(wanted);
  if (options.PartialKey && have.size() > want.size()) have.resize(want.size());
  return options.CaseInsensitive ? SameText(have, want) : have == want;
}

} // namespace

TDataSet::~TDataSet() {
  for (auto notification = std::move(freeNotifications_); auto &[key, onFree] : notification)
    onFree();
  for (const TLookupFieldDef &def : lookupDefs_)
    if (def.LookupDataSet) def.LookupDataSet->RemoveFreeNotification(this);
  // Subclasses close in their own destructor; here only the sources are let go.
  for (TDataSource *source : std::vector<TDataSource *>(dataSources_))
    source->SetDataSet(nullptr);
}

void TDataSet::AddFreeNotification(const void *key, std::function<void()> onFree) {
  RemoveFreeNotification(key);
  freeNotifications_.emplace_back(key, std::move(onFree));
}

void TDataSet::RemoveFreeNotification(const void *key) {
  std::erase_if(freeNotifications_, [key](const auto &entry) { return entry.first == key; });
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("数据集没有打开，无法执行此操作");
}

void TDataSet::CheckInactive(const std::string &what) const {
  if (Active()) throw EDatabaseError("数据集已打开，无法" + what);
}

void TDataSet::Open() {
  if (Active()) return;
  Fire(BeforeOpen);
  std::vector<TFieldDef> defs;
  std::vector<std::vector<TDbValue>> records;
  InternalOpen(defs, records);
  fields_.clear();
  for (size_t i = 0; i < defs.size(); ++i)
    fields_.push_back(std::make_unique<TField>(this, static_cast<int>(i), defs[i]));
  dataFieldCount_ = static_cast<int>(defs.size());
  for (const TLookupFieldDef &def : lookupDefs_)
    CreateLookupField(def);
  rows_.clear();
  rows_.reserve(records.size());
  for (auto &values : records) {
    assert(values.size() == defs.size());
    rows_.push_back(TRecord{nextId_++, std::move(values)});
  }
  positionsValid_ = false;
  current_ = activeIndex_ = 0;
  bof_ = true;
  eof_ = rows_.empty();
  modified_ = false;
  state_ = TDataSetState::dsBrowse;
  DataEvent(TDataEvent::ActiveChange);
  Fire(AfterOpen);
  if (!rows_.empty()) Fire(AfterScroll);
}

void TDataSet::Close() {
  if (!Active()) return;
  // An answer written but not yet posted is stored, not dropped.
  if ((state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) && modified_) Post();
  Fire(BeforeClose);
  state_ = TDataSetState::dsInactive;
  modified_ = false;
  editBuffer_.clear();
  rows_.clear();
  positions_.clear();
  positionsValid_ = false;
  current_ = activeIndex_ = 0;
  bof_ = eof_ = true;
  DataEvent(TDataEvent::ActiveChange);
  fields_.clear();
  dataFieldCount_ = 0;
  InternalClose();
  Fire(AfterClose);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  DataEvent(TDataEvent::CheckBrowseMode);
  UpdateRecord();
  if (state_ == TDataSetState::dsEdit || modified_)
    Post();
  else
    Cancel();
}

void TDataSet::UpdateRecord() {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
    throw EDatabaseError("数据集不在编辑或插入状态");
  DataEvent(TDataEvent::UpdateRecord);
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  if (rows_.empty()) return;
  Fire(BeforeScroll);
  current_ = activeIndex_ = 0;
  bof_ = true;
  eof_ = false;
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterScroll);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  if (rows_.empty()) return;
  Fire(BeforeScroll);
  current_ = activeIndex_ = RecordCount() - 1;
  bof_ = false;
  eof_ = true;
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterScroll);
}

int TDataSet::MoveBy(int distance) {
  CheckActive();
  CheckBrowseMode();
  if (rows_.empty() || distance == 0) return 0;
  Fire(BeforeScroll);
  if ((distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  bof_ = eof_ = false;
  long long target = static_cast<long long>(current_) + distance;
  if (target >= RecordCount()) {
    target = RecordCount() - 1;
    eof_ = true;
  } else if (target < 0) {
    target = 0;
    bof_ = true;
  }
  int moved = static_cast<int>(target) - current_;
  current_ = activeIndex_ = static_cast<int>(target);
  DataEvent(TDataEvent::DataSetScroll);
  Fire(AfterScroll);
  return moved;
}

void TDataSet::JumpTo(int index) {
  assert(index >= 0 && index < RecordCount());
  Fire(BeforeScroll);
  current_ = activeIndex_ = index;
  bof_ = eof_ = false;
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterScroll);
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  CheckBrowseMode();
  if (rows_.empty()) return;
  int index = std::clamp(recNo, 1, RecordCount()) - 1;
  if (index != current_) JumpTo(index);
}

TBookmark TDataSet::GetBookmark() const { return rows_.empty() ? 0 : rows_[current_].Id; }

TBookmark TDataSet::ActiveBookmark() const {
  if (activeIndex_ < 0 || activeIndex_ >= static_cast<int>(rows_.size())) return 0;
  return rows_[static_cast<size_t>(activeIndex_)].Id;
}

int TDataSet::IndexOf(TBookmark bookmark) const {
  if (bookmark == 0) return -1;
  if (!positionsValid_) {
    positions_.clear();
    positions_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i)
      positions_[rows_[i].Id] = static_cast<int>(i);
    positionsValid_ = true;
  }
  auto it = positions_.find(bookmark);
  return it == positions_.end() ? -1 : it->second;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const { return IndexOf(bookmark) >= 0; }

void TDataSet::GotoBookmark(TBookmark bookmark) {
  CheckActive();
  CheckBrowseMode();
  int index = IndexOf(bookmark);
  if (index < 0) throw EDatabaseError("书签指向的记录已不存在");
  JumpTo(index);
}

int TDataSet::CompareBookmarks(TBookmark a, TBookmark b) const {
  int ia = IndexOf(a), ib = IndexOf(b);
  return ia < ib ? -1 : ia > ib ? 1 : 0;
}

void TDataSet::Edit() {
  CheckActive();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  if (rows_.empty()) throw EDatabaseError("没有当前记录，无法编辑");
  if (!CanModify()) throw EDatabaseError("数据集是只读的，无法编辑");
  Fire(BeforeEdit);
  editBuffer_ = rows_[current_].Values;
  changed_.assign(editBuffer_.size(), false);
  modified_ = false;
  activeIndex_ = current_;
  SetState(TDataSetState::dsEdit);
  DataEvent(TDataEvent::RecordChange);
  Fire(AfterEdit);
}

void TDataSet::BeginInsert(bool append) {
  CheckActive();
  CheckBrowseMode();
  if (!CanModify()) throw EDatabaseError("数据集是只读的，无法插入记录");
  Fire(BeforeInsert);
  if (!rows_.empty()) Fire(BeforeScroll);
  int index = append || rows_.empty() ? RecordCount() : current_;
  const size_t width = static_cast<size_t>(dataFieldCount_);
  rows_.insert(rows_.begin() + index, TRecord{nextId_++, std::vector<TDbValue>(width)});
  positionsValid_ = false;
  current_ = activeIndex_ = index;
  bof_ = eof_ = false;
  editBuffer_.assign(width, TDbValue{});
  changed_.assign(width, false);
  modified_ = false;
  SetState(TDataSetState::dsInsert);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDataSet::Insert() { BeginInsert(false); }
void TDataSet::Append() { BeginInsert(true); }

void TDataSet::Post() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  UpdateRecord();
  Fire(BeforePost);
  bool inserting = state_ == TDataSetState::dsInsert;
  InternalPost(rows_[current_].Values, editBuffer_, changed_, inserting);
  rows_[current_].Values = std::move(editBuffer_);
  editBuffer_.clear();
  modified_ = false;
  activeIndex_ = current_;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  Fire(BeforeCancel);
  if (state_ == TDataSetState::dsInsert) {
    rows_.erase(rows_.begin() + current_);
    positionsValid_ = false;
    if (current_ >= RecordCount()) current_ = std::max(0, RecordCount() - 1);
    bof_ = eof_ = rows_.empty();
  }
  editBuffer_.clear();
  modified_ = false;
  activeIndex_ = current_;
  SetState(TDataSetState::dsBrowse);
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterCancel);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == TDataSetState::dsInsert) {
    Cancel();
    return;
  }
  if (rows_.empty()) throw EDatabaseError("没有当前记录，无法删除");
  if (!CanModify()) throw EDatabaseError("数据集是只读的，无法删除记录");
  CheckBrowseMode();
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  InternalDelete(rows_[current_].Values);
  rows_.erase(rows_.begin() + current_);
  positionsValid_ = false;
  if (current_ >= RecordCount()) current_ = std::max(0, RecordCount() - 1);
  activeIndex_ = current_;
  bof_ = eof_ = rows_.empty();
  DataEvent(TDataEvent::DataSetChange);
  Fire(AfterDelete);
  if (!rows_.empty()) Fire(AfterScroll);
}

TField *TDataSet::FindField(const std::string &name) const {
  for (const auto &field : fields_)
    if (SameText(field->FieldName(), name)) return field.get();
  return nullptr;
}

TField *TDataSet::FieldByName(const std::string &name) const {
  if (TField *field = FindField(name)) return field;
  throw EDatabaseError(Active() ? "字段“" + name + "”不存在" : "数据集没有打开，找不到字段“" + name + "”");
}

void TDataSet::AddLookupField(const TLookupFieldDef &def) {
  if (FindField(def.Name) ||
      std::any_of(lookupDefs_.begin(), lookupDefs_.end(),
                  [&](const TLookupFieldDef &d) { return SameText(d.Name, def.Name); }))
    throw EDatabaseError("字段“" + def.Name + "”已存在");
  if (def.LookupDataSet == this) throw EDatabaseError("查找字段“" + def.Name + "”不能查找它自己的数据集");
  lookupDefs_.push_back(def);
  if (def.LookupDataSet)
    def.LookupDataSet->AddFreeNotification(
        this, [this, lookup = def.LookupDataSet] { LookupDataSetFreed(lookup); });
  if (Active()) {
    CreateLookupField(def);
    DataEvent(TDataEvent::LayoutChange);
  }
}

void TDataSet::CreateLookupField(const TLookupFieldDef &def) {
  fields_.push_back(std::make_unique<TField>(this, static_cast<int>(fields_.size()), def));
}

void TDataSet::LookupDataSetFreed(const TDataSet *lookup) {
  for (TLookupFieldDef &def : lookupDefs_)
    if (def.LookupDataSet == lookup) def.LookupDataSet = nullptr;
  for (const auto &field : fields_)
    if (field->lookup_.LookupDataSet == lookup) field->lookup_.LookupDataSet = nullptr;
}

int TDataSet::FindRecord(const std::vector<TField *> &fields, const std::vector<TDbValue> &values,
                         TLocateOptions options) const {
  if (!Active() || fields.empty() || fields.size() != values.size()) return -1;
  for (TField *f : fields)
    if (!f || f->DataSet() != this || f->IsLookup()) return -1;
  for (int r = 0; r < RecordCount(); ++r) {
    bool all = true;
    for (size_t i = 0; i < fields.size() && all; ++i)
      all = ValueMatches(RecordValue(r, fields[i]->Index()), values[i], options);
    if (all) return r;
  }
  return -1;
}

bool TDataSet::Locate(const std::string &fields, const std::vector<TDbValue> &values,
                      TLocateOptions options) {
  CheckActive();
  std::vector<TField *> list;
  for (const std::string &name : FieldNameList(fields))
    list.push_back(FieldByName(name));
  CheckBrowseMode();
  int index = FindRecord(list, values, options);
  if (index < 0) return false;
  if (index != current_) JumpTo(index);
  return true;
}

TDbValue TDataSet::Lookup(const std::string &keyFields, const std::vector<TDbValue> &values,
                          const std::string &resultField, TLocateOptions options) const {
  std::vector<TField *> list;
  for (const std::string &name : FieldNameList(keyFields))
    list.push_back(FindField(name));
  TField *result = FindField(resultField);
  int index = FindRecord(list, values, options);
  if (index < 0 || !result || result->IsLookup()) return {};
  return RecordValue(index, result->Index());
}

void TDataSet::EnableControls() {
  assert(disableCount_ > 0);
  if (disableCount_ > 0 && --disableCount_ == 0 && eventsSuppressed_) {
    eventsSuppressed_ = false;
    if (Active()) DataEvent(TDataEvent::DataSetChange);
  }
}

const TDbValue &TDataSet::FieldValue(int index) const {
  static const TDbValue null;
  if (rows_.empty() || !Active()) return null;
  if (activeIndex_ == current_ && (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert))
    return editBuffer_[static_cast<size_t>(index)];
  return rows_[static_cast<size_t>(activeIndex_)].Values[static_cast<size_t>(index)];
}

void TDataSet::SetFieldValue(TField *field, TDbValue value) {
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
    throw EDatabaseError("数据集不在编辑或插入状态，无法写入字段“" + field->FieldName() + "”");
  if (!field->CanModify()) throw EDatabaseError("字段“" + field->FieldName() + "”是只读的");
  size_t index = static_cast<size_t>(field->Index());
  editBuffer_[index] = std::move(value);
  changed_[index] = true;
  modified_ = true;
  DataEvent(TDataEvent::FieldChange, field);
  // The lookup fields that show through this key read differently now.
  for (size_t i = static_cast<size_t>(dataFieldCount_); i < fields_.size(); ++i) {
    std::vector<TField *> keys = fields_[i]->KeyFieldList();
    if (std::find(keys.begin(), keys.end(), field) != keys.end())
      DataEvent(TDataEvent::FieldChange, fields_[i].get());
  }
}

void TDataSet::SetActiveIndex(int index) {
  assert(rows_.empty() || (index >= 0 && index < RecordCount()));
  if (!rows_.empty()) activeIndex_ = std::clamp(index, 0, RecordCount() - 1);
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  DataEvent(TDataEvent::UpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField *field) {
  if (disableCount_ > 0 && event != TDataEvent::ActiveChange && event != TDataEvent::UpdateRecord) {
    eventsSuppressed_ = true;
    return;
  }
  for (TDataSource *source : std::vector<TDataSource *>(dataSources_))
    source->Notify(event, field);
}

int TDataSet::ComputeDisplayWidth(int field) const {
  int widest = 1;
  for (const TRecord &row : rows_) {
    const TDbValue &v = row.Values[static_cast<size_t>(field)];
    if (const auto *text = std::get_if<std::string>(&v)) {
      // Half-width units: ASCII counts one, a Chinese character two.
      int width = 0;
      for (size_t i = 0; i < text->size(); ++i) {
        unsigned char c = static_cast<unsigned char>((*text)[i]);
        if (c < 0x80)
          width += 1;
        else if (c >= 0xC0)
          width += 2;
      }
      widest = std::max(widest, width);
      if (widest >= 64) return 64;
    }
  }
  return widest;
}

} // namespace qv

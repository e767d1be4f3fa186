// TDataAccess and TControlDataLink over platform/data (no form framework header here).
#include "platform/forms/DBLink.h"

#include "platform/data/DataSource.h"
#include "platform/data/Field.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

// TDataAccess ----------------------------------------------------------------------------------

TDataState TDataAccess::State(const TDataSet *ds) {
  if (!ds) return TDataState::Inactive;
  switch (ds->State()) {
  case TDataSetState::dsBrowse:
    return TDataState::Browse;
  case TDataSetState::dsEdit:
    return TDataState::Edit;
  case TDataSetState::dsInsert:
    return TDataState::Insert;
  default:
    return TDataState::Inactive;
  }
}
bool TDataAccess::Bof(const TDataSet *ds) { return !ds || ds->Bof(); }
bool TDataAccess::Eof(const TDataSet *ds) { return !ds || ds->Eof(); }
bool TDataAccess::IsEmpty(const TDataSet *ds) { return !ds || !ds->Active() || ds->IsEmpty(); }
int TDataAccess::RecNo(const TDataSet *ds) { return ds ? ds->RecNo() : 0; }
int TDataAccess::RecordCount(const TDataSet *ds) { return ds && ds->Active() ? ds->RecordCount() : 0; }
bool TDataAccess::IsSequenced(const TDataSet *ds) { return ds && ds->IsSequenced(); }
bool TDataAccess::CanModify(const TDataSet *ds) { return ds && ds->CanModify(); }
bool TDataAccess::Modified(const TDataSet *ds) { return ds && ds->Modified(); }
void TDataAccess::First(TDataSet *ds) {
  if (ds) ds->First();
}
void TDataAccess::Last(TDataSet *ds) {
  if (ds) ds->Last();
}
int TDataAccess::MoveBy(TDataSet *ds, int distance) { return ds ? ds->MoveBy(distance) : 0; }
void TDataAccess::SetRecNo(TDataSet *ds, int recNo) {
  if (ds) ds->SetRecNo(recNo);
}
void TDataAccess::Insert(TDataSet *ds) {
  if (ds) ds->Insert();
}
void TDataAccess::Append(TDataSet *ds) {
  if (ds) ds->Append();
}
void TDataAccess::Delete(TDataSet *ds) {
  if (ds) ds->Delete();
}
void TDataAccess::Cancel(TDataSet *ds) {
  if (ds) ds->Cancel();
}
void TDataAccess::Post(TDataSet *ds) {
  if (ds) ds->Post();
}
void TDataAccess::CheckBrowseMode(TDataSet *ds) {
  if (ds && ds->Active()) ds->CheckBrowseMode();
}
void TDataAccess::DisableControls(TDataSet *ds) {
  if (ds) ds->DisableControls();
}
void TDataAccess::EnableControls(TDataSet *ds) {
  if (ds) ds->EnableControls();
}
uint64_t TDataAccess::GetBookmark(const TDataSet *ds) { return ds ? ds->GetBookmark() : 0; }
uint64_t TDataAccess::ActiveBookmark(const TDataSet *ds) { return ds ? ds->ActiveBookmark() : 0; }
int TDataAccess::CompareBookmarks(const TDataSet *ds, uint64_t a, uint64_t b) {
  return ds ? ds->CompareBookmarks(a, b) : 0;
}
bool TDataAccess::BookmarkValid(const TDataSet *ds, uint64_t b) { return ds && ds->BookmarkValid(b); }
void TDataAccess::GotoBookmark(TDataSet *ds, uint64_t b) {
  if (ds) ds->GotoBookmark(b);
}
int TDataAccess::FieldCount(const TDataSet *ds) { return ds ? ds->FieldCount() : 0; }
TField *TDataAccess::Fields(const TDataSet *ds, int i) {
  return ds && i >= 0 && i < ds->FieldCount() ? ds->Fields(i) : nullptr;
}
TField *TDataAccess::FindField(const TDataSet *ds, const std::string &name) {
  return ds ? ds->FindField(name) : nullptr;
}
TDataSet *TDataAccess::FieldDataSet(const TField *f) { return f ? f->DataSet() : nullptr; }
int TDataAccess::FieldIndex(const TField *f) { return f ? f->Index() : -1; }
std::string TDataAccess::FieldName(const TField *f) { return f ? f->FieldName() : std::string(); }
std::string TDataAccess::DisplayLabel(const TField *f) { return f ? f->DisplayLabel() : std::string(); }
std::string TDataAccess::DisplayText(const TField *f) {
  if (!f || !f->DataSet() || !f->DataSet()->Active() || f->DataSet()->IsEmpty()) return {};
  return f->DisplayText();
}
std::string TDataAccess::EditText(const TField *f) {
  if (!f || !f->DataSet() || !f->DataSet()->Active() || f->DataSet()->IsEmpty()) return {};
  return f->EditText();
}
void TDataAccess::SetEditText(TField *f, const std::string &text) {
  if (f) f->SetEditText(text);
}
bool TDataAccess::IsNull(const TField *f) { return !f || f->IsNull(); }
bool TDataAccess::IsNumeric(const TField *f) { return f && f->IsNumeric(); }
double TDataAccess::AsFloat(const TField *f) { return f ? f->AsFloat() : 0.0; }
int TDataAccess::DisplayWidth(const TField *f) { return f ? f->DisplayWidth() : 0; }
void TDataAccess::SetDisplayWidth(TField *f, int width) {
  if (f) f->SetDisplayWidth(width);
}
int TDataAccess::Alignment(const TField *f) { return f ? static_cast<int>(f->Alignment()) : 0; }
bool TDataAccess::FieldVisible(const TField *f) { return f && f->Visible(); }
bool TDataAccess::FieldReadOnly(const TField *f) { return !f || f->ReadOnly(); }
bool TDataAccess::FieldCanModify(const TField *f) { return f && f->CanModify(); }
TDataSource *TDataAccess::NewDataSource() { return new TDataSource; }
void TDataAccess::FreeDataSource(TDataSource *source) { delete source; }
TDataSet *TDataAccess::SourceDataSet(const TDataSource *source) {
  return source ? source->DataSet() : nullptr;
}
void TDataAccess::SetSourceDataSet(TDataSource *source, TDataSet *ds) {
  if (source) source->SetDataSet(ds);
}

// TControlDataLink -----------------------------------------------------------------------------

struct TControlDataLink::TImpl : TDataLink {
  explicit TImpl(TDataLinkClient *c) : client(c) {}
  TDataLinkClient *client;
  void ActiveChanged() override { client->LinkActiveChanged(); }
  void DataSetChanged() override { client->LinkDataSetChanged(); }
  void DataSetScrolled(int distance) override { client->LinkDataSetScrolled(distance); }
  void LayoutChanged() override { client->LinkLayoutChanged(); }
  void RecordChanged(TField *field) override { client->LinkRecordChanged(field); }
  void EditingChanged() override { client->LinkEditingChanged(); }
  void UpdateData() override { client->LinkUpdateData(); }
  void FocusControl(TField *field) override { client->LinkFocusControl(field); }
  void CheckBrowseMode() override { client->LinkCheckBrowseMode(); }
};

TControlDataLink::TControlDataLink(TDataLinkClient *client) : impl_(std::make_unique<TImpl>(client)) {}
TControlDataLink::~TControlDataLink() = default;
TDataSource *TControlDataLink::DataSource() const { return impl_->DataSource(); }
void TControlDataLink::SetDataSource(TDataSource *source) { impl_->SetDataSource(source); }
TDataSet *TControlDataLink::DataSet() const { return impl_->DataSet(); }
bool TControlDataLink::Active() const { return impl_->Active(); }
bool TControlDataLink::Editing() const { return impl_->Editing(); }
bool TControlDataLink::ReadOnly() const { return impl_->ReadOnly(); }
void TControlDataLink::SetReadOnly(bool on) { impl_->SetReadOnly(on); }
int TControlDataLink::BufferCount() const { return impl_->BufferCount(); }
void TControlDataLink::SetBufferCount(int n) { impl_->SetBufferCount(n); }
int TControlDataLink::RecordCount() const { return impl_->RecordCount(); }
int TControlDataLink::ActiveRecord() const { return impl_->ActiveRecord(); }
void TControlDataLink::SetActiveRecord(int i) { impl_->SetActiveRecord(i); }
int TControlDataLink::FirstRecord() const { return impl_->FirstRecord(); }
bool TControlDataLink::Edit() { return impl_->Edit(); }
void TControlDataLink::UpdateRecord() { impl_->UpdateRecord(); }
int TControlDataLink::MoveBy(int distance) { return impl_->MoveBy(distance); }
void TControlDataLink::Reset() { impl_->Reset(); }

} // namespace qv

#pragma once
// How control code reaches datasets: control headers hold datasets, data sources and fields as
// opaque pointers and reach them through TDataAccess and TControlDataLink (implemented in
// DBLink.cpp over platform/data), so that the form framework's headers need not include the data
// layer's. This header includes neither side.
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class TDataSet;
class TDataSource;
class TField;

enum class TDataState { Inactive, Browse, Edit, Insert };

// Dataset and field operations for control code. Null pointers read as empty/inactive.
struct TDataAccess {
  static TDataState State(const TDataSet *ds);
  static bool Active(const TDataSet *ds) { return State(ds) != TDataState::Inactive; }
  static bool Bof(const TDataSet *ds);
  static bool Eof(const TDataSet *ds);
  static bool IsEmpty(const TDataSet *ds);
  static int RecNo(const TDataSet *ds);
  static int RecordCount(const TDataSet *ds);
  static bool IsSequenced(const TDataSet *ds);
  static bool CanModify(const TDataSet *ds);
  static bool Modified(const TDataSet *ds);
  static void First(TDataSet *ds);
  static void Last(TDataSet *ds);
  static int MoveBy(TDataSet *ds, int distance);
  static void SetRecNo(TDataSet *ds, int recNo);
  static void Insert(TDataSet *ds);
  static void Append(TDataSet *ds);
  static void Delete(TDataSet *ds);
  static void Cancel(TDataSet *ds);
  static void Post(TDataSet *ds);
  static void CheckBrowseMode(TDataSet *ds);
  static void DisableControls(TDataSet *ds);
  static void EnableControls(TDataSet *ds);
  static uint64_t GetBookmark(const TDataSet *ds);
  // The bookmark of the record the fields read now (a data link's drawn row, else the current).
  static uint64_t ActiveBookmark(const TDataSet *ds);
  // -1, 0 or 1 by the records' order.
  static int CompareBookmarks(const TDataSet *ds, uint64_t a, uint64_t b);
  static bool BookmarkValid(const TDataSet *ds, uint64_t bookmark);
  static void GotoBookmark(TDataSet *ds, uint64_t bookmark);

  static int FieldCount(const TDataSet *ds);
  static TField *Fields(const TDataSet *ds, int index);
  static TField *FindField(const TDataSet *ds, const std::string &name);
  static TDataSet *FieldDataSet(const TField *f);
  static int FieldIndex(const TField *f);
  static std::string FieldName(const TField *f);
  static std::string DisplayLabel(const TField *f);
  static std::string DisplayText(const TField *f);
  static std::string EditText(const TField *f);
  static void SetEditText(TField *f, const std::string &text);
  static bool IsNull(const TField *f);
  static bool IsNumeric(const TField *f);
  static double AsFloat(const TField *f);
  static int DisplayWidth(const TField *f);
  static void SetDisplayWidth(TField *f, int width);
  // 0 left, 1 right, 2 centre (the order of TAlignment).
  static int Alignment(const TField *f);
  static bool FieldVisible(const TField *f);
  static bool FieldReadOnly(const TField *f);
  static bool FieldCanModify(const TField *f);

  static TDataSource *NewDataSource();
  static void FreeDataSource(TDataSource *source);
  static TDataSet *SourceDataSet(const TDataSource *source);
  static void SetSourceDataSet(TDataSource *source, TDataSet *ds);
};

// What a control hears from its data link.
class TDataLinkClient {
public:
  virtual ~TDataLinkClient() = default;
  virtual void LinkActiveChanged() {}
  virtual void LinkDataSetChanged() { LinkRecordChanged(nullptr); }
  // The window of buffered records moved by distance records (0: moved inside it).
  virtual void LinkDataSetScrolled(int distance) {
    (void)distance;
    LinkDataSetChanged();
  }
  virtual void LinkLayoutChanged() { LinkDataSetChanged(); }
  virtual void LinkRecordChanged(TField *field) { (void)field; }
  virtual void LinkEditingChanged() {}
  virtual void LinkUpdateData() {}
  virtual void LinkFocusControl(TField *field) { (void)field; }
  virtual void LinkCheckBrowseMode() {}
};

// A data link that a control owns: the platform's data link, reporting to a client.
class TControlDataLink {
public:
  explicit TControlDataLink(TDataLinkClient *client);
  ~TControlDataLink();
  TControlDataLink(const TControlDataLink &) = delete;
  TControlDataLink &operator=(const TControlDataLink &) = delete;

  TDataSource *DataSource() const;
  void SetDataSource(TDataSource *source);
  TDataSet *DataSet() const;
  bool Active() const;
  bool Editing() const;
  bool ReadOnly() const;
  void SetReadOnly(bool on);
  int BufferCount() const;
  void SetBufferCount(int n);
  // Records in the window (0 when inactive).
  int RecordCount() const;
  int ActiveRecord() const;
  // Makes the fields read the record at window position i (restore afterwards).
  void SetActiveRecord(int i);
  int FirstRecord() const;
  bool Edit();
  void UpdateRecord();
  int MoveBy(int distance);
  void Reset();

private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

} // namespace qv

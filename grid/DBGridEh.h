#pragma once
// TDBGridEh: a data-aware grid that shows the records of a dataset (through a data source) as
// rows under a collection of columns, with an optional indicator column, a title row and footer
// rows, proportional fitting of column widths to the client width, and navigation by mouse,
// keys, wheel and scroll bar.
//
// Units behind this header: DBGridEhColumns.cpp (column model), DBGridEhLayout.cpp (layout pass
// and fitting), DBGridEhPaint.cpp (painting, images, style), DBGridEhLink.cpp (data link, row
// window, scrolling), DBGridEhInput.cpp (mouse, keys, wheel, scroll bar, incremental search),
// DBGridEhClasses.cpp (published properties and class registration), DBGridEhFooter.cpp (footer
// texts), DBGridEhSelection.cpp (selection model and the clicks and keys that make it),
// DBGridEhInplace.cpp (the in-place editor, its edit styles and writing back), DBGridEhLookup.cpp
// (lookup columns and their data list).
#include "grid/DBGridEhFormats.h"
#include "grid/DBGridEhSelection.h"
#include "grid/DBSumLst.h"
#include "grid/EditButtonsEh.h"
#include "grid/MRUListEh.h"
#include "platform/classes/Collection.h"
#include "platform/forms/DBCtrls.h"
#include "platform/forms/Grids.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Grid options (Options).
enum TDBGridOption : uint32_t {
  dgEditing = 1u << 0,
  dgAlwaysShowEditor = 1u << 1,
  dgTitles = 1u << 2,
  dgIndicator = 1u << 3,
  dgColumnResize = 1u << 4,
  dgColLines = 1u << 5,
  dgRowLines = 1u << 6,
  dgTabs = 1u << 7,
  dgRowSelect = 1u << 8,
  dgAlwaysShowSelection = 1u << 9,
  dgConfirmDelete = 1u << 10,
  dgCancelOnExit = 1u << 11,
  dgMultiSelect = 1u << 12,
};
constexpr uint32_t kDefaultDBGridOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines |
                                           dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;

// Extended options (OptionsEh).
enum TDBGridEhOption : uint32_t {
  dghFixed3D = 1u << 0,
  dghFrozen3D = 1u << 1,
  dghFooter3D = 1u << 2,
  dghData3D = 1u << 3,
  dghResizeWholeRightPart = 1u << 4,
  dghHighlightFocus = 1u << 5,
  dghClearSelection = 1u << 6,
  dghFitRowHeightToText = 1u << 7,
  dghAutoSortMarking = 1u << 8,
  dghMultiSortMarking = 1u << 9,
  dghEnterAsTab = 1u << 10,
  dghTraceColSizing = 1u << 11,
  dghIncSearch = 1u << 12,
  dghPreferIncSearch = 1u << 13,
  dghRowHighlight = 1u << 14,
};
constexpr uint32_t kDefaultDBGridEhOptions = dghFixed3D | dghHighlightFocus | dghClearSelection;

enum TDBGridEhAllowedOperation : uint32_t {
  alopInsertEh = 1,
  alopUpdateEh = 2,
  alopDeleteEh = 4,
  alopAppendEh = 8
};
enum TDBGridEhAllowedSelection : uint32_t {
  gstRecordBookmarks = 1,
  gstRectangle = 2,
  gstColumns = 4,
  gstAll = 8
};
enum TDBGridEhEditAction : uint32_t {
  geaCutEh = 1,
  geaCopyEh = 2,
  geaPasteEh = 4,
  geaDeleteEh = 8,
  geaSelectAllEh = 16
};

enum class TSortMarkerEh { smNoneEh, smDownEh, smUpEh };
enum class TTextOrientationEh { tohHorizontal, tohVertical };
enum class TColumnButtonStyleEh { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown };
enum class TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };
enum class TScrollBarVisibleModeEh { sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh };
enum class TVertLayoutEh { tlTop, tlCenter, tlBottom };

// The grid's private message that runs a deferred layout pass (user message base + 100).
constexpr UINT WM_DEFERREDLAYOUTEH = WM_USER + 100;
static_assert(WM_DEFERREDLAYOUTEH == 1124);

class TCustomDBGridEh;
class TColumnEh;
class TDBGridColumnsEh;
class TSpecRowEh;
class TColumnDropDownBoxEh;

// A font that follows a default until set explicitly: reading it copies the default in.
class TFollowingFont {
public:
  explicit TFollowingFont(std::function<void()> changed);
  // The font, refreshed from def while not explicit.
  TFont &Get(const TFont &def);
  bool Explicit() const { return explicit_; }
  void ResetToDefault() { explicit_ = false; }
  TFont &Raw() { return font_; }

private:
  TFont font_;
  bool explicit_ = false;
  bool copying_ = false;
  std::function<void()> changed_;
};

// Titles of a column.
class TColumnTitleEh : public TPersistent {
  QV_DECLARE_CLASS(TColumnTitleEh)
public:
  explicit TColumnTitleEh(TColumnEh *column);
  TColumnEh *Column() const { return column_; }

  TAlignment Alignment() const;
  void SetAlignment(TAlignment a);
  // Default: the field's display name when bound, else FieldName.
  std::string Caption() const;
  void SetCaption(const std::string &s);
  TColor Color() const;
  void SetColor(TColor c);
  bool EndEllipsis() const;
  void SetEndEllipsis(bool on);
  TFont *Font();
  std::string Hint() const { return hint_; }
  void SetHint(const std::string &s) { hint_ = s; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);
  TTextOrientationEh Orientation() const;
  void SetOrientation(TTextOrientationEh o);
  int SortIndex() const { return sortIndex_; }
  void SetSortIndex(int i);
  TSortMarkerEh SortMarker() const { return sortMarker_; }
  void SetSortMarker(TSortMarkerEh m);
  bool TitleButton() const;
  void SetTitleButton(bool on);
  bool ToolTips() const;
  void SetToolTips(bool on);
  // Back to the defaults (nothing explicit).
  void RestoreDefaults();

private:
  TColumnEh *column_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  std::string caption_, hint_;
  TColor color_ = clBtnFace;
  bool endEllipsis_ = false, titleButton_ = false, toolTips_ = false;
  TTextOrientationEh orientation_ = TTextOrientationEh::tohHorizontal;
  int imageIndex_ = -1, sortIndex_ = 0;
  TSortMarkerEh sortMarker_ = TSortMarkerEh::smNoneEh;
  TFollowingFont font_;
  void Changed();
};

// A footer of a column. A sum, average or count owns one item of the grid's summary list.
class TColumnFooterEh : public TCollectionItem {
  QV_DECLARE_CLASS(TColumnFooterEh)
public:
  TColumnFooterEh(TCollection *collection, TColumnEh *column);
  ~TColumnFooterEh() override;
  // The summary item behind a sum, average or count (nullptr for the other kinds).
  const TDBSum *Sum() const { return sum_; }
  // Creates, changes or frees the summary item to match ValueType and the field.
  void BindSum();
  TColumnEh *Column() const { return column_; }
  TAlignment Alignment() const;
  void SetAlignment(TAlignment a);
  TColor Color() const;
  void SetColor(TColor c);
  const std::string &DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const std::string &s);
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool on);
  const std::string &FieldName() const { return fieldName_; }
  void SetFieldName(const std::string &s);
  TFont *Font();
  const std::string &Value() const { return value_; }
  void SetValue(const std::string &s);
  TFooterValueType ValueType() const { return valueType_; }
  void SetValueType(TFooterValueType t);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);

private:
  TColumnEh *column_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TColor color_ = clWindow;
  std::string displayFormat_, fieldName_, value_;
  bool endEllipsis_ = false, wordWrap_ = false;
  TFooterValueType valueType_ = TFooterValueType::fvtNon;
  TFollowingFont font_;
  TDBSum *sum_ = nullptr;
  TDBSumCollection *sums_ = nullptr; // the collection sum_ lives in
  void FooterChanged();
  void FreeSum();
};

class TColumnFootersEh : public TCollection {
  QV_DECLARE_CLASS(TColumnFootersEh)
public:
  explicit TColumnFootersEh(TColumnEh *column);
  TColumnFooterEh *Items(int i) const { return static_cast<TColumnFooterEh *>(TCollection::Items(i)); }

protected:
  void Update(TCollectionItem *item) override;

private:
  TColumnEh *column_;
};

// Grid-wide defaults of titles.
class TColumnTitleDefValuesEh : public TPersistent {
  QV_DECLARE_CLASS(TColumnTitleDefValuesEh)
public:
  explicit TColumnTitleDefValuesEh(TCustomDBGridEh *grid) : grid_(grid) {}
  // Centred with UseMultiTitle, else left, unless set.
  TAlignment Alignment() const;
  void SetAlignment(TAlignment a);
  // The grid's FixedColor unless set.
  TColor Color() const;
  void SetColor(TColor c);
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool on);
  TTextOrientationEh Orientation() const { return orientation_; }
  void SetOrientation(TTextOrientationEh o);
  bool TitleButton() const { return titleButton_; }
  void SetTitleButton(bool on);
  bool ToolTips() const { return toolTips_; }
  void SetToolTips(bool on) { toolTips_ = on; }

private:
  TCustomDBGridEh *grid_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TColor color_ = clBtnFace;
  bool endEllipsis_ = false, titleButton_ = false, toolTips_ = false;
  TTextOrientationEh orientation_ = TTextOrientationEh::tohHorizontal;
  void Changed();
};

class TColumnDefValuesEh : public TPersistent {
  QV_DECLARE_CLASS(TColumnDefValuesEh)
public:
  explicit TColumnDefValuesEh(TCustomDBGridEh *grid) : grid_(grid) {}
  bool AlwaysShowEditButton() const { return alwaysShowEditButton_; }
  void SetAlwaysShowEditButton(bool on);
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool on) { autoDropDown_ = on; }
  bool DblClickNextVal() const { return dblClickNextVal_; }
  void SetDblClickNextVal(bool on) { dblClickNextVal_ = on; }
  bool DropDownShowTitles() const { return dropDownShowTitles_; }
  void SetDropDownShowTitles(bool on) { dropDownShowTitles_ = on; }
  bool DropDownSizing() const { return dropDownSizing_; }
  void SetDropDownSizing(bool on) { dropDownSizing_ = on; }
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool on);
  bool ToolTips() const { return toolTips_; }
  void SetToolTips(bool on) { toolTips_ = on; }

protected:
  TCustomDBGridEh *grid_;
  void Changed();

private:
  bool alwaysShowEditButton_ = false, autoDropDown_ = false, dblClickNextVal_ = false;
  bool dropDownShowTitles_ = false, dropDownSizing_ = false, endEllipsis_ = false, toolTips_ = false;
};

class TDBGridEhColumnDefValuesEh : public TColumnDefValuesEh {
  QV_DECLARE_CLASS(TDBGridEhColumnDefValuesEh)
public:
  explicit TDBGridEhColumnDefValuesEh(TCustomDBGridEh *grid) : TColumnDefValuesEh(grid), title_(grid) {}
  TColumnTitleDefValuesEh *Title() { return &title_; }
  const TColumnTitleDefValuesEh *Title() const { return &title_; }

private:
  TColumnTitleDefValuesEh title_;
};

// Cell parameters passed to the cell events.
struct TColCellParamsEh {
  TColumnEh *Column = nullptr;
  int Col = 0, Row = 0;
  uint32_t State = 0;
  TFont *Font = nullptr;
  TAlignment Alignment = TAlignment::taLeftJustify;
  TColor Background = clWindow;
  std::string Text;
  int ImageIndex = -1;
  int CheckState = 0;
};

// Which column properties were set explicitly (ExplicitValues).
enum TColumnValueEh : uint32_t {
  cvColor = 1,
  cvWidth = 2,
  cvFont = 4,
  cvAlignment = 8,
  cvReadOnly = 16,
  cvTitleCaption = 32,
  cvTitleColor = 64,
  cvTitleFont = 128,
  cvTitleAlignment = 256,
  cvFooterColor = 512,
  cvFooterFont = 1024,
  cvFooterAlignment = 2048
};

class TColumnEh : public TCollectionItem {
  QV_DECLARE_CLASS(TColumnEh)
public:
  explicit TColumnEh(TCollection *collection);
  ~TColumnEh() override;

  // The grid the column belongs to (nullptr when its collection has none).
  TCustomDBGridEh *Grid() const;
  // The bound field, looked up by FieldName on first use when the dataset is open.
  TField *Field() const;
  void SetField(TField *f);
  const std::string &FieldName() const { return fieldName_; }
  void SetFieldName(const std::string &name);

  TAlignment Alignment() const;
  void SetAlignment(TAlignment a);
  bool AlwaysShowEditButton() const;
  void SetAlwaysShowEditButton(bool on);
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool on) { autoDropDown_ = on; }
  bool AutoFitColWidth() const { return autoFitColWidth_; }
  void SetAutoFitColWidth(bool on);
  TColumnButtonStyleEh ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TColumnButtonStyleEh s);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool on);
  TColor Color() const;
  void SetColor(TColor c);
  bool DblClickNextVal() const { return dblClickNextVal_; }
  void SetDblClickNextVal(bool on) { dblClickNextVal_ = on; }
  const std::string &DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const std::string &s);
  int DropDownRows() const { return dropDownRows_; }
  void SetDropDownRows(int n) { dropDownRows_ = n; }
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int w) { dropDownWidth_ = w; }
  // A frame to resize the drop-down list by (the grid's ColumnDefValues unless set).
  bool DropDownSizing() const;
  void SetDropDownSizing(bool on) { dropDownSizing_ = on ? 1 : 0; }
  const std::string &EditMask() const { return editMask_; }
  void SetEditMask(const std::string &s) { editMask_ = s; }
  bool EndEllipsis() const;
  void SetEndEllipsis(bool on);
  TFont *Font();
  TColumnFooterEh *Footer() { return &footer_; }
  TColumnFootersEh *Footers() { return &footers_; }
  // The footer of footer row i: the Footers item when there are any (nullptr past their end),
  // else the one Footer.
  TColumnFooterEh *FooterOf(int i);
  TEditButtonsEh *EditButtons() { return &editButtons_; }
  TStrings *KeyList() { return &keyList_; }
  // The texts the editor posted lately in this column, offered while typing.
  TMRUListEh *MRUList() { return &mruList_; }
  TStrings *PickList() { return &pickList_; }
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int w);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int w);
  int NotInKeyListIndex() const { return notInKeyListIndex_; }
  void SetNotInKeyListIndex(int i);
  // True when the grid is ReadOnly or the field is read-only, unless set explicitly.
  bool ReadOnly() const;
  void SetReadOnly(bool on);
  int Tag() const { return tag_; }
  void SetTag(int t) { tag_ = t; }
  TColumnTitleEh *Title() { return &title_; }
  const TColumnTitleEh *Title() const { return &title_; }
  bool ToolTips() const;
  void SetToolTips(bool on) { toolTips_ = on; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  // The explicit width, else the natural width.
  int Width() const;
  // -1 is ignored; otherwise limited to MaxWidth (when > 0), then raised to MinWidth.
  void SetWidth(int w);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  // Sets Width as the fitting does: limits applied, no change notification; returns the result.
  int FitWidth(int w);

  uint32_t ExplicitValues() const { return explicit_; }
  bool IsPersistent() const { return persistent_; }
  void SetPersistent(bool on) { persistent_ = on; }
  int AutoFitBaseWidth() const { return autoFitBaseWidth_; }
  void SetAutoFitBaseWidth(int w) { autoFitBaseWidth_ = w; }
  bool FitClamped() const { return fitClamped_; }
  void SetFitClamped(bool on) { fitClamped_ = on; }
  // Every property back to its default (the field's, the grid's).
  void RestoreDefaults();
  // The width the column has when Width is not explicit.
  int DefaultWidth() const;
  // The text a data cell of this column shows for the field's current (active) record.
  std::string DisplayText() const;
  // Forgets the cached field (looked up again by name).
  void ForgetField() const { field_ = nullptr; }

  TEvent<TObject *, TColumnEh *> OnEditButtonClick;
  // The text being written back is not among PickList (letter case ignored), or, in a lookup
  // column, no record of the lookup dataset shows it; the sender is the column. The handler may
  // add it (to PickList and KeyList, or to the lookup dataset) and set the flag to have it
  // looked up again.
  TEvent<TObject *, const std::string &, bool &> OnNotInList;
  // Before the editor's text goes into the field: the text may be changed, or the update
  // handled (set the flag) instead.
  TEvent<TObject *, std::string &, bool &> OnUpdateData;
  // Fired for each data cell before it is drawn; the parameters may be changed.
  TEvent<TObject *, TColCellParamsEh &> OnGetCellParams;

  // Lookup columns (DBGridEhLookup.cpp). The column's field is a lookup field.
  bool IsLookup() const;
  // The special row above the lookup list, and the list's own columns and options.
  TSpecRowEh *DropDownSpecRow();
  TColumnDropDownBoxEh *DropDownBox();
  // The lookup dataset's fields the list shows (';'-separated; empty: the result field).
  const std::string &LookupDisplayFields() const { return lookupDisplayFields_; }
  void SetLookupDisplayFields(const std::string &s) { lookupDisplayFields_ = s; }
  // Titles over the list (the grid's ColumnDefValues unless set).
  bool DropDownShowTitles() const;
  void SetDropDownShowTitles(bool on) { dropDownShowTitles_ = on ? 1 : 0; }

protected:
  // Tells the collection: the column alone, or the whole collection when all is set.
  void ColumnChanged(bool all = false);

private:
  friend class TColumnTitleEh;
  friend class TColumnFooterEh;
  friend class TColumnFootersEh;
  friend class TEditButtonsEh;
  mutable TField *field_ = nullptr;
  std::string fieldName_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool alwaysShowEditButton_ = false, autoDropDown_ = false, autoFitColWidth_ = true, checkboxes_ = false;
  TColumnButtonStyleEh buttonStyle_ = TColumnButtonStyleEh::cbsAuto;
  TColor color_ = clWindow;
  bool dblClickNextVal_ = false;
  std::string displayFormat_, editMask_;
  int dropDownRows_ = 7, dropDownWidth_ = 0;
  int dropDownSizing_ = -1; // -1: the default
  bool endEllipsis_ = false;
  TFollowingFont font_;
  TColumnFooterEh footer_;
  TColumnFootersEh footers_;
  TEditButtonsEh editButtons_;
  TStrings keyList_, pickList_;
  TMRUListEh mruList_;
  int maxWidth_ = 0, minWidth_ = 0, notInKeyListIndex_ = -1;
  bool readOnly_ = false;
  int tag_ = 0;
  TColumnTitleEh title_;
  bool toolTips_ = false, visible_ = true;
  int width_ = 0;
  bool wordWrap_ = false;
  uint32_t explicit_ = 0;
  uint32_t explicitFlags_ = 0; // of the boolean defaults below
  bool persistent_ = true;
  int autoFitBaseWidth_ = 0;
  bool fitClamped_ = false;
  std::unique_ptr<TSpecRowEh> specRow_;
  std::unique_ptr<TColumnDropDownBoxEh> dropDownBox_;
  std::string lookupDisplayFields_;
  int dropDownShowTitles_ = -1; // -1: the default
  enum : uint32_t { exEndEllipsis = 1, exToolTips = 2, exAlwaysShowEditButton = 4 };
};

class TDBGridColumnEh : public TColumnEh {
  QV_DECLARE_CLASS(TDBGridColumnEh)
public:
  explicit TDBGridColumnEh(TCollection *collection) : TColumnEh(collection) {}
};

using TColumnsEhList = std::vector<TColumnEh *>;

class TDBGridColumnsEh : public TCollection {
  QV_DECLARE_CLASS(TDBGridColumnsEh)
public:
  explicit TDBGridColumnsEh(TCustomDBGridEh *grid);
  TCustomDBGridEh *Grid() const { return grid_; }
  TColumnEh *Items(int i) const { return static_cast<TColumnEh *>(TCollection::Items(i)); }
  TColumnEh *Add() { return static_cast<TColumnEh *>(TCollection::Add()); }
  // True when the columns were added through the collection (not generated from the fields).
  bool State() const { return Count() > 0 && Items(0)->IsPersistent(); }
  // Frees every generated (not persistent) column.
  void RemoveGenerated();

protected:
  void Update(TCollectionItem *item) override;

private:
  friend class TColumnEh;
  TCustomDBGridEh *grid_;
  bool wholeChanged_ = false; // a column reported a change that concerns the whole collection
};

// Per-axis scroll bar settings.
class TDBGridEhScrollBar : public TPersistent {
  QV_DECLARE_CLASS(TDBGridEhScrollBar)
public:
  TDBGridEhScrollBar(TCustomDBGridEh *grid, bool vertical) : grid_(grid), vertical_(vertical) {}
  bool Visible() const { return mode_ != TScrollBarVisibleModeEh::sbNeverShowEh; }
  // False selects never, True auto.
  void SetVisible(bool on);
  TScrollBarVisibleModeEh VisibleMode() const { return mode_; }
  void SetVisibleMode(TScrollBarVisibleModeEh m);
  bool Tracking() const { return tracking_; }
  void SetTracking(bool on) { tracking_ = on; }
  // An external scroll bar control receives range, page and position instead.
  TWinControl *ExtScrollBar() const { return ext_; }
  void SetExtScrollBar(TWinControl *c);

private:
  TCustomDBGridEh *grid_;
  bool vertical_;
  TScrollBarVisibleModeEh mode_ = TScrollBarVisibleModeEh::sbAutoShowEh;
  bool tracking_ = false;
  TWinControl *ext_ = nullptr;
};

// Colours of highlighted data cells, shared by the grids attached to it.
class TDBGridEhStyle {
public:
  TDBGridEhStyle();
  ~TDBGridEhStyle();
  TDBGridEhStyle(const TDBGridEhStyle &) = delete;
  TDBGridEhStyle &operator=(const TDBGridEhStyle &) = delete;

  bool LuminateSelection() const { return luminateSelection_; }
  void SetLuminateSelection(bool on) { luminateSelection_ = on; }
  // The screen shows true colour (asked again when the system colours change).
  bool IsTrueColor() const { return trueColor_; }
  void CheckTrueColor();
  // Background and text colours of a highlighted data cell.
  void HighlightColors(const TCustomDBGridEh &grid, bool current, bool gridFocused, TColor &background,
                       TColor &text) const;
  // c blended toward target: halfway, then 60% toward 225, then (focused) 25% away from 122.
  static TColor LuminateColor(TColor c, TColor target, bool focused);

  void AttachGrid(TCustomDBGridEh *grid);
  void DetachGrid(TCustomDBGridEh *grid);
  const std::vector<TCustomDBGridEh *> &Grids() const { return grids_; }

  // The one default style, created on first use.
  static TDBGridEhStyle &Default();

private:
  bool luminateSelection_ = true;
  bool trueColor_ = true;
  std::vector<TCustomDBGridEh *> grids_;
  HWND window_ = nullptr;
  static LRESULT CALLBACK StyleWndProc(HWND, UINT, WPARAM, LPARAM);
};

// The grid's data link: the data layer's link plus the field map and the modified flag.
class TGridDataLinkEh : public TDataLink {
public:
  explicit TGridDataLinkEh(TCustomDBGridEh *grid) : grid_(grid) {}

  // Field map: one entry per grid data column (sparse, persistent columns) or per visible field.
  void ClearMapping();
  // Adds a field's index (or -1); grows the array by doubling from 8.
  void AddMapping(const std::string &fieldName);
  int MappingCount() const { return count_; }
  // The field of map entry i, or nullptr when out of range or unmapped.
  TField *Fields(int i) const;
  bool SparseMap() const { return sparse_; }
  void SetSparseMap(bool on) { sparse_ = on; }
  int FieldCount() const { return DataSet() ? DataSet()->FieldCount() : 0; }

  bool Modified() const { return modified_; }
  void Modified(bool on) { modified_ = on; }

private:
  TCustomDBGridEh *grid_;
  std::vector<int> map_;
  int count_ = 0;
  bool sparse_ = false;
  bool modified_ = false;
  bool inUpdateData_ = false;
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int distance) override;
  void LayoutChanged() override;
  void RecordChanged(TField *field) override;
  void EditingChanged() override;
  void UpdateData() override;
  void FocusControl(TField *field) override;
};

// One node of the title header tree (UseMultiTitle): a caption "Group|Sub|Leaf" puts the column
// under the nodes "Group" and "Sub"; neighbouring columns with the same leading parts share them.
struct THeadTreeNode {
  std::string Text;
  THeadTreeNode *Parent = nullptr;
  std::vector<std::unique_ptr<THeadTreeNode>> Children;
  TColumnEh *Column = nullptr; // leaves only
  int Level = 0;               // 0 for the root's children
  // Builds the tree of the visible columns' captions; the root is named "Root".
  static std::unique_ptr<THeadTreeNode> Build(const std::vector<TColumnEh *> &columns);
  // Levels below the root (1 for plain captions).
  int Depth() const;
  // The leaves under this node, left to right.
  void Leaves(std::vector<const THeadTreeNode *> &out) const;
};

using TDBGridEhColumnEvent = TEvent<TObject *, TColumnEh *>;
using TDrawColumnCellEvent = TEvent<TObject *, const TRect &, int, TColumnEh *, uint32_t>;
using TGetCellParamsEvent = TEvent<TObject *, TColumnEh *, TFont *, TColor &, uint32_t>;
using TGetBtnParamsEvent = TEvent<TObject *, TColumnEh *, TFont *, TColor &, TSortMarkerEh &, bool>;
// Data column index, footer row, column, font, background, alignment, state, text.
using TGetFooterParamsEvent =
    TEvent<TObject *, int, int, TColumnEh *, TFont *, TColor &, TAlignment &, uint32_t, std::string &>;
using TDrawFooterCellEvent = TEvent<TObject *, int, int, TColumnEh *, const TRect &, uint32_t>;

// The grid's summary list: created inactive, handed the grid's dataset.
class TDBGridEhSumList : public TDBSumListProducer {
  QV_DECLARE_CLASS(TDBGridEhSumList)
public:
  explicit TDBGridEhSumList(TComponent *grid) : TDBSumListProducer(grid, false) {}
};

// A summary value as a footer shows it, by the field's type: integers as whole numbers, reals in
// their general form (money in the currency format), unless format or the field's DisplayFormat
// says otherwise; fields of other types show "0".
std::string FormatSummaryValue(const TField *field, double value, const std::string &format);

class TCustomDBGridEh : public TCustomGrid {
  QV_DECLARE_CLASS(TCustomDBGridEh)
public:
  explicit TCustomDBGridEh(TComponent *owner);
  ~TCustomDBGridEh() override;

  // Data.
  TDBDataSource *DataSource() const { return dataSource_; }
  void SetDataSource(TDBDataSource *ds);
  TGridDataLinkEh &DataLink() { return dataLink_; }
  TDataSet *DataSet() const { return dataLink_.DataSet(); }

  // Column model.
  TDBGridColumnsEh *Columns() { return &columns_; }
  const TColumnsEhList &VisibleColumns() const { return visibleColumns_; }
  // The header tree of UseMultiTitle (nullptr otherwise).
  const THeadTreeNode *HeadTree() const { return headTree_.get(); }
  TDBGridEhColumnDefValuesEh *ColumnDefValues() { return &columnDefValues_; }
  const TDBGridEhColumnDefValuesEh *ColumnDefValues() const { return &columnDefValues_; }
  int IndicatorOffset() const { return indicatorOffset_; }
  int TitleRowCount() const { return titleRowCount_; }
  // The column of a grid column number, or nullptr (indicator, out of range).
  TColumnEh *ColumnOfGridCol(int gridCol) const;
  int GridColOfColumn(const TColumnEh *c) const;
  // Index of the current column in Columns (-1 when none).
  int SelectedIndex() const;
  void SetSelectedIndex(int index);
  TField *SelectedField() const;

  // Published properties (see the class registration).
  bool AutoFitColWidths() const { return autoFitColWidths_; }
  void SetAutoFitColWidths(bool on);
  int MinAutoFitWidth() const { return minAutoFitWidth_; }
  void SetMinAutoFitWidth(int w);
  int FrozenCols() const { return frozenCols_; }
  void SetFrozenCols(int n);
  int FooterRowCount() const { return footerRowCount_; }
  void SetFooterRowCount(int n);
  int TitleHeight() const { return titleHeight_; }
  void SetTitleHeight(int h);
  int TitleLines() const { return titleLines_; }
  void SetTitleLines(int n);
  int RowHeight() const { return rowHeight_; }
  void SetRowHeight(int h);
  int RowLines() const { return rowLines_; }
  void SetRowLines(int n);
  bool UseMultiTitle() const { return useMultiTitle_; }
  void SetUseMultiTitle(bool on);
  int VTitleMargin() const { return vTitleMargin_; }
  void SetVTitleMargin(int m);
  // Copies of the grid's Font until set explicitly.
  TFont *TitleFont() { return &titleFont_.Get(Font()); }
  TFont *FooterFont() { return &footerFont_.Get(Font()); }
  TColor FooterColor() const { return footerColor_; }
  void SetFooterColor(TColor c);
  bool Flat() const { return flat_; }
  void SetFlat(bool on);
  uint32_t Options() const { return dbOptions_; }
  void SetOptions(uint32_t o);
  uint32_t OptionsEh() const { return optionsEh_; }
  void SetOptionsEh(uint32_t o);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool on) { defaultDrawing_ = on; }
  uint32_t AllowedOperations() const { return allowedOperations_; }
  void SetAllowedOperations(uint32_t o) { allowedOperations_ = o; }
  uint32_t AllowedSelections() const { return allowedSelections_; }
  void SetAllowedSelections(uint32_t s) { allowedSelections_ = s; }
  uint32_t EditActions() const { return editActions_; }
  void SetEditActions(uint32_t a) { editActions_ = a; }
  TDBGridEhScrollBar *HorzScrollBar() { return &horzScrollBar_; }
  TDBGridEhScrollBar *VertScrollBar() { return &vertScrollBar_; }
  int TitleTextMargin() const { return 4; }
  TDBGridEhStyle *Style() const { return style_; }
  void SetStyle(TDBGridEhStyle *style);

  // Layout state.
  int LayoutDepth() const { return layoutDepth_; }
  int HoldDepth() const { return holdDepth_; }
  int EditButtonWidth() const { return editButtonWidth_; }
  bool TallRows() const { return tallRows_; }
  // A layout pass now, unless a counter blocks it.
  void RequestLayout();
  // Posts message 1124 unless one is queued; inside a layout section, leaves it without a pass.
  void PostDeferredLayout();
  // Blocks layout passes while the grid handles a click or makes its window; a pass asked for
  // meanwhile is posted when the last hold ends.
  void HoldLayout();
  void ReleaseLayout();
  struct TLayoutHold {
    TCustomDBGridEh &Grid;
    explicit TLayoutHold(TCustomDBGridEh &g) : Grid(g) { Grid.HoldLayout(); }
    ~TLayoutHold() { Grid.ReleaseLayout(); }
    TLayoutHold(const TLayoutHold &) = delete;
    TLayoutHold &operator=(const TLayoutHold &) = delete;
  };
  // Bulk layout sections: the pass runs when the last one ends.
  void BeginLayout();
  void EndLayout();
  // The visible data rows (the base grid's visible rows less footers).
  int VisibleDataRowCount() const;
  // Number of layout passes run so far (for tests and measurements).
  int LayoutPassCount() const { return layoutPasses_; }
  // True while incremental search is running; its text.
  bool InSearch() const { return inSearch_; }
  const std::string &SearchText() const { return searchText_; }
  // Ends incremental search.
  void StopSearch();
  // Runs the search for text from the current record; false when nothing matched.
  bool SearchFor(const std::string &text, bool fromNext, bool backwards);

  // Events.
  TDBGridEhColumnEvent OnCellClick;
  TDBGridEhColumnEvent OnTitleClick;
  TDBGridEhColumnEvent OnTitleBtnClick;
  TNotifyEvent OnColEnter;
  TNotifyEvent OnColExit;
  TNotifyEvent OnColWidthsChanged;
  TNotifyEvent OnSortMarkingChanged;
  TDrawColumnCellEvent OnDrawColumnCell;
  TDrawColumnCellEvent OnDrawDataCell;
  TGetCellParamsEvent OnGetCellParams;
  TGetBtnParamsEvent OnGetBtnParams;
  TGetFooterParamsEvent OnGetFooterParams;
  TDrawFooterCellEvent OnDrawFooterCell;
  TNotifyEvent OnSumListRecalcAll;
  TNotifyEvent OnSumListAfterRecalcAll;

  // Selection (DBGridEhSelection.cpp).
  TDBGridEhSelection &Selection() { return selection_; }
  const TDBGridEhSelection &Selection() const { return selection_; }
  // Called when the selection was cleared: the editor comes back when it is always shown.
  void SelectionCleared();
  // What Ctrl+Delete does: with a selection and geaDeleteEh in EditActions, DeleteSelection;
  // otherwise, when deleting is allowed, the selected records or else the current one, asked
  // first with dgConfirmDelete (the question of GridTexts()).
  void DeleteRecords();

  // Footers: the summary list and the text of a footer cell (footer row i of a column).
  TDBGridEhSumList *SumList() { return sumList_.get(); }
  std::string FooterText(TColumnEh *column, int footerRow);

  void Loaded() override;
  void Notification(TComponent *c, TOperation op) override;

  // In-place editing (DBGridEhInplace.cpp). Whether the column's field may be changed now; with
  // putIntoEdit the dataset is put into edit state and the link marked modified.
  bool ColumnCanModify(TColumnEh *column, bool putIntoEdit);
  // The text the editor took from the current cell when it was placed.
  const std::string &EditedText() const { return editedText_; }
  void SetEditedText(const std::string &text) { editedText_ = text; }
  // The column's update step: OnUpdateData, then the field's edit text (or null).
  void UpdateColumnData(TColumnEh *column, const std::string &text, bool null);
  // Writes the editor's text back through the current column (the data link's update).
  void WriteEditedText();
  // Enter in the editor: the record is posted; the editor hides unless dgAlwaysShowEditor.
  void EditorEnter();
  // Lookup columns (DBGridEhLookup.cpp). The key the editor holds for the current cell (null
  // when the typed text has not been looked up yet).
  const TDbValue &EditedValue() const { return editedValue_; }
  void SetEditedValue(const TDbValue &key) { editedValue_ = key; }
  // The key of a lookup cell as the editor starts from it, and its text: the special row's
  // value and first cell when the row stands for the key.
  TDbValue LookupCellKey(TColumnEh *column);
  std::string LookupCellText(TColumnEh *column);
  // The update step of a lookup column given a key: OnUpdateData, then the key fields.
  void UpdateColumnKey(TColumnEh *column, const std::string &text, const TDbValue &key);
  // Writes the editor's text of a lookup column: the key it holds, else the record whose result
  // text it is (OnNotInList may add one); an unknown text throws and the editor keeps it.
  void WriteLookupText(TColumnEh *column, const std::string &text);

  // Drawing of one text into a cell (both paths; see DBGridEhPaint.cpp).
  void DrawCellText(TCanvas &canvas, const TRect &rect, int leftMargin, int rightMargin, bool endEllipsis,
                    bool wordWrap, TVertLayoutEh layout, TAlignment alignment, const std::string &text,
                    int dy, int dx, bool fill);

protected:
  friend class TColumnEh;
  friend class TDBGridColumnsEh;
  friend class TGridDataLinkEh;
  friend class TDBGridInplaceEdit;
  friend class TDBGridEhScrollBar;
  friend class TColumnTitleDefValuesEh;
  friend class TColumnDefValuesEh;

  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;
  void Paint() override;
  void DrawCell(int col, int row, const TRect &rect, uint32_t state) override;
  TColor LineColor(int col, int row) const override;
  void DrawEmptyArea(TCanvas &canvas, const TRect &right, const TRect &below) override;
  bool SelectCell(int col, int row) override;
  void ColWidthsChanged() override;
  void ColumnMoved(int from, int to) override;
  void Resized() override;
  void UpdateScrollBars() override;
  void HandleVertScroll(int code, int pos) override;
  void HandleWheel(int delta) override;
  bool CanEditShow() const override;
  std::string GetEditText(int col, int row) override;
  TInplaceEdit *CreateEditor() override;
  // A typed character opens the editor and goes into it; false when the editor cannot show.
  bool TypeIntoEditor(wchar_t key);
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyDown(WORD &key, uint32_t shift) override;
  bool DoKeyPress(wchar_t &key) override;
  void DoExit() override;
  void FontChanged() override;

  // Layout (DBGridEhLayout.cpp).
  void RebuildLayout();
  // Steps of the pass, in order.
  void DropDeferredLayout();
  void BuildColumns();
  void SetGridColumns();
  void MeasureRows();
  int NaturalTitleHeight();
  void UpdateHorzScrollBar();
  void ApplyTitleHeight(int titleHeight);
  void FitColumnWidths();
  void ApplyColumnAttributes();
  void ColumnChangedNotify(TColumnEh *column);
  void ColumnsChangedNotify();
  int TextHeightOf(const TFont &font);

  // Data link reactions (DBGridEhLink.cpp).
  void LinkActive();
  void LinkDataChanged();
  void LinkScrolled(int distance);
  void LinkRecordChanged(TField *field);
  void LinkEditingChanged();
  void LinkFocusControl(TField *field);
  void RecountRows();
  void SyncCurrentRow();
  // Updates the vertical bar; true when its visibility changed.
  bool UpdateVertScrollBar();
  bool AcquireFocus();
  // Posts the pending edits of the dataset (the editor's text first).
  void PostPendingEdits();
  bool DataRowOfGridRow(int row) const {
    return row >= titleRowCount_ && row < titleRowCount_ + dataRowCount_;
  }
  int DataRowCount() const { return dataRowCount_; }
  // Repaints the footer rows.
  void InvalidateFooter();

  // Input (DBGridEhInput.cpp).
  bool KeyDownAction(WORD key, uint32_t shift);
  void SelectColumn(int target, int direction);
  void MoveRecords(int distance);
  void TabToNext(bool backwards);
  void HandleIncSearchChar(wchar_t ch);

  // Selection input (DBGridEhSelection.cpp): a click on a data cell or the indicator (after the
  // dataset moved; old: the cell and record current before), on a title, and Shift+arrow moves.
  void SelectByDataClick(TGridCoord cell, TDBCell old, uint64_t clicked, uint32_t shift);
  // Selects the records from one bookmark to another (both included); the current one stays.
  void SelectRecordRange(uint64_t from, uint64_t to);
  // The bookmark of the record a grid row shows (0 for none).
  uint64_t RowBookmark(int row) const;
  // Runs the clipboard action of a key when EditActions allows it; false when it does not.
  bool ClipboardKey(TDBGridEhEditAction action);
  // True when the title click was taken as a column selection.
  bool SelectByTitleClick(TGridCoord cell, int y, uint32_t shift);
  bool InColumnSelectZone(TGridCoord cell, int y) const;
  // Runs a key move; with Shift it extends the rectangle, without it clears the selection.
  void MoveWithSelection(bool shift, const std::function<void()> &move);
  TDBCell CurrentDBCell() const;
  // Whether a data cell of a grid row shows as selected.
  bool GridCellSelected(int col, int row) const;

  // Painting (DBGridEhPaint.cpp).
  void DrawIndicatorCell(TCanvas &canvas, int row, const TRect &rect, uint32_t state);
  void DrawTitleCell(TCanvas &canvas, TColumnEh *column, const TRect &rect, uint32_t state);
  void DrawFooterCell(TCanvas &canvas, TColumnEh *column, int col, int row, const TRect &rect,
                      uint32_t state);
  void DrawDataCell(TCanvas &canvas, TColumnEh *column, int col, int row, const TRect &rect, uint32_t state);
  void DrawFrame3D(TCanvas &canvas, const TRect &rect, bool sunken);
  bool CellIs3D(int col, int row) const;
  bool IsHighlighted(int col, int row, uint32_t state) const;
  void DrawHeaderTree(TCanvas &canvas);
  // The leaf of the header tree for a column (nullptr without UseMultiTitle).
  const THeadTreeNode *HeaderLeaf(const TColumnEh *column) const;
  // The grid or its editor has the focus (asked once per paint).
  bool GridHasFocus() const;

private:
  TGridDataLinkEh dataLink_;
  // Before the columns: their footers free their summary items when they go.
  std::unique_ptr<TDBGridEhSumList> sumList_;
  TDBDataSource *dataSource_ = nullptr;
  // Before the columns: a column leaves the selection when it goes.
  TDBGridEhSelection selection_{this};
  TDBGridColumnsEh columns_;
  TColumnsEhList visibleColumns_;
  uint64_t rowAnchor_ = 0; // the record a Shift-click in the indicator extends from
  TDBGridEhColumnDefValuesEh columnDefValues_;
  TDBGridEhScrollBar horzScrollBar_, vertScrollBar_;
  TDBGridEhStyle *style_ = nullptr;
  TFollowingFont titleFont_, footerFont_;
  std::unique_ptr<THeadTreeNode> headTree_;
  int headBandHeight_ = 0;
  std::vector<bool> tabStops_; // per grid column
  bool flushingColumns_ = false;
  bool autoFitColWidths_ = false;
  int minAutoFitWidth_ = 0, frozenCols_ = 0, footerRowCount_ = 0;
  int titleHeight_ = 0, titleLines_ = 0, rowHeight_ = 0, rowLines_ = 0, vTitleMargin_ = 10;
  bool useMultiTitle_ = false, flat_ = false, readOnly_ = false, defaultDrawing_ = true;
  TColor footerColor_ = clWindow;
  uint32_t dbOptions_ = kDefaultDBGridOptions, optionsEh_ = kDefaultDBGridEhOptions;
  uint32_t allowedOperations_ = alopInsertEh | alopUpdateEh | alopDeleteEh | alopAppendEh;
  uint32_t allowedSelections_ = gstRecordBookmarks | gstRectangle | gstColumns | gstAll;
  uint32_t editActions_ = 0;
  int indicatorOffset_ = 1, titleRowCount_ = 1;
  int layoutDepth_ = 0, holdDepth_ = 0;
  bool inLayout_ = false, layoutPosted_ = false, layoutWanted_ = false;
  int layoutPasses_ = 0;
  int editButtonWidth_ = 16, scrollBarWidth_ = 16;
  bool tallRows_ = false;
  int dataRowCount_ = 1;
  bool inDataChanged_ = false;
  bool ignoreThumbRelease_ = false;
  int wheelRest_ = 0;
  // Title button press.
  int pressedCol_ = -1;
  bool titlePressed_ = false;
  bool rightAsLeft_ = false;
  bool sizingStarted_ = false;
  // Incremental search.
  bool inSearch_ = false;
  std::string searchText_;
  UINT_PTR searchTimer_ = 0;
  WORD lastCnKey_ = 0;
  bool painting_ = false, paintFocused_ = false;
  TFont cellFont_; // the copy of a column's font that cell-parameter handlers may change
  std::string editedText_;
  TDbValue editedValue_;
  void SyncBaseOptions();
  void PostLayoutMessage();
  void DeferredLayoutArrived();
  void SetSearchTimer(bool on);
  void StyleColorsChanged();
  friend class TDBGridEhStyle;
};

class TDBGridEh : public TCustomDBGridEh {
  QV_DECLARE_CLASS(TDBGridEh)
public:
  explicit TDBGridEh(TComponent *owner) : TCustomDBGridEh(owner) {}
};

// What an export, import or delete covers: the selection kind (gstAll when all is asked for) and
// the columns (DBGridEhExport.cpp).
struct TGridCoverage {
  TDBGridEhSelectionType Kind = TDBGridEhSelectionType::gstNon;
  TColumnsEhList Columns;
};
TGridCoverage CoverageOf(TCustomDBGridEh &grid, bool all);
// Makes each covered record current in turn until visit returns false (the dataset is open).
void ForEachCoveredRecord(TCustomDBGridEh &grid, TDBGridEhSelectionType kind,
                          const std::function<bool()> &visit);
// Disables the open dataset's controls and remembers the rows shown and the current record; puts
// them back and enables the controls when it goes.
class TGridPositionKeeper {
public:
  explicit TGridPositionKeeper(TCustomDBGridEh &grid, bool keepPosition = true);
  ~TGridPositionKeeper();
  TGridPositionKeeper(const TGridPositionKeeper &) = delete;
  TGridPositionKeeper &operator=(const TGridPositionKeeper &) = delete;

private:
  TDataSet *ds_;
  uint64_t middle_ = 0;
  int distance_ = 0;
  bool keep_;
};

// Export (DBGridEhExport.cpp) ------------------------------------------------------------------
// One object per run: the covered columns and records by the selection kind (all records with
// exportAll), titles with dgTitles, then the records, then the footer rows. The dataset's
// controls are disabled meanwhile and its position is restored at the end, also on failure.
class TDBGridEhExport {
public:
  explicit TDBGridEhExport(TCustomDBGridEh &grid) : grid_(grid) {}
  virtual ~TDBGridEhExport() = default;
  TDBGridEhExport(const TDBGridEhExport &) = delete;
  TDBGridEhExport &operator=(const TDBGridEhExport &) = delete;
  // Appends the export to stream.
  void ExportToStream(std::string &stream, bool exportAll);

protected:
  virtual void WriteHeader() {}
  virtual void WriteTitleRow(const TColumnsEhList &columns);
  virtual void WriteRecordRow(const TColumnsEhList &columns);
  virtual void WriteFooterRow(const TColumnsEhList &columns, int footerRow);
  virtual void WriteTrailer() {}
  // Rows are begun before their cells; a cell carries its parameters (font, colours, text).
  virtual void BeginRow() {}
  virtual void WriteCell(TColumnEh *column, const TColCellParamsEh &params) = 0;
  virtual void WriteTitleText(TColumnEh *column, const TColCellParamsEh &params) {
    WriteCell(column, params);
  }
  virtual void WriteFooterText(TColumnEh *column, const TColCellParamsEh &params) {
    WriteCell(column, params);
  }
  virtual void EndRow() {}
  TCustomDBGridEh &grid_;
  std::string *stream_ = nullptr;
  const TColumnsEhList &ExportedColumns() const { return columns_; }

private:
  std::vector<int64_t> footerSums_; // per footer row and exported column
  TColumnsEhList columns_;
  TFont font_; // the copy handlers may change
  void Accumulate();
};

class TDBGridEhExportAsText : public TDBGridEhExport {
public:
  using TDBGridEhExport::TDBGridEhExport;

protected:
  void WriteHeader() override;
  void BeginRow() override { writer_->BeginRow(); }
  void WriteCell(TColumnEh *column, const TColCellParamsEh &params) override;
  virtual char Separator() const { return '\t'; }
  virtual bool Quoted() const { return false; }

private:
  std::unique_ptr<TTextTableWriter> writer_;
};

class TDBGridEhExportAsCSV : public TDBGridEhExportAsText {
public:
  using TDBGridEhExportAsText::TDBGridEhExportAsText;

protected:
  char Separator() const override { return CsvSeparator(); }
  bool Quoted() const override { return true; }
};

class TDBGridEhExportAsRTF : public TDBGridEhExport {
public:
  explicit TDBGridEhExportAsRTF(TCustomDBGridEh &grid);
  ~TDBGridEhExportAsRTF() override;

protected:
  void BeginRow() override { cells_.clear(); }
  void WriteCell(TColumnEh *column, const TColCellParamsEh &params) override;
  void EndRow() override;
  void WriteTrailer() override;

private:
  std::unique_ptr<TRtfWriter> writer_;
  std::vector<TRtfCell> cells_;
};

class TDBGridEhExportAsQVTDBIF : public TDBGridEhExport {
public:
  using TDBGridEhExport::TDBGridEhExport;

protected:
  void WriteHeader() override;
  void WriteTitleRow(const TColumnsEhList &) override {}
  void WriteFooterRow(const TColumnsEhList &, int) override {}
  void WriteCell(TColumnEh *column, const TColCellParamsEh &params) override;
  void WriteTrailer() override;

private:
  std::unique_ptr<TQvtdbifWriter> writer_;
};

// Whole files by UTF-8 path; failures throw EFileError naming the file.
void WriteGridFile(const std::string &path, const std::string &bytes);
std::string ReadGridFile(const std::string &path);

template <class TExport> void ExportGridToStream(TCustomDBGridEh &grid, std::string &stream, bool exportAll) {
  TExport run(grid);
  run.ExportToStream(stream, exportAll);
}
// Creates or truncates the file (UTF-8 path) and exports into it.
template <class TExport>
void ExportGridToFile(TCustomDBGridEh &grid, const std::string &path, bool exportAll) {
  std::string bytes;
  ExportGridToStream<TExport>(grid, bytes, exportAll);
  WriteGridFile(path, bytes);
}

// Import (DBGridEhImport.cpp) ------------------------------------------------------------------
// The whole input is read and checked against the fields first: a malformed stream or a text
// that does not fit its field throws EGridTransferError and changes no record. Then values go
// into the covered cells (see the driver); a failure the dataset raises while a value is set
// asks whether to ignore it (Yes, No: stop, All: ignore all).
class TDBGridEhImport {
public:
  explicit TDBGridEhImport(TCustomDBGridEh &grid) : grid_(grid) {}
  virtual ~TDBGridEhImport() = default;
  TDBGridEhImport(const TDBGridEhImport &) = delete;
  TDBGridEhImport &operator=(const TDBGridEhImport &) = delete;
  void ImportFromStream(std::string_view stream, bool importToAll);

protected:
  // Parses the stream into records of values.
  struct TValue {
    bool Skip = false; // no value: the cell is left alone
    bool IsText = true;
    std::string Text; // UTF-8
    TDbValue Value;
  };
  virtual std::vector<std::vector<TValue>> ReadRecords(std::string_view stream) = 0;
  TCustomDBGridEh &grid_;

private:
  bool ignoreAll_ = false;
  void Check(const std::vector<std::vector<TValue>> &records, const TColumnsEhList &columns);
  // False when the user chose to stop.
  bool ReadRecordRow(const std::vector<TValue> &record, const TColumnsEhList &columns);
  bool WriteValue(TColumnEh *column, const TValue &value);
};

class TDBGridEhImportAsText : public TDBGridEhImport {
public:
  using TDBGridEhImport::TDBGridEhImport;

protected:
  std::vector<std::vector<TValue>> ReadRecords(std::string_view stream) override;
};

class TDBGridEhImportAsQVTDBIF : public TDBGridEhImport {
public:
  using TDBGridEhImport::TDBGridEhImport;

protected:
  std::vector<std::vector<TValue>> ReadRecords(std::string_view stream) override;
};

template <class TImport>
void ImportGridFromStream(TCustomDBGridEh &grid, std::string_view stream, bool toAll) {
  TImport run(grid);
  run.ImportFromStream(stream, toAll);
}
template <class TImport> void ImportGridFromFile(TCustomDBGridEh &grid, const std::string &path, bool toAll) {
  ImportGridFromStream<TImport>(grid, ReadGridFile(path), toAll);
}

// Clipboard (DBGridEhClipboard.cpp) ------------------------------------------------------------
// Copy puts text (ANSI as GBK, and Unicode), "Csv", "Rich Text Format" and "QVTDBIF" on the
// clipboard; paste imports "QVTDBIF" when there, else the ANSI text.
void ClipboardCopy(TCustomDBGridEh &grid, bool all);
void ClipboardCut(TCustomDBGridEh &grid, bool all);
void ClipboardPaste(TCustomDBGridEh &grid, bool all);
// Deletes the selected records, clears the cells of a rectangle or of columns, or (all) deletes
// every record; with dgConfirmDelete asks first where the kind says so.
void DeleteSelection(TCustomDBGridEh &grid, bool all);
// The registered clipboard formats.
UINT CF_QVTDBIF();
UINT CF_CSV();
UINT CF_RTF();

// Each grid holds a reference to the off-screen bitmap that all grids share.
void AddSharedDrawBitmapRef();
void ReleaseSharedDrawBitmapRef();

// Registers the grid's classes with the framework's class registry (layouts create them by name)
// and loads the grid's resources. Safe to call more than once.
void RegisterGridClasses();

// Images and cursors of the grid (loaded once from the program's resources).
class TGridResourcesEh {
public:
  static TGridResourcesEh &Get();
  TImageList &Indicators() { return *indicators_; }
  TImageList &SortMarkers() { return *sortMarkers_; }
  HCURSOR DownCursor() const { return down_; }
  HCURSOR RightCursor() const { return right_; }
  HCURSOR LeftCursor() const { return left_; }
  HFONT SortIndexFont() const { return sortIndexFont_.Get(); }
  // Draws indicator image index at (x, y) on a background of the given colour.
  void DrawIndicator(HDC dc, int x, int y, int index, COLORREF background);

private:
  TGridResourcesEh();
  std::unique_ptr<TImageList> indicators_, sortMarkers_;
  HCURSOR down_ = nullptr, right_ = nullptr, left_ = nullptr;
  TFontHandle sortIndexFont_;
  std::map<uint64_t, TBitmapHandle> indicatorCache_;
};

// Image indexes of the indicator list.
constexpr int kIndicatorArrow = 0, kIndicatorEdit = 1, kIndicatorInsert = 2, kIndicatorMultiDot = 3,
              kIndicatorMultiArrow = 4, kIndicatorSelectedArrow = 5, kIndicatorSearch = 6;
constexpr int kIndicatorWidth = 11;

} // namespace qv

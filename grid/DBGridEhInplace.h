#pragma once
// TDBGridInplaceEdit: the editor TDBGridEh places over the current cell. It shows the cell's
// EditedText, is read-only unless the grid's ColumnCanModify allows the column, wraps words in
// tall rows, and offers the button of its edit style (drawn in its non-client area, right of
// the text): an ellipsis, up-down buttons, or a drop-down button that opens the calculator for
// numeric fields, else the pick list; date fields drop down a month calendar. Typing first puts the dataset
// into edit state; the grid writes the text back through the column when the data link asks for the update.
//
// Lookup columns drop down the lookup data list (DBGridEhLookup.cpp).
//
// Not done yet: the column's extra EditButtons, the MRU list.
#include "grid/CalculatorEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBLookupGridEh.h"
#include "grid/ToolCtrlsEh.h"

namespace qv {

enum class TEditStyleEh {
  esSimple,
  esEllipsis,
  esUpDown,
  esDropDown,
  esPickList,
  esDataList,
  esDateCalendar
};

// The style a column's editor takes (see the table in ChooseEditStyle).
TEditStyleEh ChooseEditStyle(TCustomDBGridEh &grid, TColumnEh &column);
// A lookup column whose key fields the grid may change now: its editor offers the data list.
bool LookupListAllowed(TCustomDBGridEh &grid, TColumnEh &column);

class TDBGridInplaceEdit : public TInplaceEdit {
  QV_DECLARE_CLASS(TDBGridInplaceEdit)
public:
  explicit TDBGridInplaceEdit(TComponent *owner);
  ~TDBGridInplaceEdit() override;

  TCustomDBGridEh *DBGrid() const;
  TEditStyleEh EditStyle() const { return style_; }
  bool WordWrap() const { return wordWrap_; }
  // Width of the button area on the right (0 for the simple style).
  int ButtonsWidth() const { return buttonsWidth_; }
  // The drop-down is open (the button stays pressed meanwhile).
  bool ListVisible() const;
  TPopupCalculatorEh *Calculator() const { return calculator_; }
  TPopupListboxEh *PickList() const { return pickList_; }
  TPopupMonthCalendarEh *MonthCalendar() const { return calendar_; }
  TPopupDataGridEh *DataList() const { return dataList_; }

  // Opens the style's drop-down (nothing when the style has none or one is open).
  void DropDown();
  // Closes it; accepted: the chosen value goes to the field.
  void CloseUp(bool accept);
  // What a click on the style's button does: ellipsis runs OnEditButtonClick, drop-down
  // toggles the list, up-down steps the value (backwards for the lower half).
  void EditButtonClick(bool lowerHalf = false);

  void UpdateContents() override;

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyDown(WORD &key, uint32_t shift) override;
  bool DoKeyPress(wchar_t &key) override;
  void DoExit() override;

private:
  TEditStyleEh style_ = TEditStyleEh::esSimple;
  bool wordWrap_ = false;
  int buttonsWidth_ = 0;
  bool buttonPressed_ = false;
  TPopupCalculatorEh *calculator_ = nullptr;
  TPopupListboxEh *pickList_ = nullptr;
  TPopupMonthCalendarEh *calendar_ = nullptr;
  TPopupDataGridEh *dataList_ = nullptr;
  // The lookup data list (DBGridEhLookup.cpp).
  bool DataListVisible() const { return dataList_ && dataList_->ListVisible(); }
  void DropDownDataList();
  void CloseUpDataList(bool accept);
  // After a change of the text of a lookup cell: the key is looked up anew, the open list
  // searched for the text.
  void DataListTextChanged(const std::string &before);
  // The special row's shortcut chooses it; false for other keys.
  bool DataListShortCut(WORD key, uint32_t shift);
  bool CalendarVisible() const { return calendar_ && calendar_->ListVisible(); }
  void DropDownCalendar();
  void CloseUpCalendar(bool accept);
  // The style's drop-down is the pick list (else the calculator, for numeric fields).
  bool UsesPickList() const;
  bool PickListVisible() const { return pickList_ && pickList_->ListVisible(); }
  bool CalculatorVisible() const { return calculator_ && calculator_->ListVisible(); }
  void DropDownCalculator();
  void DropDownPickList();
  void CloseUpPickList(bool accept);
  void CloseUpCalculator(bool accept);
  // The editor's rectangle on the screen and the work area around it.
  TRect ScreenRect() const;
  // Puts the dataset into edit for a change of the text; false (the change is refused) when the
  // column cannot be modified.
  bool BeginChange();
  TRect ButtonRect() const; // window coordinates
  void PaintButtons(HDC dc);
  void SetButtonPressed(bool on);
};

} // namespace qv

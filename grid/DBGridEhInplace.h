#pragma once
// TDBGridInplaceEdit: the editor TDBGridEh places over the current cell. It shows the cell's
// EditedText, is read-only unless the grid's ColumnCanModify allows the column, wraps words in
// tall rows, and offers the button of its edit style (drawn in its non-client area, right of
// the text): an ellipsis, up-down buttons, or a drop-down button that opens the calculator for
// numeric fields, else the pick list; date fields drop down a month calendar. Left of it stand
// the buttons of the column's visible EditButtons. Typing first puts the dataset into edit
// state, and with the column's MRUList active drops down the recorded texts that match; the
// grid writes the text back through the column when the data link asks for the update.
//
// Lookup columns drop down the lookup data list (DBGridEhLookup.cpp).
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
  // Width of the button area on the right (0 for the simple style without EditButtons).
  int ButtonsWidth() const { return buttonsWidth_; }
  // The buttons left to right: the visible EditButtons items, then the style's own button.
  int EditButtonCount() const { return static_cast<int>(buttons_.size()); }
  const TEditButtonControlEh &EditButton(int i) const { return buttons_.at(i); }
  // Where button i lies, in window coordinates (empty without a window).
  TRect EditButtonRect(int i) const;
  // The drop-down is open (the button stays pressed meanwhile).
  bool ListVisible() const;
  TPopupCalculatorEh *Calculator() const { return calculator_; }
  TPopupListboxEh *PickList() const { return pickList_; }
  TPopupMonthCalendarEh *MonthCalendar() const { return calendar_; }
  // The drop-down of the column's recently used texts.
  TPopupListboxEh *MRUListBox() const { return mruList_; }
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
  std::vector<TEditButtonControlEh> buttons_;
  int tracking_ = -1;          // the EditButtons button held by the mouse
  bool trackingLower_ = false; // ... by its lower half
  TPopupCalculatorEh *calculator_ = nullptr;
  TPopupListboxEh *pickList_ = nullptr;
  TPopupMonthCalendarEh *calendar_ = nullptr;
  TPopupListboxEh *mruList_ = nullptr;
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
  TColumnEh *CurrentColumn() const;
  // The buttons of the column and the style; ButtonsWidth is their sum.
  void BuildButtons(TColumnEh &column, int defaultWidth);
  int ButtonAt(TPoint windowPoint) const;
  TPoint WindowPointOfScreen(LPARAM lp) const;
  TPoint WindowPointOfClient(LPARAM lp) const;
  void PaintButtons(HDC dc);
  void SetButtonPress(int i, TEditButtonPressEh press);
  // The style's own button shows pressed (while its list is open).
  void SetButtonPressed(bool on);
  // The style's own button was pressed by the mouse.
  void DefaultButtonDown(bool lowerHalf);
  // An EditButtons button: held by the mouse, followed while held, let go.
  void PressEditButton(int i, bool lowerHalf);
  void TrackEditButton(TPoint windowPoint);
  void ReleaseEditButton();
  // The button whose ShortCut this is goes down and is clicked; false when there is none.
  bool PressShortCut(TShortCut shortCut);
  // OnClick, then the menu or the step of the item's style.
  void ClickEditButtonItem(TEditButtonEh *item, bool lowerHalf);
  void ShowButtonMenu(TEditButtonEh *item);
  // The next value (backwards: the previous): the next PickList item, else the number plus 1.
  void StepValue(bool backwards);
  // After typing changed the text: the recorded texts that match drop down (or go away).
  void TextTyped();
  bool MRUListVisible() const { return mruList_ && mruList_->ListVisible(); }
  void CloseUpMRUList(bool accept);
};

} // namespace qv

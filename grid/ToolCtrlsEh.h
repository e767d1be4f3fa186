#pragma once
// Drop-down lists of the in-place editor besides the calculator: the pick list (a LISTBOX popup)
// and the month calendar (the common controls' month calendar as a popup). Neither takes the
// activation: the editor keeps the focus and passes keys on. With sizing on, the user can
// resize the pick list by its frame, and it remembers that the user did.
//
// Not done yet: the lookup data list.
#include "platform/data/DateTime.h"
#include "platform/forms/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace qv {

// Shared by the popups: shown at a screen rectangle without activation, hidden, and told when
// the user closes them (true: accepted).
class TPopupWindowEh {
public:
  virtual ~TPopupWindowEh() = default;
  std::function<void(bool accept)> OnCloseUp;

protected:
  void CloseUp(bool accept) {
    if (OnCloseUp) OnCloseUp(accept);
  }
};

class TPopupListboxEh : public TWinControl, public TPopupWindowEh {
  QV_DECLARE_CLASS(TPopupListboxEh)
public:
  explicit TPopupListboxEh(TComponent *owner);
  void SetOwnerWindow(HWND wnd) { ownerWindow_ = wnd; }
  // Replaces the items.
  void SetItems(const std::vector<std::string> &items);
  int Count() const;
  std::string Item(int i) const;
  // The selected item (-1 for none).
  int ItemIndex() const;
  void SetItemIndex(int i);
  int ItemHeight();
  // Width in pixels of the widest item in the list's font.
  int WidestItem();
  // The frame lets the user resize the list.
  void SetSizable(bool on);
  // The window's extra width and height over its client area.
  TSize FrameSize();
  void ShowAt(const TRect &bounds);
  void Hide();
  bool ListVisible() const;
  // The user resized it since it was shown.
  bool UserSized() const { return userSized_; }
  // Selects the first item that starts with text (letter case ignored); none matching leaves
  // the selection as it is.
  void SearchFor(const std::string &text);
  // A key from the editor: Up, Down, Page Up, Page Down, Home, End move the selection.
  bool MoveByKey(WORD key);

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;

private:
  HWND ownerWindow_ = nullptr;
  bool sizable_ = false, userSized_ = false;
};

class TPopupMonthCalendarEh : public TWinControl, public TPopupWindowEh {
  QV_DECLARE_CLASS(TPopupMonthCalendarEh)
public:
  explicit TPopupMonthCalendarEh(TComponent *owner);
  void SetOwnerWindow(HWND wnd) { ownerWindow_ = wnd; }
  // The selected day (the time parts are not kept).
  void SetDate(const TDateTimeParts &date);
  TDateTimeParts Date();
  // The smallest size that shows one month, frame included.
  TSize MinimumSize();
  void ShowAt(const TRect &bounds);
  void Hide();
  bool ListVisible() const;
  // Keys from the editor: arrows move by a day or a week, Page Up and Page Down by a month,
  // Enter accepts, Escape discards. False for other keys.
  bool HandleKey(WORD key);

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;

private:
  HWND ownerWindow_ = nullptr;
  void MoveDays(int days);
  void MoveMonths(int months);
};

// Today on the local clock.
TDateTimeParts Today();

} // namespace qv

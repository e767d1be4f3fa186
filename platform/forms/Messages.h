#pragma once
// Window messages of the form framework. Component notifications (CM_*) have fixed numbers that
// the skin engine relies on; CN_* are notifications a parent reflects back to the child control
// they concern (WM_COMMAND, WM_CTLCOLOR*, WM_DRAWITEM, WM_NOTIFY).
#include <windows.h>

#include <functional>

namespace qv {

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;   // form became the active form
constexpr UINT CM_DEACTIVATE = CM_BASE + 1; // form stopped being the active form
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;  // 0xB005 a dialog key (WParam: virtual key); Result 1 = used
constexpr UINT CM_DIALOGCHAR =
    CM_BASE + 6; // 0xB006 a character for accelerators (WParam: char); Result 1 = used
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7; // 0xB007 focus moved inside the form (LParam: TWinControl*)
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x0B; // 0xB00B Visible changed (WParam: new value)
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x0C; // 0xB00C Enabled changed
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x13;   // 0xB013 the mouse entered the control (LParam: TControl*)
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x14;   // 0xB014 the mouse left the control (LParam: TControl*)
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;  // 0xB015 the form's main menu changed
constexpr UINT CM_ENTER = CM_BASE + 0x1A;        // 0xB01A the control got the keyboard focus
constexpr UINT CM_EXIT = CM_BASE + 0x1B;         // 0xB01B the control lost the keyboard focus
constexpr UINT CM_RELEASE = CM_BASE + 0x21;      // posted: free the form (WParam: TCustomForm*)
constexpr UINT CM_STATECHANGED = CM_BASE + 0xD0; // 0xB0D0 a check box's state changed (by program or click)

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN; // sent by the message loop before dispatch; Result 1 = used
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;

// One message on its way through a control's window-procedure method.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A control's replaceable window-procedure method.
using TWndMethod = std::function<void(TMessage &)>;

} // namespace qv

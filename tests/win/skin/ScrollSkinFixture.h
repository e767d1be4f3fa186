#pragma once
// Fixture of the scroll-bar and combo-box skinner suite: the exam's question list (a real
// database behind it), a memo with both scroll bars and a drop-down list combo box on one form,
// the default skin loaded, and the mouse moved for real (input as a person gives it).
#include "skin/SkinScrollbars.h"
#include "skin/WinSkinData.h"
#include "tests/win/grid/GridFixture.h"

#include <windows.h>

#include <string>

namespace qv::test {

// A combo box control object: a COMBOBOX window with the framework around it.
class TTestCombo : public TWinControl {
  QV_DECLARE_CLASS(TTestCombo)
public:
  explicit TTestCombo(TComponent *owner, DWORD kind = CBS_DROPDOWNLIST);

protected:
  void CreateParams(TCreateParams &p) override;

private:
  DWORD kind_;
};

// What the screen shows in a rectangle (screen coordinates), for reading pixels back.
class TScreenShot {
public:
  explicit TScreenShot(const RECT &screen);
  TColor At(int x, int y) const; // relative to the rectangle
  // Pixels in (x, y, expected's size) that differ from expected, magenta in expected not counted;
  // rows from skipFrom to skipTo (exclusive) of expected are left out.
  int Mismatches(int x, int y, const PixelMap &expected, int skipFrom = 0, int skipTo = 0) const;
  void Save(const std::string &file) const;

private:
  TBitmap shot_;
};

RECT ScreenRectOf(HWND wnd);
RECT BarRect(HWND wnd, LONG object); // GetScrollBarInfo's rectangle of a window's bar
SCROLLBARINFO BarInfo(HWND wnd, LONG object);

struct ScrollSkinTest : GridTest {
  void SetUp() override;
  void TearDown() override;
  // Real input: the pointer moves there, the button goes down and up.
  void MoveTo(POINT screen);
  void ClickAt(POINT screen);
  void Drag(POINT from, POINT to);
  // The window under a screen point.
  static HWND WindowAt(POINT screen) { return WindowFromPoint(screen); }

  TSkinData *data = nullptr;
  TMemo *memo = nullptr;
  TTestCombo *combo = nullptr;
};

} // namespace qv::test

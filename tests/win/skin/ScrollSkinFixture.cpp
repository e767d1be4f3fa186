#include "ScrollSkinFixture.h"

#include "platform/base/FileIO.h"
#include "platform/classes/ClassBuilder.h"
#include "skin/SkinGdi.h"

namespace qv::test {

const TClassInfo &TTestCombo::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TTestCombo, TWinControl>("TTestCombo", [](auto &) {});
  return info;
}

TTestCombo::TTestCombo(TComponent *owner, DWORD kind) : TWinControl(owner), kind_(kind) { SetTabStop(true); }

void TTestCombo::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.BaseClass = L"COMBOBOX";
  p.WinClassName = kind_ == CBS_SIMPLE ? L"TTestComboSimple" : L"TTestCombo";
  p.Style |= kind_ | WS_VSCROLL | WS_TABSTOP;
}

TScreenShot::TScreenShot(const RECT &screen) {
  shot_.SetSize(screen.right - screen.left, screen.bottom - screen.top);
  HDC dc = GetDC(nullptr);
  BitBlt(shot_.DC(), 0, 0, shot_.Width(), shot_.Height(), dc, screen.left, screen.top, SRCCOPY);
  ReleaseDC(nullptr, dc);
  GdiFlush();
}

TColor TScreenShot::At(int x, int y) const { return ColorFromPixel(shot_.Pixels().At(x, y)); }

int TScreenShot::Mismatches(int x, int y, const PixelMap &expected, int skipFrom, int skipTo) const {
  int bad = 0;
  for (int j = 0; j < expected.Height(); ++j) {
    if (j >= skipFrom && j < skipTo) continue;
    for (int i = 0; i < expected.Width(); ++i) {
      const TColor want = ColorFromPixel(expected.At(i, j));
      if (want == kSkinTransparent) continue;
      if (At(x + i, y + j) != want) ++bad;
    }
  }
  return bad;
}

void TScreenShot::Save(const std::string &file) const {
  const std::vector<uint8_t> bytes = shot_.SaveToBmp();
  WriteFileContents(file, std::string(bytes.begin(), bytes.end()));
}

RECT ScreenRectOf(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

SCROLLBARINFO BarInfo(HWND wnd, LONG object) {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  GetScrollBarInfo(wnd, object, &sbi);
  return sbi;
}

RECT BarRect(HWND wnd, LONG object) { return BarInfo(wnd, object).rcScrollBar; }

void ScrollSkinTest::SetUp() {
  Build(60, 190, 300);
  data = new TSkinData(form);
  ASSERT_TRUE(data->LoadPackage(ReadFileBytes(DEFAULT_SKIN_PACKAGE)));
  memo = new TMemo(form);
  memo->SetScrollBars(TScrollStyle::ssBoth);
  memo->SetWordWrap(false);
  memo->SetParent(form);
  memo->SetBounds(200, 50, 180, 150);
  std::string text;
  for (int i = 1; i <= 80; ++i)
    text += "第" + std::to_string(i) + "行 " + std::string(static_cast<size_t>(i % 7) * 9, 'x') + "\r\n";
  memo->SetText(text);
  combo = new TTestCombo(form);
  combo->SetParent(form);
  combo->SetBounds(200, 220, 160, 200);
  for (const wchar_t *item : {L"单项选择", L"多项选择", L"判断题", L"电焊", L"气割"})
    SendMessageW(combo->Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(combo->Handle(), CB_SETCURSEL, 0, 0);
  form->SetClientWidth(420);
  form->SetClientHeight(380);
  SetForegroundWindow(form->Handle());
  PumpUntil([this] { return GetForegroundWindow() == form->Handle(); }, 2000);
  // The pointer rests on an empty spot of the form, over no control.
  POINT rest{410, 370};
  ClientToScreen(form->Handle(), &rest);
  MoveTo(rest);
  Pump(20);
}

void ScrollSkinTest::TearDown() {
  ReleaseCapture();
  GridTest::TearDown();
}

namespace {

void SendMouse(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

} // namespace

void ScrollSkinTest::MoveTo(POINT screen) {
  SendMouse(screen, 0);
  PumpUntil([screen] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  });
  Pump(10);
}

void ScrollSkinTest::ClickAt(POINT screen) {
  MoveTo(screen);
  SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
  SendMouse(screen, MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && !GetCapture(); });
  Pump(20);
}

void ScrollSkinTest::Drag(POINT from, POINT to) {
  MoveTo(from);
  SendMouse(from, MOUSEEVENTF_LEFTDOWN);
  SendMouse({(from.x + to.x) / 2, (from.y + to.y) / 2}, 0);
  SendMouse(to, 0);
  SendMouse(to, MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && !GetCapture(); });
  Pump(20);
}

} // namespace qv::test

#include "tests/win/skin/FrameWindow.h"

#include "platform/base/FileIO.h"
#include "skin/SkinGdi.h"
#include "tests/native/skin/PngWriter.h"
#include "tests/native/skin/TestFiles.h"

#include <stdexcept>

namespace qv::test {

TSkinData &DefaultSkinData() {
  static TSkinData *data = [] {
    auto *d = new TSkinData(nullptr);
    if (!d->LoadPackage(DefaultSkinPackage())) throw std::runtime_error("the default skin does not load");
    return d;
  }();
  return *data;
}

bool PumpUntil(const std::function<bool()> &cond, int capMs) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!cond()) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (cond()) break;
    if (GetTickCount() - start > static_cast<DWORD>(capMs)) return cond();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

void PumpPending() {
  // Posted messages first, then whatever painting they caused.
  MSG msg;
  for (int round = 0; round < 3; ++round)
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  GdiFlush();
}

namespace {

const wchar_t kClass[] = L"QvFrameTestWindow";

void RegisterOnce() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  done = true;
}

} // namespace

TFrameWindow::TFrameWindow(const std::wstring &text, DWORD style, int width, int height, DWORD exStyle, int x,
                           int y, HMENU menu) {
  RegisterOnce();
  wnd_ = CreateWindowExW(exStyle, kClass, text.c_str(), style, x, y, width, height, nullptr, menu,
                         GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TFrameWindow::Proc));
  ShowWindow(wnd_, SW_SHOW);
  UpdateWindow(wnd_);
  PumpPending();
}

TFrameWindow::~TFrameWindow() {
  if (Alive()) DestroyWindow(wnd_);
  PumpPending();
}

LRESULT CALLBACK TFrameWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *self = reinterpret_cast<TFrameWindow *>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (self && msg == WM_COMMAND) self->Commands.push_back(wParam);
  if (self && msg == WM_SYSCOMMAND) self->SysCommands.push_back(wParam & 0xFFF0);
  if (self && self->routing_ && self->frame_) {
    TMessage m{msg, wParam, lParam, 0};
    const TWndMethod next = [wnd](TMessage &n) { n.Result = DefWindowProcW(wnd, n.Msg, n.WParam, n.LParam); };
    if (msg == WM_NCDESTROY) self->frame_->Destroying();
    if (!self->frame_->Message(m, next)) next(m); // the frame may have changed the message
    return m.Result;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TFrameWindow::Skin(TSkinData &data) {
  frame_ = std::make_unique<TSkinFrame>(wnd_, &data);
  routing_ = true;
  frame_->Attach();
  frame_->Start();
  RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpPending();
}

void TFrameWindow::Unskin() {
  frame_->BeginDetach();
  routing_ = false;
  frame_->EndDetach();
  frame_.reset();
  RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpPending();
}

RECT TFrameWindow::WindowRect() const {
  RECT r;
  GetWindowRect(wnd_, &r);
  return r;
}

SIZE TFrameWindow::ClientSize() const {
  RECT r;
  GetClientRect(wnd_, &r);
  return {r.right, r.bottom};
}

PixelMap CaptureWindow(HWND wnd) {
  PumpPending();
  RECT r;
  GetWindowRect(wnd, &r);
  TBitmap picture;
  picture.SetSize(r.right - r.left, r.bottom - r.top);
  {
    const TWindowDC dc(wnd, true);
    BitBlt(picture.DC(), 0, 0, r.right - r.left, r.bottom - r.top, dc.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return picture.Pixels();
}

void SavePng(const PixelMap &picture, const std::string &name) { WriteFileBytes(name, EncodePng(picture)); }

} // namespace qv::test

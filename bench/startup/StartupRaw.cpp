// The reference: a minimal Win32 program that shows one window and reports its first paint.
#include <windows.h>

namespace {
HANDLE painted = nullptr;
bool done = false;

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(dc, 20, 20, L"登录", 2);
    EndPaint(wnd, &ps);
    if (!done) {
      done = true;
      if (painted) SetEvent(painted);
      PostMessageW(wnd, WM_CLOSE, 0, 0);
    }
    return 0;
  }
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
  painted = OpenEventA(EVENT_MODIFY_STATE, FALSE, cmd);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = L"RawStartup";
  RegisterClassExW(&wc);
  HWND wnd = CreateWindowExW(WS_EX_APPWINDOW, L"RawStartup", L"登录", WS_POPUP, 200, 200, 567, 386, nullptr,
                             nullptr, inst, nullptr);
  ShowWindow(wnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

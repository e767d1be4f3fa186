// Skinned frame figures: painting the whole non-client area of a maximised window, and a resize
// drag of 50 steps, each next to the same window without the skin, in one run.
#include "platform/base/CommandLine.h"
#include "platform/base/FileIO.h"
#include "skin/SkinGdi.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

const char kUsage[] =
    "用法：skin_frame_bench DEFAULT_PACKAGE\n"
    "  打印窗口边框皮肤的绘制时间：最大化窗口整个非客户区的重绘，以及 50 步的拖动改变大小，\n"
    "  每项都与没有皮肤的同一窗口对比\n"
    "选项：-h, --help 显示本说明；--version 显示版本\n";

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HWND MakeWindow(const wchar_t *text) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QvFrameBench";
    RegisterClassW(&wc);
    registered = true;
  }
  HWND wnd = CreateWindowExW(0, L"QvFrameBench", text, WS_OVERLAPPEDWINDOW, 40, 40, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOW);
  Pump();
  return wnd;
}

// Milliseconds per whole non-client repaint of the maximised window (best of 5 rounds of 20).
double NonClientPaintMs(HWND wnd) {
  ShowWindow(wnd, SW_MAXIMIZE);
  Pump();
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    const auto t0 = Clock::now();
    for (int i = 0; i < 20; ++i)
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / 20);
  }
  ShowWindow(wnd, SW_RESTORE);
  Pump();
  return best;
}

// Milliseconds for 50 resize steps of 6 by 4 pixels, each painted at once (best of 3).
double ResizeDragMs(HWND wnd) {
  double best = 1e300;
  for (int round = 0; round < 3; ++round) {
    SetWindowPos(wnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const auto t0 = Clock::now();
    for (int step = 1; step <= 50; ++step) {
      SetWindowPos(wnd, nullptr, 0, 0, 400 + 6 * step, 300 + 4 * step, SWP_NOMOVE | SWP_NOZORDER);
      UpdateWindow(wnd);
    }
    GdiFlush();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  return best;
}

int Measure(qv::TArguments &args) {
  using namespace qv;
  const std::string path = args.Take("DEFAULT_PACKAGE");
  args.Finish();
  TSkinData data(nullptr);
  if (!data.LoadPackage(ReadFileBytes(path))) {
    std::fputs("skin_frame_bench: the skin package does not load\n", stderr);
    return 1;
  }
  HWND plain = MakeWindow(L"没有皮肤");
  HWND skinned = MakeWindow(L"有皮肤");
  auto skinner = std::make_unique<TWinSkinForm>(nullptr);
  skinner->AttachWindow(skinned, &data);
  SendMessageW(skinned, WM_SKINSETUP, 0, 1000);
  Pump();

  const double paintPlain = NonClientPaintMs(plain), paintSkinned = NonClientPaintMs(skinned);
  const double dragPlain = ResizeDragMs(plain), dragSkinned = ResizeDragMs(skinned);
  std::printf("non-client paint of the maximised window\n");
  std::printf("  without skin     %8.3f ms\n", paintPlain);
  std::printf("  skinned          %8.3f ms  (%.2f times)\n", paintSkinned, paintSkinned / paintPlain);
  std::printf("resize drag, 50 steps\n");
  std::printf("  without skin     %8.3f ms\n", dragPlain);
  std::printf("  skinned          %8.3f ms  (%.2f times)\n", dragSkinned, dragSkinned / dragPlain);
  skinner->Detach();
  DestroyWindow(skinned);
  DestroyWindow(plain);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  return qv::TCommandLine("skin_frame_bench", kUsage).Run(qv::ProgramArguments(argc, argv), Measure);
}

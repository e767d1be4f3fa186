#pragma once
// Real windows for the skinned-frame tests: a plain top-level window whose procedure routes its
// messages through a TSkinFrame, the default skin, message pumping and pixels read back.
#include "platform/graphics/Graphics.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinFrame.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

// The default skin, loaded once.
TSkinData &DefaultSkinData();

// Pumps messages until cond holds or capMs passed; returns cond().
bool PumpUntil(const std::function<bool()> &cond, int capMs = 3000);
// Pumps what is queued now (and what that posts) for a short while.
void PumpPending();

// A top-level window of our own class; Skin() takes it over, Unskin() gives it back.
class TFrameWindow {
public:
  TFrameWindow(const std::wstring &text, DWORD style, int width, int height, DWORD exStyle = 0, int x = 120,
               int y = 80, HMENU menu = nullptr);
  ~TFrameWindow();
  HWND Handle() const { return wnd_; }
  TSkinFrame *Frame() const { return frame_.get(); }
  // Attach and set-up, as the form skinner does them, then waits for the frame to be painted.
  void Skin(TSkinData &data = DefaultSkinData());
  void Unskin();
  bool Alive() const { return IsWindow(wnd_) != FALSE; }
  RECT WindowRect() const;
  SIZE ClientSize() const;
  // The menu commands (WM_COMMAND identifiers) the window received.
  std::vector<WPARAM> Commands;
  // The system commands (WM_SYSCOMMAND, low four bits cleared) it received.
  std::vector<WPARAM> SysCommands;

private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND wnd_ = nullptr;
  std::unique_ptr<TSkinFrame> frame_;
  bool routing_ = false;
};

// What the window shows, read back from its window DC (after pumping what is pending).
PixelMap CaptureWindow(HWND wnd);
// Writes the picture as a PNG beside the test program.
void SavePng(const PixelMap &picture, const std::string &name);

} // namespace qv::test

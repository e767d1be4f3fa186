// TApplication (the hidden application window, the message loop, exceptions) and TScreen.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"

#include <commctrl.h>

namespace qv {

TApplication *Application = nullptr;
TScreen *Screen = nullptr;

namespace {
// The process's application and screen, made before main and freed after it.
struct TGlobals {
  TGlobals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
  ~TGlobals() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
  }
} globals;
} // namespace

// TScreen ----------------------------------------------------------------------------------------

const TClassInfo &TScreen::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TScreen, TComponent>("TScreen", [](auto &) {});
  return info;
}

TScreen::TScreen(TComponent *owner) : TComponent(owner) {}

TWinControl *TScreen::ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

TRect TScreen::WorkArea() const {
  RECT rc{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0)) rc = {0, 0, Width(), Height()};
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void TScreen::AddForm(TCustomForm *f) { forms_.push_back(f); }

void TScreen::RemoveForm(TCustomForm *f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  FormGone(f);
}

void TScreen::AddDataModule(TDataModule *d) { dataModules_.push_back(d); }

void TScreen::RemoveDataModule(TDataModule *d) {
  dataModules_.erase(std::remove(dataModules_.begin(), dataModules_.end(), d), dataModules_.end());
}

void TScreen::FormActivated(TCustomForm *f) {
  activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
  activation_.push_back(f);
  activeForm_ = f;
}

void TScreen::FormGone(TCustomForm *f) {
  activation_.erase(std::remove(activation_.begin(), activation_.end(), f), activation_.end());
  if (activeForm_ == f) activeForm_ = activation_.empty() ? nullptr : activation_.back();
}

// TApplication -----------------------------------------------------------------------------------

const TClassInfo &TApplication::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TApplication, TComponent>(
      "TApplication", [](auto &c) { c.String("Title", &TApplication::Title, &TApplication::SetTitle); });
  return info;
}

TApplication::TApplication(TComponent *owner) : TComponent(owner) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, n);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  if (auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.resize(dot);
  title_ = Narrow(name);
  SetGlobalComponentFinder([this](std::string_view n) { return FindComponent(n); });
}

TApplication::~TApplication() {
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
  SetExceptionHandler(nullptr);
  SetGlobalComponentFinder(nullptr);
}

void TApplication::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  RegisterStandardClasses();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TApplication";
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  RegisterClassExW(&wc);
  handle_ = CreateWindowExW(0, L"TApplication", Widen(title_).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                            0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  SetExceptionHandler([this](const std::exception &e) { HandleException(e); });
}

void TApplication::SetTitle(const std::string &t) {
  title_ = t;
  if (handle_) SetWindowTextW(handle_, Widen(t).c_str());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == CM_RELEASE) {
    auto *f = reinterpret_cast<TCustomForm *>(wParam);
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
      if (Screen->Forms(i) == f) {
        delete f;
        break;
      }
    return 0;
  }
  // Popup menus shown while no form is active are tracked by this window.
  if (msg == WM_MEASUREITEM || msg == WM_DRAWITEM) {
    TMessage m{msg, wParam, lParam, 0};
    if (TMenuItem::DispatchOwnerDraw(m)) return m.Result;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TApplication::FormCreated(TCustomForm *f, TComponent *owner) {
  if (!mainForm_ && owner == this) mainForm_ = f;
}

void TApplication::FormDestroyed(TCustomForm *f) {
  if (mainForm_ == f) mainForm_ = nullptr;
}

void TApplication::FillPendingReference(void *obj) {
  if (pendingRef_) {
    *pendingRef_ = obj;
    pendingRef_ = nullptr;
  }
}

void TApplication::Run() {
  Initialize();
  if (mainForm_) {
    try {
      mainForm_->Show();
    } catch (const std::exception &e) {
      HandleException(e);
    }
  }
  while (!terminated_)
    HandleMessage();
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
    terminated_ = true;
    return;
  }
  ProcessMessage(msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ProcessMessage(msg);
  }
}

bool TApplication::ProcessMessage(MSG &msg) {
  if (msg.message == WM_QUIT) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    TWinControl *c = nullptr;
    for (HWND h = msg.hwnd; h && !c; h = GetParent(h))
      c = FindControl(h);
    try {
      if (c && c->Perform(CN_KEYDOWN, msg.wParam, msg.lParam)) return true;
    } catch (const std::exception &e) {
      HandleException(e);
      return true;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void TApplication::HandleException(const std::exception &e) {
  if (OnException) {
    try {
      OnException(this, e);
      return;
    } catch (const std::exception &inner) {
      ShowException(inner);
      return;
    }
  }
  ShowException(e);
}

void TApplication::ShowException(const std::exception &e) {
  std::string text = e.what();
  MessageBox(text.empty() ? "Error" : text, {}, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string &text, const std::string &caption, UINT flags) {
  HWND owner = nullptr;
  if (Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated() &&
      IsWindowVisible(Screen->ActiveForm()->HandleIfAllocated()))
    owner = Screen->ActiveForm()->HandleIfAllocated();
  else if (HWND active = GetActiveWindow())
    owner = active;
  return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption.empty() ? title_ : caption).c_str(), flags);
}

} // namespace qv

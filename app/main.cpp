// The exam program: initialise the framework, create the windows, run the message loop.
#include "app/uDM.h"
#include "app/uLogin.h"
#include "platform/base/Text.h"
#include "skin/SkinMessageBox.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace qv;
  try {
    Application->Initialize();
    Application->SetTitle("考试系统");
    // A skin package the login window cannot use is reported in a message box.
    ShowSkinMessagesInMessageBox();
    Application->CreateForm(fmDM);
    Application->CreateForm(fmlogin);
    Application->Run();
    // The windows go now, while every part of the framework they reach still exists.
    Application->DestroyComponents();
  } catch (const std::exception &e) {
    // Startup failed before the loop could show it: no window of the program appears.
    MessageBoxW(nullptr, Widen(e.what()).c_str(), L"考试系统", MB_OK | MB_ICONSTOP);
    return 1;
  }
  return 0;
}

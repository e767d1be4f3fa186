#pragma once
// Helpers for the live skin's tests: a form with the application set up, a skin data component
// whose palette the test chooses, and pumping messages until a condition holds.
#include "platform/forms/Forms.h"
#include "skin/WinSkinData.h"
#include "tests/win/forms/TestUtil.h"

#include <windows.h>

namespace qv::skintest {

// Pumping until a condition holds and delayed actions on thread timers (they run inside any
// message loop, a message box's included): the forms tests' helpers.
using test::After;
using test::PumpUntil;

// Handles what is queued now.
inline void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    Application->ProcessMessage(msg);
}

// A control of type T on parent, owned by owner, at the given bounds.
template <class T> T *AddControl(TComponent *owner, TWinControl *parent, int l, int t, int w, int h) {
  auto *c = new T(owner);
  c->SetParent(parent);
  c->SetBounds(l, t, w, h);
  return c;
}

// The skin's button face used by the tests: a colour no system colour has.
constexpr TColor kTestFace = RGBColor(0x30, 0x90, 0x60);

// A skin data component without a package whose palette has kTestFace as its button face.
inline TSkinData *MakeTestSkinData(TComponent *owner) {
  auto *data = new TSkinData(owner);
  data->Skin().Palette.ButtonFace = kTestFace;
  return data;
}

} // namespace qv::skintest

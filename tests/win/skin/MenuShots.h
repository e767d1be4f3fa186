#pragma once
// Open menus in tests: finding the menu window this thread shows, acting inside the menu loop as
// soon as one shows, and reading windows back from the screen for checks and pictures.
#include "platform/graphics/Pixels.h"

#include <windows.h>

#include <functional>
#include <string>

namespace qv::test {

// What a window shows now (its whole window), read back from the screen.
PixelMap Capture(HWND wnd);
// The form with the open menu over it, written as a PNG for people to look at.
void SaveShot(HWND form, HWND menu, const std::string &name);
// The visible menu window of this thread, or none.
HWND ShownMenuWindow();
// Runs fn once, inside the menu loop, as soon as a menu window shows; a menu still open 3 s
// later is ended, so that a failing test cannot hang in it.
void WhenMenuShows(std::function<void(HWND)> fn);

} // namespace qv::test

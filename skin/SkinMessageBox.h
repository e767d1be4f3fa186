#pragma once
// Where a program shows the skin engine's messages (a refused skin package, a missing skin file).

namespace qv {

// From now on the skin engine's messages appear in a message box owned by the active window and
// captioned with the application's title.
void ShowSkinMessagesInMessageBox();

} // namespace qv

#include "skin/SkinMessageBox.h"

#include "platform/forms/Forms.h"
#include "skin/SkinReader.h"

namespace qv {

void ShowSkinMessagesInMessageBox() {
  SetSkinMessageHandler([](const std::string &text) {
    if (Application) Application->MessageBox(text, {}, MB_OK | MB_ICONWARNING);
  });
}

} // namespace qv

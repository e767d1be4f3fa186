#pragma once
// Message dialogs. MessageDlg shows a form of class "TMessageForm" (title by type: "Confirm",
// "Warning", "Error", "Information"; an icon; one button per requested answer: "&Yes", "&No",
// "OK", "Cancel", ...). Enter chooses the default button (OK or Yes), Escape the cancel button
// (Cancel, else No, else OK). ShowMessage is the platform's plain message box with OK.
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <string>

namespace qv {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
constexpr uint32_t mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64,
                   mbAll = 128;

class TMessageForm : public TForm {
  QV_DECLARE_CLASS(TMessageForm)
public:
  explicit TMessageForm(TComponent *owner);
  TLabel *Message = nullptr;
};

// Builds (not shows) the dialog; the caller owns it.
TMessageForm *CreateMessageDialog(const std::string &text, TMsgDlgType type, uint32_t buttons);
// Shows the dialog modally and returns the modal result of the button chosen (mrYes, mrNo, ...),
// or mrCancel when it was closed otherwise.
int MessageDlg(const std::string &text, TMsgDlgType type, uint32_t buttons);
// The platform's message box ("#32770") with the text and an OK button.
void ShowMessage(const std::string &text);

} // namespace qv

// The framework's classes by name, for layouts and for the skin engine's class tests.
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/graphics/Graphics.h"

namespace qv {

void RegisterStandardClasses() {
  RegisterClasses<TForm, TDataModule, TMessageForm, TCustomControl, TEdit, TMemo, TButton, TBitBtn, TCheckBox,
                  TGroupBox, TLabel, TPanel, TImage, TSplitter, TSpeedButton, TTimer, TProgressBar, TMainMenu,
                  TPopupMenu, TMenuItem, TStrings, TFont, TBitmap, TBrush, TPen, TApplication, TScreen>();
}

} // namespace qv

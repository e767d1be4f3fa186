// CreateSkinner: the one place that makes control skinners by kind. A kind whose skinner is not
// part of this build yields none, and the choice rules then leave the control as it is.
#include "skin/SkinnerFactory.h"

#include "skin/WinSubClass.h"

namespace qv {

TSkinControl *CreateSkinner(TSkinnerKind kind, TComponent *) {
  switch (kind) {
  case TSkinnerKind::Button:
  case TSkinnerKind::BitButton:
  case TSkinnerKind::SpeedButton:
  case TSkinnerKind::CheckBox:
  case TSkinnerKind::RadioButton:
  case TSkinnerKind::ObjImageCheck:
  case TSkinnerKind::ObjImageRadio:
  case TSkinnerKind::ObjImageCheck2:
  case TSkinnerKind::GroupBox:
  case TSkinnerKind::Box:
  case TSkinnerKind::BoxH:
  case TSkinnerKind::TabSheet:
  case TSkinnerKind::Tab:
  case TSkinnerKind::Tab31:
  case TSkinnerKind::Header:
  case TSkinnerKind::Progress:
  case TSkinnerKind::TrackBar:
  case TSkinnerKind::UpDown:
  case TSkinnerKind::Edit:
  case TSkinnerKind::ComBox:
  case TSkinnerKind::StatusBar:
  case TSkinnerKind::Sizer:
  case TSkinnerKind::Scrollbar:
  case TSkinnerKind::ScrollbarH:
  case TSkinnerKind::ScControl:
  case TSkinnerKind::ListView:
    return nullptr;
  }
  return nullptr;
}

} // namespace qv

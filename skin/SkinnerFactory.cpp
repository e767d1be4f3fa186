// CreateSkinner: the one place that makes control skinners by kind. A kind whose skinner is not
// part of this build yields none, and the choice rules then leave the control as it is.
#include "skin/SkinnerFactory.h"

#include "skin/SkinComBox.h"
#include "skin/SkinControls.h"
#include "skin/SkinScrollbars.h"

namespace qv {

namespace {
TSkinnerMaker &Maker() {
  static TSkinnerMaker maker;
  return maker;
}
} // namespace

void SetSkinnerMaker(TSkinnerMaker maker) { Maker() = std::move(maker); }

TSkinControl *CreateSkinner(TSkinnerKind kind, TComponent *owner) {
  if (Maker())
    if (TSkinControl *s = Maker()(kind, owner)) return s;
  switch (kind) {
  case TSkinnerKind::ComBox:
    return new TSkinComBox(owner);
  case TSkinnerKind::Scrollbar:
    return new TSkinScrollbar(owner);
  case TSkinnerKind::ScrollbarH:
    return new TSkinScrollbarH(owner);
  case TSkinnerKind::ScControl:
    return new TSkinScControl(owner);
  case TSkinnerKind::Button:
    return new TSkinButton(owner);
  case TSkinnerKind::BitButton:
    return new TSkinBitButton(owner);
  case TSkinnerKind::SpeedButton:
    return new TSkinSpeedButton(owner);
  case TSkinnerKind::CheckBox:
    return new TSkinCheckBox(owner);
  case TSkinnerKind::RadioButton:
    return new TSkinRadioButton(owner);
  case TSkinnerKind::ObjImageCheck:
    return new TSkinObjImage(owner, 1);
  case TSkinnerKind::ObjImageRadio:
    return new TSkinObjImage(owner, 2);
  case TSkinnerKind::ObjImageCheck2:
    return new TSkinObjImage(owner, 3);
  case TSkinnerKind::GroupBox:
    return new TSkinGroupBox(owner);
  case TSkinnerKind::Box:
    return new TSkinBox(owner);
  case TSkinnerKind::BoxH:
    return new TSkinBoxH(owner);
  case TSkinnerKind::TabSheet:
    return new TSkinTabSheet(owner);
  case TSkinnerKind::Tab:
    return new TSkinTab(owner);
  case TSkinnerKind::Tab31:
    return new TSkinTab31(owner);
  case TSkinnerKind::Header:
    return new TSkinHeader(owner);
  case TSkinnerKind::Progress:
    return new TSkinProgress(owner);
  case TSkinnerKind::TrackBar:
    return new TSkinTrackBar(owner);
  case TSkinnerKind::UpDown:
    return new TSkinUpDown(owner);
  case TSkinnerKind::Edit:
    return new TSkinEdit(owner);
  case TSkinnerKind::StatusBar:
    return new TSkinStatusBar(owner);
  case TSkinnerKind::Sizer:
    return new TSkinSizer(owner);
  case TSkinnerKind::ListView:
    return new TSkinListView(owner);
  }
  return nullptr;
}

} // namespace qv

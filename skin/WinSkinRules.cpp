// The choice rules of the skin manager: which skinner a child control of a skinned form gets (the
// disable tag, the application's Skin3rd list, the built-in rules by class), and which one a child
// window without a control object gets (by its window class).
#include "platform/base/Text.h"
#include "platform/classes/Properties.h"
#include "skin/SkinMessages.h"
#include "skin/SkinnerFactory.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinManage.h"
#include "skin/WinSubClass.h"

#include <optional>

namespace qv {

namespace {

bool Has(const TSkinData *data, int member) { return (data->SkinControls() & SkinBit(member)) != 0; }

std::vector<TControl *> ChildControls(TControl *control) {
  std::vector<TControl *> list;
  if (auto *w = dynamic_cast<TWinControl *>(control))
    for (int i = 0; i < w->ControlCount(); ++i)
      list.push_back(w->Controls(i));
  return list;
}

// Makes a skinner of kind for the control (owned by it) and attaches it.
bool AttachKind(TWinSkinForm *form, TControl *control, TSkinnerKind kind, bool colour) {
  TSkinControl *s = CreateSkinner(kind, control);
  if (!s) return false;
  s->Attach(form, form->SkinData(), colour, form->Canvas());
  return true;
}

// The same for a window without a control object: the skinner belongs to the form skinner.
bool AttachKindByHandle(TWinSkinForm *form, HWND wnd, TSkinnerKind kind) {
  if (!wnd || form->HasSkinnerForWindow(wnd) || IsSkinnedWindow(wnd)) return false;
  TSkinControl *s = CreateSkinner(kind, form);
  if (!s) return false;
  s->AttachHandle(wnd, form->SkinData(), form, form->Canvas());
  return true;
}

// A container's skinner, then its children through the rules.
bool AttachThenChildren(TWinSkinForm *form, TControl *control, TSkinnerKind kind) {
  bool attached = AttachKind(form, control, kind, true);
  form->SkinChildren(dynamic_cast<TWinControl *>(control));
  return attached;
}

bool HasScrollBarStyle(TControl *control) {
  auto *w = dynamic_cast<TWinControl *>(control);
  return w && w->HandleAllocated() &&
         (GetWindowLongW(w->HandleIfAllocated(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

bool HasBorder(TControl *control) {
  auto *w = dynamic_cast<TWinControl *>(control);
  if (!w || !w->HandleAllocated()) return false;
  RECT wr{}, cr{};
  GetWindowRect(w->HandleIfAllocated(), &wr);
  GetClientRect(w->HandleIfAllocated(), &cr);
  return wr.right - wr.left != cr.right || wr.bottom - wr.top != cr.bottom;
}

void SetTransparent(TControl *control) {
  if (HasProperty(*control, "Transparent")) SetPropText(*control, "Transparent", "True");
}

// The Skin3rd list: none when no line names the class, else whether a skinner was attached.
std::optional<bool> SkinByList(TWinSkinForm *form, TControl *control, const std::string &upperName) {
  TSkinData *data = form->SkinData();
  const std::string prefix = LowerCase(control->ClassName()) + "=";
  std::string kind;
  bool found = false;
  for (const std::string &line : data->Skin3rd()->Items()) {
    std::string lower = LowerCase(line);
    if (lower.compare(0, prefix.size(), prefix) == 0) {
      kind = lower.substr(prefix.size(), 50);
      found = true;
      break;
    }
  }
  if (!found) return std::nullopt;
  if (kind == "combobox") return Has(data, xcCombo) && AttachKind(form, control, TSkinnerKind::ComBox, false);
  if (kind == "edit")
    return Has(data, xcEdit) && HasBorder(control) && AttachKind(form, control, TSkinnerKind::Edit, false);
  if (kind == "radiobutton")
    return Has(data, xcRadioButton) && AttachKind(form, control, TSkinnerKind::RadioButton, false);
  if (kind == "panel") {
    if (!Has(data, xcPanel)) return false;
    SetTransparent(control);
    return AttachKind(form, control, TSkinnerKind::Box, true);
  }
  if (kind == "trackbar") {
    if (!Has(data, xcButton)) return false;
    SetTransparent(control);
    return AttachKind(form, control, TSkinnerKind::TrackBar, false);
  }
  if (kind == "button") return Has(data, xcButton) && AttachKind(form, control, TSkinnerKind::Button, false);
  if (kind == "bitbtn")
    return Has(data, xcButton) && AttachKind(form, control, TSkinnerKind::BitButton, false);
  if (kind == "speedbutton")
    return Has(data, xcSpeedButton) && AttachKind(form, control, TSkinnerKind::SpeedButton, false);
  if (kind == "tab")
    return Has(data, xcTab) && data->Skin().Tabs && AttachKind(form, control, TSkinnerKind::Tab, false);
  if (kind == "progress")
    return Has(data, xcProgress) && AttachKind(form, control, TSkinnerKind::Progress, false);
  if (kind == "scrollbar") {
    if (!Has(data, xcScrollbar)) return false;
    bool attached = AttachKind(form, control, TSkinnerKind::Scrollbar, false);
    form->SkinOwnedControls(control);
    return attached;
  }
  if (kind == "embedscrollbar") {
    if (!Has(data, xcScrollbar)) return false;
    bool any = false;
    for (TControl *c : ChildControls(control)) {
      if (c->InheritsFrom("TScrollBar"))
        any |= AttachKind(form, c, TSkinnerKind::ScControl, false);
      else if (HasScrollBarStyle(c) || c->InheritsFrom("TMemo") || c->InheritsFrom("TCustomListBox"))
        any |= AttachKind(form, c, TSkinnerKind::Scrollbar, false);
    }
    return any;
  }
  if (kind == "container") {
    bool any = false;
    for (TControl *c : ChildControls(control))
      any |= TSkinManage::SkinChildControl(form, c, dynamic_cast<TWinControl *>(control));
    return any;
  }
  if (kind == "groupbox")
    return Has(data, xcGroupBox) && AttachKind(form, control, TSkinnerKind::GroupBox, true);
  if (kind == "radiogroup" || kind == "checkgroup") {
    bool radio = kind == "radiogroup";
    if (!Has(data, radio ? xcGroupBox : xcPanel)) return false;
    bool any = false;
    if (Has(data, xcRadioButton)) {
      bool objImage = upperName.find("TRZ") != std::string::npos;
      TSkinnerKind childKind = radio ? (objImage ? TSkinnerKind::ObjImageRadio : TSkinnerKind::RadioButton)
                                     : (objImage ? TSkinnerKind::ObjImageCheck : TSkinnerKind::CheckBox);
      for (TControl *c : ChildControls(control))
        any |= AttachKind(form, c, childKind, false);
    }
    if (Has(data, xcGroupBox)) any |= AttachKind(form, control, TSkinnerKind::GroupBox, true);
    return any;
  }
  if (kind == "checkbox")
    return Has(data, xcCheckBox) && AttachKind(form, control, TSkinnerKind::CheckBox, false);
  return false; // "nil" and unknown kinds: claimed, nothing attached
}

// The built-in rules, first match wins; a match whose kind of control is switched off attaches
// nothing.
bool SkinByClass(TWinSkinForm *form, TControl *control, const std::string &name) {
  TSkinData *data = form->SkinData();
  auto is = [&](const char *cls) { return control->InheritsFrom(cls); };
  auto named = [&](std::initializer_list<const char *> names) {
    for (const char *n : names)
      if (name == n) return true;
    return false;
  };
  auto attach = [&](int member, TSkinnerKind kind) {
    return Has(data, member) && AttachKind(form, control, kind, false);
  };
  auto container = [&](TSkinnerKind kind) {
    return Has(data, xcPanel) && AttachThenChildren(form, control, kind);
  };

  if (named({"TTABSET"}) && data->Skin().Tabs) return attach(xcTab, TSkinnerKind::Tab31);
  if (named({"TTABBEDNOTEBOOK"}) && data->Skin().Tabs) return attach(xcTab, TSkinnerKind::Tab);
  if (named({"TMVCPANEL"})) {
    form->SkinChildren(dynamic_cast<TWinControl *>(control));
    return false;
  }
  if (is("TCustomCheckBox")) return attach(xcCheckBox, TSkinnerKind::CheckBox);
  if (named({"TUPDOWN", "TSPINBUTTON"})) return attach(xcSpin, TSkinnerKind::UpDown);
  if (named({"TDBNAVIGATOR"})) return container(TSkinnerKind::Box);
  if (named({"TRZDBCHECKBOX", "TRZCHECKBOX"})) return attach(xcCheckBox, TSkinnerKind::ObjImageCheck);
  if (named({"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}))
    return attach(xcRadioButton, TSkinnerKind::ObjImageRadio);
  if (named({"TCXDBCHECKBOX", "TCXCHECKBOX"})) return attach(xcCheckBox, TSkinnerKind::ObjImageCheck2);
  if (is("TCustomGroupBox")) return container(TSkinnerKind::GroupBox);
  if (is("TScrollBar")) return attach(xcScrollbar, TSkinnerKind::ScControl);
  if (named({"TTNTCOMBOBOX"})) return attach(xcCombo, TSkinnerKind::ComBox);
  if (named({"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"})) return attach(xcScrollbar, TSkinnerKind::Scrollbar);
  if (is("TBitBtn")) return attach(xcBitBtn, TSkinnerKind::BitButton);
  if (is("TSpeedButton")) return attach(xcSpeedButton, TSkinnerKind::SpeedButton);
  if (is("TCustomPanel")) return container(TSkinnerKind::Box);
  if (named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}))
    return attach(xcScrollbar, TSkinnerKind::Scrollbar);
  if (is("TCustomMemo")) return attach(xcScrollbar, TSkinnerKind::Scrollbar);
  if (is("TCustomGrid")) {
    if (!Has(data, xcScrollbar)) return false;
    if (HasProperty(*control, "FixedColor"))
      SetPropText(*control, "FixedColor", std::to_string(data->Skin().Palette.ButtonFace));
    return AttachKind(form, control, TSkinnerKind::Scrollbar, false);
  }
  if (HasScrollBarStyle(control) || is("TMemo") || is("TCustomListBox"))
    return attach(xcScrollbar, TSkinnerKind::Scrollbar);
  if (is("TButton")) return attach(xcButton, TSkinnerKind::Button);
  if (is("TCustomEdit")) return attach(xcEdit, TSkinnerKind::Edit);
  if (named({"TDCEDIT", "TDCDBEDIT"})) {
    std::string buttons = HasProperty(*control, "NumButtons") ? GetPropText(*control, "NumButtons") : "";
    if (buttons == "1") return attach(xcCombo, TSkinnerKind::ComBox);
    auto *w = dynamic_cast<TWinControl *>(control);
    if (buttons == "0" && w && Has(data, xcEdit))
      return AttachKindByHandle(form, w->Handle(), TSkinnerKind::Edit);
    return false;
  }
  if (is("TCustomForm")) return AttachThenChildren(form, control, TSkinnerKind::Box);
  return false;
}

} // namespace

bool TSkinManage::SkinChildControl(TWinSkinForm *form, TControl *control, TWinControl *parent) {
  TSkinData *data = form ? form->SkinData() : nullptr;
  if (!data || !control) return false;
  auto *win = dynamic_cast<TWinControl *>(control);
  if (control->Tag() == data->DisableTag()) {
    std::string lower = LowerCase(control->ClassName());
    if (win &&
        (lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos))
      for (TControl *c : ChildControls(control))
        c->SetTag(data->DisableTag());
    return false;
  }
  if (!control->Parent() || form->HasSkinner(control)) return false;
  if (win && !win->HandleAllocated()) {
    try {
      win->HandleNeeded();
    } catch (const std::exception &) {
      return false;
    }
  }
  const std::string name = UpperCase(control->ClassName());
  if (data->OnSkinControl) {
    // The application may supply the skinner itself; one it supplies is attached with its own
    // colour flag and the rules below are not asked.
    TSkinControl *supplied = nullptr;
    data->OnSkinControl(form, data, supplied, name, control, parent);
    if (supplied) {
      if (!form->HasSkinner(control)) {
        supplied->Attach(form, data, supplied->ColourFlag(), form->Canvas());
        if (control->InheritsFrom("TCustomPanel")) form->SkinChildren(win);
      }
      return true;
    }
  }
  if (std::optional<bool> listed = SkinByList(form, control, name)) return *listed;
  if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX") return false;
  return SkinByClass(form, control, name);
}

namespace {

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> list;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    list.push_back(c);
  return list;
}

std::string WindowClassLower(HWND wnd) {
  wchar_t cls[128] = {};
  GetClassNameW(wnd, cls, 128);
  return LowerCase(Narrow(cls));
}

void SetControlColour(TWinSkinForm *form, HWND wnd) {
  if (TWinControl *c = FindControl(wnd)) c->SetColor(form->SkinData()->Skin().Palette.ButtonFace);
}

} // namespace

bool TSkinManage::SkinChildWindow(TWinSkinForm *form, HWND wnd) {
  if (!form || !form->SkinData() || !IsWindow(wnd)) return false;
  const std::string cls = WindowClassLower(wnd);
  const auto s = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
  if (cls == "button") {
    if ((s & 0x0B) == 0x0B) return false;
    if ((s & 7) == 7 || (s & 0x80)) return false;
    if ((s & 3) == 3 || (s & 2) || (s & 5) == 5) return AttachKindByHandle(form, wnd, TSkinnerKind::CheckBox);
    if ((s & 9) == 9 || (s & 4)) return AttachKindByHandle(form, wnd, TSkinnerKind::RadioButton);
    return AttachKindByHandle(form, wnd, TSkinnerKind::Button);
  }
  if (cls == "combobox") return (s & 3) != 1 && AttachKindByHandle(form, wnd, TSkinnerKind::ComBox);
  if (cls == "comboboxex32") {
    HWND first = GetWindow(wnd, GW_CHILD);
    return first && AttachKindByHandle(form, first, TSkinnerKind::ComBox);
  }
  if (cls == "scrollbar") return !(s & 0x10000) && AttachKindByHandle(form, wnd, TSkinnerKind::Sizer);
  // The texts and icon of a dialog keep their own painting on the dialog's skinned face (its
  // static colour message); the colour-only skinner lets them answer the skin's query too.
  if (cls == "static")
    return WindowClassLower(GetParent(wnd)) == "#32770" && AttachKindByHandle(form, wnd, TSkinnerKind::Box);
  if (cls == "#32770") {
    if (s & 0x10000) return false;
    for (HWND c : ChildWindows(wnd))
      SkinChildWindow(form, c);
    return AttachKindByHandle(form, wnd, TSkinnerKind::BoxH);
  }
  if (cls == "tpanel") {
    for (HWND c : ChildWindows(wnd))
      SkinChildWindow(form, c);
    SetControlColour(form, wnd);
    return false;
  }
  if (cls == "tcheckbox") return AttachKindByHandle(form, wnd, TSkinnerKind::CheckBox);
  if (cls == "tcombobox") return AttachKindByHandle(form, wnd, TSkinnerKind::ComBox);
  if (cls == "tbutton") return AttachKindByHandle(form, wnd, TSkinnerKind::Button);
  if (cls == "tprogressbar") return AttachKindByHandle(form, wnd, TSkinnerKind::Progress);
  if (cls == "tsilentpaintpanel") {
    SetControlColour(form, wnd);
    return false;
  }
  if (cls == "systabcontrol32") return !(s & 0x2000) && AttachKindByHandle(form, wnd, TSkinnerKind::Tab);
  if (cls == "edit") return AttachKindByHandle(form, wnd, TSkinnerKind::Edit);
  return false; // "systreeview32" and every other class
}

} // namespace qv

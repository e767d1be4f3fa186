// Published properties by name as text, and the text forms of colours, sets and binary data.
#include "platform/classes/Properties.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"

#include <cstdio>
#include <utility>

namespace qv {

namespace {
const std::pair<const char *, TColor> kColorNames[] = {{"clBlack", clBlack},
                                                       {"clMaroon", clMaroon},
                                                       {"clGreen", clGreen},
                                                       {"clOlive", clOlive},
                                                       {"clNavy", clNavy},
                                                       {"clPurple", clPurple},
                                                       {"clTeal", clTeal},
                                                       {"clGray", clGray},
                                                       {"clSilver", clSilver},
                                                       {"clRed", clRed},
                                                       {"clLime", clLime},
                                                       {"clYellow", clYellow},
                                                       {"clBlue", clBlue},
                                                       {"clFuchsia", clFuchsia},
                                                       {"clAqua", clAqua},
                                                       {"clWhite", clWhite},
                                                       {"clNone", clNone},
                                                       {"clScrollBar", clScrollBar},
                                                       {"clBackground", clBackground},
                                                       {"clActiveCaption", clActiveCaption},
                                                       {"clInactiveCaption", clInactiveCaption},
                                                       {"clMenu", clMenu},
                                                       {"clWindow", clWindow},
                                                       {"clWindowFrame", clWindowFrame},
                                                       {"clMenuText", clMenuText},
                                                       {"clWindowText", clWindowText},
                                                       {"clCaptionText", clCaptionText},
                                                       {"clActiveBorder", clActiveBorder},
                                                       {"clInactiveBorder", clInactiveBorder},
                                                       {"clAppWorkSpace", clAppWorkSpace},
                                                       {"clHighlight", clHighlight},
                                                       {"clHighlightText", clHighlightText},
                                                       {"clBtnFace", clBtnFace},
                                                       {"clBtnShadow", clBtnShadow},
                                                       {"clGrayText", clGrayText},
                                                       {"clBtnText", clBtnText},
                                                       {"clInactiveCaptionText", clInactiveCaptionText},
                                                       {"clBtnHighlight", clBtnHighlight},
                                                       {"cl3DDkShadow", cl3DDkShadow},
                                                       {"cl3DLight", cl3DLight},
                                                       {"clInfoText", clInfoText},
                                                       {"clInfoBk", clInfoBk}};

[[noreturn]] void Unknown(const TPersistent &obj, std::string_view name) {
  throw EPropertyError("unknown property " + std::string(name) + " of class " + obj.ClassName());
}
} // namespace

std::string ColorToText(TColor c) {
  for (auto &[name, value] : kColorNames)
    if (value == c) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
  return buf;
}

TColor ValueToColor(const TValue &v) {
  if (v.Kind == TValue::Integer) {
    if (v.Int < 0 || v.Int > 0xFFFFFFFFLL) throw EPropertyError("colour out of range: " + v.Describe());
    return static_cast<TColor>(v.Int);
  }
  if (v.Kind == TValue::Identifier)
    for (auto &[name, value] : kColorNames)
      if (SameText(name, v.Text)) return value;
  throw EPropertyError("expected a colour, found " + v.Describe());
}

std::string SetToText(uint32_t bits, const std::vector<std::string> &names) {
  std::string text = "[";
  for (size_t i = 0; i < names.size() && i < 32; ++i) {
    if (!(bits & (1u << i))) continue;
    if (text.size() > 1) text += ", ";
    text += names[i];
  }
  return text + "]";
}

int ValueToEnum(const TValue &v, const std::vector<std::string> &names) {
  if (v.Kind == TValue::Identifier)
    for (size_t i = 0; i < names.size(); ++i)
      if (SameText(names[i], v.Text)) return static_cast<int>(i);
  throw EPropertyError("unknown value " + v.Describe());
}

uint32_t ValueToSet(const TValue &v, const std::vector<std::string> &names) {
  if (v.Kind != TValue::Set) throw EPropertyError("expected a set [..], found " + v.Describe());
  uint32_t bits = 0;
  for (const std::string &m : v.Items) {
    TValue one;
    one.Kind = TValue::Identifier;
    one.Text = m;
    bits |= 1u << ValueToEnum(one, names);
  }
  return bits;
}

std::string BinaryToText(const std::vector<uint8_t> &bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) text += "\n  ";
    text += hex[bytes[i] >> 4];
    text += hex[bytes[i] & 15];
  }
  return text + "}";
}

TPropTarget ResolveProperty(const TPersistent &obj, std::string_view path) {
  const TPersistent *cur = &obj;
  for (;;) {
    size_t dot = path.find('.');
    std::string_view part = path.substr(0, dot);
    const TPropInfo *p = cur->ClassInfo().FindProperty(part);
    if (!p) Unknown(*cur, part);
    if (dot == std::string_view::npos) return {const_cast<TPersistent *>(cur), p};
    if (p->Kind != TPropKind::Object && p->Kind != TPropKind::StringList && p->Kind != TPropKind::Collection)
      throw EPropertyError("property " + std::string(part) + " of class " + cur->ClassName() +
                           " has no parts");
    const TPersistent *next = p->ObjectOf(*cur);
    if (!next)
      throw EPropertyError("property " + std::string(part) + " of class " + cur->ClassName() + " is empty");
    cur = next;
    path = path.substr(dot + 1);
  }
}

bool HasProperty(const TPersistent &obj, std::string_view path) {
  try {
    ResolveProperty(obj, path);
    return true;
  } catch (const EPropertyError &) {
    return false;
  }
}

std::string GetPropText(const TPersistent &obj, std::string_view path) {
  TPropTarget t = ResolveProperty(obj, path);
  switch (t.Prop->Kind) {
  case TPropKind::Event:
    return t.Prop->GetHandlerName(*t.Object);
  case TPropKind::Object:
  case TPropKind::Collection:
    return t.Prop->ObjectOf(*t.Object) ? t.Prop->ObjectOf(*t.Object)->ClassName() : "";
  default:
    return t.Prop->GetText ? t.Prop->GetText(*t.Object) : std::string();
  }
}

void SetPropValue(TPersistent &obj, std::string_view path, const TValue &value) {
  TPropTarget t = ResolveProperty(obj, path);
  const TPropInfo &p = *t.Prop;
  if (p.Kind == TPropKind::Component || p.Kind == TPropKind::Event || p.Kind == TPropKind::Object ||
      p.Kind == TPropKind::Collection)
    throw EPropertyError("property " + p.Name + " cannot be set from text");
  if (!p.SetValue) throw EPropertyError("property " + p.Name + " is read-only");
  p.SetValue(*t.Object, value);
  t.Object->MarkPropertySet(p.Name);
}

void SetPropText(TPersistent &obj, std::string_view path, std::string_view text) {
  TPropTarget t = ResolveProperty(obj, path);
  // A plain string property takes the text as it is; everything else is parsed.
  if (t.Prop->Kind == TPropKind::String) {
    TValue v;
    v.Kind = TValue::String;
    v.Text = std::string(text);
    SetPropValue(obj, path, v);
    return;
  }
  if (t.Prop->Kind == TPropKind::Component) {
    TComponent *c = nullptr;
    if (!text.empty()) {
      const auto *self = dynamic_cast<const TComponent *>(&obj);
      for (const TComponent *o = self; o && !c; o = o->Owner())
        c = o->FindComponent(text);
      if (!c) c = FindGlobalComponent(text);
      if (!c) throw EPropertyError("unknown component " + std::string(text));
    }
    SetComponentProp(obj, path, c);
    return;
  }
  SetPropValue(obj, path, ParseValueText(text));
}

TPersistent *GetObjectProp(const TPersistent &obj, std::string_view path) {
  TPropTarget t = ResolveProperty(obj, path);
  return t.Prop->ObjectOf ? t.Prop->ObjectOf(*t.Object) : nullptr;
}

TComponent *GetComponentProp(const TPersistent &obj, std::string_view path) {
  TPropTarget t = ResolveProperty(obj, path);
  return t.Prop->GetComponent ? t.Prop->GetComponent(*t.Object) : nullptr;
}

void SetComponentProp(TPersistent &obj, std::string_view path, TComponent *c) {
  TPropTarget t = ResolveProperty(obj, path);
  if (t.Prop->Kind != TPropKind::Component)
    throw EPropertyError("property " + t.Prop->Name + " is not a reference");
  t.Prop->SetComponent(*t.Object, c);
  t.Object->MarkPropertySet(t.Prop->Name);
  // References across owners are cleared through free notification when the target goes.
  if (auto *holder = dynamic_cast<TComponent *>(&obj); holder && c) holder->FreeNotification(c);
}

} // namespace qv

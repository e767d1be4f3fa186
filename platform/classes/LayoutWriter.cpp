// Writing components back as layout text.
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Layout.h"
#include "platform/classes/Properties.h"

namespace qv {

namespace {

void WriteProps(std::string &out, const TPersistent &obj, const std::string &prefix,
                const std::string &indent);

// Properties worth writing: set explicitly, or differing from a declared default.
bool ShouldWrite(const TPersistent &obj, const TPropInfo &p, const std::string &text) {
  if (obj.IsPropertySet(p.Name)) return true;
  return p.HasDefault && text != p.DefaultText;
}

void WriteProp(std::string &out, const TPersistent &obj, const TPropInfo &p, const std::string &prefix,
               const std::string &indent) {
  const std::string name = prefix + p.Name;
  switch (p.Kind) {
  case TPropKind::Event: {
    std::string h = p.GetHandlerName(obj);
    if (!h.empty()) out += indent + name + " = " + h + "\n";
    return;
  }
  case TPropKind::Object:
    if (const TPersistent *nested = p.ObjectOf(obj)) WriteProps(out, *nested, name + ".", indent);
    return;
  case TPropKind::Collection: {
    const auto *coll = dynamic_cast<const TCollection *>(p.ObjectOf(obj));
    if (!coll || coll->Count() == 0) return;
    out += indent + name + " = <";
    for (int i = 0; i < coll->Count(); ++i) {
      out += "\n" + indent + "  item\n";
      WriteProps(out, *coll->Items(i), "", indent + "    ");
      out += indent + "  end";
    }
    out += ">\n";
    return;
  }
  case TPropKind::StringList: {
    const auto *list = dynamic_cast<const TStrings *>(p.ObjectOf(obj));
    if (!list || list->Count() == 0) return;
    out += indent + name + " = (";
    for (const std::string &s : list->Items())
      out += "\n" + indent + "  " + QuoteString(s);
    out += ")\n";
    return;
  }
  case TPropKind::Component: {
    std::string target = p.GetText(obj);
    if (!target.empty()) out += indent + name + " = " + target + "\n";
    return;
  }
  case TPropKind::Binary: {
    std::string text = p.GetText(obj);
    if (text != "{}") out += indent + name + " = " + text + "\n";
    return;
  }
  default:
    break;
  }
  // A component's name is written in its object line; other objects (collection items) may publish
  // a name of their own.
  if (p.Name == "Name" && dynamic_cast<const TComponent *>(&obj)) return;
  std::string text = p.GetText(obj);
  if (!ShouldWrite(obj, p, text)) return;
  out += indent + name + " = " + (p.Kind == TPropKind::String ? QuoteString(text) : text) + "\n";
}

void WriteProps(std::string &out, const TPersistent &obj, const std::string &prefix,
                const std::string &indent) {
  for (const TPropInfo *p : obj.ClassInfo().AllProperties())
    WriteProp(out, obj, *p, prefix, indent);
}

void WriteNode(std::string &out, const TComponent &root, const TComponent &node, const std::string &indent) {
  out += indent + "object " + node.Name() + ": " + node.ClassName() + "\n";
  WriteProps(out, node, "", indent + "  ");
  for (int i = 0; i < root.ComponentCount(); ++i) {
    const TComponent *c = root.Components(i);
    const TComponent *parent = c->GetParentComponent();
    if (parent == &node || (&node == &root && parent == nullptr)) WriteNode(out, root, *c, indent + "  ");
  }
  out += indent + "end\n";
}

} // namespace

std::string WriteLayout(const TComponent &root) {
  std::string out;
  WriteNode(out, root, root, "");
  return out;
}

} // namespace qv

// Loading a parsed layout into a root component.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Layout.h"
#include "platform/classes/Properties.h"

namespace qv {

namespace {

class TLoader {
public:
  TLoader(TComponent &root, std::string_view name) : root_(root), name_(name) {}

  void Load(const TLayoutNode &node) {
    if (!root_.InheritsFrom(node.ClassName) && !SameText(root_.ClassName(), node.ClassName))
      Fail(node.Line, "layout is for class " + node.ClassName + ", not " + root_.ClassName());
    root_.SetLoading(true);
    try {
      if (root_.Name().empty()) root_.SetName(node.Name);
    } catch (const Exception &e) {
      Fail(node.Line, e.what());
    }
    LoadNode(root_, node);
    ResolveReferences();
    for (const std::string &field : root_.FieldNames())
      if (!root_.FindComponent(field)) Fail(node.Line, "layout lacks component " + field);
    for (TComponent *c : created_)
      c->Loaded();
    root_.Loaded();
  }

private:
  struct TFixup {
    TPersistent *Holder;
    const TPropInfo *Prop;
    std::string Target;
    int Line;
  };
  TComponent &root_;
  std::string name_;
  std::vector<TComponent *> created_;
  std::vector<TFixup> fixups_;

  [[noreturn]] void Fail(int line, const std::string &what) {
    throw ELayoutError("layout " + name_ + ", line " + std::to_string(line) + ": " + what);
  }

  void LoadNode(TComponent &comp, const TLayoutNode &node) {
    for (const TLayoutProp &p : node.Props)
      Apply(comp, p);
    for (const TLayoutNode &child : node.Children) {
      const TClassInfo *info = FindClassInfo(child.ClassName);
      if (!info) Fail(child.Line, "unknown class " + child.ClassName);
      if (!info->Create) Fail(child.Line, "class " + child.ClassName + " cannot be created from a layout");
      TComponent *c = info->Create(&root_);
      c->SetLoading(true);
      created_.push_back(c);
      try {
        c->SetName(child.Name);
        c->SetParentComponent(&comp);
      } catch (const Exception &e) {
        Fail(child.Line, e.what());
      }
      if (!root_.AssignField(c))
        Fail(child.Line,
             "component " + child.Name + " is a " + child.ClassName + ", not the class the form expects");
      LoadNode(*c, child);
    }
  }

  void Apply(TPersistent &target, const TLayoutProp &p) {
    TPropTarget t{};
    try {
      t = ResolveProperty(target, p.Path);
    } catch (const EPropertyError &e) {
      Fail(p.Line, e.what());
    }
    const TPropInfo &info = *t.Prop;
    switch (info.Kind) {
    case TPropKind::Event: {
      if (p.Value.Kind != TValue::Identifier) Fail(p.Line, "handler name expected for " + info.Name);
      const std::any *h = root_.FindHandler(p.Value.Text);
      if (!h) Fail(p.Line, "unknown handler " + p.Value.Text + " for " + info.Name);
      if (!info.BindHandler(*t.Object, *h, p.Value.Text))
        Fail(p.Line, "handler " + p.Value.Text + " does not fit event " + info.Name);
      return;
    }
    case TPropKind::Component:
      if (p.Value.Kind != TValue::Identifier) Fail(p.Line, "component name expected for " + info.Name);
      fixups_.push_back({t.Object, &info, p.Value.Text, p.Line});
      return;
    case TPropKind::Collection: {
      if (p.Value.Kind != TValue::Collection) Fail(p.Line, "collection <...> expected for " + info.Name);
      auto *coll = dynamic_cast<TCollection *>(info.ObjectOf(*t.Object));
      if (!coll) Fail(p.Line, "property " + info.Name + " holds no collection");
      coll->BeginUpdate();
      coll->Clear();
      for (const auto &item : p.Value.CollectionItems) {
        TCollectionItem *it = coll->Add();
        for (const TLayoutProp &ip : item)
          Apply(*it, ip);
      }
      coll->EndUpdate();
      t.Object->MarkPropertySet(info.Name);
      return;
    }
    default:
      try {
        info.SetValue ? info.SetValue(*t.Object, p.Value)
                      : throw EPropertyError("property " + info.Name + " is read-only");
        t.Object->MarkPropertySet(info.Name);
      } catch (const ELayoutError &) {
        throw;
      } catch (const Exception &e) {
        Fail(p.Line, std::string(e.what()) + " (property " + p.Path + ")");
      }
    }
  }

  TComponent *FindTarget(const std::string &target) {
    size_t dot = target.find('.');
    if (dot == std::string::npos) {
      if (SameText(target, root_.Name())) return &root_;
      return root_.FindComponent(target);
    }
    std::string rootName = target.substr(0, dot), rest = target.substr(dot + 1);
    TComponent *other = SameText(rootName, root_.Name()) ? &root_ : FindGlobalComponent(rootName);
    return other ? other->FindComponent(rest) : nullptr;
  }

  void ResolveReferences() {
    for (const TFixup &f : fixups_) {
      TComponent *c = FindTarget(f.Target);
      if (!c) Fail(f.Line, "unknown component " + f.Target + " for " + f.Prop->Name);
      try {
        f.Prop->SetComponent(*f.Holder, c);
      } catch (const Exception &e) {
        Fail(f.Line, std::string(e.what()) + " (property " + f.Prop->Name + ")");
      }
      f.Holder->MarkPropertySet(f.Prop->Name);
      if (auto *holder = dynamic_cast<TComponent *>(f.Holder)) holder->FreeNotification(c);
    }
  }
};

} // namespace

void LoadLayout(TComponent &root, const TLayoutNode &layout, std::string_view layoutName) {
  TLoader(root, layoutName).Load(layout);
}

void LoadLayout(TComponent &root, std::string_view text, std::string_view layoutName) {
  LoadLayout(root, ParseLayout(text, layoutName), layoutName);
}

} // namespace qv

// Loading layout text into plain components and writing it back: nesting, values of every kind,
// event bindings, references, collections, bound fields and the errors that name the line.
#include "platform/classes/Layout.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

enum class TShape { shNone, shBox, shRound };
enum : uint32_t { fsOne = 1, fsTwo = 2, fsThree = 4 };

class TPart : public TCollectionItem {
  QV_DECLARE_CLASS(TPart)
public:
  using TCollectionItem::TCollectionItem;
  std::string Label;
  int Size = 10;
};

// A component with a property of each kind that encloses the components nested in it.
class TNode : public TComponent {
  QV_DECLARE_CLASS(TNode)
public:
  explicit TNode(TComponent *owner)
      : TComponent(owner), parts_(this, [](TCollection *c) { return std::make_unique<TPart>(c); }) {}
  void SetParentComponent(TComponent *parent) override { parent_ = parent; }
  TComponent *GetParentComponent() const override { return parent_; }
  void Loaded() override {
    TComponent::Loaded();
    loadedWithPeer = peer_ != nullptr;
    ++loaded;
  }
  TNode *Peer() const { return peer_; }
  void SetPeer(TNode *n) { peer_ = n; }
  TCollection *Parts() { return &parts_; }

  std::string Caption;
  int Count = 0;
  TShape Shape = TShape::shNone;
  uint32_t Flags = 0;
  std::vector<uint8_t> Data;
  TNotifyEvent OnFire;
  int loaded = 0;
  bool loadedWithPeer = false;

private:
  TComponent *parent_ = nullptr;
  TNode *peer_ = nullptr;
  TCollection parts_;
};

const TClassInfo &TPart::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TPart, TCollectionItem>("TPart", [](auto &c) {
    c.String(
        "Label", [](const TPart &p) { return p.Label; }, [](TPart &p, const std::string &v) { p.Label = v; });
    c.Integer(
        "Size", [](const TPart &p) { return p.Size; }, [](TPart &p, int v) { p.Size = v; }, 10);
  });
  return info;
}

const TClassInfo &TNode::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TNode, TComponent>("TNode", [](auto &c) {
    c.String(
        "Caption", [](const TNode &n) { return n.Caption; },
        [](TNode &n, const std::string &v) { n.Caption = v; });
    c.Integer(
        "Count", [](const TNode &n) { return n.Count; }, [](TNode &n, int v) { n.Count = v; }, 0);
    c.Enum(
        "Shape", [](const TNode &n) { return n.Shape; }, [](TNode &n, TShape v) { n.Shape = v; },
        {"shNone", "shBox", "shRound"}, 0);
    c.Set(
        "Flags", [](const TNode &n) { return n.Flags; }, [](TNode &n, uint32_t v) { n.Flags = v; },
        {"fsOne", "fsTwo", "fsThree"}, 0);
    c.Binary(
        "Data", [](const TNode &n) { return n.Data; },
        [](TNode &n, const std::vector<uint8_t> &v) { n.Data = v; });
    c.Event("OnFire", &TNode::OnFire);
    c.template Reference<TNode>("Peer", &TNode::Peer, &TNode::SetPeer);
    c.CollectionProp("Parts", [](const TNode &n) { return const_cast<TNode &>(n).Parts(); });
  });
  return info;
}

// The root of a layout: registers its handlers and the field the loader fills.
class TRootNode : public TNode {
  QV_DECLARE_CLASS(TRootNode)
public:
  explicit TRootNode(TComponent *owner) : TNode(owner) {
    RegisterClasses<TNode>();
    RegisterHandler("Fired", this, &TRootNode::Fired);
    RegisterHandler("WrongShape", std::function<void(int)>([](int) {}));
  }
  void Fired(TObject *sender) { firedBy = sender; }
  TObject *firedBy = nullptr;
};

const TClassInfo &TRootNode::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TRootNode, TNode>("TRootNode", [](auto &) {});
  return info;
}

std::string LoadError(const std::string &text) {
  TRootNode root(nullptr);
  try {
    LoadLayout(root, text, "Nodes");
  } catch (const ELayoutError &e) {
    return e.what();
  }
  return "no error";
}

} // namespace

TEST(LayoutLoader, BuildsNestedComponentsWithEveryKindOfValue) {
  TRootNode root(nullptr);
  TNode *inner = nullptr;
  root.BindField("Inner", inner);
  LoadLayout(root, R"(
object Root: TRootNode
  Caption = '焊工' + '考证'
  Count = $10
  object Outer: TNode
    Shape = shRound
    Flags = [fsOne, fsThree]
    Peer = Inner
    Data = { 00 7F ff }
    OnFire = Fired
    Parts = <
      item
        Label = 'a'
        Size = 3
      end
      item
      end>
    object Inner: TNode
      Peer = Root
    end
  end
end
)",
             "Nodes");
  EXPECT_EQ(root.Name(), "Root");
  EXPECT_EQ(root.Caption, "焊工考证");
  EXPECT_EQ(root.Count, 16);
  auto *outer = dynamic_cast<TNode *>(root.FindComponent("outer"));
  ASSERT_NE(outer, nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(root.FindComponent("Inner"), inner);
  // Every component belongs to the root; the enclosing one is its parent.
  EXPECT_EQ(inner->Owner(), &root);
  EXPECT_EQ(outer->GetParentComponent(), &root);
  EXPECT_EQ(inner->GetParentComponent(), outer);
  EXPECT_EQ(outer->Shape, TShape::shRound);
  EXPECT_EQ(outer->Flags, fsOne | fsThree);
  EXPECT_EQ(outer->Data, (std::vector<uint8_t>{0x00, 0x7F, 0xFF}));
  // A reference written before its target is defined resolves, before Loaded runs.
  EXPECT_EQ(outer->Peer(), inner);
  EXPECT_TRUE(outer->loadedWithPeer);
  EXPECT_EQ(inner->Peer(), &root);
  EXPECT_EQ(root.loaded + outer->loaded + inner->loaded, 3);
  EXPECT_FALSE(inner->Loading());
  outer->OnFire(outer);
  EXPECT_EQ(root.firedBy, outer);
  EXPECT_EQ(GetPropText(*outer, "OnFire"), "Fired");
  ASSERT_EQ(outer->Parts()->Count(), 2);
  auto *second = static_cast<TPart *>(outer->Parts()->Items(1));
  EXPECT_EQ(static_cast<TPart *>(outer->Parts()->Items(0))->Size, 3);
  EXPECT_EQ(second->Size, 10);
  EXPECT_FALSE(second->IsPropertySet("Size"));
  // A referenced component freed later leaves no dangling reference.
  delete inner;
  EXPECT_EQ(outer->Peer(), nullptr);
}

TEST(LayoutLoader, ReferencesReachOtherRootsThroughTheGlobalFinder) {
  TRootNode other(nullptr);
  LoadLayout(other, "object fmOther: TRootNode\n  object Target: TNode\n  end\nend\n", "Other");
  SetGlobalComponentFinder(
      [&](std::string_view name) -> TComponent * { return SameText(name, other.Name()) ? &other : nullptr; });
  TRootNode root(nullptr);
  LoadLayout(root, "object R: TRootNode\n  Peer = fmOther.Target\nend\n", "Nodes");
  EXPECT_EQ(root.Peer(), other.FindComponent("Target"));
  std::string e = LoadError("object R: TRootNode\n  Peer = fmNowhere.Target\nend\n");
  SetGlobalComponentFinder(nullptr);
  EXPECT_NE(e.find("fmNowhere.Target"), std::string::npos) << e;
}

TEST(LayoutLoader, ErrorsNameTheLayoutTheLineAndWhatIsWrong) {
  struct TCase {
    const char *text;
    const char *line;
    const char *name;
  };
  const TCase cases[] = {
      {"object R: TRootNode\n  object X: TNoSuchNode\n  end\nend\n", "line 2", "TNoSuchNode"},
      {"object R: TRootNode\n  Count = 1\n  Colour = 2\nend\n", "line 3", "Colour"},
      {"object R: TRootNode\n  Shape = shStar\nend\n", "line 2", "shStar"},
      {"object R: TRootNode\n  Flags = [fsFour]\nend\n", "line 2", "fsFour"},
      {"object R: TRootNode\n  Count = 'many'\nend\n", "line 2", "Count"},
      {"object R: TRootNode\n  OnFire = NoSuchHandler\nend\n", "line 2", "NoSuchHandler"},
      {"object R: TRootNode\n  OnFire = WrongShape\nend\n", "line 2", "does not fit"},
      {"object R: TRootNode\n  Peer = Missing1\nend\n", "line 2", "Missing1"},
      {"object R: TRootNode\n  object A: TNode\n  end\n  object a: TNode\n  end\nend\n", "line 4", "a"},
      {"object R: TRootNode\n  object 1A: TNode\n  end\nend\n", "line 2", "component name expected"},
      {"object R: TOtherRoot\nend\n", "line 1", "TOtherRoot"},
      {"object R: TRootNode\n  Caption = 'open\nend\n", "line 2", "Nodes"},
      {"object R: TRootNode\n  object A: TNode\n", "line 3", "'end' expected"},
  };
  for (const TCase &c : cases) {
    std::string e = LoadError(c.text);
    EXPECT_NE(e.find("layout Nodes"), std::string::npos) << c.text << " -> " << e;
    EXPECT_NE(e.find(c.line), std::string::npos) << c.text << " -> " << e;
    EXPECT_NE(e.find(c.name), std::string::npos) << c.text << " -> " << e;
  }
}

TEST(LayoutLoader, BoundFieldsMustBeThereAndOfTheirClass) {
  TRootNode root(nullptr);
  TRootNode *field = nullptr;
  root.BindField("Child", field);
  try {
    LoadLayout(root, "object R: TRootNode\nend\n", "Nodes");
    FAIL();
  } catch (const ELayoutError &e) {
    EXPECT_NE(std::string(e.what()).find("Child"), std::string::npos) << e.what();
  }
  TRootNode other(nullptr);
  other.BindField("Child", field);
  EXPECT_THROW(LoadLayout(other, "object R: TRootNode\n  object Child: TNode\n  end\nend\n", "Nodes"),
               ELayoutError);
}

TEST(LayoutWriter, WritesWhatWasSetAndReadsItBackTheSame) {
  const char *text = R"(
object Root: TRootNode
  Caption = 'it''s'#13#10'成绩'
  object Outer: TNode
    Shape = shBox
    Flags = [fsTwo]
    Peer = Root
    OnFire = Fired
    Parts = <
      item
        Label = 'x'
      end>
  end
end
)";
  TRootNode root(nullptr);
  LoadLayout(root, text, "Nodes");
  std::string written = WriteLayout(root);
  EXPECT_NE(written.find("Shape = shBox"), std::string::npos) << written;
  EXPECT_NE(written.find("OnFire = Fired"), std::string::npos) << written;
  EXPECT_EQ(written.find("Count"), std::string::npos) << written; // neither set nor off its default
  EXPECT_EQ(written.find("Size"), std::string::npos) << written;
  TRootNode copy(nullptr);
  LoadLayout(copy, written, "Written");
  EXPECT_EQ(copy.Caption, "it's\r\n成绩");
  auto *outer = dynamic_cast<TNode *>(copy.FindComponent("Outer"));
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->Peer(), &copy);
  EXPECT_EQ(outer->Flags, fsTwo);
  EXPECT_EQ(WriteLayout(copy), written);
}

} // namespace qv

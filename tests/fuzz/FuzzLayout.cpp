// The layout parser and loader on arbitrary text: whatever parses is loaded into a root whose
// classes have a property of each kind; whatever loads is written and must load again.
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Layout.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace qv;

class TFuzzItem : public TCollectionItem {
  QV_DECLARE_CLASS(TFuzzItem)
public:
  using TCollectionItem::TCollectionItem;
  int Value = 0;
};

class TFuzzNode : public TComponent {
  QV_DECLARE_CLASS(TFuzzNode)
public:
  explicit TFuzzNode(TComponent *owner)
      : TComponent(owner), items_(this, [](TCollection *c) { return std::make_unique<TFuzzItem>(c); }) {
    RegisterHandler("Handler", this, &TFuzzNode::Handler);
  }
  void SetParentComponent(TComponent *) override {}
  void Handler(TObject *) {}
  std::string Text;
  int Kind = 0;
  uint32_t Bits = 0;
  std::vector<uint8_t> Bytes;
  TNotifyEvent OnEvent;
  TFuzzNode *Link = nullptr;
  TStrings Lines;
  TCollection items_;
};

const TClassInfo &TFuzzItem::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TFuzzItem, TCollectionItem>("TFuzzItem", [](auto &c) {
    c.Integer(
        "Value", [](const TFuzzItem &i) { return i.Value; }, [](TFuzzItem &i, int v) { i.Value = v; }, 0);
  });
  return info;
}

const TClassInfo &TFuzzNode::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TFuzzNode, TComponent>("TFuzzNode", [](auto &c) {
    c.String(
        "Text", [](const TFuzzNode &n) { return n.Text; },
        [](TFuzzNode &n, const std::string &v) { n.Text = v; });
    c.Enum(
        "Kind", [](const TFuzzNode &n) { return n.Kind; }, [](TFuzzNode &n, int v) { n.Kind = v; },
        {"kA", "kB"});
    c.Set(
        "Bits", [](const TFuzzNode &n) { return n.Bits; }, [](TFuzzNode &n, uint32_t v) { n.Bits = v; },
        {"bA", "bB", "bC"});
    c.Binary(
        "Bytes", [](const TFuzzNode &n) { return n.Bytes; },
        [](TFuzzNode &n, const std::vector<uint8_t> &v) { n.Bytes = v; });
    c.Event("OnEvent", &TFuzzNode::OnEvent);
    c.template Reference<TFuzzNode>(
        "Link", [](const TFuzzNode &n) { return n.Link; }, [](TFuzzNode &n, TFuzzNode *v) { n.Link = v; });
    c.StringList("Lines", [](const TFuzzNode &n) { return const_cast<TStrings *>(&n.Lines); });
    c.CollectionProp("Items", [](const TFuzzNode &n) { return const_cast<TCollection *>(&n.items_); });
  });
  return info;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  RegisterClasses<TFuzzNode>();
  const std::string text(reinterpret_cast<const char *>(data), size);
  try {
    TFuzzNode root(nullptr);
    LoadLayout(root, text, "Fuzz");
    const std::string written = WriteLayout(root);
    TFuzzNode again(nullptr);
    LoadLayout(again, written, "Written"); // what the writer wrote always loads
    if (WriteLayout(again) != written) __builtin_trap();
  } catch (const Exception &) {
  }
  return 0;
}

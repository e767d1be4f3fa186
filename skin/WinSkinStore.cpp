#include "skin/WinSkinStore.h"

#include "platform/classes/ClassBuilder.h"
#include "skin/SkinText.h"

#include <memory>

namespace qv {

const TClassInfo &TSkinCollectionItem::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TSkinCollectionItem, TCollectionItem>("TSkinCollectionItem", [](auto &c) {
        c.String("Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName);
        c.Binary("DataStream", &TSkinCollectionItem::DataStream,
                 [](TSkinCollectionItem &item, const TBytes &bytes) { item.SetDataStream(bytes); });
        c.String("SkinData", &TSkinCollectionItem::SkinData, &TSkinCollectionItem::SetSkinData,
                 std::string("Load Skin"));
      });
  return info;
}

const TClassInfo &TSkinCollection::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinCollection, TCollection>("TSkinCollection", [](auto &) {});
  return info;
}

const TClassInfo &TSkinStore::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinStore, TComponent>("TSkinStore", [](auto &c) {
    c.CollectionProp("Store", [](const TSkinStore &s) { return &const_cast<TSkinStore &>(s).Store(); });
  });
  return info;
}

TSkinCollectionItem::TSkinCollectionItem(TCollection *collection, int id)
    : TCollectionItem(collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string &name) {
  const auto *collection = static_cast<const TSkinCollection *>(Collection());
  const TSkinCollectionItem *other = collection ? collection->Find(name) : nullptr;
  if (other && other != this) throw Exception("The name " + name + " is already used.");
  name_ = name;
  MarkPropertySet("Name"); // a chosen name is written to the layout; a generated one is not
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem &source) {
  if (&source == this) return;
  SetName(source.name_);
  data_ = source.data_;
}

TSkinCollection::TSkinCollection(TPersistent *owner)
    : TCollection(owner,
                  [this](TCollection *c) { return std::make_unique<TSkinCollectionItem>(c, nextId_++); }) {}

const TSkinCollectionItem *TSkinCollection::Find(const std::string &name) const {
  for (int i = 0; i < Count(); ++i)
    if (AsciiSameText(Items(i).Name(), name)) return &Items(i);
  return nullptr;
}

void TSkinCollection::Assign(const TSkinCollection &source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (int i = 0; i < source.Count(); ++i) {
    TSkinCollectionItem &copy = Add();
    copy.SetDataStream(source.Items(i).DataStream());
    copy.SetName(source.Items(i).Name());
  }
  EndUpdate();
}

TSkinStore::TSkinStore(TComponent *owner) : TComponent(owner), store_(this) {}

} // namespace qv

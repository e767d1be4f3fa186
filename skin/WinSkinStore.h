#pragma once
// A store of packed skin packages, each kept under a unique name, as a layout can carry several
// skins and a program picks one at run time. A layout writes it as
//   Store = < item Name = 'Blue' DataStream = {...} end >
#include "platform/base/Exception.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "skin/SkinBytes.h"

#include <string>

namespace qv {

class TSkinCollection;

class TSkinCollectionItem : public TCollectionItem {
  QV_DECLARE_CLASS(TSkinCollectionItem)
public:
  // Names the item "SkinItem" + its collection ID.
  TSkinCollectionItem(TCollection *collection, int id);

  const std::string &Name() const { return name_; }
  // Throws Exception "The name X is already used." when another item of the collection has the
  // name (any letter case); the old name stays.
  void SetName(const std::string &name);
  int ID() const { return id_; }

  // The packed package, streamed in a layout as the binary property "DataStream".
  const TBytes &DataStream() const { return data_; }
  void SetDataStream(TBytes data) { data_ = std::move(data); }
  int DataSize() const { return static_cast<int>(data_.size()); }
  // The caption of the editor entry that loads a skin; writes are ignored.
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string &) {}

  // Copies the name and the whole package of another item.
  void Assign(const TSkinCollectionItem &source);

private:
  int id_;
  std::string name_;
  TBytes data_;
};

class TSkinCollection : public TCollection {
  QV_DECLARE_CLASS(TSkinCollection)
public:
  explicit TSkinCollection(TPersistent *owner);
  TSkinCollection(const TSkinCollection &) = delete;
  TSkinCollection &operator=(const TSkinCollection &) = delete;

  TSkinCollectionItem &Add() { return static_cast<TSkinCollectionItem &>(*TCollection::Add()); }
  TSkinCollectionItem &Items(int index) const {
    return static_cast<TSkinCollectionItem &>(*TCollection::Items(index));
  }
  // The item of that name (any letter case), or null.
  const TSkinCollectionItem *Find(const std::string &name) const;
  // Replaces every item with copies of the source's items.
  void Assign(const TSkinCollection &source);

private:
  int nextId_ = 0;
};

// The design-time container of skin packages: a component with the published collection "Store".
class TSkinStore : public TComponent {
  QV_DECLARE_CLASS(TSkinStore)
public:
  explicit TSkinStore(TComponent *owner = nullptr);

  TSkinCollection &Store() { return store_; }
  const TSkinCollection &Store() const { return store_; }
  void SetStore(const TSkinCollection &value) { store_.Assign(value); }

private:
  TSkinCollection store_;
};

} // namespace qv

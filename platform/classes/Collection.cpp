// TCollection and TCollectionItem.
#include "platform/classes/Collection.h"

#include "platform/classes/ClassBuilder.h"

#include <algorithm>
#include <cassert>

namespace qv {

const TClassInfo &TCollectionItem::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCollectionItem, TPersistent>("TCollectionItem", [](auto &) {});
  return info;
}

const TClassInfo &TCollection::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCollection, TPersistent>("TCollection", [](auto &) {});
  return info;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int index) {
  if (collection_) collection_->MoveItem(Index(), index);
}

void TCollectionItem::Changed() {
  if (collection_) collection_->Changed(this);
}

TCollection::TCollection(TPersistent *owner, TItemFactory factory)
    : owner_(owner), factory_(std::move(factory)) {
  assert(factory_);
}

TCollection::~TCollection() = default;

TCollectionItem *TCollection::Add() { return Insert(Count()); }

TCollectionItem *TCollection::Insert(int index) {
  if (index < 0 || index > Count())
    throw EPropertyError("collection index out of bounds (" + std::to_string(index) + ")");
  auto item = factory_(this);
  item->collection_ = this;
  TCollectionItem *raw = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  Changed(nullptr);
  return raw;
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count())
    throw EPropertyError("collection index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  Changed(nullptr);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed(nullptr);
}

int TCollection::IndexOf(const TCollectionItem *item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == item) return i;
  return -1;
}

void TCollection::MoveItem(int from, int to) {
  if (from < 0 || from >= Count()) return;
  to = std::clamp(to, 0, Count() - 1);
  if (from == to) return;
  auto item = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Changed(nullptr);
}

void TCollection::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    pending_ = false;
    Update(nullptr);
  }
}

void TCollection::Changed(TCollectionItem *item) {
  if (updating_ > 0) {
    pending_ = true;
    return;
  }
  Update(item);
}

void TCollection::Update(TCollectionItem *item) {
  if (OnUpdate) OnUpdate(item);
}

} // namespace qv

#include "skin/WinSkinStore.h"

#include "skin/SkinText.h"

namespace qv {

TSkinCollectionItem::TSkinCollectionItem(TSkinCollection &collection, int id)
    : collection_(&collection), id_(id), name_("SkinItem" + std::to_string(id)) {}

void TSkinCollectionItem::SetName(const std::string &name) {
  const TSkinCollectionItem *other = collection_->Find(name);
  if (other && other != this) throw Exception("The name " + name + " is already used.");
  name_ = name;
}

void TSkinCollectionItem::Assign(const TSkinCollectionItem &source) {
  if (&source == this) return;
  SetName(source.name_);
  data_ = source.data_;
}

TSkinCollectionItem &TSkinCollection::Add() {
  items_.push_back(std::make_unique<TSkinCollectionItem>(*this, nextId_++));
  return *items_.back();
}

void TSkinCollection::Delete(int index) { items_.erase(items_.begin() + index); }

const TSkinCollectionItem *TSkinCollection::Find(const std::string &name) const {
  for (const auto &item : items_)
    if (AsciiSameText(item->Name(), name)) return item.get();
  return nullptr;
}

void TSkinCollection::Assign(const TSkinCollection &source) {
  if (&source == this) return;
  items_.clear();
  for (const auto &item : source.items_) {
    TSkinCollectionItem &copy = Add();
    copy.SetDataStream(item->DataStream());
    copy.SetName(item->Name());
  }
}

} // namespace qv

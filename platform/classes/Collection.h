#pragma once
// TCollection and TCollectionItem: an owned, ordered list of persistent items with published
// properties (the grid's columns). Layouts write them as  Columns = < item ... end item ... end >.
#include "platform/classes/Component.h"

#include <functional>
#include <memory>
#include <vector>

namespace qv {

class TCollection;

class TCollectionItem : public TPersistent {
  QV_DECLARE_CLASS(TCollectionItem)
public:
  explicit TCollectionItem(TCollection *collection) : collection_(collection) {}
  TCollection *Collection() const { return collection_; }
  int Index() const;
  // Moves the item to another position; the others keep their order.
  void SetIndex(int index);

protected:
  // Tells the collection that this item changed (Update(this)).
  void Changed();

private:
  friend class TCollection;
  TCollection *collection_;
};

class TCollection : public TPersistent {
  QV_DECLARE_CLASS(TCollection)
public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection *)>;
  // owner: the persistent object that publishes the collection (may be null).
  TCollection(TPersistent *owner, TItemFactory factory);
  ~TCollection() override;

  TPersistent *Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem *Items(int i) const { return items_.at(i).get(); }
  // Appends a new item made by the factory and returns it.
  TCollectionItem *Add();
  TCollectionItem *Insert(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem *item) const;

  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }

  // Called when items change (item null: the list itself changed); not while updating.
  std::function<void(TCollectionItem *)> OnUpdate;

protected:
  virtual void Update(TCollectionItem *item);

private:
  friend class TCollectionItem;
  TPersistent *owner_;
  TItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int updating_ = 0;
  bool pending_ = false;
  void Changed(TCollectionItem *item);
  void MoveItem(int from, int to);
};

} // namespace qv

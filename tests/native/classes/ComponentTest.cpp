// Components: ownership, names, free notification, class information by name.
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

// A component with a published reference, to see references cleared.
class TLinker : public TComponent {
  QV_DECLARE_CLASS(TLinker)
public:
  explicit TLinker(TComponent *owner) : TComponent(owner) {}
  ~TLinker() override { ++destroyed; }
  TComponent *Target() const { return target_; }
  void SetTarget(TComponent *c) { target_ = c; }
  static inline int destroyed = 0;

private:
  TComponent *target_ = nullptr;
};

const TClassInfo &TLinker::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TLinker, TComponent>("TLinker", [](auto &c) {
    c.template Reference<TComponent>("Target", &TLinker::Target, &TLinker::SetTarget);
  });
  return info;
}

} // namespace

TEST(Component, OwnerFreesWhatItOwnsDepthFirst) {
  TLinker::destroyed = 0;
  auto *root = new TComponent(nullptr);
  auto *a = new TLinker(root);
  new TLinker(a);
  new TLinker(a);
  new TLinker(root);
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(a->ComponentCount(), 2);
  delete root;
  EXPECT_EQ(TLinker::destroyed, 4);
}

TEST(Component, FreeingAnOwnedComponentLeavesItsOwner) {
  TComponent root(nullptr);
  auto *a = new TLinker(&root);
  a->SetName("A");
  EXPECT_EQ(root.FindComponent("a"), a); // names compare without letter case
  delete a;
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.FindComponent("A"), nullptr);
}

TEST(Component, NamesAreIdentifiersUniqueAmongSiblings) {
  TComponent root(nullptr);
  auto *a = new TLinker(&root);
  auto *b = new TLinker(&root);
  a->SetName("Edit1");
  EXPECT_THROW(b->SetName("EDIT1"), EComponentError);
  EXPECT_THROW(b->SetName("1Edit"), EComponentError);
  EXPECT_THROW(b->SetName("Edit 1"), EComponentError);
  b->SetName("Edit2");
  EXPECT_EQ(b->Name(), "Edit2");
}

TEST(Component, ReferenceInSameOwnerIsClearedWhenTargetIsFreed) {
  TComponent root(nullptr);
  auto *holder = new TLinker(&root);
  auto *target = new TLinker(&root);
  holder->SetTarget(target);
  delete target;
  EXPECT_EQ(holder->Target(), nullptr);
}

TEST(Component, FreeNotificationClearsReferencesAcrossOwners) {
  auto *rootA = new TComponent(nullptr);
  auto *rootB = new TComponent(nullptr);
  auto *holder = new TLinker(rootA);
  auto *target = new TLinker(rootB);
  target->SetName("Target1");
  SetComponentProp(*holder, "Target", target); // asks for free notification
  EXPECT_EQ(GetPropText(*holder, "Target"), "Target1");
  delete rootB;
  EXPECT_EQ(holder->Target(), nullptr);
  // The holder going first must not leave the (freed) target a dangling notification entry.
  auto *rootC = new TComponent(nullptr);
  auto *target2 = new TLinker(rootC);
  SetComponentProp(*holder, "Target", target2);
  delete rootA;
  delete rootC;
}

TEST(ClassInfo, RegistryCreatesByNameAndReportsUnknownNames) {
  RegisterClasses<TLinker>();
  const TClassInfo *info = FindClassInfo("tlinker");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Name, "TLinker");
  EXPECT_TRUE(info->InheritsFrom("TComponent"));
  TComponent owner(nullptr);
  TComponent *made = info->Create(&owner);
  EXPECT_EQ(made->ClassName(), "TLinker");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(FindClassInfo("TNoSuchThing"), nullptr);
  try {
    ClassInfoByName("TNoSuchThing");
    FAIL();
  } catch (const EClassNotFound &e) {
    EXPECT_NE(std::string(e.what()).find("TNoSuchThing"), std::string::npos);
  }
}

} // namespace qv

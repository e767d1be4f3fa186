// The login window carries the packed default skin: loading its layout loads the package into
// SkinData1, which stays active; the skin store SkinStore1 comes with it.
#include "app/uLogin.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(LoginSkin, LoadingTheLoginWindowLoadsTheEmbeddedSkin) {
  Application->Initialize();
  Tfmlogin *login = nullptr;
  Application->CreateForm(login);
  auto *skin = dynamic_cast<TSkinData *>(login->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_FALSE(skin->NoSkinLoaded());
  EXPECT_TRUE(skin->Active());
  // The skin store sits beside it as a component of the layout.
  auto *store = dynamic_cast<TSkinStore *>(login->FindComponent("SkinStore1"));
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->Owner(), login);
  delete login;
}

} // namespace
} // namespace qv

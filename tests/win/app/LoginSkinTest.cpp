// The login window carries the packed default skin: loading its layout loads the package into
// SkinData1, which stays active.
#include "app/uLogin.h"
#include "skin/WinSkinData.h"

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
  delete login;
}

} // namespace
} // namespace qv

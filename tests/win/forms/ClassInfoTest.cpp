// The standard classes by name: inheritance tests and creation from the registry.
#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

TEST(ClassInfo, InheritsFromByNameForTheSkinnersClassTests) {
  RegisterStandardClasses();
  TComponent owner(nullptr);
  TBitBtn bit(&owner);
  EXPECT_EQ(bit.ClassName(), "TBitBtn");
  EXPECT_TRUE(bit.InheritsFrom("TButton"));
  EXPECT_TRUE(bit.InheritsFrom("twincontrol"));
  EXPECT_FALSE(bit.InheritsFrom("TCustomEdit"));
  TMemo memo(&owner);
  EXPECT_TRUE(memo.InheritsFrom("TCustomMemo"));
  EXPECT_TRUE(memo.InheritsFrom("TCustomEdit"));
  TCheckBox box(&owner);
  EXPECT_TRUE(box.InheritsFrom("TCustomCheckBox"));
  TForm form(nullptr);
  EXPECT_TRUE(form.InheritsFrom("TCustomForm"));
  EXPECT_FALSE(form.InheritsFrom("TCustomPanel"));
}

TEST(ClassInfo, StandardClassesAreCreatedByName) {
  RegisterStandardClasses();
  const TClassInfo *info = FindClassInfo("tlabel");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Name, "TLabel");
  TComponent owner(nullptr);
  TComponent *made = info->Create(&owner);
  EXPECT_EQ(made->ClassName(), "TLabel");
  EXPECT_EQ(made->Owner(), &owner);
  // Abstract classes have no factory.
  EXPECT_FALSE(FindClassInfo("TMenu")->Create);
}

} // namespace qv

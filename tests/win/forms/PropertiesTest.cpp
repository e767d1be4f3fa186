// Published properties by name as text, explicit-set flags and the errors of bad values.
#include "platform/classes/Properties.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

TEST(Properties, ReadAndWriteByNameAsText) {
  TComponent owner(nullptr);
  TLabel label(&owner);
  SetPropText(label, "Caption", "准考证号：");
  EXPECT_EQ(label.Caption(), "准考证号：");
  EXPECT_EQ(GetPropText(label, "caption"), "准考证号：");

  SetPropText(label, "Align", "alTop");
  EXPECT_EQ(label.Align(), TAlign::alTop);
  EXPECT_EQ(GetPropText(label, "Align"), "alTop");

  SetPropText(label, "Font.Name", "宋体");
  SetPropText(label, "Font.Height", "-21");
  SetPropText(label, "Font.Style", "[fsBold, fsItalic]");
  SetPropText(label, "Font.Color", "clRed");
  EXPECT_EQ(label.Font().Height(), -21);
  EXPECT_EQ(label.Font().Style(), fsBold | fsItalic);
  EXPECT_EQ(label.Font().Color(), clRed);
  EXPECT_EQ(GetPropText(label, "Font.Style"), "[fsBold, fsItalic]");
  EXPECT_EQ(GetPropText(label, "Font.Color"), "clRed");

  SetPropText(label, "Color", "$00123456");
  EXPECT_EQ(label.Color(), 0x123456u);
  EXPECT_EQ(GetPropText(label, "Color"), "$00123456");
  SetPropText(label, "Transparent", "True");
  EXPECT_EQ(GetPropText(label, "Transparent"), "True");
}

TEST(Properties, SkinEngineReadsButtonPropertiesByName) {
  TComponent owner(nullptr);
  TBitBtn b(&owner);
  EXPECT_EQ(GetPropText(b, "Layout"), "blGlyphLeft");
  EXPECT_EQ(GetPropText(b, "Margin"), "-1");
  EXPECT_EQ(GetPropText(b, "NumGlyphs"), "1");
  EXPECT_TRUE(HasProperty(b, "Glyph"));
  EXPECT_NE(dynamic_cast<TBitmap *>(GetObjectProp(b, "Glyph")), nullptr);
  EXPECT_NE(dynamic_cast<TFont *>(GetObjectProp(b, "Font")), nullptr);
  EXPECT_FALSE(HasProperty(b, "Images"));
  TPanel p(&owner);
  EXPECT_EQ(GetPropText(p, "ParentBackground"), "False");
  SetPropText(p, "ParentBackground", "True");
  EXPECT_TRUE(p.ParentBackground());
}

TEST(Properties, ExplicitFlagsRecordWhatWasSet) {
  TComponent owner(nullptr);
  TEdit edit(&owner);
  EXPECT_FALSE(edit.IsPropertySet("MaxLength"));
  EXPECT_EQ(GetPropText(edit, "MaxLength"), "0"); // the default, read at the time of reading
  SetPropText(edit, "MaxLength", "18");
  EXPECT_TRUE(edit.IsPropertySet("maxlength"));
  EXPECT_EQ(edit.MaxLength(), 18);
  // A nested object records its own flags.
  SetPropText(edit, "Font.Height", "-16");
  EXPECT_TRUE(edit.Font().IsPropertySet("Height"));
  EXPECT_FALSE(edit.Font().IsPropertySet("Name"));
  edit.MarkPropertySet("MaxLength", false);
  EXPECT_FALSE(edit.IsPropertySet("MaxLength"));
}

TEST(Properties, ParentFontFollowsUntilTheFontIsSet) {
  TForm form(nullptr);
  form.Font().SetHeight(-16);
  TLabel a(&form), b(&form);
  a.SetParent(&form);
  b.SetParent(&form);
  EXPECT_EQ(a.Font().Height(), -16);
  SetPropText(b, "Font.Height", "-21");
  EXPECT_FALSE(b.ParentFont());
  form.Font().SetName("楷体_GB2312");
  EXPECT_EQ(a.Font().Name(), "楷体_GB2312"); // still following the form
  EXPECT_NE(b.Font().Name(), "楷体_GB2312");
  EXPECT_EQ(b.Font().Height(), -21);
  SetPropText(b, "ParentFont", "True");
  EXPECT_EQ(b.Font().Height(), -16);
}

TEST(Properties, BadNamesAndValuesAreRefusedWithTheName) {
  TComponent owner(nullptr);
  TPanel p(&owner);
  auto message = [&](const char *path, const char *text) {
    try {
      SetPropText(p, path, text);
    } catch (const EPropertyError &e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_NE(message("Colour", "clRed").find("Colour"), std::string::npos);
  EXPECT_NE(message("Align", "alMiddle").find("alMiddle"), std::string::npos);
  EXPECT_NE(message("Width", "'wide'").find("wide"), std::string::npos);
  EXPECT_NE(message("Visible", "Yes").find("Yes"), std::string::npos);
  EXPECT_NE(message("Font.Style", "[fsHeavy]").find("fsHeavy"), std::string::npos);
  EXPECT_NE(message("Font.Nope", "1").find("Nope"), std::string::npos);
  EXPECT_NE(message("Width", "99999999999999999999").find("large"), std::string::npos);
  EXPECT_THROW(GetPropText(p, "NoSuchProperty"), EPropertyError);
  // Nothing was changed by the refused values.
  EXPECT_EQ(p.Align(), TAlign::alNone);
  EXPECT_TRUE(p.Visible());
}

TEST(Properties, StringListsAndBinaryBlocks) {
  TComponent owner(nullptr);
  TMemo memo(&owner);
  SetPropText(memo, "Lines", "( '考生注意事项' 'it''s' '' )");
  ASSERT_EQ(memo.Lines()->Count(), 3);
  EXPECT_EQ((*memo.Lines())[1], "it's");
  EXPECT_EQ(memo.Lines()->Text(), "考生注意事项\r\nit's\r\n\r\n");

  TImage image(&owner);
  TBitmap bmp;
  bmp.SetSize(3, 2);
  bmp.Pixels().At(0, 0) = 0x00FF0000; // red, top left
  bmp.Pixels().At(2, 1) = 0x000000FF; // blue, bottom right
  std::string hex = GetPropText(bmp, "Data");
  SetPropText(image, "Picture.Data", hex);
  EXPECT_EQ(image.Picture()->Width(), 3);
  EXPECT_EQ(image.Picture()->Height(), 2);
  EXPECT_EQ(image.Picture()->Pixels().At(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(image.Picture()->Pixels().At(2, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_THROW(SetPropText(image, "Picture.Data", "{ 424D0 }"), EPropertyError); // odd digit count
}

} // namespace qv

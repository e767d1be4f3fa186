// Layout values and the small containers: lexical forms, string lists, collections.
#include "platform/classes/Values.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Layout.h"

#include <gtest/gtest.h>

namespace qv {

TEST(Values, NumbersStringsAndCodesAsTheLayoutWritesThem) {
  EXPECT_EQ(ParseValueText("-21").Int, -21);
  EXPECT_EQ(ParseValueText("$00FF00").Int, 0xFF00);
  EXPECT_EQ(ParseValueText("-$10").Int, -16);
  EXPECT_EQ(ParseValueText("1.5").Kind, TValue::Float);
  // Quotes doubled, codes in decimal (UTF-8 out), parts joined directly or with '+'.
  EXPECT_EQ(ParseValueText("'it''s'").Text, "it's");
  EXPECT_EQ(ParseValueText("'a'#13#10'b'").Text, "a\r\nb");
  EXPECT_EQ(ParseValueText("#24352#19977").Text, "张三");
  EXPECT_EQ(ParseValueText("'1基础' +\n  '  '").Text, "1基础  ");
  EXPECT_EQ(ParseValueText("''").Text, "");
  TValue set = ParseValueText("[ ]");
  EXPECT_EQ(set.Kind, TValue::Set);
  EXPECT_TRUE(set.Items.empty());
  TValue list = ParseValueText("( 'a' 'b''c' )");
  ASSERT_EQ(list.Items.size(), 2u);
  EXPECT_EQ(list.Items[1], "b'c");
  TValue bin = ParseValueText("{ 0a 0B\n ff }");
  EXPECT_EQ(bin.Bytes, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF}));
  EXPECT_EQ(QuoteString("a'b\r\n"), "'a''b'#13#10");
  EXPECT_EQ(QuoteString(""), "''");
  EXPECT_EQ(ParseValueText(QuoteString("a'b\r\n")).Text, "a'b\r\n");

  for (const char *bad :
       {"'open", "#", "$", "[a b]", "( 'a' ", "{ 0g }", "{ 123 }", "'a' +", "12 13", "#9999999"}) {
    EXPECT_THROW(ParseValueText(bad), EPropertyError) << bad;
  }
}

TEST(Values, LayoutTextWithCommentsAndAByteOrderMark) {
  TLayoutNode root = ParseLayout("\xEF\xBB\xBFobject A: TForm // the window\n"
                                 "  // Caption = 'not this'\n"
                                 "  Caption = 'x' // trailing\n"
                                 "  object B: TPanel\n"
                                 "  end\n"
                                 "end\n",
                                 "L");
  EXPECT_EQ(root.Name, "A");
  ASSERT_EQ(root.Props.size(), 1u);
  EXPECT_EQ(root.Props[0].Value.Text, "x");
  EXPECT_EQ(root.Props[0].Line, 3);
  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Line, 4);
  EXPECT_THROW(ParseLayout("object A: TForm\nend\nend\n", "L"), ELayoutError);
  EXPECT_THROW(ParseLayout("object A TForm\nend\n", "L"), ELayoutError);
  try {
    ParseLayout("object A: TForm\n  Items = < item\n    X = 1\n", "Broken");
    FAIL();
  } catch (const ELayoutError &e) {
    EXPECT_NE(std::string(e.what()).find("layout Broken"), std::string::npos) << e.what();
  }
}

TEST(Strings, TextListsNotifyOncePerBatch) {
  TStrings s;
  int changes = 0;
  s.OnChange = [&] { ++changes; };
  s.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(s.Count(), 4);
  EXPECT_EQ(changes, 1);
  s.BeginUpdate();
  s.Add("Provider=SQLite");
  s.Add("Data Source=exam.db");
  s.Delete(0);
  EXPECT_EQ(changes, 1);
  s.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(s.Values("data source"), "exam.db");
  EXPECT_EQ(s.IndexOf("PROVIDER=sqlite"), 3);
  EXPECT_THROW(s.Delete(10), EPropertyError);
  EXPECT_THROW(s.Insert(-1, "x"), EPropertyError);
  s.SetText("");
  EXPECT_EQ(s.Count(), 0);
}

namespace {
class TItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  int Value = 0;
  void Touch() { Changed(); }
};
} // namespace

TEST(Collection, ItemsKeepOrderAndReportChanges) {
  std::vector<TCollectionItem *> updates;
  TCollection c(nullptr, [](TCollection *o) { return std::make_unique<TItem>(o); });
  c.OnUpdate = [&](TCollectionItem *i) { updates.push_back(i); };
  auto *a = static_cast<TItem *>(c.Add());
  auto *b = static_cast<TItem *>(c.Add());
  auto *d = static_cast<TItem *>(c.Add());
  EXPECT_EQ(updates.size(), 3u);
  d->SetIndex(0);
  EXPECT_EQ(c.Items(0), d);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(b->Index(), 2);
  updates.clear();
  b->Touch();
  ASSERT_EQ(updates.size(), 1u);
  EXPECT_EQ(updates[0], b);
  c.BeginUpdate();
  a->Touch();
  c.Delete(0);
  EXPECT_EQ(updates.size(), 1u);
  c.EndUpdate();
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_EQ(updates[1], nullptr); // one change of the whole list
  EXPECT_EQ(c.Count(), 2);
  EXPECT_THROW(c.Delete(5), EPropertyError);
}

} // namespace qv

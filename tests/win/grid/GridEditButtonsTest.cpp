// The column's EditButtons in the editor, with real windows: where they stand and how each
// style is drawn, clicks by mouse and by ShortCut with their events, the steps of plus, minus
// and up-down buttons posted to the database file, the drop-down menu, and loading from a layout.
#include "GridEditFixture.h"

#include "platform/classes/Layout.h"

namespace qv {

using namespace qv::test;

namespace {

struct EditButtonsTest : GridEditTest {
  void SetUp() override {
    GridEditTest::SetUp();
    number = grid->Columns()->Items(0); // sNo, an integer
    number->SetButtonStyle(TColumnButtonStyleEh::cbsNone);
    grid->SetSelectedIndex(0);
  }
  TEditButtonEh *AddButton(TEditButtonStyleEh style, int width = 0) {
    TEditButtonEh *b = number->EditButtons()->Add();
    b->SetStyle(style);
    b->SetWidth(width);
    b->SetVisible(true);
    b->OnClick = [this, b](TObject *sender, bool &) { clicks.push_back(sender == b ? b : nullptr); };
    b->OnDown = [this, b](TObject *sender, bool top) { downs.push_back({sender == b ? b : nullptr, top}); };
    return b;
  }
  // Pixels of colour c inside r of the editor's window.
  int CountColour(const TRect &r, COLORREF c) {
    HWND h = Editor()->Handle();
    SendMessageW(h, WM_NCPAINT, 1, 0);
    HDC dc = GetWindowDC(h);
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        n += GetPixel(dc, x, y) == c;
    ReleaseDC(h, dc);
    return n;
  }
  COLORREF WindowPixel(int x, int y) {
    HDC dc = GetWindowDC(Editor()->Handle());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(Editor()->Handle(), dc);
    return c;
  }
  TColumnEh *number = nullptr;
  std::vector<TEditButtonEh *> clicks;
  std::vector<std::pair<TEditButtonEh *, bool>> downs;
};

TEST_F(EditButtonsTest, VisibleItemsStandLeftOfTheStyleButtonEachDrawnInItsStyle) {
  number->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
  TEditButtonEh *drop = AddButton(TEditButtonStyleEh::ebsDropDownEh);
  AddButton(TEditButtonStyleEh::ebsEllipsisEh)->SetVisible(false);
  TEditButtonEh *glyph = AddButton(TEditButtonStyleEh::ebsGlyphEh, 24);
  AddButton(TEditButtonStyleEh::ebsUpDownEh);
  AddButton(TEditButtonStyleEh::ebsPlusEh);
  TEditButtonEh *minus = AddButton(TEditButtonStyleEh::ebsMinusEh);
  // A red square on white; white, the bottom-left colour, is left out.
  glyph->Glyph()->SetSize(8, 8);
  TCanvas &g = glyph->Glyph()->Canvas();
  g.Brush.SetColor(clWhite);
  g.FillRect({0, 0, 8, 8});
  g.Brush.SetColor(clRed);
  g.FillRect({1, 1, 7, 7});
  // Room for all six buttons and some text.
  grid->SetAutoFitColWidths(false);
  number->SetWidth(200);
  Press(VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  int bw = grid->EditButtonWidth();
  ASSERT_EQ(Editor()->EditButtonCount(), 6) << "five visible items and the ellipsis of the style";
  EXPECT_EQ(Editor()->EditButton(0).Item, drop);
  EXPECT_EQ(Editor()->EditButton(4).Item, minus);
  EXPECT_EQ(Editor()->EditButton(5).Item, nullptr);
  EXPECT_EQ(Editor()->ButtonsWidth(), 5 * bw + 24);
  RECT client{}, window{};
  GetClientRect(Editor()->Handle(), &client);
  GetWindowRect(Editor()->Handle(), &window);
  EXPECT_EQ(client.right, window.right - window.left - Editor()->ButtonsWidth());
  EXPECT_EQ(Editor()->EditButtonRect(5).Right, window.right - window.left);
  EXPECT_EQ(Editor()->EditButtonRect(1).Width(), 24);
  EXPECT_EQ(Editor()->EditButtonRect(0).Left, client.right);
  SaveWindowBmp(GetDesktopWindow(), "editbuttons.bmp");

  COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  EXPECT_GT(CountColour(Editor()->EditButtonRect(1), RGB(255, 0, 0)), 20) << "the glyph";
  for (int i : {0, 2, 3, 4, 5})
    EXPECT_GT(CountColour(Editor()->EditButtonRect(i), ink), 2) << "button " << i << " shows its sign";
  // Plus crosses, minus does not; the ellipsis shows dots beside its middle.
  auto vertical = [&](int i) {
    TRect r = Editor()->EditButtonRect(i);
    return WindowPixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 - 3) == ink;
  };
  EXPECT_TRUE(vertical(3));
  EXPECT_FALSE(vertical(4));
  TRect dots = Editor()->EditButtonRect(5);
  EXPECT_EQ(WindowPixel((dots.Left + dots.Right) / 2 - 4, (dots.Top + dots.Bottom) / 2), ink);
  // A held button is drawn pushed: the glyph moves one pixel.
  TRect gr = Editor()->EditButtonRect(1);
  int redUp =
      CountColour({gr.Left, gr.Top, gr.Left + gr.Width() / 2, gr.Top + gr.Height() / 2}, RGB(255, 0, 0));
  RECT wr{};
  GetWindowRect(Editor()->Handle(), &wr);
  SendMessageW(Editor()->Handle(), WM_NCLBUTTONDOWN, HTBORDER,
               MAKELPARAM(wr.left + gr.Left + 3, wr.top + gr.Top + 3));
  EXPECT_EQ(Editor()->EditButton(1).Press, TEditButtonPressEh::Pressed);
  int redDown =
      CountColour({gr.Left, gr.Top, gr.Left + gr.Width() / 2, gr.Top + gr.Height() / 2}, RGB(255, 0, 0));
  EXPECT_NE(redUp, redDown);
  ReleaseCapture();
  EXPECT_EQ(Editor()->EditButton(1).Press, TEditButtonPressEh::None);
  EXPECT_TRUE(clicks.empty()) << "taking the mouse away is no click";
}

TEST_F(EditButtonsTest, ClicksFireTheirButtonAndPlusMinusAndUpDownStepTheValue) {
  TEditButtonEh *plus = AddButton(TEditButtonStyleEh::ebsPlusEh);
  TEditButtonEh *minus = AddButton(TEditButtonStyleEh::ebsMinusEh);
  TEditButtonEh *updown = AddButton(TEditButtonStyleEh::ebsUpDownEh);
  TEditButtonEh *ellipsis = AddButton(TEditButtonStyleEh::ebsEllipsisEh);
  Press(VK_F2);
  ASSERT_EQ(Editor()->EditButtonCount(), 4) << "no button of its own for cbsNone";
  RECT client{}, window{};
  GetClientRect(Editor()->Handle(), &client);
  GetWindowRect(Editor()->Handle(), &window);
  ASSERT_GT(Editor()->ButtonsWidth(), window.right - window.left) << "more buttons than the cell holds";
  EXPECT_EQ(client.right, 0) << "no text area, and no negative one";
  EXPECT_EQ(Editor()->Text(), "1");
  ClickButton(0);
  ClickButton(0);
  EXPECT_EQ(Editor()->Text(), "3");
  ClickButton(1);
  EXPECT_EQ(Editor()->Text(), "2");
  ClickButton(2, true);
  ClickButton(2, true);
  ClickButton(2);
  EXPECT_EQ(Editor()->Text(), "1");
  ClickButton(3);
  EXPECT_EQ(Editor()->Text(), "1") << "an ellipsis only clicks";
  std::vector<TEditButtonEh *> expected = {plus, plus, minus, updown, updown, updown, ellipsis};
  EXPECT_EQ(clicks, expected);
  ASSERT_EQ(downs.size(), 7u);
  EXPECT_EQ(downs[3], std::make_pair(updown, false)) << "the lower half";
  EXPECT_EQ(downs[5], std::make_pair(updown, true));
  EXPECT_EQ(downs[0], std::make_pair(plus, true));

  // Let go elsewhere: pressed while held, no click.
  HWND h = Editor()->Handle();
  RECT wr{};
  GetWindowRect(h, &wr);
  TRect b = Editor()->EditButtonRect(0);
  SendMessageW(h, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(wr.left + b.Left + 3, wr.top + b.Top + 3));
  EXPECT_EQ(Editor()->EditButton(0).Press, TEditButtonPressEh::Pressed);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Editor()->EditButton(0).Press, TEditButtonPressEh::None);
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks.size(), 7u);
  EXPECT_EQ(Editor()->Text(), "1");

  // A handler that handles the click stops the step.
  plus->OnClick = [](TObject *, bool &handled) { handled = true; };
  ClickButton(0);
  EXPECT_EQ(Editor()->Text(), "1");
  ClickButton(1);
  ClickButton(1);
  EXPECT_EQ(Editor()->Text(), "-1");
  Press(VK_RETURN);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQType", -1), TypeOfRow(1)) << "the first record now has sNo -1";
}

TEST_F(EditButtonsTest, ShortCutPressesAndClicksItsButton) {
  TEditButtonEh *plus = AddButton(TEditButtonStyleEh::ebsPlusEh);
  TEditButtonEh *minus = AddButton(TEditButtonStyleEh::ebsMinusEh);
  TEditButtonEh *hidden = AddButton(TEditButtonStyleEh::ebsPlusEh);
  plus->SetShortCut(ShortCutOf('P', ssCtrl));
  minus->SetShortCut(32814); // Alt+Delete
  EXPECT_EQ(ShortCutOf(VK_DELETE, ssAlt), 32814);
  hidden->SetShortCut(ShortCutOf(VK_F9, 0));
  hidden->SetVisible(false);
  Type("10");
  Press('P', ssCtrl);
  Press('P', ssCtrl);
  EXPECT_EQ(Editor()->Text(), "12");
  Press(VK_DELETE, ssAlt);
  EXPECT_EQ(Editor()->Text(), "11");
  Press(VK_F9);
  EXPECT_EQ(Editor()->Text(), "11") << "an invisible button has no shortcut";
  std::vector<TEditButtonEh *> expected = {plus, plus, minus};
  EXPECT_EQ(clicks, expected);
  EXPECT_EQ(downs.size(), 3u);
  EXPECT_EQ(Editor()->EditButton(0).Press, TEditButtonPressEh::None) << "up again";
  Press(VK_RETURN);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(Stored("eQType", 11), TypeOfRow(1));
}

// The menu window of this thread that is showing, or nullptr.
HWND ShownMenu() { return FindThreadWindow("#32768"); }

TEST_F(EditButtonsTest, DropdownMenuOpensBelowItsButtonAndGoesWithTheMenu) {
  auto *menu = new TPopupMenu(form);
  auto *item = new TMenuItem(menu);
  item->SetCaption("清空");
  menu->Items()->Add(item);
  int chosen = 0, popups = 0;
  item->OnClick = [&](TObject *) { ++chosen; };
  menu->OnPopup = [&](TObject *) { ++popups; };
  AddButton(TEditButtonStyleEh::ebsEllipsisEh);
  TEditButtonEh *drop = AddButton(TEditButtonStyleEh::ebsDropDownEh);
  drop->SetDropdownMenu(menu);
  Press(VK_F2);
  RECT wr{};
  GetWindowRect(Editor()->Handle(), &wr);
  TRect b = Editor()->EditButtonRect(1);
  RECT shown{};
  bool pressedMeanwhile = false;
  // While the menu's own loop runs: note where it is, then choose its item by keys.
  std::function<void(int)> watch = [&](int tries) {
    After(50, [&, tries] {
      HWND m = ShownMenu();
      if (!m) {
        if (tries > 0)
          watch(tries - 1);
        else
          EndMenu();
        return;
      }
      GetWindowRect(m, &shown);
      pressedMeanwhile = Editor()->EditButton(1).Press == TEditButtonPressEh::Pressed;
      PostMessageW(m, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(m, WM_KEYDOWN, VK_RETURN, 0);
      After(3000, [] { EndMenu(); });
    });
  };
  watch(60);
  ClickButton(1);
  CancelPending();
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(shown.left, wr.left + b.Left);
  EXPECT_EQ(shown.top, wr.top + b.Bottom);
  EXPECT_TRUE(pressedMeanwhile);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(clicks.back(), drop) << "OnClick came first";
  EXPECT_EQ(Editor()->EditButton(1).Press, TEditButtonPressEh::None);
  // The button forgets a menu that is freed.
  delete menu;
  EXPECT_EQ(drop->DropdownMenu(), nullptr);
  ClickButton(1);
  EXPECT_EQ(clicks.size(), 2u);
}

const char *kButtonsLayout = R"(object EditForm: TForm
  Width = 500
  Height = 300
  object PopupMenu1: TPopupMenu
  end
  object DBGridEh1: TDBGridEh
    Width = 300
    Height = 200
    Columns = <
      item
        EditButtons = <
          item
            DropdownMenu = PopupMenu1
            ShortCut = 16464
            Style = ebsPlusEh
            Visible = True
            Width = 20
            OnClick = PlusClick
          end
          item
            Hint = '清空'
            NumGlyphs = 2
            Style = ebsGlyphEh
          end>
        FieldName = 'sNo'
        MRUList.Active = True
        MRUList.Items = (
          '焊条'
          '焊丝')
        MRUList.Limit = 5
        OnNotInList = NotInList
      end>
  end
end
)";

struct TButtonsForm : TForm {
  explicit TButtonsForm(TComponent *owner) : TForm(owner) {
    RegisterHandler("PlusClick", this, &TButtonsForm::PlusClick);
    RegisterHandler("NotInList", this, &TButtonsForm::NotInList);
    BindField("DBGridEh1", DBGridEh1);
    BindField("PopupMenu1", PopupMenu1);
  }
  void PlusClick(TObject *, bool &handled) { handled = true, ++plusClicks; }
  void NotInList(TObject *, const std::string &, bool &) {}
  TDBGridEh *DBGridEh1 = nullptr;
  TPopupMenu *PopupMenu1 = nullptr;
  int plusClicks = 0;
};

TEST(GridEditButtonsLayout, ButtonsAndTheMRUListLoadWithTheColumn) {
  Application->Initialize();
  RegisterGridClasses();
  auto *form = new TButtonsForm(nullptr);
  LoadLayout(*form, kButtonsLayout, "EditForm");
  TColumnEh *column = form->DBGridEh1->Columns()->Items(0);
  ASSERT_EQ(column->EditButtons()->Count(), 2);
  TEditButtonEh *plus = column->EditButtons()->Items(0), *glyph = column->EditButtons()->Items(1);
  EXPECT_EQ(plus->Style(), TEditButtonStyleEh::ebsPlusEh);
  EXPECT_EQ(plus->DropdownMenu(), form->PopupMenu1);
  EXPECT_EQ(plus->ShortCut(), ShortCutOf('P', ssCtrl));
  EXPECT_TRUE(plus->Visible());
  EXPECT_EQ(plus->Width(), 20);
  bool handled = false;
  plus->OnClick(plus, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(form->plusClicks, 1);
  EXPECT_EQ(glyph->Style(), TEditButtonStyleEh::ebsGlyphEh);
  EXPECT_EQ(glyph->Hint(), "清空");
  EXPECT_EQ(glyph->NumGlyphs(), 2);
  EXPECT_FALSE(glyph->Visible());
  EXPECT_EQ(glyph->Width(), 0);
  EXPECT_TRUE(column->MRUList()->Active());
  EXPECT_EQ(column->MRUList()->Limit(), 5);
  EXPECT_EQ(column->MRUList()->Items()->Items(), (std::vector<std::string>{"焊条", "焊丝"}));
  EXPECT_TRUE(static_cast<bool>(column->OnNotInList));
  delete form;
}

} // namespace
} // namespace qv

// The calculator window: its layout from the resource, every button by mouse, typed keys, the
// clipboard, and the popup that closes accepting or discarding without ever taking the focus.
#include "GridFixture.h"
#include "grid/CalculatorEh.h"

namespace qv {

using namespace qv::test;

namespace {

struct CalculatorTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    RegisterGridClasses();
    form = new TForm(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    calc = new TCalculatorEh(form);
    calc->SetParent(form);
    calc->SetLeft(10);
    calc->SetTop(10);
    form->Show();
    PumpUntil([this] { return IsWindowVisible(calc->Handle()) != FALSE; }, 2000);
  }
  void TearDown() override { delete form; }

  // A click in the middle of the button with this tag.
  void ClickButton(TCalculatorEh *c, int tag) {
    TSpeedButtonEh *b = c->Button(tag);
    ASSERT_NE(b, nullptr) << tag;
    LPARAM at = MAKELPARAM(b->Left() + b->Width() / 2, b->Top() + b->Height() / 2);
    SendMessageW(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(c->Handle(), WM_LBUTTONUP, 0, at);
  }
  void Type(TCalculatorEh *c, const std::string &keys) {
    for (char k : keys)
      SendMessageW(c->Handle(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(k)), 1);
  }

  TForm *form = nullptr;
  TCalculatorEh *calc = nullptr;
};

TEST_F(CalculatorTest, LayoutHasTheDisplayAndEveryButtonWhereItBelongs) {
  EXPECT_EQ(calc->Width(), 184);
  EXPECT_EQ(calc->Height(), 127);
  ASSERT_NE(calc->TextBox, nullptr);
  EXPECT_EQ(calc->TextBox->Caption(), "0");
  EXPECT_EQ(calc->pnlDisplay->BoundsRect(), (TRect{6, 4, 177, 23}));
  const char *captions[] = {"7", "8", "9", "/", "sqrt", "C",  "4", "5",   "6", "*", "%", "Cancel",
                            "1", "2", "3", "-", "1/x",  "<-", "0", "+/-", ".", "+", "Ok"};
  for (int tag = 1; tag <= 23; ++tag) {
    TSpeedButtonEh *b = calc->Button(tag);
    ASSERT_NE(b, nullptr) << tag;
    EXPECT_EQ(b->Caption(), captions[tag - 1]) << tag;
  }
  EXPECT_EQ(calc->Button(23), calc->spEqual);
  // "C" stops above "Cancel" instead of running on under it, where its caption would be hidden.
  EXPECT_EQ(calc->Button(6)->BoundsRect(), (TRect{151, 29, 178, 51}));
  EXPECT_EQ(calc->Button(12)->BoundsRect(), (TRect{151, 52, 178, 75}));
  EXPECT_EQ(calc->spEqual->BoundsRect(), (TRect{122, 101, 178, 123}));
  EXPECT_EQ(calc->Button(20)->BoundsRect(), (TRect{35, 101, 62, 123}));
  EXPECT_EQ(calc->Button(1)->Font().Color(), clBlue);
  EXPECT_EQ(calc->Button(4)->Font().Color(), clRed);
  SaveWindowBmp(calc->Handle(), "calculator.bmp");
}

TEST_F(CalculatorTest, EveryButtonSendsItsKey) {
  // Digits 7 8 9 4 5 6 1 2 3 0 and the separator, then Backspace.
  for (int tag : {1, 2, 3, 7, 8, 9, 13, 14, 15, 19, 21})
    ClickButton(calc, tag);
  EXPECT_EQ(calc->DisplayText(), "7894561230.");
  ClickButton(calc, 18);
  ClickButton(calc, 18);
  EXPECT_EQ(calc->TextBox->Caption(), "789456123");
  ClickButton(calc, 6); // C
  EXPECT_EQ(calc->TextBox->Caption(), "0");
  // 8 / 2 * 3 - 2 + 1 = 11, the equal button reading "=" while a second number is typed.
  for (int tag : {2, 4, 14, 10, 15, 16, 14, 22, 13})
    ClickButton(calc, tag);
  EXPECT_EQ(calc->spEqual->Caption(), "=");
  ClickButton(calc, 23);
  EXPECT_EQ(calc->TextBox->Caption(), "11");
  EXPECT_EQ(calc->spEqual->Caption(), "Ok");
  ClickButton(calc, 20); // +/-
  EXPECT_EQ(calc->TextBox->Caption(), "-11");
  ClickButton(calc, 20);
  ClickButton(calc, 17); // 1/x of 11, then of that again
  ClickButton(calc, 17);
  EXPECT_EQ(calc->TextBox->Caption(), "11");
  ClickButton(calc, 6);
  for (int tag : {3, 5}) // 9 sqrt
    ClickButton(calc, tag);
  EXPECT_EQ(calc->TextBox->Caption(), "3");
  for (int tag : {22, 19, 11}) // + 0 %: 3 % of 0 added
    ClickButton(calc, tag);
  EXPECT_EQ(calc->TextBox->Caption(), "3");
  ClickButton(calc, 12); // Cancel sends a key the engine ignores
  EXPECT_EQ(calc->TextBox->Caption(), "3");
}

TEST_F(CalculatorTest, TypedKeysAndTheClipboard) {
  calc->SetFocus();
  Type(calc, "12*3=");
  EXPECT_EQ(calc->TextBox->Caption(), "36");
  Type(calc, "\x03"); // Ctrl+C
  Type(calc, "c");
  Type(calc, "1/0\r");
  EXPECT_EQ(calc->TextBox->Caption(), "Error");
  Type(calc, "\x1b"
             "5");
  EXPECT_EQ(calc->TextBox->Caption(), "Error") << "Escape is not C";
  Type(calc, "C100+\x16="); // Ctrl+V pastes the 36 copied above
  EXPECT_EQ(calc->TextBox->Caption(), "136");
  calc->SetValue(2.5);
  EXPECT_EQ(calc->TextBox->Caption(), "2.5");
  Type(calc, "*4=");
  EXPECT_DOUBLE_EQ(calc->Value(), 10);
}

TEST_F(CalculatorTest, PopupAcceptsWithOkAndDiscardsWithEscapeOrCancel) {
  TEdit *edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(200, 10, 80, 24);
  edit->SetFocus();
  PumpUntil([&] { return edit->Focused(); }, 2000);
  auto *popup = new TPopupCalculatorEh(form);
  popup->SetOwnerWindow(form->Handle());
  std::vector<bool> closes;
  popup->OnCloseUp = [&](bool accept) {
    closes.push_back(accept);
    popup->Hide();
  };
  popup->SetValue(4);
  popup->ShowAt(100, 100);
  ASSERT_TRUE(popup->ListVisible());
  EXPECT_FALSE(GetWindowLongPtrW(popup->Handle(), GWL_STYLE) & WS_CHILD);
  RECT client{};
  GetClientRect(popup->Handle(), &client);
  EXPECT_EQ(client.right, 184);
  EXPECT_EQ(client.bottom, 127);
  // A click on a button leaves the focus where it was.
  ClickButton(popup, 22);
  ClickButton(popup, 14);
  Pump(10);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(GetForegroundWindow(), form->Handle());
  // "=" evaluates first; the second press (now "Ok") accepts.
  ClickButton(popup, 23);
  EXPECT_TRUE(closes.empty());
  EXPECT_EQ(popup->DisplayText(), "6");
  ClickButton(popup, 23);
  EXPECT_EQ(closes, std::vector<bool>{true});
  EXPECT_FALSE(popup->ListVisible());
  EXPECT_DOUBLE_EQ(popup->Value(), 6);

  popup->ShowAt(100, 100);
  popup->KeyPressed('\x1b');
  popup->ShowAt(100, 100);
  ClickButton(popup, 12);
  popup->ShowAt(100, 100);
  popup->KeyPressed('\r');
  EXPECT_EQ(closes, (std::vector<bool>{true, false, false, true}));
}

} // namespace
} // namespace qv

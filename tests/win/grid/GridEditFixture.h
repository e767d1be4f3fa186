#pragma once
// Shared fixture of the editing tests: the grid of GridFixture made writable, with helpers to
// type, press keys where the focus is, click the editor's button and read the database file back
// through a connection of its own; and a check of where a drop-down opens near the edges of the
// work area.
#include "GridFixture.h"
#include "grid/DBGridEhInplace.h"
#include "platform/base/Text.h"

namespace qv::test {

struct GridEditTest : GridTest {
  void SetUp() override {
    Build(5, 300, 300);
    grid->SetReadOnly(false);
    Application->OnException = [this](TObject *, const std::exception &e) { errors.push_back(e.what()); };
  }
  void TearDown() override {
    Application->OnException = nullptr;
    GridTest::TearDown();
  }
  TDBGridInplaceEdit *Editor() const { return dynamic_cast<TDBGridInplaceEdit *>(grid->InplaceEditor()); }
  // Characters typed where the focus is (the grid, or its editor once it shows).
  void Type(const std::string &utf8) { TypeAtFocus(utf8); }
  // A key where the focus is, with the shift keys held as given.
  void Press(WORD vk, uint32_t shift = 0) { PressAtFocus(vk, shift); }
  // A click on the editor's button; lower picks the lower half.
  void ClickEditButton(bool lower = false) {
    HWND h = Editor()->Handle();
    RECT wr{};
    GetWindowRect(h, &wr);
    int x = wr.right - Editor()->ButtonsWidth() / 2;
    int y = lower ? wr.bottom - 3 : wr.top + 3;
    SendMessageW(h, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(x, y));
    Pump(5);
  }
  // A click on button i of the editor (the mouse goes down and up on it); lower: its lower half.
  void ClickButton(int i, bool lower = false) {
    HWND h = Editor()->Handle();
    RECT wr{};
    GetWindowRect(h, &wr);
    TRect b = Editor()->EditButtonRect(i);
    POINT at{wr.left + (b.Left + b.Right) / 2, wr.top + (lower ? b.Bottom - 3 : b.Top + 3)};
    SendMessageW(h, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(at.x, at.y));
    ScreenToClient(h, &at);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump(5);
  }
  // The stored value of a column of the record with this sNo, read through a fresh connection.
  std::string Stored(const std::string &column, int sNo) {
    TConnection fresh;
    fresh.OpenDatabase(db->Path(), false);
    TStatement s = fresh.Prepare("select " + column + " from testpaper where sNo = ?");
    s.Bind(1, TDbValue(int64_t{sNo}));
    EXPECT_TRUE(s.Step());
    std::string v = IsNullValue(s.Column(0)) ? "<null>" : ValueToText(s.Column(0));
    fresh.Close();
    return v;
  }
  TField *Field(const char *name) { return db->Query().FieldByName(name); }
  std::vector<std::string> errors;
};

// Opens the drop-down of column i (by Alt+Down) with the grid's first row at each corner of the
// work area, and checks where it opened; saves a picture of the last corner as shot.
void CheckPlacementAtTheCorners(GridEditTest &t, int column, const char *shot);

} // namespace qv::test

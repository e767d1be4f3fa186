// The scroll-bar and combo-box skinners on real windows: where the skinned bars lie, what they
// show, that the mouse on them scrolls the control underneath as its own bar would, and that
// switching off and detaching give the control back.
#include "ScrollSkinFixture.h"

#include "skin/SkinComBox.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMessages.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

POINT Centre(const RECT &r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

int FirstVisibleLine(TMemo *memo) {
  return static_cast<int>(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

// The frame of a skin strip stretched over w x h (magenta where the strip is transparent).
PixelMap StretchedFrame(const TDataSkinObject &obj, int frame, int w, int h) {
  PixelMap m(w, h, PixelFromColor(kSkinTransparent));
  DrawSkinFrame(m, {0, 0, w, h}, obj.Image, false, obj.FrameCount, frame);
  return m;
}

PixelMap NinePart(const TDataSkinObject &obj, int frame, int w, int h) {
  return MakeSkinPart({w, h}, obj.Image, obj.Margins, false, obj.Tile != 0, obj.FrameCount, frame);
}

TEST_F(ScrollSkinTest, BarsLieOverTheControlsOwnAndShowTheSkinFrames) {
  auto *gridSkin = new TSkinScrollbar(grid);
  gridSkin->Attach(nullptr, data, true, nullptr);
  auto *memoSkin = new TSkinScrollbar(memo);
  memoSkin->Attach(nullptr, data, true, nullptr);
  Pump(50);

  // The question list has only its vertical bar; the memo both, with the corner between them.
  EXPECT_FALSE(gridSkin->HorzBar()->Shown());
  ASSERT_TRUE(gridSkin->VertBar()->Shown());
  ASSERT_TRUE(memoSkin->HorzBar()->Shown());
  ASSERT_TRUE(memoSkin->VertBar()->Shown());
  const RECT own = BarRect(grid->Handle(), OBJID_VSCROLL), over = ScreenRectOf(gridSkin->VertBar()->Handle());
  EXPECT_TRUE(EqualRect(&own, &over));
  EXPECT_EQ(WindowAt(Centre(own)), gridSkin->VertBar()->Handle());
  EXPECT_EQ(SendMessageW(gridSkin->VertBar()->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(grid->Handle(), WM_SKINQUERY, 0, 0), 1);

  // The drawn thumb is where the platform's own thumb is, so a press lands on the same part.
  for (int rec : {1, 30, 60}) {
    db->Query().SetRecNo(rec);
    Pump(20);
    const SCROLLBARINFO sbi = BarInfo(grid->Handle(), OBJID_VSCROLL);
    const RECT bar = sbi.rcScrollBar;
    const TScrollLayout l = gridSkin->VertBar()->Layout({bar.right - bar.left, bar.bottom - bar.top});
    EXPECT_EQ(l.Arrow, bar.right - bar.left) << rec;
    EXPECT_EQ(l.ThumbStart, sbi.xyThumbTop) << rec;
    EXPECT_EQ(l.ThumbStart + l.ThumbLength, sbi.xyThumbBottom) << rec;
  }

  // Arrows, thumb and track as the skin draws them (the vertical arrows are frames 9 and 13).
  db->Query().SetRecNo(30);
  Pump(20);
  const SCROLLBARINFO sbi = BarInfo(grid->Handle(), OBJID_VSCROLL);
  // (Wine reports the thumb's length in dxyLineButton: the arrows are as long as the bar is thick.)
  const int w = sbi.rcScrollBar.right - sbi.rcScrollBar.left, arrow = w;
  const int h = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
  const TSkinDataCore &skin = data->Skin();
  TScreenShot shot(sbi.rcScrollBar);
  shot.Save("scroll-grid-bar.bmp");
  EXPECT_EQ(shot.Mismatches(0, 0, StretchedFrame(*skin.Scrollbar, 9, w, arrow)), 0);
  EXPECT_EQ(shot.Mismatches(0, h - arrow, StretchedFrame(*skin.Scrollbar, 13, w, arrow)), 0);
  const int thumb = sbi.xyThumbBottom - sbi.xyThumbTop;
  const int grip = skin.Scrollbar->Image.Height();
  EXPECT_EQ(shot.Mismatches(0, sbi.xyThumbTop, NinePart(*skin.VertScrollThumb, 1, w, thumb),
                            (thumb - grip) / 2 - 1, (thumb + grip) / 2 + 1),
            0);
  const PixelMap track = NinePart(*skin.VertScroll, 1, w, h);
  EXPECT_EQ(shot.At(w / 2, arrow + 2), ColorFromPixel(track.At(w / 2, arrow + 2)));
  // The skin's grip glyph (frame 20) sits in the middle of the thumb.
  PixelMap glyph(w, thumb, PixelFromColor(kSkinTransparent));
  DrawSkinGlyph(glyph, {0, 0, w, thumb}, skin.Scrollbar->Image, false, skin.Scrollbar->FrameCount, 20);
  EXPECT_EQ(shot.Mismatches(0, sbi.xyThumbTop, glyph), 0);

  // The mouse over the down arrow: its hot frame (13 + 3); over the thumb: the thumb's frame 3.
  MoveTo({sbi.rcScrollBar.left + w / 2, sbi.rcScrollBar.bottom - arrow / 2});
  ASSERT_TRUE(PumpUntil([&] { return gridSkin->VertBar()->HotPart() == spLineDown; }));
  EXPECT_EQ(
      TScreenShot(sbi.rcScrollBar).Mismatches(0, h - arrow, StretchedFrame(*skin.Scrollbar, 16, w, arrow)),
      0);
  MoveTo({sbi.rcScrollBar.left + w / 2, sbi.rcScrollBar.top + sbi.xyThumbTop + 2});
  ASSERT_TRUE(PumpUntil([&] { return gridSkin->VertBar()->HotPart() == spThumb; }));
  {
    TScreenShot hot(sbi.rcScrollBar);
    EXPECT_EQ(hot.Mismatches(0, h - arrow, StretchedFrame(*skin.Scrollbar, 13, w, arrow)), 0);
    EXPECT_EQ(hot.Mismatches(0, sbi.xyThumbTop, NinePart(*skin.VertScrollThumb, 3, w, thumb),
                             (thumb - grip) / 2 - 1, (thumb + grip) / 2 + 1),
              0);
  }

  // The memo's corner square takes the button face; its border the skin's shadow and face.
  const RECT hr = BarRect(memo->Handle(), OBJID_HSCROLL), vr = BarRect(memo->Handle(), OBJID_VSCROLL);
  TScreenShot memoShot(ScreenRectOf(memo->Handle()));
  memoShot.Save("scroll-memo.bmp");
  const RECT mr = ScreenRectOf(memo->Handle());
  EXPECT_EQ(memoShot.At(vr.left + 2 - mr.left, hr.top + 2 - mr.top), ResolveColor(skin.Palette.ButtonFace));
  EXPECT_EQ(memoShot.At(0, 40), ResolveColor(skin.Palette.ButtonShadow));
  EXPECT_EQ(memoShot.At(1, 40), ResolveColor(skin.Palette.ButtonFace));
  TScreenShot formShot(ScreenRectOf(form->Handle()));
  formShot.Save("scroll-form.bmp");
}

TEST_F(ScrollSkinTest, MouseOnTheSkinnedBarsScrollsTheMemo) {
  auto *skinner = new TSkinScrollbar(memo);
  skinner->Attach(nullptr, data, false, nullptr);
  Pump(50);
  const SCROLLBARINFO sbi = BarInfo(memo->Handle(), OBJID_VSCROLL);
  const RECT bar = sbi.rcScrollBar;
  const int x = (bar.left + bar.right) / 2, arrow = bar.right - bar.left;
  ASSERT_EQ(FirstVisibleLine(memo), 0);

  // One click on the down arrow: one line.
  ClickAt({x, bar.bottom - arrow / 2});
  EXPECT_EQ(FirstVisibleLine(memo), 1);
  ClickAt({x, bar.top + arrow / 2});
  EXPECT_EQ(FirstVisibleLine(memo), 0);
  // On the track below the thumb: one page (the lines the memo shows).
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(memo->Handle(), SB_VERT, &si);
  ClickAt({x, bar.top + sbi.xyThumbBottom + 3});
  EXPECT_EQ(FirstVisibleLine(memo), static_cast<int>(si.nPage));
  // The skinned thumb followed.
  const SCROLLBARINFO moved = BarInfo(memo->Handle(), OBJID_VSCROLL);
  EXPECT_GT(moved.xyThumbTop, sbi.xyThumbTop);
  EXPECT_EQ(skinner->VertBar()->Layout({bar.right - bar.left, bar.bottom - bar.top}).ThumbStart,
            moved.xyThumbTop);

  // The thumb dragged to the end and back: the last page, then the first line.
  const int thumbMid = bar.top + (moved.xyThumbTop + moved.xyThumbBottom) / 2;
  Drag({x, thumbMid}, {x, bar.bottom + 10});
  EXPECT_EQ(FirstVisibleLine(memo), si.nMax - static_cast<int>(si.nPage) + 1);
  const SCROLLBARINFO end = BarInfo(memo->Handle(), OBJID_VSCROLL);
  Drag({x, bar.top + (end.xyThumbTop + end.xyThumbBottom) / 2}, {x, bar.top - 10});
  EXPECT_EQ(FirstVisibleLine(memo), 0);

  // The horizontal bar scrolls sideways.
  const RECT hbar = BarRect(memo->Handle(), OBJID_HSCROLL);
  ClickAt({hbar.right - arrow / 2, (hbar.top + hbar.bottom) / 2});
  EXPECT_GT(GetScrollPos(memo->Handle(), SB_HORZ), 0);
}

TEST_F(ScrollSkinTest, TheQuestionListStillScrollsAndSelectsWithMouseWheelAndKeys) {
  auto *skinner = new TSkinScrollbar(grid);
  skinner->Attach(nullptr, data, false, nullptr);
  Pump(50);
  TQuery &q = db->Query();
  const int page = grid->VisibleDataRowCount();
  ASSERT_GT(page, 3);
  ASSERT_EQ(q.RecNo(), 1);
  auto bar = [&] { return BarInfo(grid->Handle(), OBJID_VSCROLL); };
  auto thumbMatches = [&] {
    const SCROLLBARINFO sbi = bar();
    const RECT r = sbi.rcScrollBar;
    return skinner->VertBar()->Layout({r.right - r.left, r.bottom - r.top}).ThumbStart == sbi.xyThumbTop;
  };
  const RECT r = bar().rcScrollBar;
  const int x = (r.left + r.right) / 2, arrow = r.right - r.left;

  // The down arrow brings the record below the last shown into view and makes it current.
  ClickAt({x, r.bottom - arrow / 2});
  EXPECT_EQ(q.RecNo(), page + 1);
  EXPECT_TRUE(thumbMatches());
  // Paging on the track below the thumb.
  const int before = q.RecNo();
  ClickAt({x, r.top + bar().xyThumbBottom + 3});
  EXPECT_EQ(q.RecNo(), before + page);
  EXPECT_TRUE(thumbMatches());
  // The thumb to the end: the last question; to the top: the first.
  Drag({x, r.top + (bar().xyThumbTop + bar().xyThumbBottom) / 2}, {x, r.bottom + 10});
  EXPECT_EQ(q.RecNo(), 60);
  EXPECT_TRUE(thumbMatches());
  Drag({x, r.top + (bar().xyThumbTop + bar().xyThumbBottom) / 2}, {x, r.top - 10});
  EXPECT_EQ(q.RecNo(), 1);
  EXPECT_TRUE(thumbMatches());

  // A click on a row still selects it, the wheel and the keys still move.
  const RECT gr = ScreenRectOf(grid->Handle());
  POINT origin{0, 0};
  ClientToScreen(grid->Handle(), &origin);
  ClickAt({origin.x + ColX(1), origin.y + RowY(3)});
  EXPECT_EQ(q.RecNo(), 4);
  MoveTo(Centre(gr));
  SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
               MAKELPARAM(origin.x + 20, origin.y + 40));
  Pump(20);
  EXPECT_EQ(q.RecNo(), 5);
  // A turn of the wheel over the skinned bar scrolls the list too.
  SendMessageW(skinner->VertBar()->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
               MAKELPARAM(x, r.top + 40));
  Pump(20);
  EXPECT_EQ(q.RecNo(), 6);
  Key(VK_NEXT);
  Pump(20);
  EXPECT_GT(q.RecNo(), 6);
  EXPECT_TRUE(thumbMatches());
  Key(VK_END, ssCtrl);
  Pump(20);
  EXPECT_EQ(q.RecNo(), 60);
  EXPECT_TRUE(thumbMatches());
}

TEST_F(ScrollSkinTest, SkinEnableZeroGivesTheControlItsOwnBarsBack) {
  auto *skinner = new TSkinScrollbar(memo);
  skinner->Attach(nullptr, data, false, nullptr);
  Pump(50);
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  ASSERT_EQ(WindowAt(Centre(bar)), skinner->VertBar()->Handle());

  // Hidden with the control, shown again with it.
  memo->Hide();
  Pump(20);
  EXPECT_FALSE(skinner->VertBar()->Shown());
  EXPECT_FALSE(skinner->HorzBar()->Shown());
  memo->Show();
  Pump(20);
  EXPECT_TRUE(skinner->VertBar()->Shown());
  EXPECT_TRUE(skinner->HorzBar()->Shown());

  SendMessageW(memo->Handle(), WM_SKINENABLE, 0, 0);
  Pump(20);
  EXPECT_FALSE(skinner->VertBar()->Shown());
  EXPECT_FALSE(skinner->HorzBar()->Shown());
  EXPECT_EQ(WindowAt(Centre(bar)), memo->Handle());
  // Painting does not bring them back while switched off.
  RedrawWindow(memo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  Pump(20);
  EXPECT_FALSE(skinner->VertBar()->Shown());
  // The memo's own bar scrolls it.
  ClickAt({Centre(bar).x, bar.bottom - 4});
  EXPECT_EQ(FirstVisibleLine(memo), 1);

  SendMessageW(memo->Handle(), WM_SKINENABLE, 1, 0);
  Pump(20);
  EXPECT_TRUE(skinner->VertBar()->Shown());
  EXPECT_EQ(WindowAt(Centre(bar)), skinner->VertBar()->Handle());
}

TEST_F(ScrollSkinTest, DetachGivesTheControlsBackExactly) {
  auto children = [this] {
    std::vector<HWND> list;
    for (HWND w = GetWindow(form->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      list.push_back(w);
    return list;
  };
  const std::vector<HWND> before = children();
  const LONG_PTR memoStyle = GetWindowLongPtrW(memo->Handle(), GWL_STYLE);
  const TColor memoColour = memo->Color();
  const RECT bar = BarRect(memo->Handle(), OBJID_VSCROLL);
  // A list box without the framework around it, skinned by handle.
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 200, 260,
                              180, 80, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  for (int i = 0; i < 30; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"电焊"));
  const LONG_PTR listStyle = GetWindowLongPtrW(list, GWL_STYLE);
  const LONG_PTR listProc = GetWindowLongPtrW(list, GWLP_WNDPROC);

  auto *memoSkin = new TSkinScrollbar(memo);
  memoSkin->Attach(nullptr, data, true, nullptr);
  auto *listSkin = new TSkinScrollbarH(form);
  listSkin->AttachHandle(list, data, nullptr, nullptr);
  Pump(50);
  EXPECT_TRUE(listSkin->VertBar()->Shown());
  EXPECT_EQ(SendMessageW(list, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(memo->Color(), memoColour); // scroll-bar skinners leave the colour alone
  const HWND listBar = listSkin->VertBar()->Handle();

  delete memoSkin;
  delete listSkin;
  Pump(20);
  EXPECT_FALSE(IsWindow(listBar));
  std::vector<HWND> after = children();
  after.erase(std::remove(after.begin(), after.end(), list), after.end());
  EXPECT_EQ(after, before);
  EXPECT_EQ(GetWindowLongPtrW(memo->Handle(), GWL_STYLE), memoStyle);
  EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE), listStyle);
  EXPECT_EQ(GetWindowLongPtrW(list, GWLP_WNDPROC), listProc);
  EXPECT_EQ(SendMessageW(memo->Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(WindowAt(Centre(bar)), memo->Handle());
  ClickAt({Centre(bar).x, bar.bottom - 4});
  EXPECT_EQ(FirstVisibleLine(memo), 1);
  DestroyWindow(list);
}

TEST_F(ScrollSkinTest, ScrollBarControlIsSkinnedWholeAndStillScrolls) {
  HWND sb = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 200, 260, 180, 17,
                            form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 20, 5, 0, 0};
  SetScrollInfo(sb, SB_CTL, &si, TRUE);
  auto *skinner = new TSkinScControl(form);
  skinner->AttachHandle(sb, data, nullptr, nullptr);
  Pump(30);
  ASSERT_TRUE(skinner->Bar()->Shown());
  const RECT r = ScreenRectOf(sb);
  EXPECT_EQ(WindowAt(Centre(r)), skinner->Bar()->Handle());
  const int h = r.bottom - r.top;
  TScreenShot shot(r);
  EXPECT_EQ(shot.Mismatches(0, 0, StretchedFrame(*data->Skin().Scrollbar, 1, h, h)), 0); // left arrow
  EXPECT_EQ(shot.Mismatches(r.right - r.left - h, 0, StretchedFrame(*data->Skin().Scrollbar, 5, h, h)), 0);

  // A scroll-bar control's parent moves it: here the test plays the parent.
  int lines = 0;
  auto previous = form->WindowProc;
  form->WindowProc = [&](TMessage &m) {
    if (m.Msg == WM_HSCROLL && reinterpret_cast<HWND>(m.LParam) == sb && LOWORD(m.WParam) == SB_LINERIGHT) {
      ++lines;
      SetScrollPos(sb, SB_CTL, GetScrollPos(sb, SB_CTL) + 1, TRUE);
    }
    previous(m);
  };
  ClickAt({r.right - h / 2, (r.top + r.bottom) / 2});
  form->WindowProc = previous;
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(GetScrollPos(sb, SB_CTL), 1);
  // The skinned thumb moved with the position.
  EXPECT_GT(skinner->Bar()->Layout({r.right - r.left, h}).ThumbStart, h);
  delete skinner;
  DestroyWindow(sb);
}

TEST_F(ScrollSkinTest, ComboBoxShowsTheSkinFramesAndKeepsThePick) {
  auto *skinner = new TSkinComBox(combo);
  skinner->Attach(nullptr, data, false, nullptr);
  other->SetFocus();
  Pump(50);
  const RECT r = ScreenRectOf(combo->Handle());
  const int w = r.right - r.left, h = r.bottom - r.top;
  const TDataSkinBorder &button = *data->Skin().ComboButton;
  ASSERT_EQ(button.Style, 2); // the default skin's edge and button in one strip
  EXPECT_EQ(skinner->Frame(), 1);
  {
    TScreenShot shot(r);
    shot.Save("scroll-combo.bmp");
    EXPECT_EQ(shot.Mismatches(0, 0, NinePart(button, 1, w, h)), 0);
  }

  // Focused: frame 4.
  combo->SetFocus();
  Pump(30);
  EXPECT_EQ(skinner->Frame(), 4);
  EXPECT_EQ(TScreenShot(r).Mismatches(0, 0, NinePart(button, 4, w, h)), 0);

  // A click on the button drops the list down (frame 2 meanwhile); a click on an item picks it.
  ClickAt({r.right - 6, (r.top + r.bottom) / 2});
  ASSERT_TRUE(PumpUntil([this] { return SendMessageW(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  EXPECT_EQ(skinner->Frame(), 2);
  EXPECT_EQ(TScreenShot(r).Mismatches(0, 0, NinePart(button, 2, w, h)), 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo->Handle(), &info);
  const int itemHeight = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
  const RECT lr = ScreenRectOf(info.hwndList);
  ClickAt({(lr.left + lr.right) / 2, lr.top + 2 + itemHeight * 2 + itemHeight / 2});
  ASSERT_TRUE(PumpUntil([this] { return SendMessageW(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0) == 0; }));
  EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCURSEL, 0, 0), 2);
  Pump(30);
  EXPECT_EQ(combo->Text(), "判断题");
  EXPECT_EQ(skinner->Frame(), 4);

  // Disabled: frame 3.
  EnableWindow(combo->Handle(), FALSE);
  Pump(30);
  EXPECT_EQ(skinner->Frame(), 3);
  EXPECT_EQ(TScreenShot(r).Mismatches(0, 0, NinePart(button, 3, w, h)), 0);
}

TEST_F(ScrollSkinTest, SimpleComboBoxListGetsSkinnedBars) {
  auto *simple = new TTestCombo(form, CBS_SIMPLE);
  simple->SetParent(form);
  simple->SetBounds(200, 260, 180, 90);
  for (int i = 0; i < 20; ++i)
    SendMessageW(simple->Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"气焊"));
  auto *skinner = new TSkinComBox(simple);
  skinner->Attach(nullptr, data, false, nullptr);
  Pump(50);
  ASSERT_NE(skinner->ListSkinner(), nullptr);
  EXPECT_TRUE(skinner->ListSkinner()->VertBar()->Shown());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(simple->Handle(), &info);
  const RECT bar = BarRect(info.hwndList, OBJID_VSCROLL);
  EXPECT_EQ(WindowAt(Centre(bar)), skinner->ListSkinner()->VertBar()->Handle());
  ClickAt({Centre(bar).x, bar.bottom - 4});
  EXPECT_EQ(SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0), 1);
}

} // namespace
} // namespace qv::test

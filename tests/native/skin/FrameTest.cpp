// The non-client objects and the frame pictures of a skinned window, on skins built in memory.
#include "skin/SkinDraw.h"
#include "skin/SkinFramePaint.h"
#include "skin/SkinMenuBar.h"
#include "skin/WinSkinNc.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

constexpr Pixel kMagentaPixel = PixelFromColor(kSkinTransparent);

// A border picture of `frames` frames, frame k filled with colour k of `colours`.
std::unique_ptr<TDataSkinBorder> Border(const char *name, int w, int h, int frames,
                                        std::vector<TColor> colours, int trans = 0) {
  auto b = std::make_unique<TDataSkinBorder>();
  b->Name = name;
  b->FrameCount = frames;
  b->Trans = trans;
  b->Tile = 1;
  const bool stacked = b->Name == "Top" || b->Name == "Bottom";
  b->Image.Resize(stacked ? w : w * frames, stacked ? h * frames : h);
  for (int k = 0; k < frames; ++k)
    FillRect(b->Image, stacked ? Bounds(0, k * h, w, h) : Bounds(k * w, 0, w, h), colours[k]);
  return b;
}

std::unique_ptr<TDataSkinSysButton> Button(int action, int align, int x, int y, int w, int h, int frames,
                                           int visibility = 0, int visibility1 = 0) {
  auto b = std::make_unique<TDataSkinSysButton>();
  b->Action = action, b->Align = align, b->X = x, b->Y = y;
  b->Visibility = visibility, b->Visibility1 = visibility1;
  b->FrameCount = frames;
  if (w > 0) {
    b->Image.Resize(w, h);
    for (int k = 0; k < frames; ++k)
      FillRect(b->Image, Bounds(k * (w / frames), 0, w / frames, h), RGBColor(10 * (k + 1), 0, 0));
  }
  return b;
}

// A skin with a 4-pixel left and right border, a 30-pixel caption and a 4-pixel bottom, two
// frames each (active red, inactive blue), and title buttons close, maximise, minimise, icon.
struct Skin {
  TSkinDataCore core;
  Skin() {
    core.Left = Border("Left", 4, 60, 2, {clRed, clBlue});
    core.Right = Border("Right", 4, 60, 2, {clRed, clBlue});
    core.Top = Border("Top", 40, 30, 2, {clRed, clBlue});
    core.Bottom = Border("Bottom", 40, 4, 2, {clRed, clBlue});
    core.Title = std::make_unique<TDataSkinTitle>();
    core.SysButtons.push_back(Button(0, 1, 24, 3, 97, 17, 6));
    core.SysButtons.push_back(Button(1, 1, 44, 3, 80, 17, 4, 0, 0));
    core.SysButtons.push_back(Button(2, 1, 64, 3, 80, 17, 4, 0, 0));
    core.SysButtons.push_back(Button(3, 0, 6, 7, 0, 0, 1));
  }
};

TNcWindowFacts Facts(int width = 300) {
  TNcWindowFacts f;
  f.Width = width;
  f.BorderStyleKind = bkSizeable;
  f.TitleIcons = tiMaximiseBox | tiMinimiseBox | tiSystemMenu;
  return f;
}

TEST(FrameMetrics, ComeFromOneFrameOfEachBorderPicture) {
  Skin skin;
  EXPECT_EQ(FrameMetricsOf(skin.core, true, 19), (TFrameMetrics{4, 30, 4, 4, 19}));
  EXPECT_EQ(FrameMetricsOf(skin.core, false, 19), TFrameMetrics{});
}

TEST(TitleButtons, LayoutFollowsAlignAndRemembersTheRightGroup) {
  Skin skin;
  skin.core.SysButtons.push_back(Button(40, 2, 2, 4, 10, 10, 1)); // left of the caption text
  skin.core.SysButtons.push_back(Button(41, 3, 3, 4, 10, 10, 1)); // right of it
  skin.core.SysButtons.push_back(Button(42, 100, 5, 0, 10, 8, 1, 201));
  TNcObjects objects;
  objects.Build(skin.core, PixelMap(16, 16, kMagentaPixel));
  const TNcWindowFacts f = Facts(300);
  objects.CaptionTextRect = {50, 5, 120, 25};
  objects.UpdateVisibility(f);
  objects.LayoutTitleButtons(f, {4, 30, 4, 4, 20});
  const auto &b = objects.Buttons();
  EXPECT_EQ(b[0]->BoundsRect, Bounds(300 - 24, 3, 16, 17)); // 97 / 6 = 16
  EXPECT_EQ(b[1]->BoundsRect, Bounds(300 - 44, 3, 20, 17));
  EXPECT_EQ(b[3]->BoundsRect, Bounds(6, 7, 16, 16)); // the icon picture's copy, one frame
  EXPECT_EQ(b[4]->BoundsRect, Bounds(50 - 10 - 2, 4, 10, 10));
  EXPECT_EQ(b[5]->BoundsRect, Bounds(123, 4, 10, 10));
  EXPECT_EQ(b[6]->BoundsRect, Bounds(300 - 5 - 4, 30 + (20 - 8) / 2, 10, 8));
  // The caption text of a popup window stops left of the whole right-hand group.
  EXPECT_EQ(objects.RightButtonsLeft, 300 - 64);
}

TEST(TitleButtons, VisibilityRulesAndVetoes) {
  Skin skin;
  skin.core.SysButtons.push_back(Button(1, 1, 90, 3, 20, 17, 1, 6, 7)); // max box + sysmenu, no max box
  skin.core.SysButtons.push_back(Button(50, 1, 90, 3, 20, 17, 1, 1500));
  skin.core.SysButtons.push_back(Button(51, 1, 90, 3, 20, 17, 1, 1, 100));
  skin.core.SysButtons.push_back(Button(52, 1, 90, 3, 20, 17, 1, 0, 5));
  skin.core.SysButtons.push_back(Button(53, 1, 90, 3, 20, 17, 1, 200));
  TNcObjects objects;
  std::vector<std::pair<int, int>> asked;
  objects.AskVisibility = [&](int v, int action) {
    asked.emplace_back(v, action);
    return 1;
  };
  objects.Build(skin.core, {});
  TNcWindowFacts f = Facts();
  objects.UpdateVisibility(f);
  const auto &b = objects.Buttons();
  EXPECT_TRUE(b[1]->Visible);
  EXPECT_FALSE(b[4]->Visible); // needs "no maximise box" as well
  EXPECT_TRUE(b[5]->Visible);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1500, 50}}));
  EXPECT_FALSE(b[6]->Visible); // not maximised, and 100 repeats that
  EXPECT_FALSE(b[7]->Visible); // visibility 1 of 5: never
  EXPECT_FALSE(b[8]->Visible); // not dialog-framed
  f.WindowStateKind = wkMaximised;
  EXPECT_TRUE(objects.UpdateButtonVisibility(6, f));

  // Without a maximise box no action-1 button shows, whatever its values say.
  f.TitleIcons = tiMinimiseBox | tiSystemMenu;
  f.WindowStateKind = wkNormal;
  objects.UpdateVisibility(f);
  EXPECT_FALSE(b[1]->Visible);
  EXPECT_FALSE(b[4]->Visible);
  EXPECT_TRUE(b[2]->Visible);
  // A dialog-framed window shows no system icon; a dialog-framed form of a non-dialog class
  // shows the visibility-200 button.
  EXPECT_TRUE(b[3]->Visible);
  f.BorderStyleKind = bkDialog;
  objects.UpdateVisibility(f);
  EXPECT_FALSE(b[3]->Visible);
  EXPECT_TRUE(b[8]->Visible);
  f.DialogClass = true;
  EXPECT_FALSE(objects.UpdateButtonVisibility(8, f));
}

// Records the state each button is drawn in.
struct Recorder {
  TNcObjects objects;
  std::vector<std::pair<int, int>> drawn; // action, state
  explicit Recorder(const TSkinDataCore &skin) {
    objects.DrawButton = [this](TWinSysButton &b) { drawn.emplace_back(b.SkinButton.Action, b.State); };
    objects.Build(skin, {});
    const TNcWindowFacts f = Facts(300);
    objects.UpdateVisibility(f);
    objects.LayoutTitleButtons(f, {4, 30, 4, 4, 0});
  }
};

TEST(TitleButtons, ReleaseRunsOnlyOnTheHotPressedButton) {
  Skin skin;
  Recorder r(skin.core);
  const TPoint onClose{300 - 20, 10}, onMax{300 - 40, 10}, off{150, 10};
  TNCObject *close = r.objects.FindNCObject(onClose);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(r.objects.MouseMove(onClose), close);
  EXPECT_EQ(close->State, 3);
  EXPECT_EQ(r.objects.MouseDown(onClose), close);
  EXPECT_EQ(close->State, 2);
  EXPECT_EQ(r.objects.HotObject, close);
  // Off the button and released elsewhere: nothing runs.
  EXPECT_EQ(r.objects.MouseMove(off), nullptr);
  EXPECT_EQ(close->State, 1);
  EXPECT_EQ(r.objects.MouseUp(off), nullptr);
  // Released over another button that was never pressed: nothing runs either.
  r.objects.MouseDown(onClose);
  r.objects.MouseMove(off);
  EXPECT_EQ(r.objects.MouseUp(onMax), nullptr);
  // Pressed, off, back over it: hot (not pressed), and the release there runs it.
  r.objects.MouseDown(onClose);
  r.objects.MouseMove(off);
  r.objects.MouseMove(onClose);
  EXPECT_EQ(close->State, 3);
  EXPECT_EQ(r.objects.MouseUp(onClose), close);
  EXPECT_EQ(close->State, 3);
  EXPECT_EQ(r.drawn.front(), std::make_pair(0, 3));
  EXPECT_EQ(r.drawn[1], std::make_pair(0, 2));
}

TEST(TitleButtons, MovingAcrossButtonsAndTheHoverCheckLeaveTheHotOne) {
  Skin skin;
  Recorder r(skin.core);
  r.objects.MouseMove({300 - 20, 10});
  r.drawn.clear();
  r.objects.MouseMove({300 - 40, 10}); // close left, maximise entered
  EXPECT_EQ(r.drawn, (std::vector<std::pair<int, int>>{{0, 1}, {1, 3}}));
  r.objects.CheckHover({300 - 40, 12}); // still inside
  EXPECT_NE(r.objects.HotObject, nullptr);
  r.objects.CheckHover({5, 100}); // the mouse went away without a non-client message
  EXPECT_EQ(r.objects.HotObject, nullptr);
  EXPECT_EQ(r.drawn.back(), std::make_pair(1, 1));
}

TEST(TitleButtons, InactiveWindowsShowFrameFourOfFourFrameButtons) {
  TSkinDataCore skin;
  skin.SysButtons.push_back(Button(0, 0, 0, 0, 40, 4, 4));  // frames 10, 20, 30, 40 red
  skin.SysButtons.push_back(Button(2, 0, 10, 0, 30, 4, 3)); // three frames: frame 1 always
  TNcObjects objects;
  objects.Build(skin, {});
  TNcWindowFacts f = Facts(100);
  f.TitleIcons |= tiMinimiseBox;
  objects.UpdateVisibility(f);
  objects.LayoutTitleButtons(f, {});
  PixelMap caption(40, 4, 0);
  PaintTitleButtons(caption, objects, false);
  EXPECT_EQ(caption.At(2, 1), PixelFromColor(RGBColor(40, 0, 0)));
  EXPECT_EQ(caption.At(12, 1), PixelFromColor(RGBColor(10, 0, 0)));
  PaintTitleButtons(caption, objects, true);
  EXPECT_EQ(caption.At(2, 1), PixelFromColor(RGBColor(10, 0, 0)));
}

TEST(TitleButtons, ActionsAndCaptionDoubleClicks) {
  EXPECT_EQ(ActionOf(0), TNcAction::Close);
  EXPECT_EQ(ActionOf(22), TNcAction::MaximiseRestore);
  EXPECT_EQ(ActionOf(23), TNcAction::MinimiseRestore);
  EXPECT_EQ(ActionOf(12), TNcAction::SystemMenu);
  EXPECT_EQ(ActionOf(61), TNcAction::ChildRestore);
  EXPECT_EQ(ActionOf(5), TNcAction::Custom);
  Skin skin;
  Recorder r(skin.core);
  TNcWindowFacts f = Facts();
  EXPECT_EQ(CaptionDoubleClickOf(r.objects.Buttons()[3].get(), f), TCaptionDoubleClick::Close);
  EXPECT_EQ(CaptionDoubleClickOf(r.objects.Buttons()[0].get(), f), TCaptionDoubleClick::Nothing);
  EXPECT_EQ(CaptionDoubleClickOf(nullptr, f), TCaptionDoubleClick::Maximise);
  f.WindowStateKind = wkMaximised;
  EXPECT_EQ(CaptionDoubleClickOf(nullptr, f), TCaptionDoubleClick::Restore);
  f.WindowStateKind = wkNormal;
  f.TitleIcons = tiSystemMenu;
  EXPECT_EQ(CaptionDoubleClickOf(nullptr, f), TCaptionDoubleClick::Default);
}

TEST(FramePaint, InactiveWindowsShowTheSecondFrameOfEveryBorder) {
  Skin skin;
  const TFrameMetrics m = FrameMetricsOf(skin.core, true, 0);
  for (bool active : {true, false}) {
    const Pixel want = PixelFromColor(active ? clRed : clBlue);
    const auto pieces = BorderPieces(skin.core, m, {200, 100}, active);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].Place, (TRect{0, 0, 4, 100}));
    EXPECT_EQ(pieces[1].Place, (TRect{196, 0, 200, 100}));
    EXPECT_EQ(pieces[2].Place, (TRect{4, 96, 196, 100}));
    for (const auto &p : pieces)
      EXPECT_EQ(p.Picture.At(p.Picture.Width() - 1, p.Picture.Height() - 1), want);
    PixelMap caption(200, 30, 0);
    PaintCaptionBand(caption, skin.core, m, active);
    EXPECT_EQ(caption.At(0, 10), 0u); // the corner left to the left border
    EXPECT_EQ(caption.At(100, 29), want);
  }
  // A one-frame border shows its only frame when inactive.
  skin.core.Left = Border("Left", 4, 60, 1, {clGreen});
  EXPECT_EQ(BorderPieces(skin.core, m, {200, 100}, false)[0].Picture.At(1, 50), PixelFromColor(clGreen));
  // A window narrower than its borders has no bottom piece.
  EXPECT_EQ(BorderPieces(skin.core, m, {6, 100}, true).size(), 2u);
}

TEST(FramePaint, CaptionTextPlacement) {
  TDataSkinTitle title;
  title.Margins = {22, 4, 80, 0}; // TextShift, TextShiftVert, TextRightClip
  title.TextBackLeft = 6, title.TextBackRight = 6;
  const TFrameMetrics m{4, 30, 4, 4, 0};
  TNcWindowFacts f = Facts(400);
  f.BorderStyleKind = bkSingle;
  const TCaptionTextPlace p = PlaceCaptionText(title, m, 400, {100, 14}, f, false, 0);
  EXPECT_EQ(p.Back, (TRect{26, 10, 138, 24})); // 4 + 22; (30 - 14) / 2 + 4 / 2
  EXPECT_EQ(p.Text, (TRect{32, 10, 132, 24}));
  // A dialog-framed window draws the same text 16 pixels further left.
  f.BorderStyleKind = bkDialog;
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {100, 14}, f, false, 0).Back.Left, 26 - 16);
  f.BorderStyleKind = bkSingle;
  // Long text is clipped at the right clip; a popup window's at its right-hand buttons.
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {500, 14}, f, false, 0).Back.Right, 396 - 80);
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {500, 14}, f, true, 330).Back.Right, 325);
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {500, 14}, f, true, 4).Back.Right, 396 - 80);
  // Centred, and right-aligned for a right-to-left window.
  title.TextAlignment = 1;
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {100, 14}, f, false, 0).Back.Left, 4 + (392 - 112) / 2);
  f.RightToLeft = true;
  EXPECT_EQ(PlaceCaptionText(title, m, 400, {100, 14}, f, false, 0).Back.Left, 4 + 392 - 80 - 112);
}

bool Covers(const TFrameShape &shape, TPoint p) {
  return std::any_of(shape.Rects.begin(), shape.Rects.end(), [&](const TRect &r) { return r.Contains(p); });
}

TEST(FramePaint, ShapeIsCutFromTheMagentaPixelsOfTransparentBorders) {
  Skin skin;
  const TFrameMetrics m = FrameMetricsOf(skin.core, true, 0);
  EXPECT_TRUE(FrameShape(skin.core, m, {200, 100}, true).Whole);

  // Rounded top corners: magenta at the top-left of Left and the top-right of Right.
  skin.core.Left = Border("Left", 4, 60, 2, {clRed, clBlue}, 1);
  skin.core.Right = Border("Right", 4, 60, 2, {clRed, clBlue}, 1);
  skin.core.Left->Margins = {0, 30, 0, 4};
  skin.core.Right->Margins = {0, 30, 0, 4};
  for (int k = 0; k < 2; ++k) {
    skin.core.Left->Image.At(4 * k, 0) = kMagentaPixel;
    skin.core.Left->Image.At(4 * k + 1, 0) = PixelFromColor(RGBColor(255, 1, 255)); // within tolerance
    skin.core.Right->Image.At(4 * k + 3, 0) = kMagentaPixel;
  }
  skin.core.Right->Image.At(2, 0) = PixelFromColor(RGBColor(255, 2, 255)); // beyond tolerance
  const TFrameShape shape = FrameShape(skin.core, m, {200, 100}, true);
  EXPECT_FALSE(shape.Whole);
  EXPECT_FALSE(Covers(shape, {0, 0}));
  EXPECT_FALSE(Covers(shape, {1, 0}));
  EXPECT_TRUE(Covers(shape, {2, 0}));
  EXPECT_FALSE(Covers(shape, {199, 0}));
  EXPECT_TRUE(Covers(shape, {198, 0}));
  EXPECT_TRUE(Covers(shape, {0, 99}));
  EXPECT_TRUE(Covers(shape, {100, 50})); // client
  EXPECT_TRUE(Covers(shape, {100, 0}));  // caption, not transparent: whole

  // Only the bottom transparent still shapes the window.
  Skin bottomOnly;
  bottomOnly.core.Bottom = Border("Bottom", 40, 4, 2, {clRed, clBlue}, 1);
  bottomOnly.core.Bottom->Margins = {1, 0, 1, 0};
  bottomOnly.core.Bottom->Image.At(0, 3) = kMagentaPixel;
  const TFrameShape s2 = FrameShape(bottomOnly.core, m, {200, 100}, true);
  EXPECT_FALSE(s2.Whole);
  EXPECT_FALSE(Covers(s2, {4, 99}));
  EXPECT_TRUE(Covers(s2, {5, 99}));
}

// ---- Menu bar -----------------------------------------------------------------------------------

TNcObjects &MenuOf(TNcObjects &objects, std::vector<std::wstring> captions) {
  for (const auto &c : captions) {
    TMenuBtn &item = objects.AddMenuItem();
    item.Caption = c;
    item.Visible = true;
  }
  return objects;
}

TEST(MenuBar, ItemsAreLaidOutFromTheStartAndHitOnlyWithACaption) {
  TNcObjects objects;
  MenuOf(objects, {L"&File", L"", L"&Edit"});
  const TRect bar{4, 28, 296, 47};
  const auto places = LayoutMenuBar(objects.MenuItems(), {30, 0, 40}, bar, 10, false);
  EXPECT_EQ(places[0], (TRect{10, 0, 50, 18}));
  EXPECT_EQ(places[1], (TRect{50, 0, 50, 18})); // no text, no width
  EXPECT_EQ(places[2], (TRect{50, 0, 100, 18}));
  EXPECT_EQ(objects.MenuItems()[2]->BoundsRect, (TRect{54, 28, 104, 46}));
  EXPECT_EQ(objects.FindNCObject({60, 30}), objects.MenuItems()[2].get());
  objects.MenuItems()[1]->BoundsRect = {4, 28, 300, 47}; // an empty caption is never hit
  EXPECT_EQ(objects.FindNCObject({20, 30}), objects.MenuItems()[0].get());
  EXPECT_EQ(objects.FindNCObject({200, 30}), nullptr);
  // Right to left: from the end leftwards.
  const auto rtl = LayoutMenuBar(objects.MenuItems(), {30, 0, 40}, bar, 280, true);
  EXPECT_EQ(rtl[0], (TRect{240, 0, 280, 18}));
  EXPECT_EQ(rtl[2], (TRect{190, 0, 240, 18}));
  // Where items start.
  TDataSkinObject menuBar;
  menuBar.Image.Resize(10, 20);
  menuBar.Margins = {2, 0, 3, 0};
  EXPECT_EQ(MenuBarItemsStart(&menuBar, 300, false), 6);
  EXPECT_EQ(MenuBarItemsStart(&menuBar, 300, true), 300 - 11);
  EXPECT_EQ(MenuBarItemsStart(&menuBar, 5, false), 12);
  EXPECT_EQ(MenuBarItemsStart(nullptr, 300, false), 6);
}

TEST(MenuBar, AcceleratorsAndArrowKeyNeighbours) {
  TNcObjects objects;
  MenuOf(objects, {L"&File", L"Fish && &Chips", L"&Help", L"帮助(&H)"});
  const auto &items = objects.MenuItems();
  EXPECT_EQ(AcceleratorItem(items, L'f'), 0);
  EXPECT_EQ(AcceleratorItem(items, L'C'), 1);
  EXPECT_EQ(AcceleratorItem(items, L'h'), 2);
  items[2]->Enabled = false; // a disabled item is passed over
  EXPECT_EQ(AcceleratorItem(items, L'H'), 3);
  EXPECT_EQ(AcceleratorItem(items, L'x'), -1);
  EXPECT_EQ(NeighbourItem(4, 3, 1), 0);
  EXPECT_EQ(NeighbourItem(4, 0, -1), 3);
  EXPECT_EQ(NeighbourItem(4, 1, 1), 2);
}

TEST(MenuBar, SystemMenuEntriesFollowTheWindowState) {
  TNcWindowFacts f = Facts();
  f.WindowStateKind = wkMaximised;
  EXPECT_FALSE(SystemMenuEntry(0xF000, true, f).Enabled); // size
  EXPECT_FALSE(SystemMenuEntry(0xF010, true, f).Enabled); // move
  EXPECT_FALSE(SystemMenuEntry(0xF030, true, f).Enabled); // maximise
  EXPECT_EQ(SystemMenuEntry(0xF120, false, f).Glyph, 0);
  EXPECT_TRUE(SystemMenuEntry(0xF120, false, f).Enabled); // restore, whatever the platform says
  EXPECT_TRUE(SystemMenuEntry(0xF020, true, f).Enabled);
  f.WindowStateKind = wkNormal;
  EXPECT_FALSE(SystemMenuEntry(0xF120, true, f).Enabled);
  EXPECT_TRUE(SystemMenuEntry(0xF030, true, f).Enabled);
  f.TitleIcons = tiSystemMenu; // no boxes
  EXPECT_FALSE(SystemMenuEntry(0xF030, true, f).Enabled);
  EXPECT_FALSE(SystemMenuEntry(0xF020, true, f).Enabled);
  EXPECT_EQ(SystemMenuEntry(0xF060, false, f).Glyph, 3);
  EXPECT_FALSE(SystemMenuEntry(0xF060, false, f).Enabled);
  EXPECT_EQ(SystemMenuEntry(0x1234, true, f).Glyph, -1);
}

} // namespace
} // namespace qv

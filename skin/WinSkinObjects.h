#pragma once
// The skin objects and their load from a skin package (portable half of unit WinSkinData). Each
// object is one bitmap strip of equal frames with four margins (the nine-part grid), transparency
// and tile flags and state colours, known by the description section it was read from.
// TSkinDataCore holds one loaded skin: the objects, the palette and the colour lists; the
// TSkinData component (WinSkinData.h) wraps it.
#include "platform/base/Colors.h"
#include "platform/base/Geometry.h"
#include "platform/graphics/Pixels.h"
#include "skin/SkinBytes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class TQuickIni;
class TSkinReader;

class TDataSkinObject {
public:
  virtual ~TDataSkinObject() = default;

  TRect Margins;          // left, top, right, bottom widths of the nine-part grid
  PixelMap Image;         // the strip of frames
  int32_t Trans = 0;      // nonzero: magenta is transparent
  int32_t Tile = 0;       // 0 stretch the centre, 1 tile it (borders read it the other way)
  std::string Name;       // the section it was read from
  int32_t FrameCount = 1; // equal frames in Image
  int32_t Style = 0;
  int32_t NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
  TColor NormalColour2 = clBtnText, MouseOverColour2 = clBtnText, PressedColour2 = clBtnText;

  // Width of one frame laid side by side (the usual layout), height of one laid one above the other.
  int FrameWidth() const { return FrameCount > 0 ? Image.Width() / FrameCount : 0; }
  int FrameHeight() const { return FrameCount > 0 ? Image.Height() / FrameCount : 0; }
};

class TDataSkinBorder : public TDataSkinObject {
public:
  PixelMap Image2; // the section's second picture
};

class TDataSkinButton : public TDataSkinObject {
public:
  PixelMap CheckImage, RadioImage;
  int32_t RadioFrameCount = 0, CheckFrameCount = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
  int32_t Action = 0, Align = 0, X = 0, Y = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

// Margins.Left holds "TextShift", Margins.Top "TextShiftVert", Margins.Right "TextRightClip";
// Image is "TextBack".
class TDataSkinTitle : public TDataSkinObject {
public:
  int32_t TextAlignment = 0, TextBackground = 0, FontHeight = 14, TextBackLeft = 0, TextBackRight = 0;
  TColor ActiveTextColor = clNone, InactiveTextColor = clNone; // clNone: not given
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
  int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// Named colours of section "Colours"; defaults are system colours.
struct TSkinPalette {
  TColor WindowText = clWindowText, ButtonFace = clBtnFace, Scrollbar = clScrollBar,
         HilightText = clHighlightText, Hilight = clHighlight, Menubar = clBtnFace, Menu = clMenu,
         MenuText = clMenuText, ButtonText = clBtnText, ButtonHilight = clBtnHighlight,
         Buttonlight = clBtnHighlight, ButtonShadow = clBtnShadow, ButtonDkShadow = cl3DDkShadow,
         MenuBarText = clMenuText, TitleTextActive = clCaptionText, TitleTextNoActive = clInactiveCaptionText;
};

// What the load needs to know of the screen.
struct TSkinMetrics {
  int HScrollArrowWidth = 17; // system width of a horizontal scroll-bar arrow
};

// Built-in bitmaps the load and the menus use ("TRACK" 16x4, "TRACKVERT" 4x16, "TRELLISMENU"
// 64x16: restore, maximise, minimise, close on white). Unknown names give an empty bitmap.
PixelMap BuiltinSkinBitmap(const std::string &name);

class TSkinDataCore {
public:
  TSkinDataCore();
  ~TSkinDataCore();
  TSkinDataCore(const TSkinDataCore &) = delete;
  TSkinDataCore &operator=(const TSkinDataCore &) = delete;

  // Reads a packed package and builds every object. The data holds no skin from the start of the
  // load until it completes. A package that cannot be unpacked, is malformed or has an old mark is
  // refused: its message is shown once, false is returned and the data holds no skin until a later
  // load succeeds; the objects of the skin before stay untouched (windows painting with them go on).
  bool LoadPackage(const TBytes &packed);
  // The same for an archive that is already unpacked.
  bool LoadArchive(const TBytes &archive);
  // Marks the data as holding no skin (a load in progress, or a skin file that could not be read).
  void MarkNoSkin() { noSkinLoaded_ = true; }
  bool NoSkinLoaded() const { return noSkinLoaded_; }

  TSkinMetrics Metrics;

  std::string SkinName;
  TSkinPalette Palette;
  std::vector<TColor> NumberedColours;
  std::array<TColor, 10> CustomColours;

  // Always present after a load.
  std::unique_ptr<TDataSkinBorder> Left, Right, Top, Bottom;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinObject> Track, TrackVert, Toolbar;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  // Present when the description provides them.
  std::unique_ptr<TDataSkinBorder> Progress, Tabs, ComboButton, UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> MenuBar, GroupBoxEdge, StatusBarEdges, ToolBars, SunkEdge, ExtraImages,
      Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll, HorzScrollThumb,
      VertScrollThumb;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  // ThumbHorz, ThumbVert, ThumbLeft, ThumbRight, ThumbUp, ThumbDown.
  std::array<std::unique_ptr<TDataSkinObject>, 6> TrackbarThumbs;

  // Independent of any skin: the 16x16 menu glyphs (transparent white) of "TRELLISMENU".
  PixelMap MenuGlyphs;

  // Every present object, in load order (for painters that walk them all).
  std::vector<const TDataSkinObject *> Objects() const;

private:
  void LoadSkinObjects(const TSkinReader &reader);
  bool noSkinLoaded_ = true;
};

} // namespace qv

// The whole load of a skin: package, description and every object, in a fixed order (later
// objects read colours and images of earlier ones).
#include "skin/WinSkinObjects.h"

#include "platform/graphics/Bmp.h"
#include "skin/QuickIni.h"
#include "skin/SkinDraw.h"
#include "skin/SkinReader.h"
#include "skin/SkinText.h"

#include <algorithm>

namespace qv {

namespace {

const char *const kPersonality = "Personality";
const char *const kTrackbarThumbs[6] = {"Trackbar.ThumbHorz",  "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                                        "Trackbar.ThumbRight", "Trackbar.ThumbUp",   "Trackbar.ThumbDown"};

class Loader {
public:
  Loader(TSkinDataCore &skin, const TSkinReader &reader, const TQuickIni &ini)
      : skin_(skin), reader_(reader), ini_(ini) {}

  void Run();

private:
  int Int(const std::string &section, const std::string &key, int def) const {
    return ini_.ReadInteger(section, key, def);
  }
  static int AtMost(int value, int limit, int replacement) { return value > limit ? replacement : value; }

  // Fills `bitmap` from the package entry that `value` names; cleared unless the file name part
  // ends in ".bmp" exactly and the entry holds a readable bitmap.
  void LoadSkinBitmap(PixelMap &bitmap, const std::string &value) const;
  template <class T>
  std::unique_ptr<T> ImageRule(const std::string &section, const char *secondKey = nullptr);
  std::unique_ptr<TDataSkinBorder> BorderRule(const std::string &name);
  std::unique_ptr<TDataSkinBorder> BitmapRule(const std::string &section);
  std::unique_ptr<TDataSkinObject> MenuBarRule();
  void ReadPalette();
  void ReadButtons();
  void ReadTitle();
  void ReadSysButtons();
  void SetFixedFrameCounts();
  void BuildComboComposite();
  void BuildToolbar();
  std::unique_ptr<TDataSkinObject> Builtin(const char *name);

  TSkinDataCore &skin_;
  const TSkinReader &reader_;
  const TQuickIni &ini_;
  std::vector<std::string> sections_;
};

void Loader::LoadSkinBitmap(PixelMap &bitmap, const std::string &value) const {
  bitmap.Resize(0, 0);
  const std::size_t cut = value.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? value : value.substr(cut + 1);
  const std::size_t dot = name.find_last_of('.');
  if (name.empty() || dot == std::string::npos || name.substr(dot) != ".bmp") return;
  TBytes entry;
  reader_.ExtractFile(name, entry);
  if (!entry.empty()) DecodeBmp(entry, bitmap);
}

template <class T> std::unique_ptr<T> Loader::ImageRule(const std::string &section, const char *secondKey) {
  const std::string image = ini_.ReadString(section, "Image", "");
  if (image.empty()) return nullptr;
  auto obj = std::make_unique<T>();
  obj->Name = section;
  LoadSkinBitmap(obj->Image, image);
  obj->Style = Int(section, "Style", 0);
  obj->Margins = {Int(section, "LeftWidth", 0), Int(section, "TopHeight", 0), Int(section, "RightWidth", 0),
                  Int(section, "BottomHeight", 0)};
  obj->Trans = Int(section, "Trans", 0);
  obj->Tile = AtMost(Int(section, "Tile", 0), 1, 0);
  obj->NormalColour = Int(section, "NormalColour", -1);
  obj->MouseOverColour = Int(section, "MouseOverColour", -1);
  obj->PressedColour = Int(section, "PressedColour", -1);
  const TColor text = skin_.Palette.ButtonText;
  obj->NormalColour2 = ini_.ReadColor(section, "NormalColour2", text);
  obj->MouseOverColour2 = ini_.ReadColor(section, "MouseOverColour2", text);
  obj->PressedColour2 = ini_.ReadColor(section, "PressedColour2", text);
  if constexpr (std::is_base_of_v<TDataSkinBorder, T>) {
    if (secondKey) LoadSkinBitmap(obj->Image2, ini_.ReadString(section, secondKey, ""));
  }
  if constexpr (std::is_same_v<T, TDataSkinBoxLabel>) {
    obj->BackgroundAlignment = Int(section, "BackgroundAlignment", 0);
    obj->BackgroundLeftShift = Int(section, "BackgroundLeftShift", 0);
    obj->BackgroundRightShift = Int(section, "BackgroundRightShift", 0);
  }
  return obj;
}

std::unique_ptr<TDataSkinBorder> Loader::BorderRule(const std::string &name) {
  auto obj = std::make_unique<TDataSkinBorder>();
  obj->Name = name;
  const int first = Int(kPersonality, name + "TopHeight", 0),
            second = Int(kPersonality, name + "BotHeight", 0);
  if (name == "Left" || name == "Right")
    obj->Margins = {0, first, 0, second};
  else
    obj->Margins = {first, 0, second, 0};
  obj->FrameCount = Int(kPersonality, name + "Frame", 1);
  obj->Trans = Int(kPersonality, name + "Trans", 1);
  obj->Tile = AtMost(Int(kPersonality, name + "Stretch", 1), 1, 1);
  LoadSkinBitmap(obj->Image, ini_.ReadString(kPersonality, name, ""));
  return obj;
}

std::unique_ptr<TDataSkinBorder> Loader::BitmapRule(const std::string &section) {
  const std::string image = ini_.ReadString(section, "Bitmap", "");
  if (image.empty()) return nullptr;
  auto obj = std::make_unique<TDataSkinBorder>();
  obj->Name = section;
  LoadSkinBitmap(obj->Image, image);
  LoadSkinBitmap(obj->Image2, ini_.ReadString(section, "Chunk", ""));
  obj->Style = Int(section, "Style", 0);
  obj->Margins = {Int(section, "LeftWidth", 0), Int(section, "TopHeight", 0), Int(section, "RightWidth", 0),
                  Int(section, "BottomHeight", 0)};
  obj->Trans = Int(section, "Trans", 0);
  obj->Tile = AtMost(Int(section, "Tile", 0), 1, 1);
  return obj;
}

std::unique_ptr<TDataSkinObject> Loader::MenuBarRule() {
  const std::string image = ini_.ReadString(kPersonality, "menuBar", "");
  if (image.empty()) return nullptr;
  auto obj = std::make_unique<TDataSkinObject>();
  obj->Name = kPersonality;
  LoadSkinBitmap(obj->Image, image);
  obj->Tile = AtMost(Int(kPersonality, "TileMenu", 1), 1, 1);
  obj->Margins = {Int(kPersonality, "TileLeftMenu", 1), 0, Int(kPersonality, "TileRightMenu", 1), 0};
  return obj;
}

void Loader::ReadPalette() {
  TSkinPalette &p = skin_.Palette;
  const char *s = "Colours";
  p.WindowText = ini_.ReadColor(s, "WindowText", clWindowText);
  p.ButtonFace = ini_.ReadColor(s, "ButtonFace", clBtnFace);
  p.Scrollbar = ini_.ReadColor(s, "Scrollbar", clScrollBar);
  p.HilightText = ini_.ReadColor(s, "HilightText", clHighlightText);
  p.Hilight = ini_.ReadColor(s, "Hilight", clHighlight);
  p.Menubar = ini_.ReadColor(s, "Menubar", p.ButtonFace);
  p.Menu = ini_.ReadColor(s, "Menu", clMenu);
  p.MenuText = ini_.ReadColor(s, "MenuText", clMenuText);
  p.ButtonText = ini_.ReadColor(s, "ButtonText", clBtnText);
  p.ButtonHilight = ini_.ReadColor(s, "ButtonHilight", clBtnHighlight);
  p.Buttonlight = ini_.ReadColor(s, "Buttonlight", clBtnHighlight);
  p.ButtonShadow = ini_.ReadColor(s, "ButtonShadow", clBtnShadow);
  p.ButtonDkShadow = ini_.ReadColor(s, "ButtonDkShadow", cl3DDkShadow);
  p.MenuBarText = ini_.ReadColor(s, "MenuBarText", clMenuText);
  p.TitleTextActive = ini_.ReadColor(s, "TitleTextActive", clCaptionText);
  p.TitleTextNoActive = ini_.ReadColor(s, "TitleTextNoActive", clInactiveCaptionText);

  skin_.NumberedColours.clear();
  for (const std::string &section : sections_) {
    const std::string upper = AsciiUpper(section);
    if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
      skin_.NumberedColours.push_back(ini_.ReadColor(section, "color", clWindowText));
  }
  for (int i = 0; i < 10; ++i)
    skin_.CustomColours[static_cast<std::size_t>(i)] =
        ini_.ReadColor("Customcolors", "Color" + std::to_string(i), clWhite);
}

void Loader::ReadButtons() {
  const char *s = "Buttons";
  auto obj = std::make_unique<TDataSkinButton>();
  obj->Name = s;
  obj->Margins = {Int(s, "LeftWidth", 0), Int(s, "TopHeight", 0), Int(s, "RightWidth", 0),
                  Int(s, "BottomHeight", 0)};
  obj->Trans = Int(s, "Trans", 0);
  obj->Tile = AtMost(Int(s, "Tile", 0), 1, 0);
  LoadSkinBitmap(obj->Image, ini_.ReadString(s, "Bitmap", ""));
  LoadSkinBitmap(obj->CheckImage, ini_.ReadString(s, "CheckButton", ""));
  LoadSkinBitmap(obj->RadioImage, ini_.ReadString(s, "RadioButton", ""));
  obj->NormalColour = Int(s, "NormalColour", -1);
  obj->MouseOverColour = Int(s, "MouseOverColour", -1);
  obj->PressedColour = Int(s, "PressedColour", -1);
  obj->RadioFrameCount = Int(s, "RadioButtonFrame", 0);
  obj->CheckFrameCount = Int(s, "CheckButtonFrame", 0);
  obj->HasNormalColour2 = !ini_.ReadString(s, "NormalColour2", "").empty();
  obj->HasMouseOverColour2 = !ini_.ReadString(s, "MouseOverColour2", "").empty();
  obj->HasPressedColour2 = !ini_.ReadString(s, "PressedColour2", "").empty();
  const TColor text = skin_.Palette.ButtonText;
  obj->NormalColour2 = ini_.ReadColor(s, "NormalColour2", text);
  obj->MouseOverColour2 = ini_.ReadColor(s, "MouseOverColour2", text);
  obj->PressedColour2 = ini_.ReadColor(s, "PressedColour2", text);
  // Glyph strips without a frame count: narrow glyphs are 13 pixels wide, others 16.
  auto guess = [](const PixelMap &image) {
    return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
  };
  if (obj->CheckFrameCount == 0) obj->CheckFrameCount = guess(obj->CheckImage);
  if (obj->RadioFrameCount == 0) obj->RadioFrameCount = guess(obj->RadioImage);
  skin_.Buttons = std::move(obj);
}

void Loader::ReadTitle() {
  auto obj = std::make_unique<TDataSkinTitle>();
  obj->Name = "Title";
  LoadSkinBitmap(obj->Image, ini_.ReadString(kPersonality, "TextBack", ""));
  obj->Margins = {Int(kPersonality, "TextShift", 0), Int(kPersonality, "TextShiftVert", 0),
                  Int(kPersonality, "TextRightClip", 0), 0};
  obj->TextAlignment = Int(kPersonality, "TextAlignment", 0);
  obj->TextBackground = Int(kPersonality, "Textbackground", 0);
  obj->TextBackLeft = Int(kPersonality, "TXTBackleft", 0);
  obj->TextBackRight = Int(kPersonality, "TXTBackRight", 0);
  obj->FontHeight = Int("Fonts", "FontHeight", 14);
  auto colour = [&](const char *prefix) {
    const int r = Int(kPersonality, std::string(prefix) + "R", -1),
              g = Int(kPersonality, std::string(prefix) + "G", -1),
              b = Int(kPersonality, std::string(prefix) + "B", -1);
    return r >= 0 && g >= 0 && b >= 0 ? RGBColor(r, g, b) : clNone;
  };
  obj->ActiveTextColor = colour("ActiveText");
  obj->InactiveTextColor = colour("InActiveText");
  skin_.Title = std::move(obj);
}

void Loader::ReadSysButtons() {
  skin_.SysButtons.clear();
  for (const std::string &section : sections_) {
    const std::string upper = AsciiUpper(section);
    if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    // Hover pictures linked to another button are not buttons of their own.
    if (Int(section, "Action", 0) == -1 && Int(section, "Visibility", -1) != 0) continue;
    auto b = std::make_unique<TDataSkinSysButton>();
    b->Name = upper;
    b->Action = Int(section, "Action", 0);
    b->Align = Int(section, "Align", 0);
    b->X = Int(section, "Xcoord", 0);
    b->Y = Int(section, "Ycoord", 0);
    b->Visibility = Int(section, "Visibility", 0);
    b->Visibility1 = Int(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Int(section, "CombineOp", -1);
    b->FrameCount = Int(section, "frame", 0);
    LoadSkinBitmap(b->Image, ini_.ReadString(section, "ButtonImage", ""));
    if (b->FrameCount == 0) {
      b->FrameCount = 6;
      if (!b->Image.Empty()) {
        b->FrameCount = static_cast<double>(b->Image.Width()) / b->Image.Height() <= 3.8 ? 3 : 6;
        if (b->Action < 0) b->FrameCount = 6;
        if (b->Action == 3 || b->Action == 11) b->Image.Resize(0, 0);
      }
    }
    skin_.SysButtons.push_back(std::move(b));
  }

  // Minimise, restore and close of a maximised child window, shown in the menu bar.
  PixelMap mdi;
  LoadSkinBitmap(mdi, ini_.ReadString("MDICONTROLS", "Image", ""));
  const int w = mdi.Width() / 12;
  for (int k = 0; k < 3; ++k) {
    auto b = std::make_unique<TDataSkinSysButton>();
    b->Name = "MDICONTROL" + std::to_string(k + 1);
    b->Action = 7 + k;
    b->Align = 100;
    b->Visibility = b->Visibility1 = 100;
    b->FrameCount = 4;
    if (!mdi.Empty() && w > 0) {
      b->Image.Resize(4 * w, mdi.Height());
      StretchPixels(b->Image, {0, 0, 4 * w, mdi.Height()}, mdi,
                    {4 * w * k, 0, 4 * w * (k + 1), mdi.Height()});
      b->X = (w + 4) * (3 - k);
    }
    skin_.SysButtons.push_back(std::move(b));
  }
}

std::unique_ptr<TDataSkinObject> Loader::Builtin(const char *name) {
  auto obj = std::make_unique<TDataSkinObject>();
  obj->Name = name;
  obj->Image = BuiltinSkinBitmap(name);
  obj->Margins = {3, 3, 3, 3};
  obj->Tile = 0;
  obj->FrameCount = 1;
  return obj;
}

void Loader::SetFixedFrameCounts() {
  auto set = [](TDataSkinObject *obj, int frames) {
    if (obj) obj->FrameCount = frames;
  };
  set(skin_.Buttons.get(), 5);
  set(skin_.Title.get(), 2);
  set(skin_.Progress.get(), 2);
  set(skin_.MenuBar.get(), 2);
  set(skin_.GroupBoxEdge.get(), 2);
  set(skin_.GroupBox.get(), 1);
  set(skin_.Tabs.get(), 5);
  set(skin_.StatusBarEdges.get(), 3);
  set(skin_.ToolBars.get(), 5);
  set(skin_.ComboButton.get(), 4);
  set(skin_.SunkEdge.get(), 4);
  set(skin_.ExtraImages.get(), 5);
  set(skin_.Headerbar.get(), 5);
  set(skin_.MenuItem.get(), 5);
  set(skin_.MenuBackground.get(), 1);
  set(skin_.Scrollbar.get(), 23);
  set(skin_.HorzScroll.get(), 4);
  set(skin_.VertScroll.get(), 4);
  set(skin_.HorzScrollThumb.get(), Int("HorzScrollThumb", "FrameCount", 3));
  set(skin_.VertScrollThumb.get(), Int("VertScrollThumb", "FrameCount", 3));
  for (auto &thumb : skin_.TrackbarThumbs)
    set(thumb.get(), 5);
  set(skin_.UpDownHorz.get(), 8);
  set(skin_.UpDownVert.get(), 8);
  set(skin_.Track.get(), 1);
  set(skin_.TrackVert.get(), 1);
}

void Loader::BuildComboComposite() {
  TDataSkinObject *edge = skin_.SunkEdge.get();
  TDataSkinBorder *button = skin_.ComboButton.get();
  if (!edge || !button) return;
  const int W = skin_.Metrics.HScrollArrowWidth + 2;
  const int frames = std::max(edge->FrameCount, 1);
  const Pixel magenta = PixelFromColor(kSkinTransparent);
  PixelMap strip(50 * frames, 21, magenta);
  for (int k = 1; k <= frames; ++k) {
    PixelMap cell(50, 21, magenta);
    DrawSkinPart(cell, {0, 0, 50, 21}, edge->Image, false, edge->Tile != 0, edge->Trans != 0,
                 edge->FrameCount, k, edge->Margins);
    const TRect part{50 - W, 0, 50, 21};
    DrawSkinPart(cell, part, button->Image, false, button->Tile != 0, true, button->FrameCount, k,
                 button->Margins);
    if (const TDataSkinObject *glyph = skin_.ExtraImages.get())
      DrawSkinGlyph(cell, part, glyph->Image, true, glyph->FrameCount, k);
    FillRect(cell, {2, 2, 49 - W, 18}, kSkinTransparent);
    CopyPixels(strip, 50 * (k - 1), 0, cell);
  }
  button->Image = strip;
  button->Style = 2;
  button->Margins = {2, edge->Margins.Top, W + 2, edge->Margins.Bottom};
  Mirror(strip);
  edge->Image = std::move(strip);
  edge->Margins.Left = W + 2;
  edge->Margins.Right = 2;
}

void Loader::BuildToolbar() {
  TColor sample = skin_.Palette.ButtonFace;
  const TDataSkinBorder &top = *skin_.Top;
  if (!top.Image.Empty() && top.FrameCount > 0) {
    const int x = top.Image.Width() / 2, y = (top.Image.Height() / top.FrameCount) * 2 / 3;
    if (top.Image.Inside(x, y)) sample = ColorFromPixel(top.Image.At(x, y));
  }
  auto obj = std::make_unique<TDataSkinObject>();
  obj->Name = "Toolbar";
  obj->Image.Resize(10, 40);
  GradientFill(obj->Image, {0, 0, 10, 40}, Blend(skin_.Palette.ButtonFace, clWhite, 150), true,
               Blend(0x808080, sample, 150));
  skin_.Toolbar = std::move(obj);
}

void Loader::Run() {
  sections_ = ini_.ReadSections();
  skin_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
  skin_.Left = BorderRule("Left");
  skin_.Right = BorderRule("Right");
  skin_.Top = BorderRule("Top");
  skin_.Bottom = BorderRule("Bottom");
  ReadPalette();
  ReadSysButtons();
  ReadButtons();
  ReadTitle();
  skin_.Progress = BitmapRule("Progress");
  skin_.MenuBar = MenuBarRule();
  skin_.GroupBoxEdge = ImageRule<TDataSkinObject>("GroupBoxEdge");
  skin_.GroupBox = ImageRule<TDataSkinBoxLabel>("GroupBox");
  skin_.Tabs = ImageRule<TDataSkinBorder>("Tabs", "Border");
  skin_.StatusBarEdges = ImageRule<TDataSkinObject>("StatusBarEdges");
  skin_.ToolBars = ImageRule<TDataSkinObject>("ToolBars");
  skin_.ComboButton = ImageRule<TDataSkinBorder>("ComboButton");
  if (skin_.ComboButton) {
    skin_.ComboButton->Image2 = skin_.ComboButton->Image;
    Mirror(skin_.ComboButton->Image2);
  }
  skin_.SunkEdge = ImageRule<TDataSkinObject>("SunkEdge");
  skin_.ExtraImages = ImageRule<TDataSkinObject>("ExtraImages");
  skin_.Headerbar = ImageRule<TDataSkinObject>("Headerbar");
  skin_.MenuItem = ImageRule<TDataSkinObject>("MenuItem");
  skin_.MenuBackground = ImageRule<TDataSkinObject>("MenuBackground");
  skin_.Scrollbar = ImageRule<TDataSkinObject>("Scrollbar");
  skin_.HorzScroll = ImageRule<TDataSkinObject>("HorzScroll");
  skin_.VertScroll = ImageRule<TDataSkinObject>("VertScroll");
  skin_.HorzScrollThumb = ImageRule<TDataSkinObject>("HorzScrollThumb");
  skin_.VertScrollThumb = ImageRule<TDataSkinObject>("VertScrollThumb");
  for (int i = 0; i < 6; ++i)
    skin_.TrackbarThumbs[static_cast<std::size_t>(i)] = ImageRule<TDataSkinObject>(kTrackbarThumbs[i]);
  skin_.UpDownHorz = ImageRule<TDataSkinBorder>("UpDown.Horz", "GlyphImage");
  skin_.UpDownVert = ImageRule<TDataSkinBorder>("UpDown.Vert", "GlyphImage");
  skin_.Track = Builtin("TRACK");
  skin_.TrackVert = Builtin("TRACKVERT");
  SetFixedFrameCounts();
  BuildComboComposite();
  BuildToolbar();
}

} // namespace

TSkinDataCore::TSkinDataCore() : MenuGlyphs(BuiltinSkinBitmap("TRELLISMENU")) { CustomColours.fill(clWhite); }

TSkinDataCore::~TSkinDataCore() = default;

bool TSkinDataCore::LoadPackage(const TBytes &packed) {
  noSkinLoaded_ = true;
  TSkinReader reader;
  try {
    if (!reader.LoadFromStream(packed)) return false;
  } catch (const Exception &e) {
    ShowSkinMessage(e.Message());
    return false;
  }
  LoadSkinObjects(reader);
  return true;
}

bool TSkinDataCore::LoadArchive(const TBytes &archive) {
  noSkinLoaded_ = true;
  TSkinReader reader;
  try {
    if (!reader.LoadArchive(archive)) return false;
  } catch (const Exception &e) {
    ShowSkinMessage(e.Message());
    return false;
  }
  LoadSkinObjects(reader);
  return true;
}

void TSkinDataCore::LoadSkinObjects(const TSkinReader &reader) {
  TBytes description;
  reader.ExtractFirstContaining(".ini", description);
  TQuickIni ini;
  ini.LoadFromStream(&description);
  Loader(*this, reader, ini).Run();
  noSkinLoaded_ = false;
}

std::vector<const TDataSkinObject *> TSkinDataCore::Objects() const {
  std::vector<const TDataSkinObject *> all;
  auto add = [&](const TDataSkinObject *obj) {
    if (obj) all.push_back(obj);
  };
  for (const TDataSkinObject *obj :
       {static_cast<const TDataSkinObject *>(Left.get()), static_cast<const TDataSkinObject *>(Right.get()),
        static_cast<const TDataSkinObject *>(Top.get()), static_cast<const TDataSkinObject *>(Bottom.get())})
    add(obj);
  for (const auto &b : SysButtons)
    add(b.get());
  add(Buttons.get());
  add(Title.get());
  add(Progress.get());
  add(MenuBar.get());
  add(GroupBoxEdge.get());
  add(GroupBox.get());
  add(Tabs.get());
  add(StatusBarEdges.get());
  add(ToolBars.get());
  add(ComboButton.get());
  add(SunkEdge.get());
  add(ExtraImages.get());
  add(Headerbar.get());
  add(MenuItem.get());
  add(MenuBackground.get());
  add(Scrollbar.get());
  add(HorzScroll.get());
  add(VertScroll.get());
  add(HorzScrollThumb.get());
  add(VertScrollThumb.get());
  for (const auto &thumb : TrackbarThumbs)
    add(thumb.get());
  add(UpDownHorz.get());
  add(UpDownVert.get());
  add(Track.get());
  add(TrackVert.get());
  add(Toolbar.get());
  return all;
}

} // namespace qv

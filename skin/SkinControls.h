#pragma once
// The control skinners: each takes one kind of standard control over and paints it off screen from
// the skin objects, in every state the control can be in (normal, hot, pressed, focused, disabled,
// checked, indeterminate). Where the skin lacks the object a skinner draws with, the control keeps
// painting itself.
//
// Not done: bit-button glyphs from an image list ("Images"/"ImageIndex"), since the framework has
// no image list component; the list view's own scroll bars (the scroll-bar skinner's work).
#include "skin/SkinPaint.h"
#include "skin/WinSubClass.h"

#include <memory>
#include <vector>

namespace qv {

class TSkinHeader;
class TSkinUpDown;

// Push buttons: frame 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 the default button at
// rest. A press never reaches the button's own procedure; the click comes on release over it.
class TSkinButton : public TSkinControl {
  QV_DECLARE_CLASS(TSkinButton)
public:
  explicit TSkinButton(TComponent *owner);
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

  bool Hot() const { return hot_; }
  bool Pressed() const { return pressed_; }
  // The frame the button shows in its present state.
  int StateFrame();

protected:
  // Draws what lies on the frame: the caption here, glyph and caption for bit buttons.
  virtual void DrawContent(const TRect &rect, int frame);
  // The caption (the "Caption" property, or the window text) with "||" as line breaks.
  std::wstring ButtonCaption();
  // Caption colour for the frame: the skin's state colours where given, grey when disabled.
  TColor CaptionColor(int frame) const;
  // The background under the frame: the parent's picture in parent-paint mode, else button face.
  virtual void PaintBackground(HDC target, const TRect &rect);
  bool ShowFocusRect() const;
  void ReadWindowState();
  void Click();
  bool PaintOwnFrame() const;

  TSkinSurface work_;
  bool hot_ = false, pressed_ = false, focused_ = false, windowEnabled_ = true, multiLine_ = false;
  bool parentPaintMode_ = false, forwardMouseDown_ = true;
};

// Bit buttons: the push button's frames (no frame 5) with the "Glyph" strip laid out beside the
// caption as the framework's own bit button lays them out.
class TSkinBitButton : public TSkinButton {
  QV_DECLARE_CLASS(TSkinBitButton)
public:
  explicit TSkinBitButton(TComponent *owner);

protected:
  void DrawContent(const TRect &rect, int frame) override;
};

// Speed buttons: graphic controls, painted through their parent; the skinner replaces the
// control's window-procedure method and follows the mouse itself.
class TSkinSpeedButton : public TSkinBitButton {
  QV_DECLARE_CLASS(TSkinSpeedButton)
public:
  explicit TSkinSpeedButton(TComponent *owner);
  // Takes the owning graphic control over through AttachControl.
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  // Takes a graphic control over: its window-procedure method is replaced, it is the repaint target.
  void AttachControl(TControl *control, TWinSkinForm *form, TSkinData *data, TCanvas *canvas);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;

protected:
  void PaintBackground(HDC target, const TRect &rect) override;
};

// Check boxes and radio buttons: the skin's glyph strip, then the caption 2 pixels after it. A
// control object is painted whole; a foreign window paints itself and gets the glyph over it.
class TSkinCheckBox : public TSkinControl {
  QV_DECLARE_CLASS(TSkinCheckBox)
public:
  explicit TSkinCheckBox(TComponent *owner);
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  // The glyph frame for the control's present state.
  int GlyphFrame();

protected:
  // The strip and its frame count (check or radio glyphs).
  virtual const PixelMap &GlyphImage() const;
  virtual int GlyphFrames() const;
  // 0 unchecked, 1 checked, 2 indeterminate.
  int CheckState();
  // Where the glyph goes in rect (left, or right with the right-button style).
  TRect GlyphRect(const TRect &rect) const;
  bool GlyphOnly() const { return !control_ || overlay_; }
  bool HasGlyphs() const;

  TSkinSurface work_;
  bool parentPaintMode_ = false;
  bool overlay_ = false; // draws the glyph over the control's own painting
  int lastSetCheck_ = 0; // the state last set by BM_SETCHECK
};

class TSkinRadioButton : public TSkinCheckBox {
  QV_DECLARE_CLASS(TSkinRadioButton)
public:
  explicit TSkinRadioButton(TComponent *owner);

protected:
  const PixelMap &GlyphImage() const override;
  int GlyphFrames() const override;
};

// Check boxes and radio buttons of other component sets: the glyph over the control's own
// painting. Kind 1 check box, 2 radio button, 3 a further check box kind.
class TSkinObjImage : public TSkinCheckBox {
  QV_DECLARE_CLASS(TSkinObjImage)
public:
  explicit TSkinObjImage(TComponent *owner, int kind = 1);
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  int Kind() const { return kind_; }

protected:
  const PixelMap &GlyphImage() const override;
  int GlyphFrames() const override;

private:
  int kind_;
};

// Group boxes: a rounded frame in the button shadow colour, the caption on button face.
class TSkinGroupBox : public TSkinControl {
  QV_DECLARE_CLASS(TSkinGroupBox)
public:
  explicit TSkinGroupBox(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

private:
  void DrawGroup(HDC dc, const TRect &rect);
  TSkinSurface work_;
};

// Panels, navigators and embedded forms: colour only. The control keeps its own painting; the
// take-over only answers the skin's query, so every skinned control can be told from outside.
class TSkinBox : public TSkinControl {
  QV_DECLARE_CLASS(TSkinBox)
public:
  explicit TSkinBox(TComponent *owner);
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  void RestoreColour() override;
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &) override {}
};

// Windows whose whole background is button face: dialog windows and tab sheets. Static texts and
// buttons of the window get the same brush.
class TSkinFaceFill : public TSkinControl {
  QV_DECLARE_CLASS(TSkinFaceFill)
public:
  explicit TSkinFaceFill(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void UpdateColours() override;

private:
  TBrushHandle brush_;
  HBRUSH FaceBrush();
};

class TSkinBoxH : public TSkinFaceFill {
  QV_DECLARE_CLASS(TSkinBoxH)
public:
  explicit TSkinBoxH(TComponent *owner);
};

class TSkinTabSheet : public TSkinFaceFill {
  QV_DECLARE_CLASS(TSkinTabSheet)
public:
  explicit TSkinTabSheet(TComponent *owner);
};

// Size grips: button face with the skin's grip glyph (the last frame of "Scrollbar") at the corner.
class TSkinSizer : public TSkinControl {
  QV_DECLARE_CLASS(TSkinSizer)
public:
  explicit TSkinSizer(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

private:
  TSkinSurface work_;
};

// Edits: the edit paints itself, the skinner redraws the border (button shadow outside, white
// inside) and skins an up-down child on the first paint.
class TSkinEdit : public TSkinControl {
  QV_DECLARE_CLASS(TSkinEdit)
public:
  explicit TSkinEdit(TComponent *owner);
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  TSkinUpDown *SpinSkinner() const { return spin_; }

private:
  void SkinSpinChild();
  bool firstPaint_ = true;
  TSkinUpDown *spin_ = nullptr;
};

// Up-down buttons: each half one stretched frame of "UpDown.Vert" (or ".Horz" for the horizontal
// style) by its state, frames 1-4 the first half and 5-8 the second (normal, pressed, hot,
// disabled), the arrow glyph of "GlyphImage" centred on it.
class TSkinUpDown : public TSkinControl {
  QV_DECLARE_CLASS(TSkinUpDown)
public:
  explicit TSkinUpDown(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  // The frame of half 0 (up or left) or 1.
  int HalfFrame(int half) const;

private:
  const TDataSkinBorder *Object() const;
  bool Horizontal() const;
  int HalfAt(TPoint p) const;
  TRect HalfRect(const TRect &rect, int half) const;
  TSkinSurface work_;
  int hot_ = -1, pressed_ = -1;
};

// Progress bars: "Progress" frame 1 the empty bar and frame 2 the filled part, or with style 1
// the "Chunk" picture repeated over the filled part; the vertical style drawn on its side and turned.
class TSkinProgress : public TSkinControl {
  QV_DECLARE_CLASS(TSkinProgress)
public:
  explicit TSkinProgress(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  // Width of the filled part of a bar `length` long (0 for an empty or inverted range).
  int FilledLength(int length) const;

private:
  void DrawBar(PixelMap &target, const TRect &r, int filled) const;
  TSkinSurface work_;
};

// Track bars: the channel from "TRACK"/"TRACKVERT" as a three-part bar centred across the bar,
// ticks in the button shadow colour, the thumb from the thumb object (1 normal, 2 pressed, 3 hot,
// 4 disabled, 5 focused).
class TSkinTrackBar : public TSkinControl {
  QV_DECLARE_CLASS(TSkinTrackBar)
public:
  explicit TSkinTrackBar(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  int ThumbFrame() const;

private:
  TSkinSurface work_;
  bool hot_ = false;
};

// Status bars: each panel a nine-part frame 1 of "StatusBarEdges" with its text; frame 3 is the
// size grip.
class TSkinStatusBar : public TSkinControl {
  QV_DECLARE_CLASS(TSkinStatusBar)
public:
  explicit TSkinStatusBar(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

private:
  TSkinSurface work_;
};

// Header controls: each section a nine-part "Headerbar" frame (1 normal, 2 pressed, 3 hot,
// 4 disabled, 5 sorted), the space after the last one frame 1.
class TSkinHeader : public TSkinControl {
  QV_DECLARE_CLASS(TSkinHeader)
public:
  explicit TSkinHeader(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  int SectionFrame(int index) const;

private:
  int SectionAt(TPoint p) const;
  TSkinSurface work_;
  int hot_ = -1, pressed_ = -1;
};

// The tab images of "Tabs" turned for the side the tabs sit on: open at the bottom (as drawn),
// flipped for tabs below the page, turned for tabs on the left or right; frames one above the
// other once turned.
struct TTabImages {
  PixelMap Image;
  TRect Margins;
  bool Vertical = false;
};
enum class TTabSide { Top, Bottom, Left, Right };
TTabImages TurnTabImages(const TDataSkinObject &tabs, TTabSide side);

// Tab controls: the page inside the "Border" picture, each tab a nine-part "Tabs" frame (1 normal,
// 2 selected, 3 hot, 4 disabled, 5 selected with the focus).
class TSkinTab : public TSkinControl {
  QV_DECLARE_CLASS(TSkinTab)
public:
  explicit TSkinTab(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  int TabFrame(int index) const;

private:
  TTabSide Side() const;
  const TTabImages &Images();
  TSkinSurface work_;
  TTabImages images_;
  bool prepared_ = false;
  TTabSide preparedSide_ = TTabSide::Top;
  int hot_ = -1;
};

// Tab sets (a row of tabs under a page): the "Tabs" images flipped top to bottom, tabs from the
// control's "Tabs" list, the one at "TabIndex" selected.
class TSkinTab31 : public TSkinControl {
  QV_DECLARE_CLASS(TSkinTab31)
public:
  explicit TSkinTab31(TComponent *owner);
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

private:
  TSkinSurface work_;
  TTabImages images_;
  bool prepared_ = false;
};

// List views: the header of the report view skinned, and the border drawn like the scroll-bar
// skinner's (button shadow outside, button face inside).
class TSkinListView : public TSkinControl {
  QV_DECLARE_CLASS(TSkinListView)
public:
  explicit TSkinListView(TComponent *owner);
  // Takes the list view over (a control object when there is one, else by handle) and its header.
  void AttachScrollbar(TControl *control, HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas);
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;
  TSkinHeader *HeaderSkinner() const { return header_; }

private:
  void SkinHeader();
  TSkinHeader *header_ = nullptr;
};

// Answers WM_PAINT (BeginPaint when it carries no DC) or WM_PRINTCLIENT with the skinner's painting.
void PaintMessage(TSkinControl &skinner, TMessage &m);

// Defines the class information of a skinner class (no published properties).
#define QV_DEFINE_SKINNER(Cls, Base)                                                                         \
  const ::qv::TClassInfo &Cls::StaticClassInfo() {                                                           \
    static const ::qv::TClassInfo &info = ::qv::DefineClass<Cls, Base>(#Cls, [](auto &) {});                 \
    return info;                                                                                             \
  }

} // namespace qv

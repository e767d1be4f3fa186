#pragma once
// Bit buttons (an owner-drawn BUTTON window with a glyph) and speed buttons (graphic controls
// that can stay down, alone or in groups).
#include "platform/forms/StdCtrls.h"

namespace qv {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where the glyph and the caption of a button go: margin -1 centres the block; spacing -1 (with
// margin -1) makes margin and spacing a third of the free space each, and spacing -1 alone half
// of what is left after margin, glyph and caption.
struct TGlyphPlacement {
  TRect Glyph;
  TRect Text;
};
TGlyphPlacement PlaceGlyphAndText(const TRect &client, TSize glyph, TSize text, TButtonLayout layout,
                                  int margin, int spacing);

// The glyph strip of a button (NumGlyphs equal parts: 1 up, 2 disabled, 3 down, 4 exclusive) with
// its layout, margin and spacing: what bit buttons and speed buttons share. Every change calls
// back the button so that it repaints.
class TButtonGlyph {
public:
  explicit TButtonGlyph(std::function<void()> changed);
  TBitmap *Glyph() { return &glyph_; }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l);
  int Margin() const { return margin_; }
  void SetMargin(int m);
  int Spacing() const { return spacing_; }
  void SetSpacing(int s);
  // Draws the part of the strip for state and the caption into client.
  void Draw(TCanvas &canvas, const TRect &client, TButtonState state, const std::string &caption,
            bool enabled, TColor textColor);

private:
  TBitmap glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1, spacing_ = 4;
  std::function<void()> changed_;
};

class TBitBtn : public TButton {
  QV_DECLARE_CLASS(TBitBtn)
public:
  explicit TBitBtn(TComponent *owner);
  TButtonGlyph &ButtonGlyph() { return glyph_; }
  const TButtonGlyph &ButtonGlyph() const { return glyph_; }

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;
  void DrawItem(const DRAWITEMSTRUCT &dis);

private:
  TButtonGlyph glyph_;
};

class TSpeedButton : public TGraphicControl {
  QV_DECLARE_CLASS(TSpeedButton)
public:
  explicit TSpeedButton(TComponent *owner);
  // Buttons of one parent with the same non-zero GroupIndex: at most one is down.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int g);
  // With AllowAllUp a down button of the group goes up when clicked again.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool on);
  bool Down() const { return down_; }
  void SetDown(bool on);
  bool Flat() const { return flat_; }
  void SetFlat(bool on) {
    flat_ = on;
    Invalidate();
  }
  TButtonGlyph &ButtonGlyph() { return glyph_; }
  const TButtonGlyph &ButtonGlyph() const { return glyph_; }
  // Held down by the mouse right now.
  bool Pressed() const { return pressed_; }
  void Click() override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseMove(uint32_t shift, int x, int y) override;
  void WndProc(TMessage &m) override;

private:
  int groupIndex_ = 0;
  bool allowAllUp_ = false, down_ = false, flat_ = false;
  bool pressed_ = false, dragging_ = false;
  TButtonGlyph glyph_;
  // Puts the other buttons of the group up.
  void UpdateExclusive();
};

extern const std::vector<std::string> kButtonLayoutNames;

} // namespace qv

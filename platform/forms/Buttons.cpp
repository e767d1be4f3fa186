// TBitBtn, TSpeedButton and the glyph layout they share.
#include "platform/forms/Buttons.h"

#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

namespace qv {

const std::vector<std::string> kButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                     "blGlyphBottom"};

TGlyphPlacement PlaceGlyphAndText(const TRect &client, TSize glyph, TSize text, TButtonLayout layout,
                                  int margin, int spacing) {
  bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  int avail = horizontal ? client.Width() : client.Height();
  int glyphLen = horizontal ? glyph.cx : glyph.cy;
  int textLen = horizontal ? text.cx : text.cy;
  if (glyphLen == 0 || textLen == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      int total = glyphLen + textLen;
      margin = (avail - total) / 3;
      spacing = margin;
    } else {
      int total = glyphLen + spacing + textLen;
      margin = (avail - total) / 2;
    }
  } else if (spacing == -1) {
    int left = avail - (margin + glyphLen + textLen);
    spacing = left / 2;
  }
  TGlyphPlacement p;
  int cx = client.Left + (client.Width() - glyph.cx) / 2, cy = client.Top + (client.Height() - glyph.cy) / 2;
  int tx = client.Left + (client.Width() - text.cx) / 2, ty = client.Top + (client.Height() - text.cy) / 2;
  switch (layout) {
  case TButtonLayout::blGlyphLeft:
    p.Glyph = Bounds(client.Left + margin, cy, glyph.cx, glyph.cy);
    p.Text = Bounds(p.Glyph.Right + spacing, ty, text.cx, text.cy);
    break;
  case TButtonLayout::blGlyphRight:
    p.Glyph = Bounds(client.Right - margin - glyph.cx, cy, glyph.cx, glyph.cy);
    p.Text = Bounds(p.Glyph.Left - spacing - text.cx, ty, text.cx, text.cy);
    break;
  case TButtonLayout::blGlyphTop:
    p.Glyph = Bounds(cx, client.Top + margin, glyph.cx, glyph.cy);
    p.Text = Bounds(tx, p.Glyph.Bottom + spacing, text.cx, text.cy);
    break;
  case TButtonLayout::blGlyphBottom:
    p.Glyph = Bounds(cx, client.Bottom - margin - glyph.cy, glyph.cx, glyph.cy);
    p.Text = Bounds(tx, p.Glyph.Top - spacing - text.cy, text.cx, text.cy);
    break;
  }
  return p;
}

// TButtonGlyph --------------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph(std::function<void()> changed) : changed_(std::move(changed)) {
  glyph_.OnChange = [this] { changed_(); };
}

void TButtonGlyph::SetNumGlyphs(int n) {
  numGlyphs_ = std::clamp(n, 1, 4);
  changed_();
}
void TButtonGlyph::SetLayout(TButtonLayout l) {
  layout_ = l;
  changed_();
}
void TButtonGlyph::SetMargin(int m) {
  margin_ = m;
  changed_();
}
void TButtonGlyph::SetSpacing(int s) {
  spacing_ = s;
  changed_();
}

void TButtonGlyph::Draw(TCanvas &canvas, const TRect &client, TButtonState state, const std::string &caption,
                        bool enabled, TColor textColor) {
  TBitmap &glyph = glyph_;
  const int numGlyphs = numGlyphs_;
  TSize glyphSize{};
  if (!glyph.Empty()) glyphSize = {glyph.Width() / numGlyphs, glyph.Height()};
  TRect measure{0, 0, client.Width(), 0};
  if (!caption.empty()) canvas.DrawText(caption, measure, DT_CALCRECT | DT_SINGLELINE);
  TSize textSize{caption.empty() ? 0 : measure.Width(), caption.empty() ? 0 : measure.Height()};
  TGlyphPlacement p = PlaceGlyphAndText(client, glyphSize, textSize, layout_, margin_, spacing_);
  if (state == TButtonState::bsDown || state == TButtonState::bsExclusive) {
    p.Glyph = p.Glyph.Offset(1, 1);
    p.Text = p.Text.Offset(1, 1);
  }
  if (!glyph.Empty()) {
    int part = 0;
    if (state == TButtonState::bsDisabled && numGlyphs > 1)
      part = 1;
    else if (state == TButtonState::bsDown && numGlyphs > 2)
      part = 2;
    else if (state == TButtonState::bsExclusive && numGlyphs > 3)
      part = 3;
    TransparentBlt(canvas.Handle(), p.Glyph.Left, p.Glyph.Top, glyphSize.cx, glyphSize.cy, glyph.DC(),
                   part * glyphSize.cx, 0, glyphSize.cx, glyphSize.cy, ColorToRGB(glyph.TransparentColor()));
  }
  if (caption.empty()) return;
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  TRect r = p.Text;
  if (!enabled) {
    canvas.Font.SetColor(clBtnHighlight);
    TRect shadow = r.Offset(1, 1);
    canvas.DrawText(caption, shadow, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    canvas.Font.SetColor(clBtnShadow);
  } else {
    canvas.Font.SetColor(textColor);
  }
  canvas.DrawText(caption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

namespace {

// The published glyph properties of a button class, reached through its ButtonGlyph().
template <class T, class B> void PublishGlyph(B &c) {
  c.Object("Glyph", [](const T &b) { return const_cast<T &>(b).ButtonGlyph().Glyph(); });
  c.Enum(
      "Layout", [](const T &b) { return b.ButtonGlyph().Layout(); },
      [](T &b, TButtonLayout l) { b.ButtonGlyph().SetLayout(l); }, kButtonLayoutNames, 0);
  c.Integer(
      "Margin", [](const T &b) { return b.ButtonGlyph().Margin(); },
      [](T &b, int m) { b.ButtonGlyph().SetMargin(m); }, -1);
  c.Integer(
      "NumGlyphs", [](const T &b) { return b.ButtonGlyph().NumGlyphs(); },
      [](T &b, int n) { b.ButtonGlyph().SetNumGlyphs(n); }, 1);
  c.Integer(
      "Spacing", [](const T &b) { return b.ButtonGlyph().Spacing(); },
      [](T &b, int s) { b.ButtonGlyph().SetSpacing(s); }, 4);
}

} // namespace

// TBitBtn -------------------------------------------------------------------------------------------

const TClassInfo &TBitBtn::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TBitBtn, TButton>("TBitBtn", [](auto &c) { PublishGlyph<TBitBtn>(c); });
  return info;
}

TBitBtn::TBitBtn(TComponent *owner) : TButton(owner), glyph_([this] { Invalidate(); }) {}

void TBitBtn::CreateParams(TCreateParams &p) {
  TButton::CreateParams(p);
  p.Style &= ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
  p.Style |= BS_OWNERDRAW;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT &dis) {
  bool down = dis.itemState & ODS_SELECTED;
  bool focused = dis.itemState & ODS_FOCUS;
  bool enabled = !(dis.itemState & ODS_DISABLED);
  TRect r{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
  TCanvas canvas(dis.hDC);
  canvas.Brush.SetColor(Color());
  canvas.FillRect(r);
  RECT rc = dis.rcItem;
  if (focused || Default()) {
    canvas.Brush.SetColor(clWindowFrame);
    canvas.FrameRect(r);
    InflateRect(&rc, -1, -1);
  }
  DrawFrameControl(dis.hDC, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  canvas.Font.Assign(Font());
  TRect face = TRect{rc.left, rc.top, rc.right, rc.bottom}.Inflate(-2, -2);
  glyph_.Draw(canvas, face,
              !enabled ? TButtonState::bsDisabled
              : down   ? TButtonState::bsDown
                       : TButtonState::bsUp,
              Caption(), enabled, Font().Color());
  if (focused) {
    TRect f = face.Inflate(-2, -2);
    canvas.DrawFocusRect(f);
  }
  canvas.SetHandle(nullptr);
}

void TBitBtn::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_DRAWITEM:
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam));
    m.Result = 1;
    return;
  case WM_LBUTTONDBLCLK:
    m.Msg = WM_LBUTTONDOWN;
    break; // owner-drawn buttons take a double click as a press
  }
  TButton::WndProc(m);
}

// TSpeedButton --------------------------------------------------------------------------------------

const TClassInfo &TSpeedButton::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSpeedButton, TGraphicControl>("TSpeedButton", [](auto &c) {
    c.Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
    c.Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
    c.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
    c.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0);
    PublishGlyph<TSpeedButton>(c);
  });
  return info;
}

TSpeedButton::TSpeedButton(TComponent *owner) : TGraphicControl(owner), glyph_([this] { Invalidate(); }) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGroupIndex(int g) {
  groupIndex_ = g;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool on) {
  allowAllUp_ = on;
  // The whole group shares the setting.
  if (!Parent() || groupIndex_ == 0) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto *b = dynamic_cast<TSpeedButton *>(Parent()->Controls(i));
        b && b != this && b->groupIndex_ == groupIndex_)
      b->allowAllUp_ = on;
}

void TSpeedButton::SetDown(bool on) {
  if (groupIndex_ == 0) on = false;
  if (on == down_) return;
  if (!on && !allowAllUp_ && !Loading()) return; // a group without AllowAllUp keeps one button down
  down_ = on;
  if (on) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (!down_ || groupIndex_ == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto *b = dynamic_cast<TSpeedButton *>(Parent()->Controls(i));
        b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
      b->down_ = false;
      b->Invalidate();
    }
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  pressed_ = dragging_ = true;
  Invalidate();
}

void TSpeedButton::MouseMove(uint32_t shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  bool inside = ClientRect().Contains({x, y});
  if (inside != pressed_) {
    pressed_ = inside;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_ || button != TMouseButton::mbLeft) return;
  dragging_ = pressed_ = false;
  if (ClientRect().Contains({x, y}) && groupIndex_ != 0) {
    if (!down_)
      SetDown(true);
    else if (allowAllUp_)
      SetDown(false);
  }
  Invalidate();
}

void TSpeedButton::WndProc(TMessage &m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) Invalidate();
  // The base clicks on release inside; the group state above is settled first.
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  TCanvas &c = Canvas();
  TRect r = ClientRect();
  bool sunk = pressed_ || down_;
  c.Brush.SetColor(Color());
  c.FillRect(r);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  if (!flat_ || MouseInControl() || sunk) {
    if (sunk)
      DrawEdge(c.Handle(), &rc, flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else
      DrawEdge(c.Handle(), &rc, flat_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  }
  TButtonState state = !Enabled() ? TButtonState::bsDisabled
                       : pressed_ ? TButtonState::bsDown
                       : down_    ? TButtonState::bsExclusive
                                  : TButtonState::bsUp;
  glyph_.Draw(c, r.Inflate(-2, -2), state, Caption(), Enabled(), Font().Color());
}

} // namespace qv

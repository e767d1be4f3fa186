// The column's edit-button items, their published properties and the drawing of edit buttons.
#include "grid/EditButtonsEh.h"

#include "grid/DBGridEh.h"
#include "platform/classes/ClassBuilder.h"

namespace qv {

namespace {

const std::vector<std::string> kEditButtonStyleNames = {"ebsDropDownEh", "ebsEllipsisEh", "ebsGlyphEh",
                                                        "ebsUpDownEh",   "ebsPlusEh",     "ebsMinusEh"};

// A sign of the push-button styles, centred in r: a bar, with a crossing bar for plus.
void DrawSign(HDC dc, const TRect &r, TEditButtonStyleEh style, bool pushed) {
  int cx = (r.Left + r.Right) / 2 + (pushed ? 1 : 0), cy = (r.Top + r.Bottom) / 2 + (pushed ? 1 : 0);
  TBrush ink;
  ink.SetColor(clBtnText);
  auto fill = [&](int left, int top, int right, int bottom) {
    RECT d{left, top, right, bottom};
    FillRect(dc, &d, ink.Handle());
  };
  int arm = std::max(2, std::min(r.Width(), r.Height()) / 4);
  switch (style) {
  case TEditButtonStyleEh::ebsEllipsisEh:
    for (int dx : {-4, 0, 4})
      fill(cx + dx - 1, cy, cx + dx + 1, cy + 2);
    return;
  case TEditButtonStyleEh::ebsPlusEh:
    fill(cx - 1, cy - arm, cx + 1, cy + arm);
    fill(cx - arm, cy - 1, cx + arm, cy + 1);
    return;
  case TEditButtonStyleEh::ebsMinusEh:
    fill(cx - arm, cy - 1, cx + arm, cy + 1);
    return;
  default:
    return;
  }
}

} // namespace

TShortCut ShortCutOf(WORD key, uint32_t shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

void DrawEditButtonEh(HDC dc, const TRect &r, TEditButtonStyleEh style, TButtonGlyph *glyph,
                      TEditButtonPressEh press, bool flat) {
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  UINT flatFlag = flat ? DFCS_FLAT : 0;
  bool pushed = press != TEditButtonPressEh::None;
  switch (style) {
  case TEditButtonStyleEh::ebsDropDownEh:
    DrawFrameControl(dc, &rc, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | flatFlag | (pushed ? DFCS_PUSHED : 0));
    return;
  case TEditButtonStyleEh::ebsUpDownEh: {
    RECT up = rc, down = rc;
    up.bottom = down.top = (rc.top + rc.bottom) / 2;
    bool upPushed = press == TEditButtonPressEh::Pressed,
         downPushed = press == TEditButtonPressEh::LowerPressed;
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | flatFlag | (upPushed ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | flatFlag | (downPushed ? DFCS_PUSHED : 0));
    return;
  }
  default:
    break;
  }
  DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | flatFlag | (pushed ? DFCS_PUSHED : 0));
  if (glyph && !glyph->Glyph()->Empty()) {
    TCanvas canvas(dc);
    TRect inner{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    glyph->Draw(canvas, inner, pushed ? TButtonState::bsDown : TButtonState::bsUp, std::string(), true,
                clBtnText);
    return;
  }
  DrawSign(dc, r, style, pushed);
}

// TEditButtonEh --------------------------------------------------------------------------------

const TClassInfo &TEditButtonEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TEditButtonEh, TCollectionItem>("TEditButtonEh", [](auto &c) {
    using T = TEditButtonEh;
    c.template Reference<TPopupMenu>("DropdownMenu", &T::DropdownMenu, &T::SetDropdownMenu);
    c.Object("Glyph", [](const T &o) { return const_cast<T &>(o).Glyph(); });
    c.String("Hint", &T::Hint, &T::SetHint, std::string());
    c.Integer("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs, 1);
    c.Integer("ShortCut", &T::ShortCut, &T::SetShortCut, 0);
    c.Enum("Style", &T::Style, &T::SetStyle, kEditButtonStyleNames, 0);
    c.Boolean("Visible", &T::Visible, &T::SetVisible, false);
    c.Integer("Width", &T::Width, &T::SetWidth, 0);
    c.Event("OnClick", &T::OnClick);
    c.Event("OnDown", &T::OnDown);
  });
  return info;
}

TEditButtonEh::TEditButtonEh(TCollection *collection)
    : TCollectionItem(collection), glyph_([this] { Changed(); }) {}

TEditButtonEh::~TEditButtonEh() { SetDropdownMenu(nullptr); }

TColumnEh *TEditButtonEh::Column() const {
  auto *buttons = dynamic_cast<TEditButtonsEh *>(Collection());
  return buttons ? buttons->Column() : nullptr;
}

void TEditButtonEh::SetDropdownMenu(TPopupMenu *menu) {
  if (menu == dropdownMenu_) return;
  // The grid hears of the menu's destruction and has its buttons forget it.
  TCustomDBGridEh *grid = Column() ? Column()->Grid() : nullptr;
  dropdownMenu_ = menu;
  if (grid && menu) grid->FreeNotification(menu);
}

void TEditButtonEh::SetStyle(TEditButtonStyleEh s) {
  style_ = s;
  Changed();
}

void TEditButtonEh::SetVisible(bool on) {
  visible_ = on;
  Changed();
}

void TEditButtonEh::SetWidth(int w) {
  width_ = w;
  Changed();
}

// TEditButtonsEh -------------------------------------------------------------------------------

const TClassInfo &TEditButtonsEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TEditButtonsEh, TCollection>("TEditButtonsEh", [](auto &) {});
  return info;
}

TEditButtonsEh::TEditButtonsEh(TColumnEh *column)
    : TCollection(column, [](TCollection *c) { return std::make_unique<TEditButtonEh>(c); }),
      column_(column) {}

void TEditButtonsEh::ForgetComponent(const TComponent *c) {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->DropdownMenu() == c) Items(i)->SetDropdownMenu(nullptr);
}

void TEditButtonsEh::Update(TCollectionItem *) {
  if (column_) column_->ColumnChanged();
}

} // namespace qv

#pragma once
// The extra buttons of a column's in-place editor (the column's EditButtons): each item says how
// its button looks (Style, Glyph), how wide it is, which key presses it and what a click does
// (OnDown, OnClick, a DropdownMenu shown below it). The editor shows one button per visible item
// left of the default button of its edit style; all of them are drawn by DrawEditButtonEh.
//
// Not done yet: hints of the buttons, auto-repeat of held up-down buttons.
#include "platform/classes/Collection.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Menus.h"

#include <cstdint>
#include <string>

namespace qv {

class TColumnEh;

// A key with the shift keys held: the virtual key in the low byte plus scShift, scCtrl, scAlt
// (Alt+Delete is 32814). 0 is no shortcut.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// The shortcut of a key with the shift state of a key event (ssShift, ssCtrl, ssAlt).
TShortCut ShortCutOf(WORD key, uint32_t shift);

enum class TEditButtonStyleEh {
  ebsDropDownEh,
  ebsEllipsisEh,
  ebsGlyphEh,
  ebsUpDownEh,
  ebsPlusEh,
  ebsMinusEh
};

class TEditButtonEh : public TCollectionItem {
  QV_DECLARE_CLASS(TEditButtonEh)
public:
  explicit TEditButtonEh(TCollection *collection);
  ~TEditButtonEh() override;

  // Shown below the button when it is clicked (after OnClick, unless that handled the click).
  TPopupMenu *DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu *menu);
  // The picture drawn on the button; a strip of NumGlyphs parts (up, disabled, down).
  TBitmap *Glyph() { return glyph_.Glyph(); }
  TButtonGlyph &ButtonGlyph() { return glyph_; }
  int NumGlyphs() const { return glyph_.NumGlyphs(); }
  void SetNumGlyphs(int n) { glyph_.SetNumGlyphs(n); }
  const std::string &Hint() const { return hint_; }
  void SetHint(const std::string &h) { hint_ = h; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut s) { shortCut_ = s; }
  TEditButtonStyleEh Style() const { return style_; }
  void SetStyle(TEditButtonStyleEh s);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  // 0 (or less): the grid's EditButtonWidth.
  int Width() const { return width_; }
  void SetWidth(int w);

  // The button went down; the flag is true for the upper half of up-down buttons (and for
  // every other style).
  TEvent<TObject *, bool> OnDown;
  // The button was clicked; setting the flag skips what the style does itself (the menu, the
  // step of up-down, plus and minus buttons).
  TEvent<TObject *, bool &> OnClick;

private:
  TPopupMenu *dropdownMenu_ = nullptr;
  TButtonGlyph glyph_;
  std::string hint_;
  TShortCut shortCut_ = 0;
  TEditButtonStyleEh style_ = TEditButtonStyleEh::ebsDropDownEh;
  bool visible_ = false;
  int width_ = 0;
  TColumnEh *Column() const;
};

class TEditButtonsEh : public TCollection {
  QV_DECLARE_CLASS(TEditButtonsEh)
public:
  explicit TEditButtonsEh(TColumnEh *column);
  TEditButtonEh *Items(int i) const { return static_cast<TEditButtonEh *>(TCollection::Items(i)); }
  TEditButtonEh *Add() { return static_cast<TEditButtonEh *>(TCollection::Add()); }
  TColumnEh *Column() const { return column_; }
  // Forgets a menu that is being freed.
  void ForgetComponent(const TComponent *c);

protected:
  void Update(TCollectionItem *item) override;

private:
  TColumnEh *column_;
};

// How a button is held down: not, whole (the upper half of up-down buttons), the lower half.
enum class TEditButtonPressEh { None, Pressed, LowerPressed };

// One button of an editor: an EditButtons item, or the default button of the edit style (no item).
struct TEditButtonControlEh {
  TEditButtonEh *Item = nullptr;
  TEditButtonStyleEh Style = TEditButtonStyleEh::ebsDropDownEh;
  int Width = 0;
  TEditButtonPressEh Press = TEditButtonPressEh::None;
};

// Draws an edit button of a style into r: drop-down and up-down buttons as scroll-bar arrows,
// the others as push buttons showing the glyph when there is one, else their sign (three dots,
// plus, minus; nothing for a glyph button without a glyph).
void DrawEditButtonEh(HDC dc, const TRect &r, TEditButtonStyleEh style, TButtonGlyph *glyph,
                      TEditButtonPressEh press, bool flat);

} // namespace qv

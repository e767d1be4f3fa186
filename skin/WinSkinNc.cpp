#include "skin/WinSkinNc.h"

namespace qv {

TFrameMetrics FrameMetricsOf(const TSkinDataCore &skin, bool hasCaption, int menuBarHeight) {
  if (!hasCaption) return {};
  TFrameMetrics m;
  if (skin.Left) m.Left = skin.Left->FrameWidth();
  if (skin.Top) m.Caption = skin.Top->FrameHeight();
  if (skin.Right) m.Right = skin.Right->FrameWidth();
  if (skin.Bottom) m.Bottom = skin.Bottom->FrameHeight();
  m.MenuBar = menuBarHeight;
  return m;
}

// ---- Parts --------------------------------------------------------------------------------------

void TNCObject::MouseDown() {
  if (Form.HotObject && Form.HotObject != this) Form.HotObject->MouseLeave();
  if (!Visible) return;
  Form.HotObject = this;
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form.HotObject == this) return;
  if (Form.HotObject) Form.HotObject->MouseLeave();
  if (!Visible) return;
  Form.HotObject = this;
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  // A part hidden while it was hot lets go as well, so that the hover check does not keep it.
  if (Form.HotObject == this) Form.HotObject = nullptr;
  if (!Visible) return;
  State = 1;
  Paint();
}

void TWinSysButton::Paint() {
  if (Form.DrawButton) Form.DrawButton(*this);
}

void TMenuBtn::Paint() {
  if (Form.DrawMenuItem) Form.DrawMenuItem(*this);
}

// ---- Actions ------------------------------------------------------------------------------------

TNcAction ActionOf(int action) {
  switch (action) {
  case 0:
    return TNcAction::Close;
  case 1:
  case 22:
    return TNcAction::MaximiseRestore;
  case 2:
  case 23:
    return TNcAction::MinimiseRestore;
  case 3:
  case 11:
  case 12:
    return TNcAction::SystemMenu;
  case 7:
  case 60:
    return TNcAction::ChildMinimise;
  case 8:
  case 61:
    return TNcAction::ChildRestore;
  case 9:
  case 62:
    return TNcAction::ChildClose;
  default:
    return TNcAction::Custom;
  }
}

TCaptionDoubleClick CaptionDoubleClickOf(const TNCObject *part, const TNcWindowFacts &facts) {
  if (const auto *button = dynamic_cast<const TWinSysButton *>(part)) {
    if (button->IsSystemIcon()) return TCaptionDoubleClick::Close;
    if (button->Visible) return TCaptionDoubleClick::Nothing;
  }
  if (facts.WindowStateKind == wkMaximised) return TCaptionDoubleClick::Restore;
  if (facts.TitleIcons & tiMaximiseBox) return TCaptionDoubleClick::Maximise;
  return TCaptionDoubleClick::Default;
}

// ---- Visibility ---------------------------------------------------------------------------------

namespace {

bool Has(const TNcWindowFacts &f, uint32_t bits) { return (f.TitleIcons & bits) == bits; }
bool Maximised(const TNcWindowFacts &f) { return f.WindowStateKind == wkMaximised; }
bool DialogFramedForm(const TNcWindowFacts &f) { return f.BorderStyleKind == bkDialog && !f.DialogClass; }

// The first condition, by the button's visibility value.
bool FirstCondition(int v, int action, const TNcWindowFacts &f, const TNcObjects &objects) {
  switch (v) {
  case 0:
    return true;
  case 1:
    return Maximised(f);
  case 2:
    return !Maximised(f);
  case 3:
    return f.Active;
  case 4:
    return !f.Active;
  case 6:
    return Has(f, tiMaximiseBox | tiSystemMenu);
  case 7:
    return !Has(f, tiMaximiseBox);
  case 8:
    return Has(f, tiMinimiseBox | tiSystemMenu);
  case 9:
    return !Has(f, tiMinimiseBox);
  case 100:
    return f.MaximisedChildMenuBar;
  case 200:
    return DialogFramedForm(f);
  default:
    break;
  }
  if (v > 200 && v < 1000) return true;
  if (v >= 1000 && v <= 2000) return objects.AskVisibility && objects.AskVisibility(v, action) > 0;
  return false; // 5, -1 and anything unknown
}

// The second condition, by the button's visibility 1 value; 100 repeats the first.
bool SecondCondition(int v, bool first, const TNcWindowFacts &f) {
  switch (v) {
  case 0:
    return true;
  case 1:
    return Maximised(f);
  case 2:
    return !Maximised(f);
  case 3:
    return f.Active;
  case 4:
    return !f.Active;
  case 6:
    return Has(f, tiMaximiseBox);
  case 7:
    return !Has(f, tiMaximiseBox);
  case 8:
    return Has(f, tiMinimiseBox);
  case 9:
    return !Has(f, tiMinimiseBox);
  case 100:
    return first;
  case 200:
    return DialogFramedForm(f);
  default:
    return v > 200 && v <= 2000;
  }
}

bool ActionAllows(int action, const TNcWindowFacts &f) {
  switch (action) {
  case 1:
    return Has(f, tiMaximiseBox);
  case 2:
    return Has(f, tiMinimiseBox);
  case 3:
  case 11:
  case 12:
    return f.BorderStyleKind != bkDialog;
  default:
    return true;
  }
}

} // namespace

// ---- The set ------------------------------------------------------------------------------------

void TNcObjects::Build(const TSkinDataCore &skin, const PixelMap &iconPicture) {
  Clear();
  for (const auto &skinButton : skin.SysButtons) {
    auto button = std::make_unique<TWinSysButton>(*this, *skinButton);
    if (button->IsSystemIcon()) button->SetIconCopy(iconPicture);
    buttons_.push_back(std::move(button));
  }
}

void TNcObjects::Clear() {
  HotObject = nullptr;
  buttons_.clear();
}

TMenuBtn &TNcObjects::AddMenuItem() {
  menuItems_.push_back(std::make_unique<TMenuBtn>(*this));
  menuItems_.back()->Index = static_cast<int>(menuItems_.size()) - 1;
  return *menuItems_.back();
}

void TNcObjects::ClearMenuItems() {
  if (dynamic_cast<TMenuBtn *>(HotObject)) HotObject = nullptr;
  menuItems_.clear();
}

bool TNcObjects::UpdateButtonVisibility(std::size_t index, const TNcWindowFacts &facts) {
  TWinSysButton &b = *buttons_.at(index);
  const TDataSkinSysButton &s = b.SkinButton;
  const bool first = FirstCondition(s.Visibility, s.Action, facts, *this);
  b.Visible = first && SecondCondition(s.Visibility1, first, facts) && ActionAllows(s.Action, facts);
  return b.Visible;
}

void TNcObjects::UpdateVisibility(const TNcWindowFacts &facts) {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    UpdateButtonVisibility(i, facts);
}

void TNcObjects::LayoutTitleButtons(const TNcWindowFacts &facts, const TFrameMetrics &metrics) {
  int rightGroupLeft = 0;
  bool anyRight = false;
  for (const auto &bp : buttons_) {
    TWinSysButton &b = *bp;
    const PixelMap &picture = b.Picture();
    if (!b.Visible || picture.Empty() || b.FrameCount() < 1) continue;
    const int w = picture.Width() / b.FrameCount(), h = picture.Height();
    const TDataSkinSysButton &s = b.SkinButton;
    int x = b.BoundsRect.Left, y = b.BoundsRect.Top;
    switch (s.Align) {
    case 0:
      x = s.X, y = s.Y;
      break;
    case 1:
      x = facts.Width - s.X, y = s.Y;
      break;
    case 2:
    case 8:
      x = CaptionTextRect.Left - w - s.X, y = s.Y;
      break;
    case 3:
    case 9:
      x = CaptionTextRect.Right + s.X, y = s.Y;
      break;
    case 100:
      x = facts.RightToLeft ? s.X + metrics.Left + facts.MenuBarLeftMargin
                            : facts.Width - s.X - metrics.Right - facts.MenuBarLeftMargin;
      y = metrics.Caption + (metrics.MenuBar - h) / 2;
      break;
    default:
      break;
    }
    b.BoundsRect = Bounds(x, y, w, h);
    if (s.Align == 1) {
      // The left end of the right-hand group: the caption text of a popup window stops there.
      rightGroupLeft = anyRight ? std::min(rightGroupLeft, x) : x;
      anyRight = true;
    }
  }
  if (anyRight && rightGroupLeft > 0) RightButtonsLeft = rightGroupLeft;
}

TNCObject *TNcObjects::FindNCObject(TPoint p) const {
  for (const auto &b : buttons_)
    if (b->Visible && b->SkinButton.Action >= 0 && b->BoundsRect.Contains(p)) return b.get();
  for (const auto &item : menuItems_)
    if (!item->Caption.empty() && item->BoundsRect.Contains(p)) return item.get();
  return nullptr;
}

TWinSysButton *TNcObjects::AsButton(TNCObject *part) const { return dynamic_cast<TWinSysButton *>(part); }

TNCObject *TNcObjects::MouseMove(TPoint p) {
  TNCObject *part = FindNCObject(p);
  if (part)
    part->MouseEnter();
  else if (HotObject)
    HotObject->MouseLeave();
  return part;
}

TNCObject *TNcObjects::MouseDown(TPoint p) {
  TNCObject *part = FindNCObject(p);
  if (part) part->MouseDown();
  return part;
}

TWinSysButton *TNcObjects::MouseUp(TPoint p) {
  TNCObject *part = FindNCObject(p);
  TWinSysButton *button = AsButton(part);
  if (!button || part != HotObject) return nullptr;
  button->MouseUp();
  return button;
}

void TNcObjects::CheckHover(TPoint p) {
  if (HotObject && !HotObject->BoundsRect.Contains(p)) HotObject->MouseLeave();
}

} // namespace qv

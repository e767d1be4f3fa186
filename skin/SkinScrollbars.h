#pragma once
// The skinned scroll bars. A TWScrollbar is a small window laid over one scroll bar of another
// window (a memo's, a grid's, a list's) or over a stand-alone scroll-bar control, drawn from the
// skin's scroll-bar objects. It scrolls nothing itself: a press on it is handed to the real bar
// underneath at the same spot, so the platform tracks arrows, paging and the thumb and the
// scrolled window scrolls as it always does; the skinned bar follows what the window reports.
//
// TSkinScrollbar lays two of them over a control with its own scroll bars, TSkinScrollbarH does
// the same for a window without a control object, TSkinScControl lays one over a scroll-bar
// control. Switching the skinner off (WM_SKINENABLE 0) hides them and the window's own bars show.
#include "skin/ScrollGeometry.h"
#include "skin/WinSubClass.h"

#include <windows.h>

#include <memory>

namespace qv {

class TSkinData;

class TWScrollbar {
public:
  // A skinned bar over `bar` (SB_HORZ, SB_VERT, or SB_CTL for a scroll-bar control) of
  // `scrolled`, as a child of the scrolled window's parent, hidden until placed.
  TWScrollbar(HWND scrolled, int bar, const TSkinData *data);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar &) = delete;
  TWScrollbar &operator=(const TWScrollbar &) = delete;

  HWND Handle() const { return wnd_; }
  bool Vertical() const;
  bool Shown() const { return wnd_ && IsWindowVisible(wnd_); }
  // Moves over exactly the scrolled window's own bar, directly in front of it in the z-order,
  // shows and repaints; hides when the window or that bar is not shown. Returns Shown().
  bool Place();
  void Hide();
  // Repaints now.
  void Redraw();
  // The scrolled window reported a scroll code (WM_HSCROLL or WM_VSCROLL): that part shows
  // pressed while the mouse button is down, until SB_ENDSCROLL.
  void ScrollCode(int code);

  // The bar as drawn now at the given size (also what WM_PAINT copies to the window).
  PixelMap Compose(TSize size) const;
  // Its layout along the bar at that size, from the scrolled window's scroll information.
  TScrollLayout Layout(TSize size) const;
  TScrollPart HotPart() const { return hot_; }

private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);
  void Press(TPoint p);
  void Hover(TPoint p);
  TScrollPart PartAt(TPoint p) const;
  TSize Size() const;
  bool Disabled() const;
  // Whether the part shows pressed now.
  bool IsPressed(TScrollPart part) const;
  // Whether this window is in front of the scrolled one already (other skinned bars of the same
  // window may lie between them).
  bool InFront() const;

  HWND wnd_ = nullptr;
  HWND scrolled_ = nullptr;
  int bar_ = SB_VERT;
  const TSkinData *data_ = nullptr;
  TScrollPart active_ = spNone; // the part the scrolled window reported last
  TScrollPart hot_ = spNone;    // the part under the mouse
  bool tracking_ = false;       // our press is being tracked by the bar underneath
};

// A control with its own scroll bars (memos, grids, list boxes): two skinned bars over them and
// a border in the skin's colours.
class TSkinScrollbar : public TSkinControl {
  QV_DECLARE_CLASS(TSkinScrollbar)
public:
  explicit TSkinScrollbar(TComponent *owner);
  ~TSkinScrollbar() override;

  // The colour flag is not used: the control keeps its own colour.
  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  // Hooks the control and lays the skinned bars over its own.
  virtual void AttachScrollbar(TWinControl *control, TSkinData *data, TWinSkinForm *form, TCanvas *canvas);
  void AfterMessage(TMessage &m) override;
  // The border, the corner between the bars, and the bars placed and repainted.
  void Paint(HDC dc, const TRect &rect) override;
  void SkinEnableChanged() override;

  TWScrollbar *HorzBar() const { return horz_.get(); }
  TWScrollbar *VertBar() const { return vert_.get(); }

protected:
  // Makes the two bars over `scrolled` (after the window is hooked).
  void CreateBars(HWND scrolled);
  void PlaceBars();
  void HideBars();

  std::unique_ptr<TWScrollbar> horz_, vert_;
  bool border_ = true;
  bool addedClipSiblings_ = false;
};

// The scroll bars of a window without a control object (a list box inside a combo box).
class TSkinScrollbarH : public TSkinScrollbar {
  QV_DECLARE_CLASS(TSkinScrollbarH)
public:
  explicit TSkinScrollbarH(TComponent *owner);
  void AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) override;
};

// A stand-alone scroll-bar control: one skinned bar over the whole control.
class TSkinScControl : public TSkinControl {
  QV_DECLARE_CLASS(TSkinScControl)
public:
  explicit TSkinScControl(TComponent *owner);
  ~TSkinScControl() override;

  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  void AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) override;
  bool BeforeMessage(TMessage &m) override;
  void AfterMessage(TMessage &m) override;
  void SkinEnableChanged() override;

  TWScrollbar *Bar() const { return bar_.get(); }

private:
  void CreateBar();
  std::unique_ptr<TWScrollbar> bar_;
  bool addedClipSiblings_ = false;
};

// Gives a window WS_CLIPSIBLINGS so that its own painting stays under a skinned bar laid over it;
// true when it lacked the style (the caller takes it away again on detaching).
bool AddClipSiblings(HWND wnd);
void RemoveClipSiblings(HWND wnd);

} // namespace qv

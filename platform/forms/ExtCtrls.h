#pragma once
// Panels, images, splitters and timers.
#include "platform/forms/StdCtrls.h"

namespace qv {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A raised or sunken area with an optional caption that holds other controls.
class TCustomPanel : public TCustomControl {
  QV_DECLARE_CLASS(TCustomPanel)
public:
  explicit TCustomPanel(TComponent *owner);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut b);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int w);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int w);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

protected:
  void Paint() override;
  void AdjustClientRect(TRect &rect) override;

private:
  TBevelCut bevelInner_ = TBevelCut::bvNone, bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1, borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  TAlignment alignment_ = TAlignment::taCenter;
  void Changed();
};

class TPanel : public TCustomPanel {
  QV_DECLARE_CLASS(TPanel)
public:
  explicit TPanel(TComponent *owner) : TCustomPanel(owner) {}
};

// A picture: drawn at the top left, centred or stretched, optionally leaving out its
// transparent colour.
class TImage : public TGraphicControl {
  QV_DECLARE_CLASS(TImage)
public:
  explicit TImage(TComponent *owner);
  TBitmap *Picture() { return &picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on);
  bool Center() const { return center_; }
  void SetCenter(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);

protected:
  void Paint() override;

private:
  TBitmap picture_;
  bool stretch_ = false, center_ = false, transparent_ = false;
};

// A bar between aligned controls; dragging it resizes the control it follows.
class TSplitter : public TGraphicControl {
  QV_DECLARE_CLASS(TSplitter)
public:
  explicit TSplitter(TComponent *owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int m) { minSize_ = m; }
  TNotifyEvent OnMoved;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, uint32_t shift, int x, int y) override;
  void MouseMove(uint32_t shift, int x, int y) override;
  void MouseUp(TMouseButton button, uint32_t shift, int x, int y) override;
  void WndProc(TMessage &m) override;
  // The aligned control the splitter resizes (the one just before it on its side), or nullptr.
  TControl *FindResized() const;

private:
  int minSize_ = 30;
  bool dragging_ = false;
  TPoint downAt_{};
  int startSize_ = 0;
  TControl *resized_ = nullptr;
};

// A message timer: OnTimer every Interval milliseconds while Enabled.
class TTimer : public TComponent {
  QV_DECLARE_CLASS(TTimer)
public:
  explicit TTimer(TComponent *owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  TNotifyEvent OnTimer;
  void Loaded() override;

private:
  bool enabled_ = true;
  int interval_ = 1000;
  HWND window_ = nullptr;
  bool running_ = false;
  void UpdateTimer();
  static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
};

} // namespace qv

#pragma once
// Common controls: the progress bar (a msctls_progress32 window).
#include "platform/forms/Controls.h"

namespace qv {

class TProgressBar : public TWinControl {
  QV_DECLARE_CLASS(TProgressBar)
public:
  explicit TProgressBar(TComponent *owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  // Clamped to Min..Max.
  int Position() const;
  void SetPosition(int v);
  int Step() const { return step_; }
  void SetStep(int s) { step_ = s; }
  void StepIt() { SetPosition(Position() + step_); }
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool on) { smooth_ = on; }

protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;

private:
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  bool smooth_ = false;
};

} // namespace qv

#pragma once
// TSkinComBox: combo boxes drawn with the skin's edge and drop-down button over the combo box's
// own painting; the list of a simple combo box gets skinned scroll bars.
#include "skin/WinSubClass.h"

namespace qv {

class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
  QV_DECLARE_CLASS(TSkinComBox)
public:
  explicit TSkinComBox(TComponent *owner);

  void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) override;
  void AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) override;
  void AfterMessage(TMessage &m) override;
  void Paint(HDC dc, const TRect &rect) override;

  // The frame of the skin's button strip the combo box shows now: 2 pressed (the left button
  // on it, or the list dropped down), 4 focused or hot, 1 otherwise, 3 disabled.
  int Frame() const;
  TSkinScrollbarH *ListSkinner() const { return list_; }

private:
  // A simple combo box's list, a child window, gets skinned scroll bars.
  void SkinList();
  void PaintComposite(HDC dc, const TRect &rect, int frame) const;
  void PaintParts(HDC dc, const TRect &rect, int frame) const;

  bool pressed_ = false, hot_ = false;
  TSkinScrollbarH *list_ = nullptr; // owned as a component of this skinner
};

} // namespace qv

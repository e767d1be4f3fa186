#pragma once
// Unit WinSkinForm: the form skinner of one top-level window. It owns the control skinners of the
// window's children (made through the skin manager's choice rules), shares one canvas among them,
// and gives everything back on Detach. The frame, caption, title buttons and menu bar painting are
// added on top of this.
#include "platform/classes/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/WindowSubclass.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qv {

class TSkinData;
class TSkinControl;
class TCustomForm;
class TSkinFrame;

class TWinSkinForm : public TComponent {
  QV_DECLARE_CLASS(TWinSkinForm)
public:
  // owner: the form object when there is one (the skinner dies with it), else none.
  explicit TWinSkinForm(TComponent *owner);
  ~TWinSkinForm() override;

  // Takes a form object over (its WindowProc) and skins its child controls.
  void AttachForm(TCustomForm *form, TSkinData *data);
  // Takes a window without a form object over (subclassing its handle), for example a system
  // message box ("#32770"), and skins its child windows.
  void AttachWindow(HWND wnd, TSkinData *data);
  // Gives every child and the window itself back exactly as they were.
  void Detach();

  // Skins one more child (the manager's choice rules); the children of panels follow.
  void SkinControl(TControl *control);
  void SkinChildren(TWinControl *parent);
  // Every control owned by component goes through the choice rules.
  void SkinOwnedControls(TComponent *component);
  // Skins a child window without a control object (the foreign-window table).
  void SkinChildWindow(HWND wnd);

  // The skinners of this window's children register and unregister themselves.
  void AddSkinner(TSkinControl *skinner);
  void RemoveSkinner(TSkinControl *skinner);
  bool HasSkinner(const TControl *control) const;
  bool HasSkinnerForWindow(HWND wnd) const;
  const std::vector<TSkinControl *> &Skinners() const { return skinners_; }
  // Asks every control skinner to re-apply its colours and repaint.
  void RefreshControls();

  HWND Handle() const { return handle_; }
  TCustomForm *Form() const { return form_; }
  TSkinData *SkinData() const { return data_; }
  TCanvas *Canvas() { return &canvas_; }
  // 1 attached, 6 finished once the window was destroyed.
  int State() const { return state_; }
  // The skinned frame (caption, borders, title buttons, menu bar, region); none when the window is
  // not attached.
  TSkinFrame *Frame() const { return frame_.get(); }
  // The module whose windows this skinner serves.
  HINSTANCE Module() const { return module_; }
  void SetModule(HINSTANCE module) { module_ = module; }

private:
  void FormMessage(TMessage &m);
  void ForeignMessage(TMessage &m);
  void HandleMessage(TMessage &m, const TWndMethod &next);
  void AttachFrame();

  HWND handle_ = nullptr;
  TCustomForm *form_ = nullptr;
  TSkinData *data_ = nullptr;
  TCanvas canvas_;
  TWindowProcHook hook_;     // a form object
  TWindowSubclass subclass_; // a window without one
  TColor formColour_ = clBtnFace;
  bool formParentColour_ = false;
  std::vector<TSkinControl *> skinners_;
  std::unique_ptr<TSkinFrame> frame_;
  int state_ = 0;
  HINSTANCE module_ = nullptr;
};

} // namespace qv

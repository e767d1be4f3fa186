#pragma once
// Forms, the application object, the screen and data modules.
//
// A window class of the program derives from TForm, registers its handlers and fields, and
// loads its layout at the end of its constructor:
//
//   Tfmlogin::Tfmlogin(TComponent *owner) : TForm(owner) {
//     RegisterHandler("FormShow", this, &Tfmlogin::FormShow);
//     BindField("Edit1", Edit1);
//     CreateFromLayout(); // loads the layout resource "Tfmlogin", then runs OnCreate
//   }
//
// The first form created with the application as owner is the main form; closing it ends the
// application's message loop.
#include "platform/forms/Controls.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
constexpr uint32_t biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8;

// Modal results.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
              mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = TEvent<TObject *, TCloseAction &>;
using TCloseQueryEvent = TEvent<TObject *, bool &>;

class TCustomForm : public TWinControl {
  QV_DECLARE_CLASS(TCustomForm)
public:
  explicit TCustomForm(TComponent *owner);
  // Runs OnDestroy, frees the owned components, destroys the window, leaves the screen.
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle s);
  uint32_t BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(uint32_t icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState s);
  TMainMenu *Menu() const { return menu_; }
  void SetMenu(TMainMenu *m);
  TWinControl *ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl *c);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on) { keyPreview_ = on; }
  // Published for code that switches it off (a skin engine); forms do not scroll their content.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool on) { autoScroll_ = on; }

  // Client size: for a form the window grows or shrinks by its frame.
  void SetClientWidth(int w) override;
  void SetClientHeight(int h) override;
  void SetVisible(bool v) override;
  bool CanFocus() const override;
  void SetFocus() override;

  // Shows the form and brings it to the front.
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form modally: every other enabled top-level window of the thread is disabled, a
  // nested message loop runs until ModalResult becomes non-zero (Close sets mrCancel), the form
  // is hidden and the others enabled again. Returns the modal result.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  // Asks OnCloseQuery and OnClose; then hides, frees (later), minimises or, for the main form,
  // ends the application. A modal form only gets ModalResult = mrCancel.
  void Close();
  // Runs OnCloseQuery; false when the form refuses to close.
  virtual bool CloseQuery();
  // Frees the form once the messages now pending have been handled.
  void Release();
  // The window procedure's active state: the form is the screen's active form.
  bool Active() const { return active_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnResize;
  TNotifyEvent OnPaint;

  // Framework use: focus moved to c inside this form (broadcasts CM_FOCUSCHANGED).
  void FocusChanged(TWinControl *c);
  // Framework use: a control left the form (clears the active control).
  void ControlRemoved(TControl *c);
  // Framework use: the main menu changed (sends CM_MENUCHANGED, redraws the menu bar).
  void MenuChanged();

  void Loaded() override;

protected:
  // Loads the layout resource named after the class (or name), then runs OnCreate.
  void CreateFromLayout(const std::string &name = {});
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoClose(TCloseAction &action);
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;
  void PaintWindow(HDC dc) override;
  void VisibleChanged() override;
  void Notification(TComponent *c, TOperation op) override;
  TRect ClientRect() const override;

private:
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TPosition position_ = TPosition::poDesigned;
  TWindowState windowState_ = TWindowState::wsNormal;
  TMainMenu *menu_ = nullptr;
  TWinControl *activeControl_ = nullptr;
  bool keyPreview_ = false;
  bool autoScroll_ = true;
  bool modal_ = false;
  int modalResult_ = mrNone;
  bool active_ = false;
  bool shownOnce_ = false;
  bool showWhenLoaded_ = false;
  bool creating_ = false;
  int pendingClientWidth_ = -1, pendingClientHeight_ = -1;
  TCanvas canvas_;
  void PlaceOnShow();
  void DialogKey(TMessage &m);
  void Activated(bool on, HWND other);
  void ApplyMenu();
  void CloseModal();
  void FocusFirstControl();
  DWORD WindowStyle(DWORD &exStyle) const;
  TSize FrameSize() const;
};

class TForm : public TCustomForm {
  QV_DECLARE_CLASS(TForm)
public:
  explicit TForm(TComponent *owner) : TCustomForm(owner) {}
};

// A non-visual container of components with a layout (the program's data module).
class TDataModule : public TComponent {
  QV_DECLARE_CLASS(TDataModule)
public:
  explicit TDataModule(TComponent *owner);
  ~TDataModule() override;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

protected:
  // Loads the layout resource named after the class (or name), then runs OnCreate.
  void CreateFromLayout(const std::string &name = {});
};

class TScreen : public TComponent {
  QV_DECLARE_CLASS(TScreen)
public:
  explicit TScreen(TComponent *owner);
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm *Forms(int i) const { return forms_.at(i); }
  int DataModuleCount() const { return static_cast<int>(dataModules_.size()); }
  TDataModule *DataModules(int i) const { return dataModules_.at(i); }
  TCustomForm *ActiveForm() const { return activeForm_; }
  TWinControl *ActiveControl() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The work area (screen less the task bar).
  TRect WorkArea() const;

  // Framework use.
  void AddForm(TCustomForm *f);
  void RemoveForm(TCustomForm *f);
  void AddDataModule(TDataModule *d);
  void RemoveDataModule(TDataModule *d);
  // f became the active form (it goes on top of the activation order).
  void FormActivated(TCustomForm *f);
  // f was hidden or freed: the form active before it becomes the active form again.
  void FormGone(TCustomForm *f);

private:
  std::vector<TCustomForm *> forms_;
  std::vector<TDataModule *> dataModules_;
  std::vector<TCustomForm *> activation_; // the active form last
  TCustomForm *activeForm_ = nullptr;
};

using TExceptionEvent = TEvent<TObject *, const std::exception &>;

class TApplication : public TComponent {
  QV_DECLARE_CLASS(TApplication)
public:
  explicit TApplication(TComponent *owner);
  ~TApplication() override;

  // Registers the standard classes and the common controls and makes the hidden application
  // window (class "TApplication"). Safe to call more than once.
  void Initialize();
  // Creates a form or data module owned by the application and stores it in ref (before its
  // layout loads, so that handlers running while it loads can reach it).
  template <class T> void CreateForm(T *&ref) {
    ref = nullptr;
    pendingRef_ = reinterpret_cast<void **>(&ref);
    T *obj = new T(this);
    pendingRef_ = nullptr;
    ref = obj;
  }
  // Shows the main form and runs the message loop until Terminate (closing the main form).
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();
  // Dispatches msg with the framework's keyboard handling (dialog keys, key events); false
  // after WM_QUIT.
  bool ProcessMessage(MSG &msg);

  // Shows an exception that escaped an event handler in the standard error box (OnException
  // may take over); the loop goes on.
  void HandleException(const std::exception &e);
  void ShowException(const std::exception &e);
  // MessageBoxW owned by the active form, with the application's title when caption is empty.
  int MessageBox(const std::string &text, const std::string &caption = {}, UINT flags = MB_OK);

  TCustomForm *MainForm() const { return mainForm_; }
  HWND Handle() const { return handle_; }
  const std::string &Title() const { return title_; }
  void SetTitle(const std::string &t);
  TExceptionEvent OnException;

  // Framework use: a form was constructed with owner; the first owned by the application is
  // the main form.
  void FormCreated(TCustomForm *f, TComponent *owner);
  void FormDestroyed(TCustomForm *f);
  // Framework use: the reference CreateForm fills while the object is being constructed.
  void FillPendingReference(void *obj);

private:
  HWND handle_ = nullptr;
  TCustomForm *mainForm_ = nullptr;
  bool terminated_ = false;
  bool initialized_ = false;
  std::string title_;
  void **pendingRef_ = nullptr;
  static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
};

// The process's application and screen objects (made on first use of the framework).
extern TApplication *Application;
extern TScreen *Screen;

// Registers every class of the framework by name (called by TApplication::Initialize).
void RegisterStandardClasses();

} // namespace qv

#pragma once
// Unit WinSkinData: the skin objects and their load (WinSkinObjects.h) and the TSkinData
// component that carries a skin package in a layout.
#include "platform/classes/Component.h"
#include "platform/classes/Events.h"
#include "platform/classes/Strings.h"
#include "skin/WinSkinObjects.h"

#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/graphics/Graphics.h"
#endif

namespace qv {

class TSkinDataDevice;
class TWinSkinForm;
class TSkinControl;
class TControl;
class TWinControl;

// Kinds of control and menu a skin data component skins (bit = ordinal).
enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport
};
// Behaviour switches (bit = ordinal; the set fits one byte).
enum TSkinOption {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoMDIChildBorder
};
enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

constexpr uint32_t SkinBit(int member) { return 1u << member; }

// The component that carries a skin package (the binary property "SkinStream", or a file named by
// SkinFile), builds the skin objects from it and holds the settings that decide what is skinned.
// It reaches the skin manager only through the manager's link (SkinManagerLink.h).
class TSkinData : public TComponent {
  QV_DECLARE_CLASS(TSkinData)
public:
  explicit TSkinData(TComponent *owner);
  ~TSkinData() override;

  bool Active() const { return active_; }
  // Stores the value; at run time (not while the layout is read) tells the manager: the main-form
  // kind skins (not without a skin) or unskins every window after a short delay, the
  // this-form-only kind its owner form; other kinds only store it.
  void SetActive(bool value);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int value) { disableTag_ = value; }
  uint32_t SkinControls() const { return skinControls_; }
  void SetSkinControls(uint32_t value) { skinControls_ = value & ((1u << (xcFastReport + 1)) - 1); }
  uint8_t Options() const { return options_; }
  void SetOptions(uint8_t value) { options_ = value; }
  TStrings *Skin3rd() const { return skin3rd_.get(); }
  const std::string &SkinFile() const { return skinFile_; }
  // Marks the component as holding no skin, then loads the file as the package; a main-form
  // component that loaded outside layout reading applies the new skin. A path that names no file
  // is reported and loads nothing (the mark stays until a later load succeeds); an empty path only
  // clears the property. Returns whether a skin was loaded.
  bool SetSkinFile(const std::string &path);
  std::string SkinStore() const { return package_.empty() ? "(none)" : "(Good)"; }
  void SetSkinStore(const std::string &) {}
  TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType value) { formType_ = value; }
  std::string Version() const { return "3.64.10.19"; }
  void SetVersion(const std::string &) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }

  // "SkinStream": a 32-bit little-endian size, then the packed package. Reading a stream stores
  // the package and loads it; a size of 0 or less leaves no package and loads nothing; a size
  // beyond the bytes given is refused like a damaged package.
  TBytes SkinStream() const;
  void SetSkinStream(const TBytes &stream);
  // Replaces the package and loads it. A refused package (old mark, damaged) is reported once and
  // leaves the component without a skin until a later load succeeds; the objects of the skin
  // before stay in memory for the windows that still paint with them. Returns whether it loaded.
  bool LoadPackage(const TBytes &packed);
  const TBytes &Package() const { return package_; }

  bool NoSkinLoaded() const { return skin_.NoSkinLoaded(); }
  TSkinDataCore &Skin() { return skin_; }
  const TSkinDataCore &Skin() const { return skin_; }

  // At the end of layout loading (run time): registers with the skin manager and starts it. For
  // the main-form kind: installs the hook; Active without a skin is cleared, else the windows are
  // skinned after a short delay; menu items are skinned through the main menu when that is on,
  // else the system menu is left alone; the application icon is copied.
  void Loaded() override;
  // After a new package was loaded into a running program: registers first if Loaded has not run,
  // has every form skinner of this component re-read its objects and, once the manager has
  // started, refreshes the windows after a short delay.
  void ApplySkin();

  // The size of a maximised window, read when the component is made (0 x 0 without a screen).
  TSize MaximisedSize() const { return maximised_; }
#ifdef _WIN32
  // The skin's button face colour as a solid brush, made again at every load (null before one).
  HBRUSH ButtonFaceBrush() const;
  // The 16x16 menu glyphs: 0 restore, 1 maximise, 2 minimise, 3 close; white is transparent.
  TImageList *MenuGlyphList() const;
  // The application window's icon at small-icon size on magenta (empty before Loaded of a
  // main-form component, or when the application has no icon).
  const PixelMap &ApplicationIcon() const;
#endif

  // Lets the application veto skinning of a window class.
  TEvent<TObject *, const std::string &, bool &> OnFormSkin;
  // After every delayed command of the skin manager.
  TNotifyEvent OnSkinChanged;
  // Lets the application supply the skinner of a child control: form skinner, this component,
  // the skinner (in: none), the upper-case class name, the control and its parent.
  TEvent<TWinSkinForm *, TSkinData *, TSkinControl *&, const std::string &, TControl *, TWinControl *>
      OnSkinControl;
  void DoFormSkin(const std::string &className, bool &skin) { OnFormSkin(this, className, skin); }
  void DoSkinChanged() { OnSkinChanged(this); }

  static const std::vector<std::string> &DefaultSkin3rd();

private:
  // Counts as a load from its start: no skin until it completes.
  bool LoadSkin(const TBytes &packed);

  TSkinDataCore skin_;
  std::unique_ptr<TSkinDataDevice> device_;
  TBytes package_;
  bool active_ = false;
  bool registered_ = false;
  int disableTag_ = 99;
  uint32_t skinControls_;
  uint8_t options_ = SkinBit(xoPreview) | SkinBit(xoToolbarBK);
  std::unique_ptr<TStrings> skin3rd_;
  std::string skinFile_;
  TSkinFormType formType_ = TSkinFormType::sfMainform;
  bool menuUpdate_ = true, menuMerge_ = false;
  TSize maximised_;
};

// Registers the skin engine's component classes for layouts.
void RegisterSkinClasses();

} // namespace qv

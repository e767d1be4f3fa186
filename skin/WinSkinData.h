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

namespace qv {

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
// The skin manager that acts on these settings attaches through Loaded and SetActive.
class TSkinData : public TComponent {
  QV_DECLARE_CLASS(TSkinData)
public:
  explicit TSkinData(TComponent *owner);
  ~TSkinData() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int value) { disableTag_ = value; }
  uint32_t SkinControls() const { return skinControls_; }
  void SetSkinControls(uint32_t value) { skinControls_ = value & ((1u << (xcFastReport + 1)) - 1); }
  uint8_t Options() const { return options_; }
  void SetOptions(uint8_t value) { options_ = value; }
  TStrings *Skin3rd() const { return skin3rd_.get(); }
  const std::string &SkinFile() const { return skinFile_; }
  // Marks the component as holding no skin, then, if the file exists, loads it as the package.
  // Returns whether a skin was loaded.
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

  // "SkinStream": a 32-bit little-endian size, then the packed package. Reading a stream loads
  // the skin; a size of 0 or less leaves no package and loads nothing; a size beyond the bytes
  // given is refused (nothing stored, the previous skin stays).
  TBytes SkinStream() const;
  void SetSkinStream(const TBytes &stream);
  // Replaces the package and loads it; false (previous skin kept) when it is refused.
  bool LoadPackage(const TBytes &packed);
  const TBytes &Package() const { return package_; }

  bool NoSkinLoaded() const { return skin_.NoSkinLoaded(); }
  TSkinDataCore &Skin() { return skin_; }
  const TSkinDataCore &Skin() const { return skin_; }

  // At the end of layout loading: no skin, no skinning; menu items are skinned through the main
  // menu when that is on, else the system menu is left alone.
  void Loaded() override;

  // Lets the application veto skinning of a window class.
  TEvent<TObject *, const std::string &, bool &> OnFormSkin;
  // After every delayed command of the skin manager.
  TNotifyEvent OnSkinChanged;
  void DoFormSkin(const std::string &className, bool &skin) { OnFormSkin(this, className, skin); }
  void DoSkinChanged() { OnSkinChanged(this); }

  static const std::vector<std::string> &DefaultSkin3rd();

private:
  TSkinDataCore skin_;
  TBytes package_;
  bool active_ = false;
  int disableTag_ = 99;
  uint32_t skinControls_;
  uint8_t options_ = SkinBit(xoPreview) | SkinBit(xoToolbarBK);
  std::unique_ptr<TStrings> skin3rd_;
  std::string skinFile_;
  TSkinFormType formType_ = TSkinFormType::sfMainform;
  bool menuUpdate_ = true, menuMerge_ = false;
};

// What a skin data component tells the process's skin manager, which installs the link (the
// manager needs windows; the component does not).
class TSkinDataLink {
public:
  virtual ~TSkinDataLink() = default;
  // At the end of layout loading at run time.
  virtual void DataLoaded(TSkinData &data) = 0;
  // Active was set at run time (not while loading).
  virtual void DataActiveChanged(TSkinData &data) = 0;
  // A new package was loaded at run time.
  virtual void DataSkinApplied(TSkinData &data) = 0;
  virtual void DataDestroyed(TSkinData &data) = 0;
};
void SetSkinDataLink(TSkinDataLink *link);
TSkinDataLink *SkinDataLink();

// Registers the skin engine's component classes for layouts.
void RegisterSkinClasses();

} // namespace qv

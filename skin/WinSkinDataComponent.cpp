// TSkinData: published properties, the package it carries and its load.
#include "platform/base/FileIO.h"
#include "platform/classes/ClassBuilder.h"
#include "skin/SkinBytes.h"
#include "skin/SkinDataDevice.h"
#include "skin/SkinManagerLink.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"

#include <filesystem>

namespace qv {

namespace {

const std::vector<std::string> kControlTypes = {
    "xcMainMenu", "xcPopupMenu",   "xcMenuItem",   "xcToolbar",   "xcControlbar", "xcCombo",
    "xcCheckBox", "xcRadioButton", "xcProgress",   "xcScrollbar", "xcEdit",       "xcButton",
    "xcBitBtn",   "xcSpeedButton", "xcSpin",       "xcPanel",     "xcGroupBox",   "xcStatusBar",
    "xcTab",      "xcTrackBar",    "xcSystemMenu", "xcFastReport"};
const std::vector<std::string> kOptions = {"xoMDIScrollbar", "xoMenuMerge",        "xoTransparent",
                                           "xoPreview",      "xoParentBackGround", "xoNoFocusRect",
                                           "xoToolbarBK",    "xoMDIChildBorder"};
const std::vector<std::string> kFormTypes = {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"};

constexpr uint32_t kAllControls = (1u << (xcFastReport + 1)) - 1;
constexpr uint32_t kDefaultControls = kAllControls & ~SkinBit(xcMenuItem) & ~SkinBit(xcFastReport);
constexpr int kCommandDelay = 250; // milliseconds before the manager carries a command out

} // namespace

const std::vector<std::string> &TSkinData::DefaultSkin3rd() {
  static const std::vector<std::string> list = {"TVirtualStringTree=scrollbar",
                                                "TVirtualDrawTree=scrollbar",
                                                "TTBXDockablePanel=Panel",
                                                "TAdvPanelGroup=scrollbar",
                                                "TComboboxex=combobox",
                                                "TRxSpeedButton=speedbutton",
                                                "THTMLViewer=scrollbar",
                                                "TDBCtrlGrid=scrollbar",
                                                "TfrSpeedButton=speedbutton",
                                                "TfrTBButton=speedbutton",
                                                "TControlBar=Panel",
                                                "TTBDock=Panel",
                                                "TTBToolbar=Panel",
                                                "TAdvPageControl=nil",
                                                "TImageEnMView=scrollbar",
                                                "TImageEnView=scrollbar",
                                                "TAdvMemo=scrollbar",
                                                "TDBAdvMemo=scrollbar",
                                                "TcxDBLookupComboBox=combobox",
                                                "TcxDBComboBox=combobox",
                                                "TcxDBDateEdit=combobox",
                                                "TcxDBImageComboBox=combobox",
                                                "TcxDBCalcEdit=combobox",
                                                "TcxDBBlobEdit=combobox",
                                                "TcxDBPopupEdit=combobox",
                                                "TcxDBFontNameComboBox=combobox",
                                                "TcxDBShellComboBox=combobox",
                                                "TRxLookupEdit=combobox",
                                                "TRxDBLookupCombo=combobox",
                                                "TRzGroup=panel",
                                                "TRzButton=button",
                                                "TRzBitbtn=bitbtn",
                                                "TRzMenuButton=bitbtn",
                                                "TRzCheckGroup=CheckGroup",
                                                "TRzRadioGroup=Radiogroup",
                                                "TRzButtonEdit=Edit",
                                                "TRzDBRadioGroup=Radiogroup",
                                                "TRzDBRadioButton=Radiobutton",
                                                "TRzDateTimeEdit=combobox",
                                                "TRzColorEdit=combobox",
                                                "TRzDateTimePicker=combobox",
                                                "TRzDBDateTimeEdit=combobox",
                                                "TRzDbColorEdit=combobox",
                                                "TRzDBDateTimePicker=combobox",
                                                "TLMDButton=bitbtn",
                                                "TLMDGroupBox=Groupbox",
                                                "TDBCheckboxEh=Checkbox",
                                                "TLMDCHECKBOX=Checkbox",
                                                "TLMDDBCHECKBOX=Checkbox",
                                                "TLMDRadiobutton=Radiobutton",
                                                "TLMDCalculator=panel",
                                                "TLMDGROUPBOX=Panel",
                                                "TLMDSIMPLEPANEL=Panel",
                                                "TLMDDBCalendar=Panel",
                                                "TLMDButtonPanel=Panel",
                                                "TLMDLMDCalculator=Panel",
                                                "TLMDHeaderPanel=Panel",
                                                "TLMDTechnicalLine=Panel",
                                                "TLMDLMDClock=Panel",
                                                "TLMDTrackbar=panel",
                                                "TLMDListCombobox=combobox",
                                                "TLMDCheckListCombobox=combobox",
                                                "TLMDHeaderListCombobox=combobox",
                                                "TLMDImageCombobox=combobox",
                                                "TLMDColorCombobox=combobox",
                                                "TLMDFontCombobox=combobox",
                                                "TLMDFontSizeCombobox=combobox",
                                                "TLMDPrinterCombobox=combobox",
                                                "TLMDDriveCombobox=combobox",
                                                "TLMDCalculatorComboBox=combobox",
                                                "TLMDTrackBarComboBox=combobox",
                                                "TLMDCalendarComboBox=combobox",
                                                "TLMDTreeComboBox=combobox",
                                                "TLMDRADIOGROUP=radiogroup",
                                                "TLMDCheckGroup=CheckGroup",
                                                "TLMDDBRADIOGROUP=radiogroup",
                                                "TLMDDBCheckGroup=CheckGroup",
                                                "TLMDCalculatorEdit=edit",
                                                "TLMDEDIT=Edit",
                                                "TLMDMASKEDIT=Edit",
                                                "TLMDBROWSEEDIT=Edit",
                                                "TLMDEXTSPINEDIT=Edit",
                                                "TLMDCALENDAREDIT=Edit",
                                                "TLMDFILEOPENEDIT=Edit",
                                                "TLMDFILESAVEEDIT=Edit",
                                                "TLMDCOLOREDIT=Edit",
                                                "TLMDDBEDIT=Edit",
                                                "TLMDDBMASKEDIT=Edit",
                                                "TLMDDBEXTSPINEDIT=Edit",
                                                "TLMDDBSPINEDIT=Edit",
                                                "TLMDDBEDITDBLookup=Edit",
                                                "TLMDEDITDBLookup=Edit",
                                                "TDBLookupCombobox=Combobox",
                                                "TWWDBCombobox=Combobox",
                                                "TWWDBLookupCombo=Combobox",
                                                "TWWKeyCombo=Combobox",
                                                "TWWTempKeyCombo=combobox",
                                                "TWWDBDateTimePicker=Combobox",
                                                "TWWRADIOGROUP=radiogroup",
                                                "TWWDBEDIT=Edit",
                                                "TcxButton=bitbtn",
                                                "TcxDBRadioGroup=radiogroup",
                                                "TcxRadioGroup=radiogroup",
                                                "TOVCPICTUREFIELD=Edit",
                                                "TOVCDBPICTUREFIELD=Edit",
                                                "TOVCSLIDEREDIT=Edit",
                                                "TOVCDBSLIDEREDIT=Edit",
                                                "TOVCSIMPLEFIELD=Edit",
                                                "TOVCDBSIMPLEFIELD=Edit",
                                                "TO32DBFLEXEDIT=Edit",
                                                "TOVCNUMERICFIELD=Edit",
                                                "TOVCDBNUMERICFIELD=Edit"};
  return list;
}

const TClassInfo &TSkinData::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinData, TComponent>("TSkinData", [](auto &c) {
    c.Boolean("Active", &TSkinData::Active, &TSkinData::SetActive, false);
    c.Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag, 99);
    c.Set("SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls, kControlTypes,
          kDefaultControls);
    c.Set("Options", &TSkinData::Options, &TSkinData::SetOptions, kOptions,
          static_cast<uint32_t>(SkinBit(xoPreview) | SkinBit(xoToolbarBK)));
    c.StringList("Skin3rd", &TSkinData::Skin3rd);
    c.String(
        "SkinFile", &TSkinData::SkinFile, [](TSkinData &d, const std::string &path) { d.SetSkinFile(path); },
        std::string());
    c.String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
    c.Enum("SkinFormtype", &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype, kFormTypes, 0);
    c.String("Version", &TSkinData::Version, &TSkinData::SetVersion, std::string("3.64.10.19"));
    c.Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate, true);
    c.Boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge, false);
    c.Binary("SkinStream", &TSkinData::SkinStream, &TSkinData::SetSkinStream);
    c.Event("OnFormSkin", &TSkinData::OnFormSkin);
    c.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
    c.Event("OnSkinControl", &TSkinData::OnSkinControl);
  });
  return info;
}

TSkinData::TSkinData(TComponent *owner)
    : TComponent(owner), device_(CreateSkinDataDevice()), skinControls_(kDefaultControls),
      skin3rd_(std::make_unique<TStrings>()) {
  skin3rd_->Assign(DefaultSkin3rd());
  if (device_) maximised_ = device_->MaximisedSize();
}

TSkinData::~TSkinData() {
  if (registered_)
    if (TSkinManagerLink *link = SkinManagerLink()) link->UnregisterSkinData(this);
  DestroyComponents();
}

void TSkinData::SetActive(bool value) {
  active_ = value;
  TSkinManagerLink *link = SkinManagerLink();
  if (Loading() || !link) return;
  switch (formType_) {
  case TSkinFormType::sfOnlyThisForm:
    if (value && NoSkinLoaded()) return;
    link->PostCommand(this, value ? scSkin : scUnskin, kCommandDelay);
    break;
  case TSkinFormType::sfMainform:
    if (!value) {
      link->PostCommand(this, scUnskin, kCommandDelay);
    } else if (!NoSkinLoaded()) {
      link->PostCommand(this, scSkin, kCommandDelay);
      link->SetStarted();
    }
    break;
  default:
    break;
  }
}

bool TSkinData::LoadSkin(const TBytes &packed) {
  if (device_) skin_.Metrics = device_->Metrics();
  if (!skin_.LoadPackage(packed)) return false;
  if (device_) device_->SkinLoaded(skin_);
  return true;
}

bool TSkinData::LoadPackage(const TBytes &packed) {
  package_ = packed;
  return LoadSkin(package_);
}

TBytes TSkinData::SkinStream() const {
  TBytes out;
  AppendLE32(out, static_cast<uint32_t>(package_.size()));
  out.insert(out.end(), package_.begin(), package_.end());
  return out;
}

void TSkinData::SetSkinStream(const TBytes &stream) {
  const int32_t size = stream.size() >= 4 ? static_cast<int32_t>(ReadLE32(stream.data())) : 0;
  if (size <= 0) {
    package_.clear();
    return;
  }
  if (static_cast<uint64_t>(size) > stream.size() - 4) {
    // Nothing of a cut stream is kept; the component holds no skin, as after any refused load.
    skin_.MarkNoSkin();
    ShowSkinMessage("SkinStream: the stored size " + std::to_string(size) + " is larger than the " +
                    std::to_string(stream.size() - 4) + " bytes present; the skin is not loaded");
    return;
  }
  LoadPackage(TBytes(stream.begin() + 4, stream.begin() + 4 + size));
}

bool TSkinData::SetSkinFile(const std::string &path) {
  skinFile_ = path;
  if (path.empty()) return false;
  skin_.MarkNoSkin();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::u8path(path), ec)) {
    ShowSkinMessage("Skin file not found: " + path);
    return false;
  }
  TBytes packed;
  try {
    packed = ReadFileBytes(path);
  } catch (const Exception &e) {
    ShowSkinMessage(e.Message());
    return false;
  }
  if (!LoadPackage(packed)) return false;
  if (formType_ == TSkinFormType::sfMainform && !Loading()) ApplySkin();
  return true;
}

void TSkinData::ApplySkin() {
  if (!registered_) Loaded();
  TSkinManagerLink *link = SkinManagerLink();
  if (!link) return;
  link->ReloadSkinners(this);
  if (link->Started()) link->PostCommand(this, scRefresh, kCommandDelay);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (device_ && !device_->CanSkinScrollbars()) skinControls_ &= ~SkinBit(xcScrollbar);
  TSkinManagerLink *link = SkinManagerLink();
  if (link && !registered_) {
    link->RegisterSkinData(this);
    registered_ = true;
  }
  if (formType_ != TSkinFormType::sfMainform) {
    if (link) link->StartAtOnce(this);
    return;
  }
  if (link) link->InstallHook();
  if (active_) {
    if (NoSkinLoaded())
      active_ = false;
    else if (link)
      link->PostCommand(this, scSkin, kCommandDelay);
  }
  if (skinControls_ & SkinBit(xcMainMenu))
    skinControls_ &= ~SkinBit(xcMenuItem);
  else
    skinControls_ &= ~SkinBit(xcSystemMenu);
  if (device_) device_->ReadApplicationIcon();
}

#ifndef _WIN32
std::unique_ptr<TSkinDataDevice> CreateSkinDataDevice() { return nullptr; }
#endif

void RegisterSkinClasses() { RegisterClasses<TSkinData, TSkinStore>(); }

} // namespace qv

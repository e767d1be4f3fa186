// The Windows side of the skin data component: the button-face brush, the menu glyph image list,
// the copy of the application icon and the system's measures.
#include "platform/forms/Forms.h"
#include "skin/SkinDataDevice.h"
#include "skin/SkinDraw.h"
#include "skin/SkinGdi.h"
#include "skin/WinSkinData.h"

namespace qv {

namespace {

// The application window's small icon, else its large one (asked of the window, then its class).
HICON ApplicationWindowIcon(HWND app) {
  for (const auto &[kind, classIndex] :
       {std::pair{ICON_SMALL, GCLP_HICONSM}, std::pair{ICON_BIG, GCLP_HICON}}) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, kind, 0))) return icon;
    if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(app, classIndex))) return icon;
  }
  return nullptr;
}

class TSkinDataGdi : public TSkinDataDevice {
public:
  TSkinDataGdi() : glyphs_(CreateMenuGlyphList(BuiltinSkinBitmap("TRELLISMENU"))) {}

  TSkinMetrics Metrics() const override {
    TSkinMetrics m;
    m.HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    return m;
  }
  TSize MaximisedSize() const override {
    return {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
  void SkinLoaded(const TSkinDataCore &skin) override {
    brush_.Reset(CreateSolidBrush(ResolveColor(skin.Palette.ButtonFace)));
  }
  bool CanSkinScrollbars() const override {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 && GetProcAddress(user32, "GetScrollBarInfo");
  }
  void ReadApplicationIcon() override;

  TBrushHandle brush_;
  std::unique_ptr<TImageList> glyphs_;
  PixelMap icon_;
};

void TSkinDataGdi::ReadApplicationIcon() {
  icon_ = PixelMap();
  const HWND app = Application ? Application->Handle() : nullptr;
  const HICON icon = app ? ApplicationWindowIcon(app) : nullptr;
  if (!icon) return;
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  TBitmap picture;
  picture.SetSize(w, h);
  FillRect(picture.Pixels(), {0, 0, w, h}, kSkinTransparent);
  DrawIconEx(picture.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  icon_ = picture.Pixels();
  // A 24-bit picture: whatever the icon left in the unused byte is dropped.
  for (int y = 0; y < h; ++y)
    for (Pixel *p = icon_.Row(y), *end = p + w; p != end; ++p)
      *p &= 0xFFFFFF;
}

const TSkinDataGdi &Gdi(const std::unique_ptr<TSkinDataDevice> &device) {
  return static_cast<const TSkinDataGdi &>(*device);
}

} // namespace

std::unique_ptr<TSkinDataDevice> CreateSkinDataDevice() { return std::make_unique<TSkinDataGdi>(); }

HBRUSH TSkinData::ButtonFaceBrush() const { return Gdi(device_).brush_.Get(); }

TImageList *TSkinData::MenuGlyphList() const { return Gdi(device_).glyphs_.get(); }

const PixelMap &TSkinData::ApplicationIcon() const { return Gdi(device_).icon_; }

} // namespace qv

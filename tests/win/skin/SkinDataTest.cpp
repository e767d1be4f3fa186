// The skin data component on Windows: what it owns on the system (brush, glyph list, icon), the
// system's measures and colours it reads, the message box of a refused package, and the drawing
// primitives leaving a window alone when they have nothing to draw.
#include "platform/forms/Forms.h"
#include "platform/graphics/Bmp.h"
#include "skin/SkinGdi.h"
#include "skin/SkinManagerLink.h"
#include "skin/SkinMessageBox.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinData.h"
#include "tests/common/WindowSearch.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qv {
namespace {

TBytes Package(const std::string &ini, std::vector<TSkinEntry> files = {}) {
  files.insert(files.begin(), TSkinEntry{"skin.ini", TBytes(ini.begin(), ini.end())});
  return PackLzh(BuildSkinArchive(files));
}

TBytes Bmp(int w, int h, TColor fill) { return EncodeBmp24(PixelMap(w, h, PixelFromColor(fill))); }

TColor BrushColour(HBRUSH brush) {
  LOGBRUSH info{};
  GetObjectW(brush, sizeof info, &info);
  return static_cast<TColor>(info.lbColor);
}

TEST(SkinDataWin, ButtonFaceBrushIsMadeAgainAtEveryLoad) {
  TSkinData data(nullptr);
  EXPECT_EQ(data.ButtonFaceBrush(), nullptr);
  ASSERT_TRUE(data.LoadPackage(Package("[Colours]\r\nButtonFace=10 20 30\r\n")));
  ASSERT_NE(data.ButtonFaceBrush(), nullptr);
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), RGBColor(10, 20, 30));
  ASSERT_TRUE(data.LoadPackage(Package("[Colours]\r\nButtonFace=200 100 0\r\n")));
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), RGBColor(200, 100, 0));
  // Without the key the face is the system's button face.
  ASSERT_TRUE(data.LoadPackage(Package("[TitlebarSkin]\r\nSkinName=x\r\n")));
  EXPECT_EQ(BrushColour(data.ButtonFaceBrush()), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

TEST(SkinDataWin, OwnsTheMenuGlyphsFromTheStart) {
  TSkinData data(nullptr);
  TImageList *glyphs = data.MenuGlyphList();
  ASSERT_NE(glyphs, nullptr);
  EXPECT_EQ(glyphs->Count(), 4);
  EXPECT_EQ(glyphs->Width(), 16);
  EXPECT_EQ(glyphs->Height(), 16);
}

TEST(SkinDataWin, CopiesTheApplicationIconOntoMagentaAtLoaded) {
  Application->Initialize();
  const HWND app = Application->Handle();
  ASSERT_NE(app, nullptr);
  // A plain red icon, so that the copy can be told from its magenta background.
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  TBitmap colour, mask;
  colour.SetSize(w, h);
  FillRect(colour.Pixels(), {0, 0, w, h}, clRed);
  FillRect(colour.Pixels(), {0, 0, 2, 2}, clBlack); // the see-through corner adds nothing
  const TBitmapHandle monochrome(CreateBitmap(w, h, 1, 1, nullptr));
  {
    TMemoryDC dc;
    TSelectGuard selected(dc.Get(), monochrome.Get());
    PatBlt(dc.Get(), 0, 0, w, h, BLACKNESS); // every pixel of the icon is opaque
    PatBlt(dc.Get(), 0, 0, 2, 2, WHITENESS); // except the top-left corner
  }
  ICONINFO info{TRUE, 0, 0, monochrome.Get(), colour.Handle()};
  const HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  const auto previous =
      reinterpret_cast<HICON>(SendMessageW(app, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)));

  TSkinData data(nullptr);
  EXPECT_TRUE(data.ApplicationIcon().Empty()); // only Loaded copies it
  data.Loaded();
  const PixelMap &copy = data.ApplicationIcon();
  ASSERT_EQ(copy.Width(), w);
  ASSERT_EQ(copy.Height(), h);
  EXPECT_EQ(ColorFromPixel(copy.At(w / 2, h / 2)), clRed);
  EXPECT_EQ(ColorFromPixel(copy.At(0, 0)), kSkinTransparent);

  SendMessageW(app, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(previous));
  DestroyIcon(icon);
}

TEST(SkinDataWin, TheComboCompositeUsesTheSystemScrollArrowWidth) {
  const std::string ini = "[SunkEdge]\r\nImage=edge.bmp\r\nTopHeight=2\r\nBottomHeight=3\r\n"
                          "[ComboButton]\r\nImage=button.bmp\r\n";
  TSkinData data(nullptr);
  ASSERT_TRUE(data.LoadPackage(
      Package(ini, {{"edge.bmp", Bmp(40, 21, clWhite)}, {"button.bmp", Bmp(68, 21, clGray)}})));
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(data.Skin().Metrics.HScrollArrowWidth, arrow);
  ASSERT_NE(data.Skin().ComboButton, nullptr);
  EXPECT_EQ(data.Skin().ComboButton->Margins, (TRect{2, 2, arrow + 4, 3}));
  // The button part of the first frame starts arrow + 2 pixels from its right edge.
  const PixelMap &strip = data.Skin().ComboButton->Image;
  EXPECT_EQ(ColorFromPixel(strip.At(50 - (arrow + 2), 10)), clGray);
  EXPECT_EQ(ColorFromPixel(strip.At(50 - (arrow + 2) - 1, 10)), clWhite);
}

TEST(SkinDataWin, SystemColoursAreReadFromTheSystemAtEachUse) {
  const int index = COLOR_BTNFACE;
  const COLORREF saved = GetSysColor(index);
  const COLORREF odd = RGB(1, 2, 3);
  ASSERT_TRUE(SetSysColors(1, &index, &odd));
  const TColor resolved = ResolveColor(clBtnFace);
  const TColor blended = Blend(clBtnFace, clWhite, 100 - 1);
  SetSysColors(1, &index, &saved);
  EXPECT_EQ(resolved, RGBColor(1, 2, 3));
  EXPECT_EQ(RedOf(blended), (1 * 99 + 255 * 1 + 50) / 100);
  EXPECT_EQ(ResolveColor(clBtnFace), static_cast<TColor>(saved));
}

// Closes the first message box of this thread it finds, keeping its caption and text.
struct MessageBoxWatch {
  static inline std::string caption, text;
  static inline int ticks = 0;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    HWND box = test::FindTopWindow(GetCurrentProcessId(), "#32770");
    if (!box) return;
    caption = test::WindowText(box);
    text = test::MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
};

// Counts the skin commands the component asks for.
class TCommandCount : public TSkinManagerLink {
public:
  TCommandCount() { previous_ = SetSkinManagerLink(this); }
  ~TCommandCount() override { SetSkinManagerLink(previous_); }
  void RegisterSkinData(TSkinData *) override {}
  void UnregisterSkinData(TSkinData *) override {}
  void InstallHook() override {}
  void StartAtOnce(TSkinData *) override {}
  void PostCommand(TSkinData *, TSkinCommand command, int) override { skins += command == scSkin; }
  void SetStarted() override {}
  bool Started() const override { return false; }
  void ReloadSkinners(TSkinData *) override {}
  int skins = 0;

private:
  TSkinManagerLink *previous_ = nullptr;
};

TEST(SkinDataWin, ARefusedPackageShowsTheMessageBoxAndSkinsNothing) {
  Application->Initialize();
  Application->SetTitle("皮肤测试");
  ShowSkinMessagesInMessageBox();
  TCommandCount commands;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &MessageBoxWatch::Tick);

  // A package with an old mark, in a layout that switches the component on.
  TSkinData data(nullptr);
  data.SetLoading(true);
  TBytes old = PackLzh(TBytes{0x1F, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); // mark 19999
  TBytes stream;
  AppendLE32(stream, static_cast<uint32_t>(old.size()));
  stream.insert(stream.end(), old.begin(), old.end());
  data.SetSkinStream(stream);
  data.SetActive(true);
  data.Loaded();
  KillTimer(nullptr, timer);
  SetSkinMessageHandler(nullptr);

  EXPECT_EQ(MessageBoxWatch::caption, "皮肤测试");
  // The box shows the two lines; the line break is the single carriage return of the text.
  EXPECT_EQ(MessageBoxWatch::text, "This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(data.NoSkinLoaded());
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(commands.skins, 0);
}

// A window that paints teal and then what the test gives it, read back through PrintWindow.
class TPaintWindow {
public:
  explicit TPaintWindow(std::function<void(HDC)> paint) : paint_(std::move(paint)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TPaintWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinDataTestPaint";
    RegisterClassW(&wc);
    wnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 30, nullptr, nullptr,
                           wc.hInstance, nullptr);
    SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateWindow(wnd_);
  }
  ~TPaintWindow() { DestroyWindow(wnd_); }

  PixelMap Capture() const {
    TBitmap shot;
    shot.SetSize(60, 30);
    PrintWindow(wnd_, shot.DC(), 0);
    GdiFlush();
    return shot.Pixels();
  }

private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = reinterpret_cast<TPaintWindow *>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(wnd, &ps);
      if (self) self->Draw(ps.hdc);
      EndPaint(wnd, &ps);
      return 0;
    }
    if (msg == WM_PRINTCLIENT && self) {
      self->Draw(reinterpret_cast<HDC>(wParam));
      return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
  }
  void Draw(HDC dc) {
    const TBrushHandle teal(CreateSolidBrush(clTeal));
    RECT all{0, 0, 60, 30};
    ::FillRect(dc, &all, teal.Get());
    paint_(dc);
  }

  std::function<void(HDC)> paint_;
  HWND wnd_ = nullptr;
};

TEST(SkinDataWin, NothingToDrawLeavesTheWindowAsItWas) {
  PixelMap strip(12, 4, PixelFromColor(clRed)); // three red frames of 4 x 4
  TPaintWindow window([&](HDC dc) {
    // Off-screen pages as the skinners make them: the window's colour, then the skin part.
    PixelMap page(10, 10, PixelFromColor(clTeal));
    DrawSkinPart(page, {0, 0, 10, 10}, PixelMap(), false, false, false, 1, 1, {2, 2, 2, 2});
    DrawPixels(dc, 0, 0, page, false);
    PixelMap outside(10, 10, PixelFromColor(clTeal));
    DrawSkinPart(outside, {0, 0, 10, 10}, strip, false, true, false, 3, 4, {1, 1, 1, 1});
    DrawPixels(dc, 20, 0, outside, false);
    DrawPixels(dc, 0, 15, MakeSkinPart({10, 10}, strip, {}, false, false, 3, 0), false);
    // A frame that exists is drawn, so the window does show skin parts.
    PixelMap drawn(10, 10, PixelFromColor(clTeal));
    DrawSkinPart(drawn, {0, 0, 10, 10}, strip, false, false, false, 3, 2, {1, 1, 1, 1});
    DrawPixels(dc, 40, 0, drawn, false);
  });
  const PixelMap shot = window.Capture();
  for (const auto &[x, y] : {std::pair{0, 0}, {5, 5}, {9, 9}, {20, 0}, {25, 5}, {29, 9}, {0, 15}, {5, 20}})
    EXPECT_EQ(ColorFromPixel(shot.At(x, y) & 0xFFFFFF), clTeal) << x << "," << y;
  EXPECT_EQ(ColorFromPixel(shot.At(45, 5) & 0xFFFFFF), clRed);
}

} // namespace
} // namespace qv

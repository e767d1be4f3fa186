// The fonts the exam windows draw with render black, not grey: the answers of the question list
// ("D √", "A ×"), question numbers and the Latin captions of the confirmation. Each font draws the
// same line into a 32-bit DIB; the darkest pixel of every glyph must be near black. The pictures
// stay beside the test (font-grid.bmp, font-dialog.bmp) for a look.
#include "PaperFixture.h"

#include "app/Uexam.h"
#include "app/uDM.h"
#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/forms/Dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace qv {
namespace {

const wchar_t kSample[] = L"D √ A × 123 Yes";

// Draws kSample black on white with the font; returns, per non-blank character, the darkest
// channel value found in its advance box. Saves the picture as a BMP file.
std::vector<std::pair<wchar_t, int>> DarkestPerGlyph(HFONT font, const std::string &picture) {
  const int w = 240, h = 40, x0 = 4, y0 = 8;
  TBitmap shot;
  shot.SetSize(w, h);
  HDC dc = shot.DC();
  const TSelectGuard useFont(dc, font);
  RECT all{0, 0, w, h};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  const int n = static_cast<int>(wcslen(kSample));
  TextOutW(dc, x0, y0, kSample, n);
  GdiFlush();
  std::vector<std::pair<wchar_t, int>> result;
  for (int i = 0; i < n; ++i) {
    if (kSample[i] == L' ') continue;
    SIZE before{}, through{};
    GetTextExtentPoint32W(dc, kSample, i, &before);
    GetTextExtentPoint32W(dc, kSample, i + 1, &through);
    int darkest = 255;
    for (int y = 0; y < h; ++y)
      for (int x = x0 + before.cx; x < x0 + through.cx && x < w; ++x) {
        uint32_t c = shot.Pixels().At(x, y);
        int m = std::max({static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>((c >> 16) & 0xFF)});
        darkest = std::min(darkest, m);
      }
    result.emplace_back(kSample[i], darkest);
  }
  WriteFileBytes(picture, shot.SaveToBmp());
  return result;
}

void ExpectBlackGlyphs(HFONT font, const std::string &picture) {
  for (auto [ch, darkest] : DarkestPerGlyph(font, picture))
    EXPECT_LT(darkest, 0x40) << "glyph " << Narrow(std::wstring(1, ch)) << " is grey in " << picture;
}

TEST(Fonts, TheQuestionListAndTheConfirmationDrawBlackLatinGlyphs) {
  Application->Initialize();
  auto home = std::filesystem::current_path();
  auto dir = std::filesystem::temp_directory_path() / ("font-test-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::remove_all(dir);
  test::BuildFixtureBank(Narrow(dir.wstring()), {{"1基础  ", "单项选择", 1, "A", 1}}, 60);
  std::filesystem::current_path(dir);
  Application->CreateForm(fmDM);
  Application->CreateForm(fmexam);
  std::string gridPicture = Narrow((home / "font-grid.bmp").wstring());
  ExpectBlackGlyphs(fmexam->DBGridEh1->Font().Handle(), gridPicture);
  delete fmexam;
  delete fmDM;
  std::filesystem::current_path(home);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);

  std::unique_ptr<TMessageForm> dialog(
      CreateMessageDialog("是否交卷? Yes / No", TMsgDlgType::mtConfirmation, mbYes | mbNo));
  ExpectBlackGlyphs(dialog->Font().Handle(), Narrow((home / "font-dialog.bmp").wstring()));
}

} // namespace
} // namespace qv

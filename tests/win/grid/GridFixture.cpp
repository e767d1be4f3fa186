#include "GridFixture.h"

#include "platform/base/Text.h"
#include "platform/forms/StdCtrls.h"

#include <atomic>

namespace qv::test {

std::string TypeOfRow(int i) {
  static const char *types[] = {"单项选择", "多项选择", "判断题"};
  return types[(i - 1) % 3];
}

TPaperDb::TPaperDb(int rows) {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  dir_ = std::filesystem::temp_directory_path() /
         ("qv-grid-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(dir_);
  file_ = (dir_ / "paper.db").string();
  connection_.OpenDatabase(file_, true);
  connection_.ExecuteScript(
      "create table testpaper (ID INTEGER PRIMARY KEY, sNo INTEGER, eQType VARCHAR(10), result1 VARCHAR(10), "
      "result2 VARCHAR(10), result3 VARCHAR(10), result4 VARCHAR(10))");
  connection_.BeginTrans();
  TStatement insert = connection_.Prepare("insert into testpaper (sNo, eQType, result1) values (?, ?, ?)");
  for (int i = 1; i <= rows; ++i) {
    insert.Reset();
    insert.Bind(1, TDbValue(int64_t{i}));
    insert.Bind(2, TDbValue(TypeOfRow(i)));
    insert.Bind(3, i % 4 == 0 ? TDbValue() : TDbValue(std::string(1, static_cast<char>('A' + i % 4))));
    insert.Step();
  }
  connection_.CommitTrans();
  query_ = std::make_unique<TQuery>(&connection_);
  query_->SetSQL("select * from testpaper order by sNo");
}

TPaperDb::~TPaperDb() {
  query_.reset();
  connection_.Close();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

COLORREF PixelAt(HWND wnd, int x, int y) {
  UpdateWindow(wnd);
  TWindowDC dc(wnd);
  return GetPixel(dc.Get(), x, y);
}

void SaveWindowBmp(HWND wnd, const std::string &path) {
  UpdateWindow(wnd);
  RECT rc{};
  GetClientRect(wnd, &rc);
  const TWindowDC dc(wnd);
  test::SaveShot(dc.Get(), rc, path);
}

void GridTest::Build(int rows, int width, int height, bool exam) {
  Application->Initialize();
  RegisterGridClasses();
  db = std::make_unique<TPaperDb>(rows);
  form = new TForm(nullptr);
  form->SetClientWidth(width + 200);
  form->SetClientHeight(height + 20);
  source = new TDBDataSource(form);
  grid = new TDBGridEh(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, width, height);
  if (exam) {
    grid->SetReadOnly(true);
    grid->SetAutoFitColWidths(true);
    struct TDef {
      const char *field, *title;
      int width;
      bool visible;
    };
    const TDef defs[] = {{"sNo", "编号", 30, true},       {"eQType", "题型", 65, true},
                         {"result1", "答题1", 80, true},  {"result2", "答题2", 64, false},
                         {"result3", "答题3", 64, false}, {"result4", "答题4", 64, false}};
    grid->Columns()->BeginUpdate();
    for (const TDef &d : defs) {
      TColumnEh *c = grid->Columns()->Add();
      c->SetFieldName(d.field);
      c->Title()->SetCaption(d.title);
      c->SetWidth(d.width);
      c->SetVisible(d.visible);
      c->SetAutoFitBaseWidth(d.width);
    }
    grid->Columns()->EndUpdate();
  }
  other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(width + 20, 10, 100, 24);
  db->Query().Open();
  source->SetDataSet(&db->Query());
  grid->SetDataSource(source);
  form->Show();
  // The grid is the first control: it takes the focus once the form is active (a moment under
  // a busy window manager).
  grid->SetFocus();
  PumpUntil([this] { return grid->Focused(); }, 2000);
  Pump(10);
}

void GridTest::TearDown() {
  delete form;
  form = nullptr;
  db.reset();
}

void GridTest::Click(int x, int y, TMouseButton button) {
  HWND h = grid->Handle();
  UINT down = button == TMouseButton::mbLeft ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  UINT up = button == TMouseButton::mbLeft ? WM_LBUTTONUP : WM_RBUTTONUP;
  WPARAM keys = button == TMouseButton::mbLeft ? MK_LBUTTON : MK_RBUTTON;
  SendMessageW(h, down, keys, MAKELPARAM(x, y));
  SendMessageW(h, up, 0, MAKELPARAM(x, y));
  Pump(10);
}

void GridTest::Key(WORD vk, uint32_t shift) {
  // Shift and Ctrl as the keyboard state reports them while the key goes through.
  BYTE state[256];
  GetKeyboardState(state);
  BYTE saved[256];
  std::copy(std::begin(state), std::end(state), saved);
  if (shift & ssShift) state[VK_SHIFT] = 0x80;
  if (shift & ssCtrl) state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  MSG msg{grid->Handle(), WM_KEYDOWN, vk, 1, static_cast<DWORD>(GetMessageTime()), {}};
  Application->ProcessMessage(msg);
  SetKeyboardState(saved);
  Pump(10);
}

int GridTest::ColX(int i) const {
  TRect r = grid->CellRect(i + grid->IndicatorOffset(), 0);
  return (r.Left + r.Right) / 2;
}

int GridTest::RowY(int r) const {
  TRect rect = grid->CellRect(grid->IndicatorOffset(), r + grid->TitleRowCount());
  return (rect.Top + rect.Bottom) / 2;
}

} // namespace qv::test

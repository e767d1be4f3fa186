#include "tools/bankedit/BankWindow.h"

#include "platform/base/Text.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinManage.h"
#include "tools/bankedit/BankTransfer.h"
#include "tools/bankedit/QuestionRules.h"
#include "tools/qbank/Bank.h"

#include <commdlg.h>

namespace qv::bankedit {

namespace {

const char kTitle[] = "题库编辑";

// The caption without its accelerator text and its mnemonic mark.
std::string PlainCaption(const std::string &caption) {
  std::string text = caption.substr(0, caption.find('\t'));
  size_t amp = text.find("(&");
  return amp == std::string::npos ? text : text.substr(0, amp);
}

TMenuItem *FindItem(TMenuItem *root, const std::string &caption) {
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem *item = root->Items(i);
    if (PlainCaption(item->Caption()) == caption) return item;
    if (TMenuItem *found = FindItem(item, caption)) return found;
  }
  return nullptr;
}

// A file name from the system's open or save dialog; empty when the user cancelled.
std::string ChooseFile(HWND owner, bool save, const std::string &format) {
  std::wstring filter = Widen(format + " 文件") + L'\0' + Widen("*." + format) + L'\0' + L"所有文件" + L'\0' +
                        L"*.*" + L'\0' + L'\0';
  wchar_t name[MAX_PATH] = L"";
  std::wstring ext = Widen(format);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = ext.c_str();
  ofn.Flags = OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  return ok ? Narrow(name) : std::string();
}

} // namespace

TBankForm::TBankForm(TComponent *owner, const std::string &connectionString) : TForm(owner) {
  SetCaption(kTitle);
  SetClientWidth(1150);
  SetClientHeight(560);
  OpenBankDatabase(connection_, connectionString);
  status_ = new TPanel(this);
  status_->SetParent(this);
  status_->SetAlign(TAlign::alBottom);
  status_->SetHeight(22);
  status_->SetBevelOuter(TBevelCut::bvLowered);
  status_->SetAlignment(TAlignment::taLeftJustify);
  view_ = std::make_unique<TBankView>(this, this, connection_);
  TDBGridEh &grid = view_->Grid();
  grid.SetAlign(TAlign::alClient);
  view_->OnChange = [this] { ShowStatus(); };
  BuildMenus();
  grid.SetPopupMenu(popup_);
  // The menu's accelerators, while the grid (or its editor) has the focus.
  grid.OnKeyDown = [this](TObject *, WORD &key, uint32_t shift) {
    if (!(shift & ssCtrl) || (shift & (ssAlt | ssShift))) return;
    switch (key) {
    case 'N':
      NewQuestion();
      break;
    case 'E':
      ChooseExport("csv");
      break;
    case 'I':
      ChooseImport("txt");
      break;
    default:
      return;
    }
    key = 0;
  };
  // A pending edit is posted before the window closes; a refused one keeps the window open.
  OnCloseQuery = [this](TObject *, bool &canClose) {
    try {
      view_->Query().CheckBrowseMode();
    } catch (const std::exception &e) {
      Application->MessageBox(std::string(e.what()) + "\n\n请改正这道题，或按 Esc 撤销后再关闭。", kTitle,
                              MB_OK | MB_ICONWARNING);
      canClose = false;
    }
  };
  ShowStatus();
}

TBankForm::~TBankForm() = default;

TMenuItem *TBankForm::AddItem(TMenuItem *parent, const std::string &caption, std::function<void()> click) {
  TMenuItem *item = new TMenuItem(this);
  item->SetCaption(caption);
  if (click) item->OnClick = [click](TObject *) { click(); };
  parent->Add(item);
  return item;
}

void TBankForm::BuildMenus() {
  menu_ = new TMainMenu(this);
  TMenuItem *bar = menu_->Items();
  TMenuItem *file = AddItem(bar, "文件(&F)");
  TMenuItem *exportMenu = AddItem(file, "导出(&E)");
  AddItem(exportMenu, "CSV 文件(&C)...\tCtrl+E", [this] { ChooseExport("csv"); });
  AddItem(exportMenu, "文本文件(&T)...", [this] { ChooseExport("txt"); });
  AddItem(exportMenu, "RTF 文件(&R)...", [this] { ChooseExport("rtf"); });
  AddItem(exportMenu, "交换格式文件(&Q)...", [this] { ChooseExport("qvtdbif"); });
  TMenuItem *importMenu = AddItem(file, "导入(&I)");
  AddItem(importMenu, "文本文件(&T)...\tCtrl+I", [this] { ChooseImport("txt"); });
  AddItem(importMenu, "交换格式文件(&Q)...", [this] { ChooseImport("qvtdbif"); });
  AddItem(file, "-");
  AddItem(file, "退出(&X)", [this] { Close(); });

  TMenuItem *edit = AddItem(bar, "编辑(&E)");
  auto editItems = [this](TMenuItem *parent) {
    AddItem(parent, "新增题目(&N)\tCtrl+N", [this] { NewQuestion(); });
    AddItem(parent, "删除题目(&D)\tCtrl+Del", [this] { DeleteQuestion(); });
    AddItem(parent, "-");
    AddItem(parent, "复制(&C)\tCtrl+C", [this] { ClipboardCopy(view_->Grid(), false); });
    AddItem(parent, "粘贴(&P)\tCtrl+V", [this] { ClipboardPaste(view_->Grid(), false); });
    AddItem(parent, "全选(&A)\tCtrl+A", [this] { view_->Grid().Selection().SelectAll(); });
  };
  editItems(edit);
  AddItem(edit, "-");
  AddItem(edit, "撤销修改(&U)\tEsc", [this] { view_->Query().Cancel(); });

  TMenuItem *viewMenu = AddItem(bar, "视图(&V)");
  TMenuItem *subjects = AddItem(viewMenu, "科目(&S)");
  subjectItems_.emplace_back(AddItem(subjects, "全部科目(&A)", [this] { Filter({}, type_); }), "");
  for (const std::string &s : bank::Subjects())
    subjectItems_.emplace_back(AddItem(subjects, Trim(s), [this, s] { Filter(s, type_); }), s);
  TMenuItem *types = AddItem(viewMenu, "题型(&T)");
  typeItems_.emplace_back(AddItem(types, "全部题型(&A)", [this] { Filter(subject_, {}); }), "");
  for (const std::string &t : QuestionTypes())
    typeItems_.emplace_back(AddItem(types, t, [this, t] { Filter(subject_, t); }), t);
  AddItem(viewMenu, "显示全部(&R)", [this] { Filter({}, {}); });

  TMenuItem *help = AddItem(bar, "帮助(&H)");
  AddItem(help, "关于(&A)", [] {
    Application->MessageBox("题库编辑器：编辑考试数据库中的题库（examQuestion）。\n"
                            "每次保存立即写入数据库；答案须与题型相符。",
                            kTitle, MB_OK | MB_ICONINFORMATION);
  });
  SetMenu(menu_);

  popup_ = new TPopupMenu(this);
  editItems(popup_->Items());
  CheckFilterItems();
}

TMenuItem *TBankForm::MenuItem(const std::string &caption) const { return FindItem(menu_->Items(), caption); }

void TBankForm::NewQuestion() {
  view_->Grid().SetFocus();
  view_->Query().Insert();
}

// As Ctrl+Delete in the grid: the selected questions, else the current one, after the grid's
// question.
void TBankForm::DeleteQuestion() { view_->Grid().DeleteRecords(); }

void TBankForm::ExportTo(const std::string &format, const std::string &path) {
  ExportBank(*view_, ExportFormat(format), path);
}

void TBankForm::ImportFrom(const std::string &format, const std::string &path) {
  int added = ImportBank(*view_, ImportFormat(format), path);
  status_->SetCaption("  从 " + path + " 导入 " + std::to_string(added) + " 道题");
}

void TBankForm::ChooseExport(const std::string &format) {
  std::string path = ChooseFile(Handle(), true, format);
  if (!path.empty()) ExportTo(format, path);
}

void TBankForm::ChooseImport(const std::string &format) {
  std::string path = ChooseFile(Handle(), false, format);
  if (!path.empty()) ImportFrom(format, path);
}

void TBankForm::Filter(const std::string &subject, const std::string &type) {
  subject_ = subject;
  type_ = type;
  view_->SetFilter(subject, type);
  CheckFilterItems();
}

void TBankForm::CheckFilterItems() {
  for (auto &[item, value] : subjectItems_)
    item->SetChecked(value == subject_);
  for (auto &[item, value] : typeItems_)
    item->SetChecked(value == type_);
}

void TBankForm::ShowStatus() {
  if (!status_) return;
  TQuery &q = view_->Query();
  // A question being added is counted once it is written, as the footer counts it.
  const bool adding = q.State() == TDataSetState::dsInsert;
  std::string text = "  共 " + std::to_string(q.RecordCount() - (adding ? 1 : 0)) + " 题";
  if (adding)
    text = "  新题（未保存）" + text;
  else if (!q.IsEmpty())
    text = "  第 " + std::to_string(q.RecNo()) + " 题" + text;
  status_->SetCaption(text);
}

namespace {

// The skin the exam program wears, from default.skn beside the program; without it the
// windows keep the system's look.
void UseProgramSkin() {
  wchar_t exe[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::string dir = Narrow(exe);
  dir = dir.substr(0, dir.find_last_of("\\/") + 1);
  UseSkinManager();
  auto *skin = new TSkinData(Application);
  if (!skin->SetSkinFile(dir + "default.skn")) return;
  skin->SetActive(true);
  skin->Loaded();
}

} // namespace

int RunBankWindow(const std::string &connectionString) {
  Application->Initialize();
  RegisterGridClasses();
  Application->SetTitle(kTitle);
  UseProgramSkin();
  try {
    new TBankForm(Application, connectionString); // the application owns its main form
  } catch (const std::exception &e) {
    MessageBoxW(nullptr, Widen(e.what()).c_str(), Widen(kTitle).c_str(), MB_OK | MB_ICONSTOP);
    return 1;
  }
  Application->Run();
  Application->DestroyComponents();
  return 0;
}

} // namespace qv::bankedit

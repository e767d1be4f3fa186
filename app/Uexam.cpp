#include "app/Uexam.h"

#include "app/uDM.h"
#include "app/uLogin.h"
#include "app/waiting.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/data/Schema.h"
#include "platform/forms/Dialogs.h"

#include <cstdlib>

namespace qv {

Tfmexam *fmexam = nullptr;

const TClassInfo &Tfmexam::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<Tfmexam, TForm>("Tfmexam", [](auto &) {});
  return info;
}

Tfmexam::Tfmexam(TComponent *owner) : TForm(owner) {
  RegisterHandler("FormCreate", this, &Tfmexam::FormCreate);
  RegisterHandler("FormShow", this, &Tfmexam::FormShow);
  RegisterHandler("FormActivate", this, &Tfmexam::FormActivate);
  RegisterHandler("FormClose", this, &Tfmexam::FormClose);
  RegisterHandler("BitBtn1Click", this, &Tfmexam::BitBtn1Click);
  RegisterHandler("BitBtn2Click", this, &Tfmexam::BitBtn2Click);
  RegisterHandler("BitBtn3Click", this, &Tfmexam::BitBtn3Click);
  RegisterHandler("BitBtn4Click", this, &Tfmexam::BitBtn4Click);
  RegisterHandler("BitBtn5Click", this, &Tfmexam::BitBtn5Click);
  RegisterHandler("BitBtn6Click", this, &Tfmexam::BitBtn6Click);
  RegisterHandler("SpeedButton1Click", this, &Tfmexam::SpeedButton1Click);
  RegisterHandler("SpeedButton2Click", this, &Tfmexam::SpeedButton2Click);
  RegisterHandler("SpeedButton3Click", this, &Tfmexam::SpeedButton3Click);
  RegisterHandler("SpeedButton4Click", this, &Tfmexam::SpeedButton4Click);
  RegisterHandler("DBGridEh1MouseDown", this, &Tfmexam::DBGridEh1MouseDown);
  RegisterHandler("DBGridEh1MouseUp", this, &Tfmexam::DBGridEh1MouseUp);
  RegisterHandler("Timer1Timer", this, &Tfmexam::Timer1Timer);
  RegisterHandler("Timer2Timer", this, &Tfmexam::Timer2Timer);
  RegisterHandler("Timer3Timer", this, &Tfmexam::Timer3Timer);

  BindField("Panel1", Panel1);
  BindField("Panel2", Panel2);
  BindField("Label1", Label1);
  BindField("Label10", Label10);
  BindField("Label7", Label7);
  BindField("Label11", Label11);
  BindField("Label13", Label13);
  BindField("Label22", Label22);
  BindField("Label23", Label23);
  BindField("Label12", Label12);
  BindField("Label14", Label14);
  BindField("Label4", Label4);
  BindField("Label16", Label16);
  BindField("BitBtn4", BitBtn4);
  BindField("DBEdit1", DBEdit1);
  BindField("Panel3", Panel3);
  BindField("Panel5", Panel5);
  BindField("Label18", Label18);
  BindField("Label21", Label21);
  BindField("Memo1", Memo1);
  BindField("Memo2", Memo2);
  BindField("Memo3", Memo3);
  BindField("Memo4", Memo4);
  BindField("Memo5", Memo5);
  BindField("Memo6", Memo6);
  BindField("Memo7", Memo7);
  BindField("SpeedButton1", SpeedButton1);
  BindField("SpeedButton2", SpeedButton2);
  BindField("SpeedButton3", SpeedButton3);
  BindField("SpeedButton4", SpeedButton4);
  BindField("SpeedButton5", SpeedButton5);
  BindField("SpeedButton6", SpeedButton6);
  BindField("CheckBox1", CheckBox1);
  BindField("CheckBox2", CheckBox2);
  BindField("CheckBox3", CheckBox3);
  BindField("CheckBox4", CheckBox4);
  BindField("CheckBox5", CheckBox5);
  BindField("CheckBox6", CheckBox6);
  BindField("Label5", Label5);
  BindField("Label17", Label17);
  BindField("Label6", Label6);
  BindField("Label20", Label20);
  BindField("Label8", Label8);
  BindField("Label9", Label9);
  BindField("Label19", Label19);
  BindField("Panel4", Panel4);
  BindField("BitBtn1", BitBtn1);
  BindField("BitBtn2", BitBtn2);
  BindField("BitBtn3", BitBtn3);
  BindField("BitBtn5", BitBtn5);
  BindField("BitBtn6", BitBtn6);
  BindField("Timer1", Timer1);
  BindField("Timer2", Timer2);
  BindField("Timer3", Timer3);
  BindField("MainMenu1", MainMenu1);
  BindField("DS1", DS1);
  BindField("DBGridEh1", DBGridEh1);
  RegisterClasses<TDBDataSource, TDBEdit>();
  RegisterGridClasses();
  CreateFromLayout();
}

Tfmexam::~Tfmexam() {
  DestroyComponents();
  if (fmexam == this) fmexam = nullptr;
}

void Tfmexam::FormCreate(TObject *) { HandedIn = false; }

void Tfmexam::FormShow(TObject *) {
  Label7->SetCaption(fmlogin->Edit1->Text());
  Label13->SetCaption(fmlogin->Label4->Caption());
}

void Tfmexam::FormActivate(TObject *) {
  // The paper is generated (or kept to resume) once per window. A later activation before
  // hand-in (after a message box, or on switching back from another program) leaves the paper and
  // its current row alone, so that the question on screen stays the one the answer buttons write
  // to. Closing the waiting window activates this window again while the first activation is
  // still running: that activation does nothing. After a failed generation the start button
  // tries again (an activation does not: dismissing the error would activate the window and
  // bring the error back at once).
  if (!HandedIn) {
    if (paperReady_ || generating_ || generationFailed_) return;
    if (!PreparePaper()) return;
  }
  ReopenPaper();
  if (resumeWanted_) {
    resumeWanted_ = false;
    StartExam(true);
  }
}

void Tfmexam::ReopenPaper() {
  TDBQuery *ds = fmDM->localDS;
  bool onScreen = ShowsQuestions() && ds->Active() && !ds->IsEmpty();
  std::string number = onScreen ? ds->FieldByName("sNo")->AsString() : std::string();
  ds->Close();
  ds->SetSQL(" select * from testpaper where sno>0 order by sNo");
  ds->Open();
  if (!number.empty()) GoToQuestion(number);
}

void Tfmexam::GoToQuestion(const std::string &number) {
  // The paper view is ordered by sNo, numbered 1..N: the number is the record number unless rows
  // were taken out of the paper; then the row is looked for.
  TDBQuery *ds = fmDM->localDS;
  int recNo = std::atoi(number.c_str());
  if (recNo >= 1 && recNo <= ds->RecordCount()) ds->SetRecNo(recNo);
  if (ds->FieldByName("sNo")->AsString() == number) return;
  for (ds->First(); !ds->Eof() && ds->FieldByName("sNo")->AsString() != number;)
    ds->Next();
}

bool Tfmexam::PreparePaper() {
  // Closing the question box or a message box activates this window again: that activation
  // must not ask or generate a second time.
  auto busy = ScopedFlag(generating_);
  if (fmDM->PaperInterrupted() && MessageDlg("上次考试尚未交卷，是否继续上次考试？",
                                             TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes) {
    paperReady_ = true;
    resumeWanted_ = true;
    return true;
  }
  return GeneratePaper();
}

namespace {

// Handles the waiting window's own messages for a moment, so that the paint the window system
// asks for once the window is on screen happens before generation blocks the message loop.
void PaintWhileShowing(TForm &form) {
  HWND wnd = form.Handle();
  DWORD start = GetTickCount();
  bool painted = false;
  while (!painted && GetTickCount() - start < 300) {
    MSG msg;
    while (PeekMessageW(&msg, wnd, 0, 0, PM_REMOVE)) {
      painted = painted || msg.message == WM_PAINT;
      DispatchMessageW(&msg);
    }
    if (!painted) Sleep(10);
  }
  form.Repaint();
}

} // namespace

bool Tfmexam::GeneratePaper() {
  auto busy = ScopedFlag(generating_);
  Panel3->Hide();
  Panel4->Hide();
  fmWaiting = new TfmWaiting(this);
  fmWaiting->Show();
  fmWaiting->Repaint();
  PaintWhileShowing(*fmWaiting);
  std::string error;
  try {
    fmDM->BuildPaper();
    paperReady_ = true;
  } catch (const std::exception &e) {
    error = e.what();
  }
  // Whatever happened to the generation, the question area comes back and the waiting window goes.
  Panel3->Show();
  Panel4->Show();
  TfmWaiting *waitingWindow = fmWaiting;
  fmWaiting = nullptr;
  waitingWindow->Close();
  delete waitingWindow;
  generationFailed_ = !paperReady_;
  if (!paperReady_) {
    // The generation ran in one transaction: the previous paper is still there, unchanged.
    fmDM->localDS->Close();
    MessageDlg("试卷生成失败，原来的试卷没有改动。\n" + error +
                   "\n\n请点击（开始考试）重试，或关闭窗口退出。",
               TMsgDlgType::mtError, mbOK);
  }
  return paperReady_;
}

std::string FormatStartTime(const SYSTEMTIME &time) {
  wchar_t date[128] = {}, clock[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128);
  std::string text = Narrow(date);
  if (time.wHour == 0 && time.wMinute == 0 && time.wSecond == 0) return text;
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 128);
  return text + " " + Narrow(clock);
}

namespace {
// FILETIME counts 100 ns steps from 1601-01-01; the Unix epoch is this many seconds later.
constexpr int64_t kEpochOffsetSeconds = 11644473600LL;
constexpr int64_t kFileTimeStepsPerSecond = 10000000LL;
} // namespace

int64_t WallClockSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER steps{{now.dwLowDateTime, now.dwHighDateTime}};
  return static_cast<int64_t>(steps.QuadPart / kFileTimeStepsPerSecond) - kEpochOffsetSeconds;
}

SYSTEMTIME LocalTimeOf(int64_t seconds) {
  ULARGE_INTEGER steps;
  steps.QuadPart = static_cast<uint64_t>(seconds + kEpochOffsetSeconds) * kFileTimeStepsPerSecond;
  FILETIME utc{steps.LowPart, steps.HighPart};
  SYSTEMTIME utcTime{}, local{};
  FileTimeToSystemTime(&utc, &utcTime);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local)) return utcTime;
  return local;
}

void Tfmexam::BitBtn4Click(TObject *) {
  // A paper whose generation failed is generated again first.
  if (!paperReady_) {
    if (!GeneratePaper()) return;
    ReopenPaper();
  }
  StartExam(false);
}

void Tfmexam::StartExam(bool resumed) {
  DBGridEh1->SetEnabled(true);
  BitBtn4->SetEnabled(false);
  Timer1->SetEnabled(true);
  Panel2->SetEnabled(true);
  Panel3->SetEnabled(true);

  // The start is kept in the database, so that an exam resumed after a crash keeps its clock.
  std::optional<int64_t> stored = resumed ? ReadExamStartTime(*fmDM->ADOConnection1) : std::nullopt;
  int64_t startedAt = stored ? *stored : WallClockSeconds();
  if (!stored) WriteExamStartTime(*fmDM->ADOConnection1, startedAt);
  Label14->SetCaption(FormatStartTime(LocalTimeOf(startedAt)));
  StartedAt = std::chrono::steady_clock::now() - std::chrono::seconds(WallClockSeconds() - startedAt);
  Label16->SetCaption(std::to_string(ExamMinutes > 0 ? RemainingMinutes() : 0) + "分钟");
  if (ExamMinutes > 0) Timer3->SetEnabled(true);

  // From here on every move of the paper shows its question (the first one now).
  started_ = true;
  TDBQuery *ds = fmDM->localDS;
  ds->Close();
  ds->SetSQL("select * from testpaper where sno>0 order by sNo");
  ds->Open();
  ds->First();
  Label17->SetCaption(std::to_string(ds->RecordCount()));
  ds->Close();
  ds->Open();
  if (resumed) {
    std::string next = fmDM->FirstUnansweredQuestion();
    if (!next.empty()) GoToQuestion(next);
  }
}

void Tfmexam::BitBtn1Click(TObject *) {
  TDBQuery *ds = fmDM->localDS;
  if (ds->State() != TDataSetState::dsBrowse) ds->Post();
  if (!ds->Bof()) ds->First();
  ShowCurrentQuestion();
}

void Tfmexam::BitBtn5Click(TObject *) {
  TDBQuery *ds = fmDM->localDS;
  if (ds->State() != TDataSetState::dsBrowse) ds->Post();
  if (!ds->Eof()) ds->Last();
  ShowCurrentQuestion();
}

void Tfmexam::BitBtn3Click(TObject *) { StepQuestion(1); }

void Tfmexam::BitBtn2Click(TObject *) { StepQuestion(-1); }

void Tfmexam::StepQuestion(int direction) {
  TDBQuery *ds = fmDM->localDS;
  auto move = [&] { direction > 0 ? ds->Next() : ds->Prior(); };
  // The indicated answer is stored on the question on screen, also on the last (or first) row,
  // where the move then keeps the row.
  auto storeIndicated = [&] {
    std::string indicated = Label9->Caption();
    if (indicated.empty()) return false;
    if (ds->State() != TDataSetState::dsBrowse) ds->Post();
    if (indicated != ds->FieldByName("result1")->AsString()) StoreAnswer(indicated);
    return true;
  };
  std::string type = ds->FieldByName("eQtype")->AsString();
  if (type == kSingleChoice || type == kTrueFalse) {
    storeIndicated();
    move();
  } else if (type == kMultipleChoice) {
    std::string ticked;
    CollectTickedOptions(ticked);
    if (storeIndicated()) move();
  }
  ShowCurrentQuestion();
}

void Tfmexam::DBGridEh1MouseDown(TObject *, TMouseButton, uint32_t, int, int) { SaveTickedOptions(); }

void Tfmexam::SaveTickedOptions() {
  TDBQuery *ds = fmDM->localDS;
  if (!ds->Active() || ds->IsEmpty() || ds->FieldByName("eQtype")->AsString() != kMultipleChoice) return;
  std::string ticked;
  CollectTickedOptions(ticked);
  if (ds->State() == TDataSetState::dsInsert || ticked.empty()) return;
  StoreAnswer(ticked);
  Label9->SetCaption(ticked);
  ShowCurrentQuestion();
}

void Tfmexam::DBGridEh1MouseUp(TObject *, TMouseButton, uint32_t, int, int) { ShowCurrentQuestion(); }

void Tfmexam::FormClose(TObject *, TCloseAction &Action) {
  // Without a paper (its generation failed) there is nothing to hand in: the candidate may leave.
  if (HandedIn || (!paperReady_ && !generating_)) {
    fmDM->localDS->Close();
    return;
  }
  ShowMessage("请点击右下角 [交卷] 按钮再关闭系统!!");
  Action = TCloseAction::caNone;
}

} // namespace qv

// Data sources and data links: what a grid hears, and its window of buffered records.
#include "TestDb.h"

#include "platform/data/DataSource.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class TRecordingLink : public TDataLink {
public:
  std::string log;
  std::string pendingInput; // written into result1 on UpdateData, like an editor would

protected:
  void Add(const std::string &s) { log += (log.empty() ? "" : " ") + s; }
  void ActiveChanged() override { Add(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { Add("changed"); }
  void DataSetScrolled(int distance) override { Add("scrolled" + std::to_string(distance)); }
  void RecordChanged(TField *field) override {
    Add("record:" + (field ? field->FieldName() : std::string("*")));
  }
  void EditingChanged() override { Add(Editing() ? "editing" : "browsing"); }
  void UpdateData() override {
    Add("update");
    if (!pendingInput.empty())
      DataSet()->FieldByName("result1")->SetAsString(std::exchange(pendingInput, ""));
  }
  void FocusControl(TField *field) override { Add("focus:" + field->FieldName()); }
};

class DataLink : public ::testing::Test {
protected:
  void SetUp() override {
    CreateFixtureDatabase(connection, dir);
    BuildPaper(paper, {"1基础  ", "电焊", "二氧化碳焊", "气割", "氩弧焊"});
    paper.Close();
    paper.SetSQL("select * from testpaper where sno>0 order by sNo");
    link.SetBufferCount(4);
    link.SetDataSource(&source);
  }
  std::string Take() { return std::exchange(link.log, std::string()); }

  TTempDir dir;
  TConnection connection;
  TQuery paper{&connection};
  TDataSource source{&paper};
  TRecordingLink link;
};

} // namespace

TEST_F(DataLink, WindowFollowsTheCurrentRecordAndReportsHowFarItScrolled) {
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(link.RecordCount(), 0);
  paper.Open();
  EXPECT_EQ(Take(), "active");
  EXPECT_EQ(link.RecordCount(), 4);
  paper.MoveBy(3); // still inside the window
  EXPECT_EQ(Take(), "scrolled0");
  EXPECT_EQ(link.ActiveRecord(), 3);
  paper.Next(); // one past: the window moves one record
  EXPECT_EQ(Take(), "scrolled1");
  EXPECT_EQ(link.FirstRecord(), 1);
  EXPECT_EQ(link.ActiveRecord(), 3);
  paper.Last();
  EXPECT_EQ(Take(), "changed");
  EXPECT_EQ(link.FirstRecord(), 8);
  EXPECT_EQ(link.ActiveRecord(), 3);
  paper.MoveBy(-5);
  EXPECT_EQ(Take(), "scrolled-2");
  EXPECT_EQ(link.ActiveRecord(), 0);

  // Drawing reads other buffered records through the active record, then puts it back.
  int saved = link.ActiveRecord();
  link.SetActiveRecord(2);
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 9);
  link.SetActiveRecord(saved);
  EXPECT_EQ(paper.FieldByName("sNo")->AsInteger(), 7);

  // A window larger than the data holds all of it.
  link.SetBufferCount(50);
  EXPECT_EQ(link.FirstRecord(), 0);
  EXPECT_EQ(link.RecordCount(), 12);
  paper.Close();
  EXPECT_EQ(Take(), "inactive");
  EXPECT_EQ(link.RecordCount(), 0);
}

TEST_F(DataLink, EditingNotificationsAndUpdateDataBeforePost) {
  paper.Open();
  Take();
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(Take(), "editing record:*");
  paper.FieldByName("sNo")->SetAsInteger(1);
  EXPECT_EQ(Take(), "record:sNo");
  link.pendingInput = "BD"; // the editor still holds text: post must fetch it
  paper.Post();
  EXPECT_EQ(Take(), "update record:result1 browsing changed");
  EXPECT_EQ(Scalar(connection, "select result1 from testpaper where sNo=1"), "BD");
  paper.FieldByName("eQName")->FocusControl();
  EXPECT_EQ(Take(), "focus:eQName");

  // A read-only link does not start editing; a reset cancels.
  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  link.SetReadOnly(false);
  link.Edit();
  paper.FieldByName("result1")->SetAsString("A");
  link.Reset();
  EXPECT_EQ(paper.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(paper.FieldByName("result1")->AsString(), "BD");
}

TEST_F(DataLink, DisabledControlsHearOneChangeAtTheEnd) {
  paper.Open();
  Take();
  int dataChanges = 0;
  source.OnDataChange = [&](TDataSource &, TField *) { ++dataChanges; };
  paper.DisableControls();
  paper.DisableControls();
  while (!paper.Eof())
    paper.Next();
  paper.EnableControls();
  EXPECT_EQ(Take(), "");
  paper.EnableControls();
  EXPECT_EQ(Take(), "changed");
  EXPECT_EQ(dataChanges, 1);
  EXPECT_EQ(link.ActiveRecord(), 3); // the window caught up with the last record
}

TEST_F(DataLink, SourcesAndLinksLetGoOfEachOther) {
  paper.Open();
  Take();
  source.SetEnabled(false);
  EXPECT_EQ(Take(), "inactive");
  source.SetEnabled(true);
  EXPECT_EQ(Take(), "active");
  {
    TDataSource other(&paper);
    TRecordingLink second;
    second.SetDataSource(&other);
    EXPECT_TRUE(second.Active());
  } // destroyed in either order without dangling
  auto query = std::make_unique<TQuery>(&connection);
  query->SetSQL("select * from testpaper");
  query->Open();
  source.SetDataSet(query.get());
  EXPECT_EQ(Take(), "inactive active"); // the old dataset goes before the new one comes
  query.reset();
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
}

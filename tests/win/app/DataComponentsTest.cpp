// The data module's components: the connection and the query are the data layer's own objects,
// so controls, hooks and data sources all see the one query, and the order in which the
// components go never leaves a query on a freed connection.
#include "PaperFixture.h"

#include "app/DataComponents.h"
#include "app/uDM.h"
#include "platform/base/Text.h"
#include "platform/classes/Properties.h"
#include "platform/data/DataError.h"
#include "platform/data/Schema.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

class DataComponentsTest : public ::testing::Test {
protected:
  std::filesystem::path dir_, home_;

  void SetUp() override {
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("data-components-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    test::BuildFixtureBank(Narrow(dir_.wstring()),
                           {{"1基础  ", kSingleChoice, 1, "A", 2},
                            {"1基础  ", kSingleChoice, 2, "B", 2},
                            {"1基础  ", kTrueFalse, 1, "对", 1},
                            {"电焊", kSingleChoice, 1, "C", 2}},
                           30);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(home_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
};

TEST_F(DataComponentsTest, ConnectionOpensFromTheDataLinkFileOrNamesTheFileThatFails) {
  TDBConnection connection(nullptr);
  connection.SetConnected(true);
  EXPECT_TRUE(connection.GetConnected());
  EXPECT_EQ(connection.ConnectionString, "FILE NAME=.\\server.udl");
  EXPECT_EQ(ReadExamMinutes(connection), 30);
  connection.SetConnected(false);
  EXPECT_FALSE(connection.Connected());

  TDBConnection absent(nullptr);
  SetPropText(absent, "ConnectionString", "FILE NAME=.\\absent.udl");
  try {
    absent.SetConnected(true);
    FAIL() << "a missing data-link file opened";
  } catch (const EDatabaseError &e) {
    EXPECT_NE(e.Message().find("absent.udl"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(absent.ConnectionString, "FILE NAME=.\\absent.udl");
  EXPECT_FALSE(absent.Connected());
}

TEST_F(DataComponentsTest, HooksAndSourcesSeeTheQueryItselfAndEditsReachTheFile) {
  TDBConnection connection(nullptr);
  connection.SetConnected(true);
  TDBQuery query(nullptr);
  query.SetConnection(&connection);
  SetPropText(query, "SQL", "select * from examQuestion order by ID");
  std::vector<std::string> heard;
  query.OnBeforeScroll = [&](TDataSet *ds) {
    EXPECT_EQ(ds, &query);
    heard.push_back("before " + std::to_string(ds->RecNo()));
  };
  query.OnAfterScroll = [&](TDataSet *ds) {
    EXPECT_EQ(ds, &query);
    heard.push_back("after " + std::to_string(ds->RecNo()));
  };
  query.Open();
  query.SetRecNo(3);
  query.Next();
  EXPECT_EQ(heard, (std::vector<std::string>{"after 1", "before 1", "after 3", "before 3", "after 4"}));

  TDBDataSource source(nullptr);
  source.SetDataSetComponent(&query);
  EXPECT_EQ(source.DataSet(), &query);
  EXPECT_EQ(source.Source()->DataSet(), &query);

  query.Edit();
  EXPECT_EQ(query.State(), TDataSetState::dsEdit);
  query.FieldByName("result1")->SetAsString("C √");
  query.Post();
  TQuery check(&connection);
  check.SetSQL("select result1 from examQuestion where eQZY='电焊'");
  check.Open();
  EXPECT_EQ(check.Fields(0)->AsString(), "C √");
  EXPECT_THROW(query.FieldByName("nosuch"), EDatabaseError);
}

TEST_F(DataComponentsTest, ComponentsThatGoFirstLeaveNothingBehind) {
  auto connection = std::make_unique<TDBConnection>(nullptr);
  connection->SetConnected(true);
  auto query = std::make_unique<TDBQuery>(nullptr);
  query->SetConnection(connection.get());
  query->SetSQL("select * from examQuestion");
  query->Open();
  TDBDataSource source(nullptr);
  source.SetDataSetComponent(query.get());

  // The connection goes first: the query is closed and knows no connection, as a component or
  // as a query.
  connection.reset();
  EXPECT_FALSE(query->Active());
  EXPECT_EQ(query->Connection(), nullptr);
  EXPECT_EQ(static_cast<TQuery &>(*query).Connection(), nullptr);
  EXPECT_THROW(query->Open(), EDatabaseError);

  // The query goes: its data source lets it go.
  query.reset();
  EXPECT_EQ(source.DataSetComponent(), nullptr);
  EXPECT_EQ(source.DataSet(), nullptr);
}

} // namespace
} // namespace qv

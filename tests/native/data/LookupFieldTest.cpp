// Lookup fields over a real SQLite file: the text follows the key, missing and null keys read
// null, a closed or freed lookup dataset reads null, assigning writes the key fields (and the
// post stores them), and Locate and Lookup find records by key or by text.
#include "TestDb.h"

#include "platform/data/DataError.h"
#include "platform/data/DataSource.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class LookupField : public ::testing::Test {
protected:
  void SetUp() override {
    connection.OpenDatabase(dir.File("lookup.db"), true);
    connection.ExecuteScript(
        "create table subject (ID INTEGER PRIMARY KEY, code INTEGER, name VARCHAR(20));"
        "insert into subject (code, name) values (10, '电焊'), (20, '气割'), (30, 'Argon');"
        "create table sitting (ID INTEGER PRIMARY KEY, who VARCHAR(10), subj INTEGER);"
        "insert into sitting (who, subj) values ('张三', 20), ('李四', NULL), ('王五', 99);");
    subjects.SetSQL("select * from subject order by code");
    sittings.SetSQL("select * from sitting order by ID");
    subjects.Open();
    sittings.AddLookupField({"subjName", "subj", &subjects, "code", "name"});
    sittings.Open();
  }
  TField *Name() { return sittings.FieldByName("subjName"); }
  std::string StoredSubject(int id) {
    return Scalar(connection, "select subj from sitting where ID = " + std::to_string(id));
  }

  TTempDir dir;
  TConnection connection;
  TQuery subjects{&connection}, sittings{&connection};
};

} // namespace

TEST_F(LookupField, ShowsTheResultOfTheKeyAndNullForMissingOrNullKeys) {
  ASSERT_NE(Name(), nullptr);
  EXPECT_TRUE(Name()->IsLookup());
  EXPECT_EQ(Name()->Index(), sittings.FieldCount() - 1) << "after the data fields";
  EXPECT_EQ(Name()->DataType(), TFieldType::ftString);
  EXPECT_EQ(Name()->Size(), 20) << "the result field's size";
  EXPECT_EQ(Name()->AsString(), "气割");
  EXPECT_EQ(Name()->DisplayText(), "气割");
  sittings.Next(); // null key
  EXPECT_TRUE(Name()->IsNull());
  sittings.Next(); // a key no subject has
  EXPECT_TRUE(Name()->IsNull());
  EXPECT_EQ(Name()->AsString(), "");
  EXPECT_EQ(subjects.RecNo(), 1) << "looking up never moves the lookup dataset";
}

TEST_F(LookupField, KeyChangeChangesTheTextAndTellsTheLinks) {
  TDataSource source(&sittings);
  struct TWatch : TDataLink {
    std::vector<std::string> changed;
    void RecordChanged(TField *f) override { changed.push_back(f ? f->FieldName() : "*"); }
  } watch;
  watch.SetDataSource(&source);
  sittings.Edit();
  watch.changed.clear();
  sittings.FieldByName("subj")->SetAsInteger(10);
  EXPECT_EQ(Name()->AsString(), "电焊");
  EXPECT_EQ(watch.changed, (std::vector<std::string>{"subj", "subjName"}));
  sittings.Post();
  EXPECT_EQ(StoredSubject(1), "10");
}

TEST_F(LookupField, AssigningWritesTheKeyFields) {
  sittings.Edit();
  Name()->SetValue(TDbValue(int64_t{30}));
  EXPECT_EQ(sittings.FieldByName("subj")->AsInteger(), 30);
  EXPECT_EQ(Name()->AsString(), "Argon");
  // As text: the record with that result text, letter case ignored.
  Name()->SetAsString("argon");
  EXPECT_EQ(sittings.FieldByName("subj")->AsInteger(), 30);
  Name()->SetAsString("电焊");
  EXPECT_EQ(sittings.FieldByName("subj")->AsInteger(), 10);
  EXPECT_THROW(Name()->SetAsString("钎焊"), EDatabaseError);
  EXPECT_EQ(sittings.FieldByName("subj")->AsInteger(), 10) << "an unknown text changes nothing";
  Name()->Clear();
  EXPECT_TRUE(sittings.FieldByName("subj")->IsNull());
  Name()->SetValue(TDbValue(int64_t{20}));
  sittings.Post();
  EXPECT_EQ(StoredSubject(1), "20");
  // Not in edit state: refused like any field.
  EXPECT_THROW(Name()->SetValue(TDbValue(int64_t{10})), EDatabaseError);
}

TEST_F(LookupField, ClosedOrFreedLookupDataSetReadsNull) {
  subjects.Close();
  EXPECT_TRUE(Name()->IsNull());
  subjects.Open();
  EXPECT_EQ(Name()->AsString(), "气割");
  // The definition outlives closing and opening the dataset itself.
  sittings.Close();
  sittings.Open();
  EXPECT_EQ(sittings.FieldByName("subjName")->AsString(), "气割");
  {
    TQuery temporary(&connection);
    temporary.SetSQL("select * from subject");
    temporary.Open();
    sittings.AddLookupField({"other", "subj", &temporary, "code", "name"});
    EXPECT_EQ(sittings.FieldByName("other")->AsString(), "气割");
  }
  EXPECT_TRUE(sittings.FieldByName("other")->IsNull()) << "its lookup dataset is gone";
  EXPECT_THROW(sittings.AddLookupField({"who", "subj", &subjects, "code", "name"}), EDatabaseError);
}

TEST_F(LookupField, CanModifyFollowsTheKeyFields) {
  EXPECT_TRUE(Name()->CanModify());
  sittings.FieldByName("subj")->SetReadOnly(true);
  EXPECT_FALSE(Name()->CanModify());
  sittings.AddLookupField({"broken", "nosuch", &subjects, "code", "name"});
  EXPECT_FALSE(sittings.FieldByName("broken")->CanModify());
  EXPECT_TRUE(sittings.FieldByName("broken")->IsNull());
}

TEST_F(LookupField, SeveralKeyFields) {
  connection.ExecuteScript(
      "create table pair (ID INTEGER PRIMARY KEY, a INTEGER, b VARCHAR(5), label VARCHAR(10));"
      "insert into pair (a, b, label) values (1, 'x', 'one-x'), (1, 'y', 'one-y');"
      "alter table sitting add column b VARCHAR(5);"
      "update sitting set b = 'y'");
  TQuery pairs(&connection);
  pairs.SetSQL("select * from pair");
  pairs.Open();
  sittings.Close();
  sittings.SetSQL("select ID, who, 1 as a, b from sitting");
  sittings.AddLookupField({"pairLabel", "a; b", &pairs, "a;b", "label"});
  sittings.Open();
  EXPECT_EQ(sittings.FieldByName("pairLabel")->AsString(), "one-y");
}

TEST_F(LookupField, LocateMovesToTheMatchAndLookupDoesNot) {
  EXPECT_TRUE(subjects.Locate("name", {TDbValue(std::string("气"))}, {false, true}));
  EXPECT_EQ(subjects.FieldByName("code")->AsInteger(), 20);
  EXPECT_TRUE(subjects.Locate("name", {TDbValue(std::string("ARG"))}, {true, true}));
  EXPECT_EQ(subjects.RecNo(), 3);
  EXPECT_FALSE(subjects.Locate("name", {TDbValue(std::string("ARG"))}, {false, true})) << "case counts";
  EXPECT_FALSE(subjects.Locate("name", {TDbValue(std::string("arg"))}, {true, false})) << "whole text";
  EXPECT_EQ(subjects.RecNo(), 3) << "no match keeps the position";
  // Numbers match by value, whatever their kind.
  EXPECT_TRUE(subjects.Locate("code", {TDbValue(10.0)}));
  EXPECT_EQ(subjects.RecNo(), 1);
  EXPECT_EQ(ValueToText(subjects.Lookup("code", {TDbValue(int64_t{30})}, "name")), "Argon");
  EXPECT_TRUE(IsNullValue(subjects.Lookup("code", {TDbValue(int64_t{31})}, "name")));
  EXPECT_EQ(subjects.RecNo(), 1);
  EXPECT_THROW(subjects.Locate("nosuch", {TDbValue()}), EDatabaseError);
}

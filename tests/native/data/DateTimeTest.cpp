// Reading dates as people type them, and date fields that store them in one form.
#include "TestDb.h"

#include "platform/data/DataError.h"
#include "platform/data/DateTime.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

std::string Read(const std::string &text) {
  TDateTimeParts p;
  if (!ParseDateTime(text, p)) return "invalid";
  return FormatDateTime(p, p.Hour || p.Minute || p.Second);
}

TEST(DateTime, SeparatorsPaddingAndTimes) {
  EXPECT_EQ(Read("2026-12-09"), "2026-12-09");
  EXPECT_EQ(Read("2026/1/5"), "2026-01-05");
  EXPECT_EQ(Read(" 2026.1.5 "), "2026-01-05");
  EXPECT_EQ(Read("2026-01-05 8:30"), "2026-01-05 08:30:00");
  EXPECT_EQ(Read("2026-01-05T23:59:59"), "2026-01-05 23:59:59");
  // One separator throughout; the year has four digits; nothing after the parts.
  EXPECT_EQ(Read("2026-01/05"), "invalid");
  EXPECT_EQ(Read("26-01-05"), "invalid");
  EXPECT_EQ(Read("20260-01-05"), "invalid");
  EXPECT_EQ(Read("2026-001-05"), "invalid");
  EXPECT_EQ(Read("2026-01-05x"), "invalid");
  EXPECT_EQ(Read("2026-01-05 12"), "invalid");
  EXPECT_EQ(Read("2026-01-05 12:30:"), "invalid");
  EXPECT_EQ(Read(""), "invalid");
  EXPECT_EQ(Read("   "), "invalid");
  EXPECT_EQ(Read("-2026-01-05"), "invalid");
}

TEST(DateTime, OnlyRealDaysAndTimes) {
  EXPECT_EQ(Read("2024-02-29"), "2024-02-29");
  EXPECT_EQ(Read("2000-02-29"), "2000-02-29");
  EXPECT_EQ(Read("1900-02-29"), "invalid");
  EXPECT_EQ(Read("2023-02-29"), "invalid");
  EXPECT_EQ(Read("2026-04-31"), "invalid");
  EXPECT_EQ(Read("2026-12-31"), "2026-12-31");
  EXPECT_EQ(Read("2026-13-01"), "invalid");
  EXPECT_EQ(Read("2026-00-10"), "invalid");
  EXPECT_EQ(Read("2026-01-00"), "invalid");
  EXPECT_EQ(Read("0000-01-01"), "invalid");
  EXPECT_EQ(Read("9999-12-31"), "9999-12-31");
  EXPECT_EQ(Read("2026-01-05 24:00"), "invalid");
  EXPECT_EQ(Read("2026-01-05 12:60"), "invalid");
  EXPECT_EQ(Read("2026-01-05 12:00:60"), "invalid");
}

TEST(DateTime, DateFieldsStoreTheCanonicalFormAndRefuseOtherText) {
  TTempDir dir;
  TConnection connection;
  connection.OpenDatabase(dir.File("dates.db"), true);
  connection.ExecuteScript("create table exams (ID INTEGER PRIMARY KEY, day DATE, started DATETIME)");
  connection.ExecuteScript("insert into exams (day, started) values ('2026-12-09', '2026-12-09 08:00:00')");
  TQuery q(&connection);
  q.SetSQL("select * from exams");
  q.Open();
  TField *day = q.FieldByName("day"), *started = q.FieldByName("started");
  EXPECT_EQ(day->DataType(), TFieldType::ftDate);
  EXPECT_EQ(started->DataType(), TFieldType::ftDateTime);
  EXPECT_TRUE(day->IsDate());
  EXPECT_EQ(day->DisplayWidth(), 10);
  q.Edit();
  day->SetAsString("2027/3/1");
  started->SetAsString("2027.3.1 9:05");
  EXPECT_EQ(day->AsString(), "2027-03-01");
  EXPECT_EQ(started->AsString(), "2027-03-01 09:05:00");
  try {
    day->SetAsString("2027-02-30");
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError &e) {
    EXPECT_NE(std::string(e.what()).find("不是有效的日期"), std::string::npos) << e.what();
  }
  EXPECT_EQ(day->AsString(), "2027-03-01") << "a refused text changes nothing";
  day->SetAsString(" ");
  EXPECT_TRUE(day->IsNull());
  day->SetAsString("2027-03-01");
  q.Post();
  q.Close();
  q.Open();
  EXPECT_EQ(q.FieldByName("day")->AsString(), "2027-03-01");
  EXPECT_EQ(q.FieldByName("started")->AsString(), "2027-03-01 09:05:00");
}

} // namespace

#pragma once
// The exam database: the question bank examQuestion and the test paper testpaper share one row
// layout (so "insert into testpaper select * from examQuestion" copies whole rows), text columns
// in the GBK collation; examSettings holds Name/Value pairs (ExamMinutes).
#include <string>
#include <vector>

namespace qv {

class TConnection;

// The columns of examQuestion and testpaper, in table order (ID first).
const std::vector<std::string> &ExamColumns();

// Creates the three tables where they are missing.
void CreateExamSchema(TConnection &connection);

// Checks that examQuestion and testpaper exist with every column the exam reads and writes;
// throws EDatabaseError naming the database file, the table and the missing columns.
void VerifyExamSchema(TConnection &connection);

// examSettings values; ReadSetting gives `fallback` when the table or the name is missing.
std::string ReadSetting(TConnection &connection, const std::string &name, const std::string &fallback);
void WriteSetting(TConnection &connection, const std::string &name, const std::string &value);

// examState: Name/Value pairs the exam program keeps about the exam under way (the start time),
// created on the first write; ReadExamState gives "" when the table or the name is missing.
std::string ReadExamState(TConnection &connection, const std::string &name);
void WriteExamState(TConnection &connection, const std::string &name, const std::string &value);

} // namespace qv

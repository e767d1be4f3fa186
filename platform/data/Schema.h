#pragma once
// The exam database: the question bank examQuestion and the test paper testpaper share one row
// layout (so "insert into testpaper select * from examQuestion" copies whole rows), text columns
// in the GBK collation; examSettings holds Name/Value pairs (ExamMinutes).
#include <cstdint>
#include <optional>
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

// The exam duration in minutes (setting "ExamMinutes"); 0 when the table or the entry is missing
// or the value is not a whole number of at least 0: the exam is untimed.
int ReadExamMinutes(TConnection &connection);

// When the exam on the paper started (seconds since 1970 UTC), kept in examState: Name/Value
// pairs about the exam under way, created on the first write. None when it was never written or
// is not a whole number.
std::optional<int64_t> ReadExamStartTime(TConnection &connection);
void WriteExamStartTime(TConnection &connection, int64_t seconds);

} // namespace qv

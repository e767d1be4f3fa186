#pragma once
// The question bank in the exam database: building exam.db and server.udl from the source, and
// exporting a database's bank back to source files.
#include "tools/qbank/Bank.h"

#include <string>
#include <vector>

namespace qv::bank {

// Writes OUT_DIR/exam.db (bank, empty test paper, ExamMinutes = minutes) and OUT_DIR/server.udl.
// The database is built beside the target and moved over it only when complete.
void BuildDatabase(const std::vector<TBankQuestion> &questions, const std::string &outDir, int minutes);

// Reads the bank of the database at `dbPath`, grouped by subject in the order of their first
// question, each subject's questions in stored order.
std::vector<std::vector<TBankQuestion>> ReadDatabaseBank(const std::string &dbPath);

// Writes one source file per subject into `outDir`; returns the paths written.
std::vector<std::string> ExportDatabase(const std::string &dbPath, const std::string &outDir);

} // namespace qv::bank

#pragma once
// The texts the grid shows to people: its questions before deleting records or clearing cells,
// and its import errors. They start as the grid's English defaults; a program that speaks
// another language replaces them once at start, before its first grid asks or imports:
//
//   GridTexts().DeleteRecord = "...";
//
// Every place the grid shows one of them reads it from here when it is shown.
#include <string>

namespace qv {

struct TDBGridEhTexts {
  std::string DeleteRecord = "Delete record?";
  std::string DeleteSelectedRecords = "Delete all selected records?";
  std::string ClearSelectedCells = "Clear selected cells?";
  std::string InvalidTextFormat = "Invalid text format";
  std::string InvalidQvtdbifFormat = "Invalid QVTDBIF format";
  // The import's question when a value cannot be set: InsertValueError, LF, the failure's
  // message, LF LF, IgnoreError.
  std::string InsertValueError = "Error during insert value:";
  std::string IgnoreError = "Ignore error?";
};

// The program's table (one per process).
TDBGridEhTexts &GridTexts();

// The question before deleting count selected records (one: DeleteRecord).
const std::string &DeleteRecordsQuestion(int count);

} // namespace qv

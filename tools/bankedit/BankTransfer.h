#pragma once
// The bank to and from files through the grid's export and import: every question shown (the
// whole filter), without the footers, so that what one run writes another can read back.
#include "tools/bankedit/BankView.h"

#include <string>

namespace qv::bankedit {

enum class TTransferFormat { Csv, Text, Rtf, Qvtdbif };

// "csv", "txt", "rtf", "qvtdbif"; throws EUsageError for another name or, for import, for a
// format the grid cannot read (csv, rtf).
TTransferFormat ExportFormat(const std::string &name);
TTransferFormat ImportFormat(const std::string &name);

// Writes the questions the view shows to the file (created or truncated).
void ExportBank(TBankView &view, TTransferFormat format, const std::string &path);

// Appends the file's questions after the last one, in one transaction: a question that is
// refused or a file that cannot be read leaves the database as it was (and throws). A text file
// may start with the title row an export writes. Returns the number of questions added.
int ImportBank(TBankView &view, TTransferFormat format, const std::string &path);

} // namespace qv::bankedit

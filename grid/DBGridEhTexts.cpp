// The grid's table of texts (see DBGridEhTexts.h).
#include "grid/DBGridEhTexts.h"

namespace qv {

TDBGridEhTexts &GridTexts() {
  static TDBGridEhTexts texts;
  return texts;
}

const std::string &DeleteRecordsQuestion(int count) {
  return count > 1 ? GridTexts().DeleteSelectedRecords : GridTexts().DeleteRecord;
}

} // namespace qv

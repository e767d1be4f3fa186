#pragma once
// Errors of the data-access layer: connection description, database file, statements, datasets.
#include "platform/base/Exception.h"

namespace qv {

class EDatabaseError : public Exception {
public:
  using Exception::Exception;
};

// Another program held the database longer than the connection's busy timeout; the statement
// did nothing and may be tried again.
class EDatabaseLocked : public EDatabaseError {
public:
  using EDatabaseError::EDatabaseError;
};

} // namespace qv

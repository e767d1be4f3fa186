#pragma once
// Errors of the data-access layer: connection description, database file, statements, datasets.
#include "platform/base/Exception.h"

namespace qv {

class EDatabaseError : public Exception {
public:
  using Exception::Exception;
};

} // namespace qv

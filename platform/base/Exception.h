#pragma once
// The root of every error this system raises: an exception carrying a message a person can act on.
#include <stdexcept>
#include <string>

namespace qv {

// Message text is UTF-8. Subclasses name the area that failed (database, layout, skin, ...).
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string &message) : std::runtime_error(message) {}
  const std::string Message() const { return what(); }
};

} // namespace qv

#include "platform/data/Value.h"

#include <cmath>
#include <cstdio>

namespace qv {

std::string ValueToText(const TDbValue &v) {
  if (const auto *i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (const auto *s = std::get_if<std::string>(&v)) return *s;
  if (const auto *d = std::get_if<double>(&v)) {
    if (std::isfinite(*d) && *d == std::trunc(*d) && std::fabs(*d) < 1e15)
      return std::to_string(static_cast<int64_t>(*d));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", *d);
    return buffer;
  }
  return {};
}

} // namespace qv

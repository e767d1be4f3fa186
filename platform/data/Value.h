#pragma once
// One database value: null, integer, real or UTF-8 text (blobs are carried as their bytes).
#include <cstdint>
#include <string>
#include <variant>

namespace qv {

using TDbValue = std::variant<std::monostate, int64_t, double, std::string>;

inline bool IsNullValue(const TDbValue &v) { return std::holds_alternative<std::monostate>(v); }

// Decimal text of a value: empty for null, integers without grouping, reals with up to 15
// significant digits (no exponent for ordinary magnitudes), text as it is.
std::string ValueToText(const TDbValue &v);

} // namespace qv

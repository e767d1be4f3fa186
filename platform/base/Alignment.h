#pragma once
// How text sits across its cell or control: one type for the data layer's fields and the
// controls that show them.
namespace qv {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

} // namespace qv

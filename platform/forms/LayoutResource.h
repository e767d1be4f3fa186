#pragma once
// Layouts compiled into the program as RCDATA resources (cmake/Layouts.cmake), named after their
// root class.
#include "platform/classes/Layout.h"

#include <string>
#include <string_view>

namespace qv {

// Returns false when the program has no such resource.
bool FindLayoutResource(std::string_view name, std::string &text);
// Loads the resource named after root's class; throws ELayoutError when it is missing.
void LoadLayoutResource(TComponent &root);
void LoadLayoutResource(TComponent &root, std::string_view name);

} // namespace qv

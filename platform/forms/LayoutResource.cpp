// Layouts compiled into the program as RCDATA resources named after their root class.
#include "platform/forms/LayoutResource.h"
#include "platform/base/Text.h"

#include <windows.h>

namespace qv {

bool FindLayoutResource(std::string_view name, std::string &text) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, Widen(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) return false;
  HGLOBAL data = LoadResource(module, res);
  const void *bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return false;
  text.assign(static_cast<const char *>(bytes), SizeofResource(module, res));
  return true;
}

void LoadLayoutResource(TComponent &root, std::string_view name) {
  std::string text;
  if (!FindLayoutResource(name, text))
    throw ELayoutError("layout " + std::string(name) + " is not in the program");
  LoadLayout(root, text, name);
}

void LoadLayoutResource(TComponent &root) { LoadLayoutResource(root, root.ClassName()); }

} // namespace qv

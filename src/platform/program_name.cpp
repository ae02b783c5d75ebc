#include "platform/program_name.h"

namespace platform {

std::wstring ProgramName(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring_view::npos) {
    name = name.substr(0, dot);
  }
  return std::wstring(name);
}

}  // namespace platform

#include "run/handed_path.h"

namespace run {
namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool IsCleanFullPath(std::wstring_view path) {
  for (const wchar_t c : path) {
    if (c < 0x20 || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L'*' || c == L'?') {
      return false;
    }
  }
  const bool onDrive = path.size() > 3 && IsDriveLetter(path[0]) && path[1] == L':' &&
                       (path[2] == L'\\' || path[2] == L'/');
  // "\\server\share\film": a server and a share name before the film's own.
  const bool onShare = path.size() > 4 && path.substr(0, 2) == L"\\\\" &&
                       path.find(L'\\', 2) != std::wstring_view::npos && path[2] != L'\\';
  return onDrive || onShare;
}

}  // namespace run

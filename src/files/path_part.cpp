#include "files/path_part.h"

#include <algorithm>

namespace files {

std::wstring GetPathPart(std::wstring_view path, int part) {
  std::wstring text(path);
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (const size_t question = text.find(L'?'); question != std::wstring::npos) {
    text.resize(question);
  }
  if (part == 2) {
    const size_t dot = text.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : text.substr(dot + 1);
  }
  if (part != 3) {
    if (const size_t slash = text.rfind(L'\\'); slash != std::wstring::npos) {
      text.erase(0, slash + 1);
    }
  }
  if (part % 2 != 0) {
    if (const size_t dot = text.rfind(L'.'); dot != std::wstring::npos) text.resize(dot);
  }
  return text;
}

}  // namespace files

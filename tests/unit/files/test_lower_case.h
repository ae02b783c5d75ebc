// A lower-casing for the native tests that does not depend on the C library's locale: ASCII plus
// a few letters beyond it, enough to see that both sides of every comparison go through it.
#pragma once

#include <string>

namespace files::testing {

inline void TestLowerCase(std::wstring& text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') {
      c = static_cast<wchar_t>(c - L'A' + L'a');
    } else if (c == L'Ä') {
      c = L'ä';
    } else if (c >= L'А' && c <= L'Я') {  // Cyrillic
      c = static_cast<wchar_t>(c - L'А' + L'а');
    }
  }
}

}  // namespace files::testing

#include "files/user_locale_case.h"

#include <algorithm>
#include <climits>

#include <windows.h>

namespace files {

void LowerCaseUserLocale(std::wstring& text) {
  // Plain ASCII, as most file names are, lower-cases the same under every user locale (the
  // locale's own rules only differ for linguistic casing, which is not asked for), and skipping
  // the locale lookup makes the folder scan markedly faster.
  bool ascii = true;
  for (const wchar_t c : text) ascii = ascii && c < 0x80;
  if (ascii) {
    for (wchar_t& c : text) {
      if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return;
  }
  // LCMAP_LOWERCASE maps each code unit to one, so the text may be its own destination. The
  // length is passed in pieces that fit an int; no text of this program needs more than one.
  for (size_t from = 0; from < text.size();) {
    const int length = static_cast<int>(std::min<size_t>(text.size() - from, INT_MAX));
    wchar_t* piece = text.data() + from;
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, piece, length, piece, length) == 0) {
      CharLowerBuffW(piece, static_cast<DWORD>(length));
    }
    from += static_cast<size_t>(length);
  }
}

}  // namespace files

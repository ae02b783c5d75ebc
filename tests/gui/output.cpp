#include "output.h"

#include <string>

#include <windows.h>

namespace gui {

void Print(std::wstring_view text) {
  std::string bytes;
  if (!text.empty()) {
    const int size =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(),
                            static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
      bytes = "<text that is not valid UTF-16>\n";
    } else {
      bytes.resize(static_cast<size_t>(size));
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          bytes.data(), size, nullptr, nullptr);
    }
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

int Fail(std::wstring_view message) {
  Print(L"error: " + std::wstring(message) + L"\n");
  return 1;
}

}  // namespace gui

#include "files/write_text_file.h"

#include <algorithm>

#include <windows.h>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"

namespace files {

bool WriteTextFile(const std::wstring& fileName, const std::wstring& text, bool append) {
  const std::string bytes = platform::ToAnsi(text);
  if (bytes.empty() && !text.empty()) return false;
  return WriteBytesFile(fileName, bytes, append);
}

bool WriteBytesFile(const std::wstring& fileName, const std::string& bytes, bool append) {
  // FILE_APPEND_DATA without FILE_WRITE_DATA makes every write go to the end of the file.
  const DWORD access = append ? FILE_APPEND_DATA : GENERIC_WRITE;
  const DWORD disposition = append ? OPEN_ALWAYS : CREATE_ALWAYS;
  platform::UniqueHandle file(CreateFileW(fileName.c_str(), access, FILE_SHARE_READ, nullptr,
                                          disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;

  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  // Closing flushes; a failure there is a failure to write.
  return CloseHandle(file.Release()) != FALSE;
}

}  // namespace files

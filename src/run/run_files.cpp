#include "run/run_files.h"

#include <windows.h>

#include "files/write_text_file.h"
#include "platform/text_conversion.h"

namespace run {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
// What "echo rem > Event.txt" writes: a comment line, which the tool takes as no events at all.
constexpr char kNoEvents[] = "rem \r\n";
constexpr unsigned kChineseCodePage = 936;

}  // namespace

ReportEncoding ReportEncodingOfSystem() {
  return GetACP() == kChineseCodePage ? ReportEncoding::kAnsi : ReportEncoding::kUtf8;
}

platform::UniqueHandle MakeEventsFile(const std::wstring& path) {
  // A new file, so that its owner and permissions are ours and not those of whoever made an
  // earlier one.
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return {};
  {
    platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), kNoEvents, sizeof(kNoEvents) - 1, &written, nullptr) ||
        written != sizeof(kNoEvents) - 1) {
      return {};
    }
  }
  // Held for reading only and shared only for reading: the tool reads it, and nobody (the batch's
  // own echo line included) can write it until the run lets it go.
  return platform::UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool StartFresh(const std::wstring& path, ReportEncoding encoding) {
  return files::WriteBytesFile(path, encoding == ReportEncoding::kUtf8 ? kUtf8Mark : "", false);
}

bool AppendToReport(const std::wstring& path, const std::wstring& text, ReportEncoding encoding) {
  if (encoding == ReportEncoding::kAnsi) return files::WriteTextFile(path, text, true);
  const std::string bytes = platform::ToUtf8(text);
  return !bytes.empty() && files::WriteBytesFile(path, bytes, true);
}

}  // namespace run

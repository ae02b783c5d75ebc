#include "files/file_dialog.h"

#include <string>
#include <string_view>
#include <utility>

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include "platform/text_conversion.h"
#include "platform/user_message.h"

namespace files {
namespace {

constexpr DWORD kFlagsOpenOne = OFN_LONGNAMES | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kFlagsOpenMany =
    OFN_LONGNAMES | OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
constexpr DWORD kFlagsSave = OFN_LONGNAMES | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;

// The file-title buffer: filled by the dialog, never read.
constexpr size_t kFileTitleSpaces = 2046;

// The window in the foreground when it is one of ours; a dialog owned by another program's
// window would tie that program's input to ours. Otherwise the active window of this thread.
HWND DialogOwner() {
  HWND foreground = GetForegroundWindow();
  if (foreground != nullptr &&
      GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId()) {
    return foreground;
  }
  return platform::ActiveOwner();
}

// Null for an empty text, so the dialog uses its own default.
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

DialogMemory& RememberedDialog() {
  static DialogMemory memory;
  return memory;
}

std::wstring ShowFileDialog(int mode, std::wstring& filter, const std::wstring& title,
                            const std::wstring& defaultExtension) {
  try {
    DialogMemory& memory = RememberedDialog();
    if (filter == kDefaultFilterName) filter = kDefaultFilter;
    PrepareDialogMemory(memory);
    if (mode != kDialogOpenOne && mode != kDialogOpenMany && mode != kDialogSave) return {};

    // The narrow dialog, with every text in the ANSI code page: its buffer capacity counts bytes,
    // so a selection is too long at the same size whatever the names, and every name it hands
    // back has already crossed the code page in which the clearing run's batch file will carry
    // it.
    const std::string filterList = platform::ToAnsi(FilterList(filter));
    std::string fileBuffer = platform::ToAnsi(InitialFileBuffer(memory.lastPath));
    std::string fileTitle(kFileTitleSpaces, ' ');
    const std::string initialDir = platform::ToAnsi(memory.lastDir);
    const std::string titleText = platform::ToAnsi(title);
    const std::string extension = platform::ToAnsi(defaultExtension);
    if (filterList.empty() || fileBuffer.size() < kFileBufferCapacity) return {};

    OPENFILENAMEA record = {};
    // The record without the fields of later Windows versions (76 bytes in the 32-bit program).
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = DialogOwner();
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = filterList.c_str();
    record.nFilterIndex = 0;
    record.lpstrFile = fileBuffer.data();
    record.nMaxFile = static_cast<DWORD>(kFileBufferCapacity);
    record.lpstrFileTitle = fileTitle.data();
    record.nMaxFileTitle = static_cast<DWORD>(kFileTitleSpaces + 1);
    record.lpstrInitialDir = initialDir.c_str();
    record.lpstrTitle = OrNull(titleText);
    record.lpstrDefExt = OrNull(extension);

    // The buffer is read whether or not the dialog reports success: a cancelled dialog leaves it
    // as filled, which the reading turns into its result.
    bool overflowed = false;
    if (mode == kDialogSave) {
      record.Flags = kFlagsSave;
      GetSaveFileNameA(&record);
    } else {
      record.Flags = mode == kDialogOpenOne ? kFlagsOpenOne : kFlagsOpenMany;
      const bool chosen = GetOpenFileNameA(&record) != FALSE;
      // Windows reports a selection too long for the buffer as FNERR_BUFFERTOOSMALL. Wine's
      // narrow dialog fills the buffer to its capacity instead, cutting the list short before its
      // closing pair of NULs, and reports success.
      if (mode == kDialogOpenMany) {
        overflowed = chosen ? std::string_view(fileBuffer)
                                      .substr(0, kFileBufferCapacity)
                                      .find(std::string_view("\0\0", 2)) == std::string_view::npos
                            : CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
      }
    }
    DialogReading reading =
        ReadDialogBuffer(mode, platform::FromAnsi(fileBuffer), memory, overflowed);
    if (reading.tooManyFiles) platform::ShowUserMessage(L"文件选取过多。", MB_OK | MB_ICONERROR);
    return std::move(reading.result);
  } catch (...) {
    // Out of memory on the way: nothing chosen.
    return {};
  }
}

}  // namespace files

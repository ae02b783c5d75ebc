#include "run/clearing_run.h"

#include <utility>

#include "files/write_text_file.h"
#include "process/shell_wait.h"
#include "run/batch_text.h"
#include "run/replace_original.h"

namespace run {
namespace {

// Keeps a second run from starting inside the first (the wait handles the window's clicks), and
// gives the button back however the run ends.
class DisabledWhileRunning {
 public:
  explicit DisabledWhileRunning(HWND button) : button_(button) { EnableWindow(button_, FALSE); }
  ~DisabledWhileRunning() { EnableWindow(button_, TRUE); }
  DisabledWhileRunning(const DisabledWhileRunning&) = delete;
  DisabledWhileRunning& operator=(const DisabledWhileRunning&) = delete;

 private:
  HWND button_;
};

void Run(const RunControls& controls) {
  const std::wstring tempFolder = TempFolder();
  DisabledWhileRunning disabled(controls.clearButton);

  const std::wstring batchPath = BatchFilePath(tempFolder);
  const bool written =
      files::WriteTextFile(batchPath, BatchText(tempFolder, ListEntries(controls.list)), false);
  // A batch that could not be written is not started: a half-written one, or the one an earlier
  // run left, would run in its place. The wait still makes its one pass over the window's events,
  // as it does for a batch that cannot start, and the run goes on.
  (void)process::ShellWait(written ? batchPath : std::wstring(), process::kHidden);
  // Notepad stays open on its own; nobody waits for it.
  (void)process::StartProcess(NotepadCommandLine(tempFolder), SW_SHOWNORMAL);

  // The list is read again: the user may have changed it during the wait.
  if (SendMessageW(controls.sameName, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    ReplaceCleanedCopies(ListEntries(controls.list));
  }
}

}  // namespace

void ClearEvents(const RunControls& controls) noexcept {
  try {
    Run(controls);
  } catch (...) {
    // Only memory can run out here; the run stops and the button is enabled again on the way out.
  }
}

std::wstring TempFolder() {
  std::wstring value(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(L"TMP", value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    // Too small: `length` is the size needed, terminator included.
    value.resize(length);
  }
}

std::vector<std::wstring> ListEntries(HWND list) {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring entry;
    if (length > 0) {
      entry.resize(static_cast<size_t>(length) + 1);
      const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                          reinterpret_cast<LPARAM>(entry.data()));
      entry.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace run

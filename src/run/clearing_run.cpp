#include "run/clearing_run.h"

#include <utility>

#include "files/write_text_file.h"
#include "platform/list_box.h"
#include "platform/temp_folder.h"
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
  const std::wstring tempFolder = platform::TempFolder();
  DisabledWhileRunning disabled(controls.clearButton);

  const std::wstring batchPath = BatchFilePath(tempFolder);
  const bool written = files::WriteTextFile(
      batchPath, BatchText(tempFolder, platform::ListEntries(controls.list)), false);
  // A batch that could not be written is not started: a half-written one, or the one an earlier
  // run left, would run in its place. The wait still makes its one pass over the window's events,
  // as it does for a batch that cannot start, and the run goes on.
  (void)process::ShellWait(written ? batchPath : std::wstring(), process::kHidden);
  // Notepad stays open on its own; nobody waits for it.
  (void)process::StartProcess(NotepadCommandLine(tempFolder), SW_SHOWNORMAL);

  // The list is read again: the user may have changed it during the wait.
  if (SendMessageW(controls.sameName, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    ReplaceCleanedCopies(platform::ListEntries(controls.list));
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

}  // namespace run

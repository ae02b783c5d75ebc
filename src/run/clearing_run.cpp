#include "run/clearing_run.h"

#include <optional>
#include <string>
#include <vector>

#include "files/write_text_file.h"
#include "platform/system_folders.h"
#include "platform/text_conversion.h"
#include "platform/list_box.h"
#include "platform/temp_folder.h"
#include "process/shell_wait.h"
#include "run/batch_names.h"
#include "run/batch_text.h"
#include "run/judge_films.h"
#include "run/report_watch.h"
#include "run/run_lock.h"

namespace run {
namespace {

// Long enough for Notepad to read ret.txt on a busy machine; short enough that a Notepad that
// never settles does not hold up the next run for long.
constexpr DWORD kReportShownMs = 5000;

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

// Go.bat in the code page cmd reads it in, with each film under the name the batch can carry;
// a film without one is left out (its outcome says so). `inBatch` tells how many went in.
bool WriteBatch(const std::wstring& tempFolder, const std::vector<std::wstring>& entries,
                unsigned codePage, size_t& inBatch) {
  // TMP itself may hold such characters too (a user named "José" on a system whose OEM code page
  // lacks them): the batch then names it by its short name, which is the same folder.
  const std::optional<std::wstring> batchTemp = BatchName(tempFolder, codePage);
  if (!batchTemp) return false;
  std::vector<std::wstring> names;
  for (const std::wstring& entry : entries) {
    if (const std::optional<std::wstring> name = BatchName(entry, codePage)) names.push_back(*name);
  }
  inBatch = names.size();
  const std::optional<std::string> bytes =
      platform::ToCodePageExactly(BatchText(*batchTemp, names), codePage);
  return bytes && files::WriteBytesFile(BatchFilePath(tempFolder), *bytes, false);
}

void Run(const RunControls& controls) {
  const std::wstring tempFolder = platform::TempFolder();
  DisabledWhileRunning disabled(controls.clearButton);
  // The films of the click, before the window's events may run in the wait below.
  const std::vector<std::wstring> entries = platform::ListEntries(controls.list);
  // The view shows the wait for the lock too, and the run's end once the lock is let go.
  ReportWatch progress(controls.progress);
  // Runs with the same TMP take turns; the window stays usable while this one waits, and the
  // button stays disabled. A lock that cannot be had (no such object) leaves the run unguarded
  // rather than not run at all.
  RunLock lock(tempFolder);
  if (lock.IsOpen() && !lock.TryAcquire()) progress.Waiting();
  (void)lock.AcquirePumping();

  const unsigned codePage = BatchCodePage();
  // A batch that could not be written is not started: a half-written one, or the one an earlier
  // run left, would run in its place. The wait still makes its one pass over the window's events,
  // as it does for a batch that cannot start, and the run goes on.
  size_t inBatch = 0;
  const bool written = WriteBatch(tempFolder, entries, codePage, inBatch);
  // A film without events is left as it is: the tool reads its headers only and writes no copy,
  // instead of copying the whole film onto itself. cmd and every tool line inherit this.
  SetEnvironmentVariableW(L"RMEVENTS_UNCHANGED", L"skip");
  const std::wstring cmd = platform::SystemFolderFile(L"cmd.exe");
  (void)process::ShellWait(
      written && !cmd.empty() ? BatchCommandLine(cmd, BatchFilePath(tempFolder)) : std::wstring(),
      process::kHidden, progress.BatchStarting(ReportFilePath(tempFolder), written ? inBatch : 0));
  progress.BatchEnded();

  // The list is read again: the user may have changed it during the wait. Every film's fate is
  // settled before Notepad shows the report, so the report can tell it.
  const bool replace = SendMessageW(controls.sameName, BM_GETCHECK, 0, 0) == BST_CHECKED;
  const std::wstring reportPath = ReportFilePath(tempFolder);
  const std::vector<FilmOutcome> outcomes = ReplaceAndJudge(
      platform::ListEntries(controls.list), replace, codePage, ReadToolReport(reportPath));
  // A report that cannot be written leaves the tool's lines as they are; the run goes on.
  if (!outcomes.empty()) (void)files::WriteTextFile(reportPath, OutcomeSection(outcomes), true);
  progress.Judged(outcomes);

  // Notepad stays open on its own; it is not waited for beyond reading the report.
  const process::StartedProcess notepad = process::StartProcess(
      NotepadCommandLine(tempFolder), SW_SHOWNORMAL, platform::SystemFolderFile(L"notepad.exe"));
  // The next run rewrites ret.txt: it must wait until this run's Notepad has read it.
  if (notepad.handle) process::WaitUntilReady(notepad.handle.Get(), kReportShownMs);
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

#include "run/clearing_run.h"

#include <optional>
#include <string>
#include <vector>

#include "files/write_text_file.h"
#include "platform/list_box.h"
#include "platform/message_pump.h"
#include "platform/system_folders.h"
#include "platform/temp_folder.h"
#include "platform/text_conversion.h"
#include "process/job_process.h"
#include "process/shell_wait.h"
#include "run/batch_names.h"
#include "run/batch_text.h"
#include "run/judge_films.h"
#include "run/run_files.h"
#include "run/run_lock.h"
#include "run/status_watch.h"

namespace run {
namespace {

// Long enough for Notepad to read ret.txt on a busy machine; short enough that a Notepad that
// never settles does not hold up the next run for long.
constexpr DWORD kReportShownMs = 5000;
// How long a stop waits for the batch's processes to be gone, so the half-written copy they held
// can be removed; they usually are within a few tens of milliseconds, this only bounds a machine
// too loaded to end them (the next run's tool clears a copy left then).
constexpr DWORD kStopMs = 2000;

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

// The window's stop knows a run is under way from its start to its end, however it ends.
class StopScope {
 public:
  explicit StopScope(RunStop* stop) : stop_(stop) {
    if (stop_ != nullptr) stop_->Begin();
  }
  ~StopScope() {
    if (stop_ != nullptr) stop_->Finish();
  }
  StopScope(const StopScope&) = delete;
  StopScope& operator=(const StopScope&) = delete;

  [[nodiscard]] HANDLE Event() const { return stop_ != nullptr ? stop_->Event() : nullptr; }
  [[nodiscard]] bool Requested() const { return stop_ != nullptr && stop_->Requested(); }
  void WhileBatchRuns(std::function<void()> endNow) {
    if (stop_ != nullptr) stop_->SetEndNow(std::move(endNow));
  }

 private:
  RunStop* stop_;
};

// Go.bat in the code page cmd reads it in, each film under the name the batch can carry; a film
// without one is left out (its outcome says so). `inBatch` tells how many went in.
bool WriteBatch(const std::wstring& tempFolder, const std::vector<RunFilm>& films,
                unsigned codePage, size_t& inBatch) {
  // TMP itself may hold such characters too (a user named "José" on a system whose OEM code page
  // lacks them): the batch then names it by its short name, which is the same folder.
  const std::optional<std::wstring> batchTemp = BatchName(tempFolder, codePage);
  if (!batchTemp) return false;
  std::vector<std::wstring> names;
  for (const RunFilm& film : films) {
    if (film.batchName) names.push_back(*film.batchName);
  }
  inBatch = names.size();
  const std::optional<std::string> bytes =
      platform::ToCodePageExactly(BatchText(*batchTemp, names), codePage);
  return bytes && files::WriteBytesFile(BatchFilePath(tempFolder), *bytes, false);
}

// What cmd and every tool line inherit: films without events are left as they are (the tool reads
// their headers only, instead of copying the whole film onto itself); each film's start and end
// go into the status file; the report is UTF-8 where the ANSI code page cannot show it.
void SetToolEnvironment(const std::wstring& statusPath, ReportEncoding encoding) {
  SetEnvironmentVariableW(L"RMEVENTS_UNCHANGED", L"skip");
  SetEnvironmentVariableW(L"RMEVENTS_STATUS", statusPath.c_str());
  SetEnvironmentVariableW(L"RMEVENTS_REPORT",
                          encoding == ReportEncoding::kUtf8 ? L"utf8" : nullptr);
}

class Run {
 public:
  explicit Run(const RunControls& controls)
      : controls_(controls),
        tempFolder_(platform::TempFolder()),
        disabled_(controls.clearButton),
        // The films of the click, before the window's events may run in the waits below.
        entries_(platform::ListEntries(controls.list)),
        watch_(controls.progress),
        stop_(controls.stop) {}

  void Go() {
    // Runs with the same TMP take turns; the window stays usable while this one waits, and the
    // button stays disabled. A lock that cannot be had (no such object) leaves the run unguarded
    // rather than not run at all; a stop while waiting ends the run before it has done anything.
    RunLock lock(tempFolder_);
    if (lock.IsOpen() && !lock.TryAcquire()) watch_.Waiting();
    if (!lock.AcquirePumping(stop_.Event()) && stop_.Requested()) return;

    const unsigned codePage = BatchCodePage();
    films_ = TakeRunFilms(entries_, codePage);
    const std::wstring reportPath = ReportFilePath(tempFolder_);
    const std::wstring statusPath = StatusFilePath(tempFolder_);
    // What stands in these files from before is another run's, not this one's.
    (void)StartFresh(reportPath, encoding_);
    (void)StartFresh(statusPath, ReportEncoding::kAnsi);
    const platform::UniqueHandle events = MakeEventsFile(EventsFilePath(tempFolder_));
    size_t inBatch = 0;
    if (!events) {
      end_ = RunEnd::kEventsNotWritten;
    } else if (!WriteBatch(tempFolder_, films_, codePage, inBatch)) {
      // A half-written batch, or the one an earlier run left, would run in its place.
      end_ = RunEnd::kBatchNotWritten;
    }
    if (end_ == RunEnd::kCompleted) {
      SetToolEnvironment(statusPath, encoding_);
      RunBatch(statusPath, inBatch);
    } else {
      // The wait's one pass over the window's events, as for a batch that cannot start.
      (void)platform::PumpPendingMessages();
    }
    if (!ended_) End(reportPath);

    if (end_ == RunEnd::kStopped) return;
    // Notepad stays open on its own; it is not waited for beyond reading the report.
    const process::StartedProcess notepad = process::StartProcess(
        NotepadCommandLine(tempFolder_), SW_SHOWNORMAL, platform::SystemFolderFile(L"notepad.exe"));
    // The next run rewrites ret.txt: it must wait until this run's Notepad has read it.
    if (notepad.handle) process::WaitUntilReady(notepad.handle.Get(), kReportShownMs);
  }

 private:
  void RunBatch(const std::wstring& statusPath, size_t inBatch) {
    const std::wstring cmd = platform::SystemFolderFile(L"cmd.exe");
    process::JobProcess batch;
    const platform::WaitTick tick = watch_.BatchStarting(statusPath, inBatch);
    if (cmd.empty() ||
        !batch.Start(cmd, BatchCommandLine(cmd, BatchFilePath(tempFolder_)), process::kHidden)) {
      (void)platform::PumpPendingMessages();
      return;
    }
    // The end of the session cannot wait for this wait to return: Windows may end the program
    // as soon as the window has answered. Then the run ends from inside that answer.
    stop_.WhileBatchRuns([this, &batch] {
      batch.Terminate(kStopMs);
      end_ = RunEnd::kStopped;
      End(ReportFilePath(tempFolder_));
    });
    const platform::WaitEnd waited =
        platform::WaitPumpingUnless(batch.Process(), stop_.Event(), tick);
    stop_.WhileBatchRuns(nullptr);
    if (waited == platform::WaitEnd::kStopped && !ended_) {
      batch.Terminate(kStopMs);
      end_ = RunEnd::kStopped;
    }
  }

  // Every film's fate is settled before Notepad shows the report, so the report can tell it.
  void End(const std::wstring& reportPath) {
    ended_ = true;
    watch_.BatchEnded();
    JudgeOptions options;
    options.replace = SendMessageW(controls_.sameName, BM_GETCHECK, 0, 0) == BST_CHECKED;
    options.stopped = end_ == RunEnd::kStopped;
    options.realNames = encoding_ == ReportEncoding::kUtf8;
    // A run whose batch never ran touched no film: each is judged as one without a copy, and the
    // section says why in one line.
    std::vector<FilmOutcome> outcomes = end_ == RunEnd::kCompleted || end_ == RunEnd::kStopped
                                            ? ReplaceAndJudge(films_, watch_.Lines(), options)
                                            : std::vector<FilmOutcome>(films_.size());
    for (const std::wstring& refused : controls_.refused) {
      outcomes.push_back({refused, Outcome::kRefused, {}});
    }
    // A report that cannot be written leaves the tool's lines as they are; the run goes on.
    (void)AppendToReport(reportPath, OutcomeSection(outcomes, end_), encoding_);
    watch_.Judged(outcomes);
  }

  const RunControls& controls_;
  const std::wstring tempFolder_;
  DisabledWhileRunning disabled_;
  const std::vector<std::wstring> entries_;
  StatusWatch watch_;
  StopScope stop_;
  const ReportEncoding encoding_ = ReportEncodingOfSystem();
  std::vector<RunFilm> films_;
  RunEnd end_ = RunEnd::kCompleted;
  bool ended_ = false;
};

}  // namespace

void ClearEvents(const RunControls& controls) noexcept {
  try {
    Run(controls).Go();
  } catch (...) {
    // Only memory can run out here; the run stops and the button is enabled again on the way out.
  }
}

}  // namespace run

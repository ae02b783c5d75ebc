// What the event-clearing run costs on top of the work of rmevents itself, for a list of films:
//   - the tool alone: rmevents run directly once per film, one after another, its report going to
//     a file (the least any front end must do);
//   - the click: run::ClearEvents over a list box holding the films (batch file, cmd, the hidden
//     wait, Notepad's start, the replacement step), timed from the call to its return, which comes
//     after the last replacement;
//   - the one-shot start: Quellin.exe started with the films as arguments, timed from its start to
//     its end (it ends right after the last replacement), when QUELLIN_EXE is given;
//   - the selection: one Quellin.exe per film, all started at once as Explorer starts a verb for
//     a selection, timed from the first start to the last end, against the one-shot start; and the
//     longest life of a start that handed its film over (every start but the one that ran).
// Every round starts from fresh copies and checks that each film was replaced by its cleaned copy,
// so a run that did nothing cannot pass for a fast one. Times are medians over the rounds; the
// ratios are medians of the per-round ratios.
//
//   clearing_run_bench FILM RMEVENTS_EXE [QUELLIN_EXE|-] [FILMS] [ROUNDS]   defaults: -, 20, 5
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include "platform/unique_handle.h"
#include "process/shell_wait.h"
#include "run/batch_text.h"
#include "run/clearing_run.h"

namespace {

double NowMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string ReadAll(const std::wstring& path) {
  platform::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (file && ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

// Starts `commandLine` without a console (none to create: the cheapest start there is) with
// standard output on `output`, and waits for its end.
bool RunAndWait(std::wstring commandLine, HANDLE output) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (output != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, output != nullptr,
                      DETACHED_PROCESS, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hProcess);
  return true;
}

// Ends the Notepads the runs opened: children of this program or of the Quellin it started.
// Returns how many there were: one per run.
int EndNotepadsOf(const std::vector<DWORD>& parents) {
  int ended = 0;
  platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"notepad.exe") != 0) continue;
    if (std::find(parents.begin(), parents.end(), entry.th32ParentProcessID) == parents.end()) {
      continue;
    }
    platform::UniqueHandle notepad(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (notepad) TerminateProcess(notepad.Get(), 0);
    ++ended;
  }
  return ended;
}

// Starts every command line suspended and lets them all go together, as Explorer's starts for a
// selection come within milliseconds (making a process under Wine takes long enough to spread
// them otherwise). Returns each start's life, shortest first; `whole` is first start to last end.
std::vector<double> LivesOfStartsAtOnce(std::vector<std::wstring> commandLines, double& whole,
                                        std::vector<DWORD>& ids) {
  std::vector<PROCESS_INFORMATION> started;
  for (std::wstring& commandLine : commandLines) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                       nullptr, nullptr, &startup, &info)) {
      started.push_back(info);
    }
  }
  std::vector<double> begins;
  for (const PROCESS_INFORMATION& info : started) {
    begins.push_back(NowMs());
    ResumeThread(info.hThread);
  }
  const double begin = begins.empty() ? NowMs() : begins.front();
  std::vector<double> lives(started.size(), 0);
  for (size_t left = started.size(); left > 0;) {
    for (size_t i = 0; i < started.size(); ++i) {
      if (lives[i] == 0 && WaitForSingleObject(started[i].hProcess, 0) == WAIT_OBJECT_0) {
        lives[i] = NowMs() - begins[i];
        --left;
      }
    }
    Sleep(1);
  }
  whole = NowMs() - begin;
  for (const PROCESS_INFORMATION& info : started) {
    ids.push_back(info.dwProcessId);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  std::sort(lives.begin(), lives.end());
  return lives;
}

class Bench {
 public:
  Bench(const std::wstring& film, const std::wstring& tool, int films) {
    root_ = L"C:\\quellin-bench-" + std::to_wstring(GetCurrentProcessId());
    temp_ = root_ + L"\\tmp";
    CreateDirectoryW(root_.c_str(), nullptr);
    CreateDirectoryW(temp_.c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\films").c_str(), nullptr);
    ok_ = CopyFileW(tool.c_str(), (temp_ + L"\\rmevents.exe").c_str(), FALSE) &&
          CopyFileW(film.c_str(), (root_ + L"\\master.rm").c_str(), FALSE);
    filmBytes_ = ReadAll(root_ + L"\\master.rm");
    for (int i = 0; i < films; ++i) {
      films_.push_back(root_ + L"\\films\\片 " + std::to_wstring(i + 1) + L".rm");
    }
    SetEnvironmentVariableW(L"TMP", temp_.c_str());
    HANDLE events = CreateFileW((temp_ + L"\\Event.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ok_ = ok_ && !filmBytes_.empty() && WriteFile(events, "rem \r\n", 6, &written, nullptr);
    CloseHandle(events);
  }

  ~Bench() {
    for (const std::wstring& path : films_) {
      DeleteFileW(path.c_str());
      DeleteFileW(run::CleanedCopyPath(path).c_str());
    }
    for (const wchar_t* name : {L"\\tmp\\rmevents.exe", L"\\tmp\\Event.txt", L"\\tmp\\Go.bat",
                                L"\\tmp\\ret.txt", L"\\tmp\\alone.txt", L"\\master.rm"}) {
      DeleteFileW((root_ + name).c_str());
    }
    RemoveDirectoryW((root_ + L"\\films").c_str());
    RemoveDirectoryW(temp_.c_str());
    RemoveDirectoryW(root_.c_str());
  }

  bool Ok() const { return ok_; }
  const std::vector<std::wstring>& Films() const { return films_; }

  void FreshCopies() const {
    for (const std::wstring& path : films_) {
      DeleteFileW(run::CleanedCopyPath(path).c_str());
      CopyFileW((root_ + L"\\master.rm").c_str(), path.c_str(), FALSE);
    }
  }

  // Every film replaced by a cleaned copy (smaller: its event stream is gone), no copy left.
  bool AllReplaced() const {
    for (const std::wstring& path : films_) {
      const std::string bytes = ReadAll(path);
      if (bytes.empty() || bytes == filmBytes_) return false;
      if (GetFileAttributesW(run::CleanedCopyPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
      }
    }
    return true;
  }

  // Every film has its cleaned copy beside it.
  bool AllCopied() const {
    for (const std::wstring& path : films_) {
      if (GetFileAttributesW(run::CleanedCopyPath(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
      }
    }
    return true;
  }

  size_t FilmSize() const { return filmBytes_.size(); }

  double ToolAlone() const {
    FreshCopies();
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    const double begin = NowMs();
    platform::UniqueHandle report(CreateFileW((temp_ + L"\\alone.txt").c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, 0,
                                              nullptr));
    for (const std::wstring& path : films_) {
      RunAndWait(L"\"" + temp_ + L"\\rmevents.exe\" -i \"" + path + L"\" -o \"" +
                     run::CleanedCopyPath(path) + L"\" -e \"" + temp_ + L"\\Event.txt\"",
                 report.Get());
    }
    return NowMs() - begin;
  }

  // The batch of the last click run again by itself, hidden, as the run starts it: the part of
  // the click that is cmd and the tool.
  double BatchOnly() const {
    FreshCopies();
    const double begin = NowMs();
    (void)process::ShellWait(run::BatchFilePath(temp_), process::kHidden);
    return NowMs() - begin;
  }

  double Click() const {
    FreshCopies();
    HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 10, 10, window, nullptr,
                                nullptr, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 10, 10, window, nullptr,
                                  nullptr, nullptr);
    HWND check = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10,
                                 window, nullptr, nullptr, nullptr);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    for (const std::wstring& path : films_) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    const double begin = NowMs();
    run::ClearEvents({list, button, check});
    const double elapsed = NowMs() - begin;
    DestroyWindow(window);
    EndNotepadsOf({GetCurrentProcessId()});
    return elapsed;
  }

  struct SelectionTimes {
    double whole = -1;       // first start to last end
    double longestJoin = 0;  // the longest life of a start that handed its film over
    int runs = 0;            // how many runs (Notepads) the selection made: 1 when all joined
  };

  SelectionTimes Selection(const std::wstring& quellin) const {
    FreshCopies();
    std::vector<std::wstring> commandLines;
    for (const std::wstring& path : films_) {
      commandLines.push_back(L"\"" + quellin + L"\" \"" + path + L"\"");
    }
    SelectionTimes times;
    std::vector<DWORD> ids;
    std::vector<double> lives = LivesOfStartsAtOnce(commandLines, times.whole, ids);
    times.longestJoin = lives.size() > 1 ? lives[lives.size() - 2] : 0;
    Sleep(300);
    times.runs = EndNotepadsOf(ids);
    return times;
  }

  // The reference for a handing-over start: as many starts of a program that does nothing, let
  // go together the same way; the longest of their lives is what starting alone costs here.
  double LongestNoOpLife(const std::wstring& self) const {
    const std::vector<std::wstring> commandLines(films_.size(), L"\"" + self + L"\" --no-op");
    double whole = 0;
    std::vector<DWORD> ids;
    const std::vector<double> lives = LivesOfStartsAtOnce(commandLines, whole, ids);
    return lives.empty() ? 0 : lives.back();
  }

  double OneShot(const std::wstring& quellin) const {
    FreshCopies();
    std::wstring commandLine = L"\"" + quellin + L"\"";
    for (const std::wstring& path : films_) commandLine += L" \"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    const double begin = NowMs();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double elapsed = NowMs() - begin;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    // Its Notepad may still be on its way up.
    Sleep(300);
    EndNotepadsOf({info.dwProcessId});
    return elapsed;
  }

 private:
  std::wstring root_;
  std::wstring temp_;
  std::string filmBytes_;
  std::vector<std::wstring> films_;
  bool ok_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--no-op") return 0;
  if (argc < 3) {
    std::fwprintf(stderr,
                  L"usage: clearing_run_bench FILM RMEVENTS_EXE [QUELLIN_EXE|-] [FILMS] "
                  L"[ROUNDS]\n");
    return 2;
  }
  const std::wstring quellin = argc > 3 && std::wstring(argv[3]) != L"-" ? argv[3] : L"";
  const int films = argc > 4 ? std::max(1, _wtoi(argv[4])) : 20;
  const int rounds = argc > 5 ? std::max(1, _wtoi(argv[5])) : 5;
  // Quellin has no console, so the batch's cmd makes a hidden one of its own; so must this run's.
  // Standard output and error are files here, which outlive the console.
  FreeConsole();
  Bench bench(argv[1], argv[2], films);
  if (!bench.Ok()) {
    std::fwprintf(stderr, L"cannot set up the films and the tool\n");
    return 2;
  }

  std::vector<double> alone, click, batch, oneShot, clickRatio, batchRatio, oneShotRatio;
  std::vector<double> selection, selectionRatio, longestJoin, noOpLife;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  int mostRuns = 0;
  bool selectionReplaced = !quellin.empty();
  bool clickReplaced = true;
  bool oneShotReplaced = !quellin.empty();
  for (int round = 0; round < rounds; ++round) {
    const double toolTime = bench.ToolAlone();
    if (!bench.AllCopied()) {
      std::fwprintf(stderr, L"the tool alone did not write every cleaned copy\n");
      return 2;
    }
    alone.push_back(toolTime);
    const double clickTime = bench.Click();
    clickReplaced = clickReplaced && bench.AllReplaced();
    click.push_back(clickTime);
    clickRatio.push_back(clickTime / toolTime);
    const double batchTime = bench.BatchOnly();
    clickReplaced = clickReplaced && bench.AllCopied();
    batch.push_back(batchTime);
    batchRatio.push_back(batchTime / toolTime);
    if (!quellin.empty()) {
      const double oneShotTime = bench.OneShot(quellin);
      oneShotReplaced = oneShotReplaced && oneShotTime >= 0 && bench.AllReplaced();
      oneShot.push_back(oneShotTime);
      oneShotRatio.push_back(oneShotTime / toolTime);
      const Bench::SelectionTimes times = bench.Selection(quellin);
      selectionReplaced = selectionReplaced && times.whole >= 0 && bench.AllReplaced();
      selection.push_back(times.whole);
      selectionRatio.push_back(times.whole / oneShotTime);
      longestJoin.push_back(times.longestJoin);
      noOpLife.push_back(bench.LongestNoOpLife(self));
      mostRuns = std::max(mostRuns, times.runs);
    }
  }

  std::printf("%d films of %zu bytes each, %d rounds (medians)\n", films, bench.FilmSize(), rounds);
  std::printf("  the tool alone, once per film:          %8.1f ms\n", Median(alone));
  if (clickReplaced) {
    std::printf("  the click (ClearEvents to its return):  %8.1f ms   overhead ratio %.2f\n",
                Median(click), Median(clickRatio));
  } else {
    std::printf("  the click: FAILED, not every film was replaced by its cleaned copy\n");
  }
  std::printf("    of which Go.bat alone (cmd, hidden):   %8.1f ms   ratio %.2f\n", Median(batch),
              Median(batchRatio));
  if (quellin.empty()) {
    std::printf("  the one-shot start: not measured (no Quellin.exe given)\n");
  } else if (oneShotReplaced) {
    std::printf("  the one-shot start (start to end):      %8.1f ms   overhead ratio %.2f\n",
                Median(oneShot), Median(oneShotRatio));
  } else {
    std::printf("  the one-shot start: FAILED, not every film was replaced by its cleaned copy\n");
  }
  if (selectionReplaced) {
    std::printf("  the selection (one start per film):     %8.1f ms   ratio to one start %.2f\n",
                Median(selection), Median(selectionRatio));
    std::printf("    longest life of a handing-over start: %8.1f ms   (worst round %.1f ms)\n",
                Median(longestJoin), *std::max_element(longestJoin.begin(), longestJoin.end()));
    std::printf("    as many starts doing nothing, longest: %8.1f ms   so joining adds %.1f ms\n",
                Median(noOpLife), Median(longestJoin) - Median(noOpLife));
    std::printf(
        "    runs (Notepads) a selection made:     %8d   (most in a round; 1 = all joined)\n",
        mostRuns);
  } else if (!quellin.empty()) {
    std::printf("  the selection: FAILED, not every film was replaced by its cleaned copy\n");
  }
  return clickReplaced && (quellin.empty() || (oneShotReplaced && selectionReplaced)) ? 0 : 1;
}

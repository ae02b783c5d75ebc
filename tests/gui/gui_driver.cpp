// gui_driver: works Quellin's main window from a second process, the way a user would, and
// prints what it finds for the test scripts to compare. Run it under Wine in the same prefix as
// Quellin.exe. Usage: gui_driver [--pid N] COMMAND [ARGS...]; "gui_driver help" lists them.
#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "about_steps.h"
#include "describe.h"
#include "dialog_steps.h"
#include "list_steps.h"
#include "ole_drop.h"
#include "output.h"
#include "run_steps.h"
#include "stand_in_tray.h"
#include "target_window.h"
#include "ui/main_window_ids.h"

namespace gui {
namespace {

constexpr wchar_t kUsage[] =
    L"gui_driver [--pid N] COMMAND [ARGS...]   (N: the Windows process id from start)\n"
    L"  start EXE [ARGUMENT-TEXT]        start EXE (a Windows path) with exactly this argument\n"
    L"                                   text after its quoted name and one blank; prints pid=N\n"
    L"  one-shot EXE ARGUMENT-TEXT [S]   the same, then watch it until it ends (at most S\n"
    L"                                   seconds): prints shown=0|1 exit=N, or still-running\n"
    L"    ... --tray                     also stand in for the notification area: then prints\n"
    L"                                   each icon call of the program (stand_in_tray.h)\n"
    L"    ... --tray-stop K              the same, and once the icon counts K films done, choose\n"
    L"                                   the first item of the icon's menu (stop the run)\n"
    L"  wait [S]                         until the main window is visible (default 10 s)\n"
    L"  window | controls | tooltips     describe the window, its controls, its tool tips\n"
    L"  list                             count and entries of the file list\n"
    L"  add TEXT...                      append each text to the file list\n"
    L"  click ID | getcheck ID           press a button or check box; read a check box\n"
    L"  focus | tab N                    the focused control's id; press Tab N times\n"
    L"  dialogs                          the caption of each visible dialog box (#32770) of the\n"
    L"                                   window's process, one a line\n"
    L"  visible | enabled | geometry     is the window visible; enabled; its screen rectangle\n"
    L"  close [S]                        send WM_CLOSE and wait for the process to end\n"
    L"  kill                             end the process\n"
    L"  end-session                      log-off: WM_QUERYENDSESSION, then WM_ENDSESSION\n"
    L"  processes-in FOLDER              how many processes run a program from FOLDER\\\n"
    L"  selected                         the list's selected index (-1: none)\n"
    L"  click-entry N                    a left click on entry N of the list\n"
    L"  drag FROM TO... [--right|--both] press on entry FROM, move over each TO, let go\n"
    L"  key delete [shift|ctrl]          press Delete on the list, a modifier held\n"
    L"  tooltip-text                     the text of the list's tool tip\n"
    L"  drop-files [--at N] PATH...      OLE-drop the paths (CF_HDROP) on entry N (default 0)\n"
    L"  drop-text TEXT                   OLE-drop plain text on the list\n"
    L"  pick FOLDER NAMES                in the open dialog: go to FOLDER, pick NAMES\n"
    L"  dialog [S]                       describe the dialog Quellin shows (waits S seconds)\n"
    L"  press ID                         press button ID of that dialog\n"
    L"  answer TEXT                      type TEXT into the pattern box and press OK\n"
    L"  settled [S]                      until no scan runs, no box is open and the list's count\n"
    L"                                   holds (at most S seconds, default 10)\n"
    L"  watch-run ID [S] [--during ID2]  click button ID; watch it go off and on again (pressing\n"
    L"                                   ID2 meanwhile)\n"
    L"  watch-captions ID [S]            click button ID; print each caption the window shows\n"
    L"                                   until the button is back\n"
    L"  starts S EXE TEXT...             one start of EXE per argument text, all at once\n"
    L"  notepads [S]                     how many Notepad windows are up (waits S seconds)\n"
    L"  hold PATH RELEASE [S]            hold PATH open without delete sharing until RELEASE\n"
    L"                                   exists\n"
    L"  about-...                        the About window: see about_steps.h\n";

double SecondsArg(const std::vector<std::wstring>& args, size_t index, double fallback) {
  return index < args.size() ? _wtof(args[index].c_str()) : fallback;
}

struct Process {
  HANDLE handle = nullptr;
  HANDLE thread = nullptr;
  DWORD pid = 0;
};

// Starts EXE with the command line `"EXE" ARGUMENT-TEXT`, so the program's own argument text is
// exactly ARGUMENT-TEXT.
bool StartProgram(const std::wstring& exe, const std::wstring& argumentText, Process& started,
                  DWORD flags = 0) {
  std::wstring commandLine = L"\"" + exe + L"\" " + argumentText;
  // Wine would hand the driver's own standard streams on to the program, and from it to the
  // Notepad a run opens, which would hold the script's pipe open for good: they get NUL instead.
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inheritable, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION info = {};
  const bool ok = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, flags,
                                 nullptr, nullptr, &startup, &info) != FALSE;
  CloseHandle(nul);
  if (!ok) return false;
  started = {info.hProcess, info.hThread, info.dwProcessId};
  return true;
}

struct ClassSearch {
  DWORD pid;
  const wchar_t* className;
  HWND found;
};

// A callback of its own, not a lambda: 32-bit Windows calls it as stdcall.
BOOL CALLBACK TakeWindowOfClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner != search->pid || std::wcscmp(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The window of process `pid` of `className`, visible or not; null when it has none.
HWND WindowOfClass(DWORD pid, const wchar_t* className) {
  ClassSearch search = {pid, className, nullptr};
  EnumWindows(TakeWindowOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A right click on the program's notification icon, as the notification area reports it, then the
// first item of the menu that opens ("停止清除"), chosen with the keyboard. True once chosen.
bool StopFromTrayMenu(StandInTray& tray, const Process& started) {
  HWND owner = nullptr;
  UINT callback = 0;
  if (!tray.LatestIcon(started.pid, owner, callback)) return false;
  PostMessageW(owner, callback, 1, WM_RBUTTONUP);
  const ULONGLONG deadline = GetTickCount64() + 5000;
  HWND menu = nullptr;
  while (menu == nullptr && GetTickCount64() < deadline) {
    (void)tray.Pump(started.handle, 10);
    menu = WindowOfClass(started.pid, L"#32768");
  }
  if (menu == nullptr) return false;
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return true;
}

int OneShot(std::vector<std::wstring> args) {
  // --tray-stop K: once the icon counts K films done, stop the run from the icon's menu.
  int stopAt = -1;
  if (args.size() > 2 && args[args.size() - 2] == L"--tray-stop") {
    stopAt = _wtoi(args.back().c_str());
    args.resize(args.size() - 2);
    args.push_back(L"--tray");
  }
  const bool watchTray = args.back() == L"--tray";
  if (watchTray) args.pop_back();
  if (args.size() < 3) return Fail(L"one-shot needs EXE and ARGUMENT-TEXT");
  const double seconds = SecondsArg(args, 3, 15);
  std::unique_ptr<StandInTray> tray;
  if (watchTray) {
    tray = std::make_unique<StandInTray>();
    if (!tray->Ready()) return Fail(L"cannot make the stand-in notification area");
  }
  // Wine reports no window events across processes, so the watch is a poll of the window itself,
  // every millisecond from the start of the program until its end. (Without the pause the poll
  // keeps the Wine server so busy that the program under watch starts several times slower.)
  Process started;
  if (!StartProgram(args[1], args[2], started)) return Fail(L"cannot start " + args[1]);
  CloseHandle(started.thread);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  bool shown = false;
  bool ended = false;
  std::wstring stopped;
  const std::wstring stopTip = L"正在清除 " + std::to_wstring(stopAt) + L"/";
  while (!ended && GetTickCount64() < deadline) {
    HWND window = FindMainWindow(started.pid);
    if (window != nullptr && IsWindowVisible(window)) shown = true;
    ended = tray ? tray->Pump(started.handle, 1)
                 : WaitForSingleObject(started.handle, 1) == WAIT_OBJECT_0;
    if (stopAt >= 0 && stopped.empty() && !ended) {
      const std::vector<std::wstring> calls = tray->Calls(started.pid);
      if (!calls.empty() && calls.back().find(stopTip) != std::wstring::npos) {
        stopped = StopFromTrayMenu(*tray, started) ? L"\nstop chosen from the icon's menu"
                                                   : L"\nno menu to stop from";
      }
    }
  }
  std::wstring result = L"shown=" + std::wstring(shown ? L"1" : L"0");
  if (ended) {
    DWORD exitCode = 0;
    GetExitCodeProcess(started.handle, &exitCode);
    result += L" exit=" + std::to_wstring(exitCode);
  } else {
    TerminateProcess(started.handle, 1);
    result += L" still-running";
  }
  CloseHandle(started.handle);
  if (tray) {
    for (const std::wstring& call : tray->Calls(started.pid)) result += L"\ntray " + call;
  }
  result += stopped;
  Print(result + L"\n");
  return 0;
}

HWND ControlArg(HWND window, const std::vector<std::wstring>& args) {
  if (args.size() < 2) return nullptr;
  return GetDlgItem(window, _wtoi(args[1].c_str()));
}

std::wstring IdOf(HWND window, HWND focus) {
  if (focus == nullptr) return L"none";
  if (focus == window) return L"window";
  return std::to_wstring(GetDlgCtrlID(focus));
}

// Tab arrives the way a key press does: posted to the focused control, taken from the queue by
// the program's own loop.
int PressTab(HWND window, int times) {
  std::wstring ids;
  for (int i = 0; i < times; ++i) {
    HWND before = FocusOf(window);
    if (before == nullptr) return Fail(L"nothing has the focus");
    PostMessageW(before, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(before, WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001u));
    HWND after = before;
    for (int wait = 0; wait < 100 && after == before; ++wait) {
      Sleep(20);
      after = FocusOf(window);
    }
    ids += (i == 0 ? L"" : L" ") + IdOf(window, after);
  }
  Print(ids + L"\n");
  return 0;
}

int Close(HWND window, double seconds) {
  HANDLE process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(window));
  if (process == nullptr) return Fail(L"cannot open the window's process");
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended =
      WaitForSingleObject(process, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0;
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  Print(ended ? L"ended exit=" + std::to_wstring(exitCode) + L"\n" : L"still-running\n");
  return 0;
}

// Log-off as Windows tells a program of it: WM_QUERYENDSESSION, then WM_ENDSESSION. Prints the
// answer and how long the program took to give it.
int EndSession(HWND window) {
  const ULONGLONG asked = GetTickCount64();
  DWORD_PTR answer = 0;
  const bool answered = SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                            SMTO_NORMAL, 10000, &answer) != 0;
  const ULONGLONG took = GetTickCount64() - asked;
  if (answered)
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000,
                        nullptr);
  Print(answered ? L"answer=" + std::to_wstring(answer) + L" within-1s=" +
                       (took < 1000 ? L"1" : L"0") + L"\n"
                 : L"no answer\n");
  return 0;
}

// How many processes run a program from `folder` (a Windows path with its trailing "\").
int ProcessesIn(const std::wstring& folder) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return Fail(L"no process list");
  int count = 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (process == nullptr) continue;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, image, &size) &&
        CompareStringOrdinal(image, static_cast<int>(std::min<size_t>(size, folder.size())),
                             folder.c_str(), static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL) {
      ++count;
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  Print(std::to_wstring(count) + L"\n");
  return 0;
}

int Kill(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  if (process == nullptr) return Fail(L"no such process");
  TerminateProcess(process, 1);
  CloseHandle(process);
  return 0;
}

// Each visible dialog box of the window's process (message boxes, the open dialog, the pattern
// box are all #32770), as "[caption]". Only that class: the list's tool tip is an owned top-level
// window too, and it shows whenever the pointer or the selection gives it a reason.
std::wstring VisibleDialogs(HWND window) {
  std::wstring text;
  for (HWND other = GetTopWindow(nullptr); other != nullptr;
       other = GetWindow(other, GW_HWNDNEXT)) {
    if (ProcessOf(other) == ProcessOf(window) && IsWindowVisible(other) &&
        ClassOf(other) == L"#32770") {
      text += L"[" + TextOf(other) + L"]\n";
    }
  }
  return text;
}

// Until the window has done what it was asked: no folder scan under way (the caption carries its
// note), no box or dialog of its own open, and the same count in the list at two looks, each
// after the program has handled what was posted before it.
int WaitUntilSettled(HWND window, HWND list, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  LRESULT previous = -1;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const bool handled =
        now < deadline && WaitForPostedMessages(list, static_cast<double>(deadline - now) / 1000);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    bool busy = !handled || TextOf(window).find(L"正在扫描文件...") != std::wstring::npos;
    for (HWND other = GetTopWindow(nullptr); other != nullptr && !busy;
         other = GetWindow(other, GW_HWNDNEXT)) {
      busy = GetWindow(other, GW_OWNER) == window && IsWindowVisible(other) &&
             ClassOf(other) != L"tooltips_class32";
    }
    if (!busy && count == previous) {
      Print(L"settled\n");
      return 0;
    }
    if (GetTickCount64() >= deadline) {
      return Fail(L"still busy: " + std::wstring(handled ? L"" : L"posted input not taken, ") +
                  L"caption [" + TextOf(window) + L"], count " + std::to_wstring(count) +
                  L", open [" + VisibleDialogs(window) + L"]");
    }
    previous = busy ? -1 : count;
    Sleep(50);
  }
}

int ListEntries(HWND list) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  std::wstring text = L"count=" + std::to_wstring(count) + L"\n";
  for (LRESULT i = 0; i < count; ++i) {
    // W messages only: the A form of LB_GETTEXT across processes comes back as UTF-16 on Wine.
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::wstring entry(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    text += L"[" + entry + L"]\n";
  }
  Print(text);
  return 0;
}

bool IsFileCommand(const std::wstring& command) {
  for (const wchar_t* name :
       {L"selected", L"click-entry", L"drag", L"key", L"tooltip-text", L"drop-files", L"drop-text",
        L"click-async", L"pick", L"dialog", L"press", L"answer", L"settled"}) {
    if (command == name) return true;
  }
  return false;
}

constexpr wchar_t kInputNotTaken[] = L"the program did not take the posted input within 10 s";

// The commands that gather files into the list and work the list's own handlers.
int RunFileCommand(HWND window, HWND list, const std::vector<std::wstring>& args) {
  const std::wstring& command = args[0];
  const auto number = [&](size_t index) {
    return index < args.size() ? _wtoi(args[index].c_str()) : 0;
  };
  if (command == L"selected") {
    Print(std::to_wstring(SendMessageW(list, LB_GETCURSEL, 0, 0)) + L"\n");
  } else if (command == L"click-entry") {
    if (!ClickEntry(list, number(1))) return Fail(kInputNotTaken);
  } else if (command == L"drag") {
    WPARAM buttons = MK_LBUTTON;
    std::vector<int> over;
    for (size_t i = 2; i < args.size(); ++i) {
      if (args[i] == L"--right") {
        buttons = MK_RBUTTON;
      } else if (args[i] == L"--both") {
        buttons = MK_LBUTTON | MK_RBUTTON;
      } else {
        over.push_back(_wtoi(args[i].c_str()));
      }
    }
    if (!DragOverEntries(list, number(1), over, buttons)) return Fail(kInputNotTaken);
  } else if (command == L"key") {
    if (args.size() < 2 || args[1] != L"delete") return Fail(L"key knows only delete");
    const std::wstring modifier = args.size() > 2 ? args[2] : L"";
    if (!PressKey(list, VK_DELETE,
                  modifier == L"shift"  ? VK_SHIFT
                  : modifier == L"ctrl" ? VK_CONTROL
                                        : 0)) {
      return Fail(kInputNotTaken);
    }
  } else if (command == L"tooltip-text") {
    Print(L"[" + ToolTipTextOf(window, list) + L"]\n");
  } else if (command == L"drop-files") {
    size_t first = 1;
    int entry = 0;
    if (args.size() > 2 && args[1] == L"--at") {
      entry = number(2);
      first = 3;
    }
    const std::vector<std::wstring> paths(args.begin() + static_cast<std::ptrdiff_t>(first),
                                          args.end());
    Print(DropFiles(list, EntryOnScreen(list, entry), paths) + L"\n");
  } else if (command == L"drop-text") {
    Print(DropText(list, EntryOnScreen(list, 0), args.size() > 1 ? args[1] : L"") + L"\n");
  } else if (command == L"click-async") {
    // Posted: the button's handler runs a modal dialog, and a sent click would wait for its end.
    HWND control = ControlArg(window, args);
    if (control == nullptr) return Fail(L"no such control");
    PostMessageW(control, BM_CLICK, 0, 0);
  } else if (command == L"pick") {
    if (args.size() < 3) return Fail(L"pick needs FOLDER and NAMES");
    if (!PickFiles(window, args[1], args[2])) {
      return Fail(L"the open dialog did not take the names");
    }
  } else if (command == L"dialog") {
    Print(DescribeDialog(window, SecondsArg(args, 1, 10)));
  } else if (command == L"press") {
    if (!PressInDialog(window, number(1))) return Fail(L"no dialog with that button");
  } else if (command == L"answer") {
    if (!AnswerInputBox(window, args.size() > 1 ? args[1] : L"")) return Fail(L"no pattern box");
  } else if (command == L"settled") {
    return WaitUntilSettled(window, list, SecondsArg(args, 1, 10));
  }
  return 0;
}

// starts S EXE ARGUMENT-TEXT...: one start of EXE per argument text, all at once, as Explorer
// starts a verb for each file of a selection; waits up to S seconds for all of them to end and
// prints "ended=E/N exits=C" (C: the distinct exit codes, in order) and "shown=0|1" (whether any
// of them showed its main window).
int Starts(const std::vector<std::wstring>& args) {
  if (args.size() < 4) return Fail(L"starts needs S, EXE and ARGUMENT-TEXTs");
  // Each start is made suspended and then all are let go together: under Wine making a process
  // takes long enough that starts made one after another would come far apart, where Explorer's
  // come within milliseconds.
  std::vector<Process> started;
  for (size_t i = 3; i < args.size(); ++i) {
    Process process;
    if (StartProgram(args[2], args[i], process, CREATE_SUSPENDED)) started.push_back(process);
  }
  for (const Process& process : started) ResumeThread(process.thread);
  const ULONGLONG deadline =
      GetTickCount64() + static_cast<ULONGLONG>(_wtof(args[1].c_str()) * 1000);
  bool shown = false;
  size_t ended = 0;
  while (ended < started.size() && GetTickCount64() < deadline) {
    ended = 0;
    for (const Process& process : started) {
      HWND window = FindMainWindow(process.pid);
      if (window != nullptr && IsWindowVisible(window)) shown = true;
      if (WaitForSingleObject(process.handle, 0) == WAIT_OBJECT_0) ++ended;
    }
    Sleep(5);
  }
  std::vector<DWORD> codes;
  for (const Process& process : started) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.handle, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.handle, 1);
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    CloseHandle(process.thread);
    CloseHandle(process.handle);
  }
  std::wstring exits;
  for (const DWORD code : codes) exits += (exits.empty() ? L"" : L",") + std::to_wstring(code);
  Print(L"ended=" + std::to_wstring(ended) + L"/" + std::to_wstring(args.size() - 3) + L" exits=" +
        exits + L" shown=" + (shown ? L"1" : L"0") + L"\n");
  return 0;
}

int Run(std::vector<std::wstring> args) {
  DWORD pid = 0;
  // --env NAME=VALUE: for the programs this call starts (Wine sets TMP from the prefix, whatever
  // the script's own environment says).
  while (args.size() >= 2 && args[0] == L"--env") {
    const size_t equals = args[1].find(L'=');
    if (equals == std::wstring::npos) return Fail(L"--env needs NAME=VALUE");
    SetEnvironmentVariableW(args[1].substr(0, equals).c_str(), args[1].c_str() + equals + 1);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() >= 2 && args[0] == L"--pid") {
    pid = static_cast<DWORD>(_wtoi(args[1].c_str()));
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || args[0] == L"help") {
    Print(kUsage);
    return args.empty() ? 2 : 0;
  }
  const std::wstring& command = args[0];
  if (command == L"start") {
    if (args.size() < 2) return Fail(L"start needs EXE");
    Process started;
    if (!StartProgram(args[1], args.size() > 2 ? args[2] : L"", started)) {
      return Fail(L"cannot start " + args[1]);
    }
    CloseHandle(started.thread);
    CloseHandle(started.handle);
    Print(L"pid=" + std::to_wstring(started.pid) + L"\n");
    return 0;
  }
  if (command == L"one-shot") return OneShot(args);
  if (command == L"starts") return Starts(args);
  if (command == L"kill") return pid != 0 ? Kill(pid) : Fail(L"kill needs --pid");
  if (command == L"processes-in") {
    return args.size() > 1 ? ProcessesIn(args[1]) : Fail(L"processes-in needs FOLDER");
  }
  if (IsRunStep(command)) return RunStep(pid, args);
  if (IsAboutStep(command)) return AboutStep(pid, args);
  if (command == L"wait") {
    const double seconds = SecondsArg(args, 1, 10);
    HWND window = WaitForMainWindow(pid, true, seconds);
    if (window == nullptr) {
      HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
      DWORD code = STILL_ACTIVE;
      if (process != nullptr) {
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
      }
      return Fail(L"no visible main window within " + std::to_wstring(static_cast<int>(seconds)) +
                  L" s: " + (FindMainWindow(pid) != nullptr ? L"a hidden one" : L"none") +
                  L", the process " +
                  (process == nullptr     ? L"is gone"
                   : code == STILL_ACTIVE ? L"runs"
                                          : L"ended with " + std::to_wstring(code)));
    }
    Print(L"visible\n");
    return 0;
  }

  HWND window = FindMainWindow(pid);
  if (window == nullptr) return Fail(L"no main window");
  HWND list = GetDlgItem(window, ui::kIdList);
  if (command == L"window") {
    Print(DescribeWindow(window));
  } else if (command == L"controls") {
    Print(DescribeControls(window));
  } else if (command == L"tooltips") {
    Print(DescribeToolTips(window));
  } else if (command == L"list") {
    return ListEntries(list);
  } else if (command == L"add") {
    for (size_t i = 1; i < args.size(); ++i) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(args[i].c_str()));
    }
  } else if (command == L"click") {
    HWND control = ControlArg(window, args);
    if (control == nullptr) return Fail(L"no such control");
    SendMessageW(control, BM_CLICK, 0, 0);
  } else if (command == L"getcheck") {
    HWND control = ControlArg(window, args);
    if (control == nullptr) return Fail(L"no such control");
    Print(std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0)) + L"\n");
  } else if (command == L"focus") {
    Print(IdOf(window, FocusOf(window)) + L"\n");
  } else if (command == L"tab") {
    return PressTab(window, args.size() > 1 ? _wtoi(args[1].c_str()) : 1);
  } else if (command == L"dialogs") {
    Print(VisibleDialogs(window));
  } else if (command == L"enabled") {
    Print(IsWindowEnabled(window) ? L"1\n" : L"0\n");
  } else if (command == L"visible") {
    Print(IsWindowVisible(window) ? L"1\n" : L"0\n");
  } else if (command == L"geometry") {
    Print(DescribeGeometry(window));
  } else if (command == L"close") {
    return Close(window, SecondsArg(args, 1, 5));
  } else if (command == L"end-session") {
    return EndSession(window);
  } else if (IsFileCommand(command)) {
    return RunFileCommand(window, list, args);
  } else {
    return Fail(L"unknown command " + command + L" (see gui_driver help)");
  }
  return 0;
}

}  // namespace
}  // namespace gui

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr) return 2;
  std::vector<std::wstring> args(argv + 1, argv + count);
  LocalFree(argv);
  return gui::Run(std::move(args));
}

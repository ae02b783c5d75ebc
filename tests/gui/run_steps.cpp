#include "run_steps.h"

#include <cwchar>

#include "output.h"
#include "platform/unique_handle.h"
#include "target_window.h"

namespace gui {
namespace {

void Print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

double Seconds(const std::vector<std::wstring>& args, size_t index, double fallback) {
  return index < args.size() ? _wtof(args[index].c_str()) : fallback;
}

ULONGLONG Deadline(double seconds) {
  return GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
}

int WatchRun(DWORD pid, const std::vector<std::wstring>& args) {
  HWND window = FindMainWindow(pid);
  HWND button =
      window != nullptr && args.size() >= 2 ? GetDlgItem(window, _wtoi(args[1].c_str())) : nullptr;
  if (button == nullptr) return gui::Fail(args[0] + L" needs the main window and a button id");
  std::wstring during;
  double seconds = 60;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == L"--during" && i + 1 < args.size()) {
      during = args[++i];
    } else {
      seconds = _wtof(args[i].c_str());
    }
  }
  platform::UniqueHandle program(OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(window)));
  // Posted, as a user's click arrives: the run waits inside the handler.
  PostMessageW(button, BM_CLICK, 0, 0);
  const ULONGLONG deadline = Deadline(seconds);
  bool disabled = false;
  while (!disabled && GetTickCount64() < deadline) {
    disabled = !IsWindowEnabled(button);
    if (!disabled) Sleep(5);
  }
  if (disabled && during == L"close") {
    // The user closes the window while the batch runs: the program must end at once.
    PostMessageW(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(program.Get(), 10000) == WAIT_OBJECT_0;
    Print(std::string("disabled-during-run=1 ended=") + (ended ? "1" : "0") + "\n");
    return 0;
  }
  // Sent, so it has been handled (by the run's wait) when the call returns.
  if (disabled && !during.empty()) {
    SendMessageW(GetDlgItem(window, _wtoi(during.c_str())), BM_CLICK, 0, 0);
  }
  bool enabledAfter = false;
  while (disabled && !enabledAfter && GetTickCount64() < deadline) {
    enabledAfter = IsWindowEnabled(button) != FALSE;
    if (!enabledAfter) Sleep(20);
  }
  Print(std::string("disabled-during-run=") + (disabled ? "1" : "0") +
        " enabled-after=" + (enabledAfter ? "1" : "0") + "\n");
  return 0;
}

// The window's caption, read as another program reads it.
std::wstring Caption(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

int WatchCaptions(DWORD pid, const std::vector<std::wstring>& args) {
  HWND window = FindMainWindow(pid);
  HWND button =
      window != nullptr && args.size() >= 2 ? GetDlgItem(window, _wtoi(args[1].c_str())) : nullptr;
  if (button == nullptr) return gui::Fail(args[0] + L" needs the main window and a button id");
  const ULONGLONG deadline = Deadline(Seconds(args, 2, 60));
  std::wstring captions = Caption(window) + L"\n";
  std::wstring last = Caption(window);
  const auto sample = [&] {
    const std::wstring now = Caption(window);
    if (now != last) captions += now + L"\n";
    last = now;
  };
  PostMessageW(button, BM_CLICK, 0, 0);
  bool disabled = false;
  while (!disabled && GetTickCount64() < deadline) {
    disabled = !IsWindowEnabled(button);
    sample();
    if (!disabled) Sleep(2);
  }
  // Sampled every few milliseconds: each count stays at least one poll of the run (250 ms).
  while (disabled && !IsWindowEnabled(button) && GetTickCount64() < deadline) {
    sample();
    Sleep(5);
  }
  sample();
  gui::Print(std::wstring_view(captions));
  return 0;
}

int CountNotepads(const std::vector<std::wstring>& args) {
  const ULONGLONG deadline = Deadline(Seconds(args, 1, 10));
  int count = 0;
  for (;;) {
    count = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"Notepad", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"Notepad", nullptr)) {
      ++count;
    }
    if (count > 0 || GetTickCount64() >= deadline) break;
    Sleep(50);
  }
  Print(std::to_string(count) + "\n");
  return 0;
}

int Hold(const std::vector<std::wstring>& args) {
  if (args.size() < 3) {
    Print("error: hold needs PATH and RELEASE\n");
    return 1;
  }
  // How a player opens a film: reading, letting others read and write, but not delete or rename.
  HANDLE file = CreateFileW(args[1].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Print("cannot open\n");
    return 1;
  }
  Print("held\n");
  const ULONGLONG deadline = Deadline(Seconds(args, 3, 60));
  while (GetFileAttributesW(args[2].c_str()) == INVALID_FILE_ATTRIBUTES &&
         GetTickCount64() < deadline) {
    Sleep(50);
  }
  CloseHandle(file);
  return 0;
}

}  // namespace

bool IsRunStep(const std::wstring& command) {
  return command == L"watch-run" || command == L"watch-captions" || command == L"notepads" ||
         command == L"hold";
}

int RunStep(DWORD pid, const std::vector<std::wstring>& args) {
  if (args[0] == L"watch-run") return WatchRun(pid, args);
  if (args[0] == L"watch-captions") return WatchCaptions(pid, args);
  if (args[0] == L"notepads") return CountNotepads(args);
  return Hold(args);
}

}  // namespace gui

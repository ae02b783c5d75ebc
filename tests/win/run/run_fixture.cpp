#include "run_fixture.h"

#include <sstream>

#include <tlhelp32.h>

#include "files/make_path.h"
#include "files/path_text.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"

namespace run_test {

using testing_win::ReadBytes;
using testing_win::WriteBytes;

std::wstring FromUnixPath(const char* path) {
  std::wstring converted = L"Z:";
  for (const char* c = path; *c != '\0'; ++c) converted += *c == '/' ? L'\\' : wchar_t(*c);
  return converted;
}

ControlsWindow::ControlsWindow() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  window_ = CreateWindowExW(0, L"STATIC", L"run test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, instance, nullptr);
  list_ = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOTIFY, 0, 0, 300, 200, window_,
                          nullptr, instance, nullptr);
  button_ = CreateWindowExW(0, L"BUTTON", L"清除Real事件", WS_CHILD | BS_PUSHBUTTON, 0, 0, 100, 20,
                            window_, nullptr, instance, nullptr);
  check_ = CreateWindowExW(0, L"BUTTON", L"清除后保存为相同文件名", WS_CHILD | BS_AUTOCHECKBOX, 0,
                           0, 100, 20, window_, nullptr, instance, nullptr);
  SetTicked(true);
}

ControlsWindow::~ControlsWindow() { DestroyWindow(window_); }

void ControlsWindow::Add(const std::wstring& entry) const {
  SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void ControlsWindow::SetTicked(bool ticked) const {
  SendMessageW(check_, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

namespace {

std::vector<DWORD> OwnNotepads() {
  std::vector<DWORD> ids;
  platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId() &&
        lstrcmpiW(entry.szExeFile, L"notepad.exe") == 0) {
      ids.push_back(entry.th32ProcessID);
    }
  }
  return ids;
}

}  // namespace

int EndOwnNotepads(double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  std::vector<DWORD> ids = OwnNotepads();
  while (ids.empty() && GetTickCount64() < deadline) {
    Sleep(50);
    ids = OwnNotepads();
  }
  for (const DWORD id : ids) {
    platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) continue;
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), 5000);
  }
  return static_cast<int>(ids.size());
}

int RunTool(const std::wstring& toolPath, const std::wstring& arguments) {
  // The tool's report goes to NUL, out of the test's output.
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  platform::UniqueHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inheritable, OPEN_EXISTING, 0, nullptr));
  std::wstring commandLine = L"\"" + toolPath + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = nul.Get();
  startup.hStdError = nul.Get();
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  CloseHandle(info.hThread);
  platform::UniqueHandle process(info.hProcess);
  WaitForSingleObject(process.Get(), 60000);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return -1;
  return static_cast<int>(exitCode);
}

int EventLinesInDump(const std::wstring& toolPath, const std::wstring& film,
                     const std::wstring& dumpName) {
  if (RunTool(toolPath, L"-i \"" + film + L"\" -d \"" + dumpName + L"\"") != 0) return -1;
  std::istringstream dump(ReadBytes(dumpName + L"_evt.txt"));
  int events = 0;
  for (std::string line; std::getline(dump, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') ++events;
  }
  return events;
}

void RunTest::SetUp() {
  ASSERT_EQ(GetACP(), 936u) << "the run's files are written in code page 936";
  temp_ = root_ / L"临时 文件夹";
  ASSERT_TRUE(CreateDirectoryW(temp_.c_str(), nullptr));
  tool_ = temp_ + L"\\rmevents.exe";
  ASSERT_TRUE(CopyFileW(FromUnixPath(QUELLIN_RMEVENTS_EXE).c_str(), tool_.c_str(), TRUE));

  wchar_t saved[32768];
  const DWORD length = GetEnvironmentVariableW(L"TMP", saved, 32768);
  hadTmp_ = length > 0 && length < 32768;
  if (hadTmp_) savedTmp_.assign(saved, length);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", temp_.c_str()));

  filmBytes_ = ReadBytes(FromUnixPath(QUELLIN_EVENTS_FILM));
  ASSERT_FALSE(filmBytes_.empty());
  const std::wstring reference = root_ / L"reference";
  ASSERT_TRUE(CreateDirectoryW(reference.c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(reference + L"\\film.rm", filmBytes_));
  ASSERT_TRUE(WriteBytes(reference + L"\\empty.txt", "rem \r\n"));
  ASSERT_EQ(RunTool(tool_, L"-i \"" + reference + L"\\film.rm\" -o \"" + reference +
                               L"\\clean.rm\" -e \"" + reference + L"\\empty.txt\""),
            0);
  cleanedBytes_ = ReadBytes(reference + L"\\clean.rm");
  ASSERT_FALSE(cleanedBytes_.empty());
  ASSERT_NE(cleanedBytes_, filmBytes_);
  // The film does carry events, so "none left" below means something.
  ASSERT_EQ(EventLinesInDump(tool_, reference + L"\\film.rm", reference + L"\\film"), 2);
}

void RunTest::TearDown() {
  // Every run starts Notepad; none may outlive the test (or hold the scratch folder).
  EXPECT_EQ(EndOwnNotepads(10), 1) << "each run opens ret.txt in one Notepad";
  SetEnvironmentVariableW(L"TMP", hadTmp_ ? savedTmp_.c_str() : nullptr);
}

std::wstring RunTest::Film(const std::wstring& relative) const {
  const std::wstring path = root_ / relative;
  files::MakePath(files::ParentFolder(path));
  EXPECT_TRUE(WriteBytes(path, filmBytes_)) << platform::ToAnsi(path);
  return path;
}

}  // namespace run_test

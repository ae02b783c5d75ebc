#include "run/one_shot_gathering.h"

#include <chrono>
#include <optional>

#include <tlhelp32.h>

#include "platform/unique_handle.h"
#include "run/run_lock.h"
#include "run/temp_folder_key.h"

namespace run {
namespace {

constexpr wchar_t kWindowClass[] = L"Quellin.Gather";
// Marks our message among any other WM_COPYDATA, and our window's yes among other replies.
constexpr ULONG_PTR kJoinTag = 0x514C4A4E;
constexpr LRESULT kTaken = 0x514C;
// How long a joining start keeps trying before it runs on its own: a gatherer that is still
// writing the tool does not answer at once.
constexpr ULONGLONG kJoinTryingMs = 3000;
constexpr UINT kAnswerMs = 2500;
// How soon the gatherer looks again for starts on their way.
constexpr ULONGLONG kLookAgainMs = 50;

bool RegisterWindowClass(WNDPROC procedure) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

FILETIME CreationOf(HANDLE process) {
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return created;
}

// Whether another start of this program made about when this one was, or since, is still
// running: a start of the same selection on its way here (it ends as soon as it has handed its
// film over). On Windows Explorer's starts come within milliseconds, but under Wine on a busy
// machine 100 of them take seconds to get going, and a gathering that closed on the clock alone
// would split the selection into two runs. How long such starts may hold it is the clock's bound.
bool OtherStartsUnderWay() {
  constexpr ULONGLONG kSameMoment = 2 * 10'000'000ULL;  // 2 s in 100 ns units
  wchar_t ownPath[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const wchar_t* ownName = ownPath;
  for (const wchar_t* c = ownPath; *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L'/') ownName = c + 1;
  }
  const FILETIME own = CreationOf(GetCurrentProcess());
  const ULONGLONG ownTime = (static_cast<ULONGLONG>(own.dwHighDateTime) << 32) | own.dwLowDateTime;
  platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId() || lstrcmpiW(entry.szExeFile, ownName) != 0) {
      continue;
    }
    platform::UniqueHandle other(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!other) continue;
    const FILETIME created = CreationOf(other.Get());
    const ULONGLONG time =
        (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    if (time + kSameMoment >= ownTime) return true;
  }
  return false;
}

bool HandOver(HWND gatherer, const std::wstring& payload) {
  COPYDATASTRUCT data = {};
  data.dwData = kJoinTag;
  data.cbData = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(payload.data());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(gatherer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, kAnswerMs, &answer) != 0 &&
         static_cast<LRESULT>(answer) == kTaken;
}

}  // namespace

OneShotGathering::OneShotGathering(std::wstring_view tempFolder)
    : windowName_(GatherWindowName(KeyOfTempFolder(tempFolder))),
      electMutex_(GatherMutexName(KeyOfTempFolder(tempFolder))) {}

OneShotGathering::~OneShotGathering() { Close(); }

OneShotGathering::Role OneShotGathering::JoinOrOpen(const std::vector<std::wstring>& films) {
  if (!electMutex_.IsOpen()) return Role::kAlone;
  const std::wstring payload = EncodeJoin(films);
  const ULONGLONG giveUp = GetTickCount64() + kJoinTryingMs;
  do {
    // Whoever holds the election mutex gathers; it lets go only once it takes no more films.
    if (electMutex_.TryAcquire()) return OpenWindow() ? Role::kGathering : Role::kAlone;
    HWND gatherer = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, windowName_.c_str());
    if (gatherer != nullptr && HandOver(gatherer, payload)) return Role::kHandedOver;
    // The gatherer has not made its window yet, or has just closed: look again shortly.
    Sleep(10);
  } while (GetTickCount64() < giveUp);
  return Role::kAlone;
}

bool OneShotGathering::OpenWindow() {
  if (!RegisterWindowClass(WindowProc)) {
    electMutex_.Release();
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    clock_ = std::make_unique<GatheringClock>(GetTickCount64());
  }
  platform::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready) {
    electMutex_.Release();
    return false;
  }
  server_ = std::thread(&OneShotGathering::Serve, this, ready.Get());
  WaitForSingleObject(ready.Get(), INFINITE);
  if (window_ == nullptr) {
    server_.join();
    electMutex_.Release();
    return false;
  }
  return true;
}

void OneShotGathering::Serve(HANDLE ready) {
  window_ = CreateWindowExW(0, kWindowClass, windowName_.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  SetEvent(ready);
  if (window_ == nullptr) return;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

bool OneShotGathering::TakeJoin(const COPYDATASTRUCT& data) {
  if (data.dwData != kJoinTag || data.cbData % sizeof(wchar_t) != 0) return false;
  const std::wstring_view text(static_cast<const wchar_t*>(data.lpData),
                               data.cbData / sizeof(wchar_t));
  const std::optional<std::vector<std::wstring>> films = DecodeJoin(text);
  if (!films) return false;
  std::lock_guard<std::mutex> guard(lock_);
  if (closed_ || clock_ == nullptr) return false;
  joined_.insert(joined_.end(), films->begin(), films->end());
  clock_->Arrived(GetTickCount64());
  arrived_.notify_all();
  return true;
}

std::vector<std::wstring> OneShotGathering::CloseAndCollect() {
  {
    std::unique_lock<std::mutex> guard(lock_);
    // Each arrival may move the close later, so the clock is read again after every wake.
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      if (clock_ == nullptr) break;
      if (clock_->IsClosed(now)) {
        // Starts still on their way keep it open a little longer, never beyond the longest.
        guard.unlock();
        const bool coming = OtherStartsUnderWay();
        guard.lock();
        if (!coming) break;
        clock_->HoldUntil(now + kLookAgainMs);
        if (clock_->IsClosed(now)) break;
      }
      arrived_.wait_for(guard, std::chrono::milliseconds(clock_->ClosesAtMs() - now));
    }
  }
  Close();
  std::lock_guard<std::mutex> guard(lock_);
  return std::move(joined_);
}

void OneShotGathering::Close() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
  }
  // The window goes on its own thread; films that reached it before are in joined_, and a start
  // that comes later finds no window and gathers for itself once the election mutex is free.
  if (server_.joinable()) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    server_.join();
    window_ = nullptr;
  }
  electMutex_.Release();
}

LRESULT CALLBACK OneShotGathering::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_COPYDATA) {
    auto* self = reinterpret_cast<OneShotGathering*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    try {
      if (self != nullptr && self->TakeJoin(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
        return kTaken;
      }
    } catch (...) {
      // Out of memory: the other start runs its films itself.
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace run

#include "test_support.h"

#include "platform/unique_handle.h"

namespace testing_win {

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  path_ = L"C:\\quellin-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

AppMessageWindow::AppMessageWindow(std::function<void(UINT)> onMessage, DWORD exStyle)
    : onMessage_(std::move(onMessage)) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"QuellinTestWindow";
  RegisterClassW(&windowClass);  // fails harmlessly from the second window on
  hwnd_ = CreateWindowExW(exStyle, L"QuellinTestWindow", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                          200, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

AppMessageWindow::~AppMessageWindow() { DestroyWindow(hwnd_); }

LRESULT CALLBACK AppMessageWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<AppMessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message >= WM_APP && message <= 0xBFFF && self != nullptr) {
    self->onMessage_(message);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  platform::UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &entry));
  if (find) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find.Get(), &entry));
  }
  find.Reset();
  RemoveDirectoryW(path.c_str());
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadBytes(const std::wstring& path) {
  platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  platform::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::wstring SiblingProgram(const std::wstring& fileName) {
  wchar_t self[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
}

}  // namespace testing_win

// Small helpers shared by the Windows tests: a scratch folder under C:\ and raw file access.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

namespace testing_win {

// A fresh folder C:\quellin-test-<pid>-<n>, deleted with everything in it at the end of scope.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // Path() + "\" + name.
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A hidden top-level window of the calling thread that hands every message from WM_APP up to
// `onMessage` and answers it with 1.
class AppMessageWindow {
 public:
  explicit AppMessageWindow(std::function<void(UINT)> onMessage, DWORD exStyle = 0);
  ~AppMessageWindow();
  AppMessageWindow(const AppMessageWindow&) = delete;
  AppMessageWindow& operator=(const AppMessageWindow&) = delete;

  HWND Handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::function<void(UINT)> onMessage_;
  HWND hwnd_ = nullptr;
};

// Deletes a folder and everything below it; ignores what cannot be deleted.
void RemoveTree(const std::wstring& path);

bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);

// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// Writes raw bytes, replacing the file.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Full path of a program built beside the running test program.
std::wstring SiblingProgram(const std::wstring& fileName);

}  // namespace testing_win

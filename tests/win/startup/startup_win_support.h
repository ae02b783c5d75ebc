// Helpers for the start-up tests under Wine: containers on disk, file times, the settings
// records as the registry holds them, and child programs.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "pack/container_join.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "startup/hex_text.h"

namespace startup_win_test {

struct Piece {
  std::string content;
  std::string name;  // ANSI code page bytes
};

// The pieces joined with the default marker; a content that holds the marker fails the test.
inline std::string Container(std::initializer_list<Piece> pieces) {
  std::vector<pack::Part> parts;
  for (const Piece& piece : pieces) {
    parts.push_back({std::span(reinterpret_cast<const std::uint8_t*>(piece.content.data()),
                               piece.content.size()),
                     piece.name});
  }
  std::vector<std::uint8_t> bytes;
  const auto marker = startup::HexTextToBytes(startup::kDefaultMarkerText);
  if (!marker || !pack::JoinContainer(parts, *marker, bytes).empty()) return {};
  return std::string(bytes.begin(), bytes.end());
}

inline std::string MarkerBytes() {
  const auto marker = startup::HexTextToBytes(startup::kDefaultMarkerText);
  return marker ? std::string(marker->begin(), marker->end()) : std::string();
}

inline std::string Ansi(const std::wstring& text) { return platform::ToAnsi(text); }

// A content of `size` bytes that differs from file to file through `seed`.
inline std::string Filler(std::size_t size, char seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7 + i / 251);
  return bytes;
}

inline std::optional<FILETIME> LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return data.ftLastWriteTime;
}

// Moves the file's last-write time by `seconds`, as touching it or replacing it would.
inline bool ShiftLastWriteTime(const std::wstring& path, long long seconds) {
  const auto time = LastWriteTime(path);
  if (!time) return false;
  ULARGE_INTEGER value{};
  value.LowPart = time->dwLowDateTime;
  value.HighPart = time->dwHighDateTime;
  value.QuadPart += static_cast<unsigned long long>(seconds * 10'000'000LL);
  const FILETIME shifted{value.LowPart, value.HighPart};
  const platform::UniqueHandle file(CreateFileW(
      path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  return file && SetFileTime(file.Get(), nullptr, nullptr, &shifted);
}

// The records live at HKEY_CURRENT_USER\Software\Quellin\<application>\Date; read here with the
// registry's own functions rather than through the settings store under test.
inline std::wstring RecordsKey(const std::wstring& application) {
  return L"Software\\Quellin\\" + application + L"\\Date";
}

inline std::optional<std::wstring> Record(const std::wstring& application, const wchar_t* key) {
  wchar_t text[256] = {};
  DWORD bytes = sizeof(text);
  if (RegGetValueW(HKEY_CURRENT_USER, RecordsKey(application).c_str(), key, RRF_RT_REG_SZ, nullptr,
                   text, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text);
}

inline void DeleteRecords(const std::wstring& application) {
  RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Quellin\\" + application).c_str());
}

// Runs a program to its end; its exit code, or -1 when it could not be started.
inline long RunProgram(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  const platform::UniqueHandle thread(process.hThread);
  const platform::UniqueHandle owner(process.hProcess);
  DWORD code = 0;
  if (WaitForSingleObject(owner.Get(), 60'000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(owner.Get(), &code)) {
    return -1;
  }
  return static_cast<long>(code);
}

}  // namespace startup_win_test

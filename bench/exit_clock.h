// The system clock the wait benchmarks measure on: the moment a wait returned against the exit
// time Windows records for the process it waited for.
#pragma once

#include <windows.h>

namespace bench {

using PreciseClock = void(WINAPI*)(LPFILETIME);

// GetSystemTimePreciseAsFileTime where the system has it (Windows 8 and Wine), else the coarse
// clock. Looked up at run time so the program still starts on Windows 7.
inline PreciseClock ChooseClock() {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto precise = reinterpret_cast<PreciseClock>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime")));
  return precise != nullptr ? precise : GetSystemTimeAsFileTime;
}

// 100 ns units on the system clock.
inline long long Ticks(const FILETIME& time) {
  return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline long long Now() {
  static const PreciseClock clock = ChooseClock();
  FILETIME now;
  clock(&now);
  return Ticks(now);
}

inline long long ExitTicks(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return Ticks(exited);
}

}  // namespace bench

// How the Windows build writes its report (report_print_win32.cpp): CR LF line ends, and
//   - by default, in the ANSI code page: Quellin's ret.txt on a Chinese system (936), as Notepad
//     shows it; bytes out of the film (in the producer's code page) pass unchanged;
//   - with RMEVENTS_REPORT=utf8 (film_status.h), in UTF-8, for systems whose code page cannot hold
//     Chinese: a byte-order mark first when the report starts an empty file (so Notepad knows the
//     encoding; a report appended to a non-empty file gets none), and bytes out of the film turned
//     into UTF-8 (kept as they are when they already are UTF-8, else read in the ANSI code page).
#pragma once

#include <cstdint>

#include "report.h"

namespace rmevents {

// `output`: a HANDLE (standard output, a file in tests).
void WriteReport(const Report& report, std::intptr_t output);

}  // namespace rmevents

// Entry point on Windows. Arguments come from the wide command line (wmain), so film names with
// Chinese characters survive whatever the ANSI code page is. The report's form (code page, line
// ends) is report_print.h's.
#include <string>
#include <vector>

#include <windows.h>

#include "guarded_run.h"
#include "report_print.h"

namespace {

void Print(const rmevents::Report& report) {
  rmevents::WriteReport(report, reinterpret_cast<std::intptr_t>(GetStdHandle(STD_OUTPUT_HANDLE)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  return rmevents::RunAndPrint(std::vector<rmevents::NativeString>(argv + 1, argv + argc), Print);
}

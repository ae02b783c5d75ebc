// The whole of one invocation, as both systems' main() run it: the run, then its report printed.
// Nothing thrown gets past it. Out of memory or any other fault ends with the report's usual
// failure lines (错误：… and 未写出输出文件。), exit code kExitInternal, and no OUT: whatever the
// run had written under OUT's name, or as OUT.part, is deleted. A film named on the command line
// gets its lines in the status file (status_file.h): START before the run, and the closing line
// once the report is out, with the exit code the invocation ends with, a fault's included.
#pragma once

#include <vector>

#include "command_line.h"
#include "report.h"

namespace rmevents {

// Writes the report to standard output in the system's form; may throw (it converts text).
using PrintReport = void (*)(const Report& report);

int RunAndPrint(const std::vector<NativeString>& args, PrintReport print);

}  // namespace rmevents

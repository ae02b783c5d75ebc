// The Windows side of GetArguments: the reserved source stands for the program's own command line.
#include "process/get_arguments.h"

#include <windows.h>

namespace process {
namespace {

std::wstring_view ResolveSource(std::wstring_view source) {
  if (source == kOwnCommandLine) return ArgumentTextOf(GetCommandLineW());
  return source;
}

}  // namespace

std::vector<std::wstring> GetArguments(std::wstring_view source) {
  return SplitArguments(ResolveSource(source));
}

std::wstring GetArgumentsJoined(std::wstring_view source) {
  return SplitArgumentsJoined(ResolveSource(source));
}

}  // namespace process

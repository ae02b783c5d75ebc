// Entry point on systems whose arguments and console speak UTF-8.
#include <cstdio>

#include "run.h"

int main(int argc, char** argv) {
  std::vector<rmevents::NativeString> args(argv + 1, argv + argc);
  rmevents::Report report;
  const int code = rmevents::Run(args, report);
  const std::string text = report.Joined();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return code;
}

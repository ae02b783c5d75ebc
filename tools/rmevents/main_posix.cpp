// Entry point on systems whose arguments and console speak UTF-8.
#include <cstdio>

#include "guarded_run.h"

namespace {

void Print(const rmevents::Report& report) {
  const std::string text = report.Joined();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  return rmevents::RunAndPrint(std::vector<rmevents::NativeString>(argv + 1, argv + argc), Print);
}

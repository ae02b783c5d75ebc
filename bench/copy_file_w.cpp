// The Windows reference for bench/rewrite_bench.sh: one CopyFileW of a film, the fastest copy the
// system offers a program, timed the same way as rmevents.exe under Wine.
//   copy_file_w.exe FROM TO
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  return CopyFileW(argv[1], argv[2], FALSE) ? 0 : 1;
}

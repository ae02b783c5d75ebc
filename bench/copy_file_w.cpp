// The Windows reference for bench/rewrite_bench.sh: one CopyFileW of a film, the fastest copy the
// system offers a program, timed the same way as rmevents.exe under Wine. With --flush the copy is
// then flushed to the disk, as rmevents.exe flushes its output before the rename: what that
// guarantee costs a plain copy.
//   copy_file_w.exe FROM TO [--flush]
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  const bool flush = argc == 4 && lstrcmpW(argv[3], L"--flush") == 0;
  if (argc != 3 && !flush) return 2;
  if (!CopyFileW(argv[1], argv[2], FALSE)) return 1;
  if (!flush) return 0;
  const HANDLE h = CreateFileW(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  const bool flushed = FlushFileBuffers(h) != 0;
  return CloseHandle(h) && flushed ? 0 : 1;
}

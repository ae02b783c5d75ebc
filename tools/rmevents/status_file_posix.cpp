// The status file's system side on POSIX systems.
#include "status_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace rmevents {

Path PathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? Path() : Path(value);
}

std::intptr_t OpenForAppending(const Path& path, FileError& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) error = FromSystemCode(static_cast<unsigned long>(errno));
  return fd;
}

// O_APPEND: each write lands whole at the end, after what other writers appended.
bool Append(std::intptr_t handle, std::string_view bytes) {
  for (;;) {
    const ssize_t n = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
    if (n == static_cast<ssize_t>(bytes.size())) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));  // only if the disk filled up midway
  }
}

void CloseAppended(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

}  // namespace rmevents

#include "run/replace_original.h"

#include <windows.h>

#include "platform/unique_handle.h"
#include "run/batch_text.h"

namespace run {
namespace {

bool IsAbsence(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The copy's bytes reach the disk before its name replaces the original's; otherwise a power
// loss right after the move could leave the film's name on a file whose data was never written.
// A copy that cannot be opened for this is still moved: the move itself is what keeps the
// original safe.
void FlushToDisk(const std::wstring& path) {
  platform::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) FlushFileBuffers(file.Get());
}

// Windows answers "access denied" both for a film another program holds open and for one the user
// may not delete: asking for the right to delete it, sharing everything, tells the two apart.
MoveResult WhyRefused(const std::wstring& original, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return MoveResult::kHeld;
  if (error != ERROR_ACCESS_DENIED) return MoveResult::kFailed;
  platform::UniqueHandle probe(CreateFileW(original.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe && GetLastError() == ERROR_SHARING_VIOLATION) return MoveResult::kHeld;
  return MoveResult::kDenied;
}

}  // namespace

FileState ReadFileState(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
    return IsAbsence(GetLastError()) ? FileState::Missing() : FileState::Unreadable();
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileState::Unreadable();
  return FileState::Sized((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                          data.nFileSizeLow);
}

MoveResult MoveCopyIntoPlace(const std::wstring& copy, const std::wstring& original) {
  // Windows refuses to replace a read-only file; the check makes that rule ours on every system
  // the program runs on, since a read-only film is one its owner wants left as it is.
  const DWORD attributes = GetFileAttributesW(original.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return MoveResult::kReadOnly;
  }
  FlushToDisk(copy);
  // One rename that replaces the target: the original is either untouched or replaced whole. A
  // target held open without delete sharing makes it fail, and then nothing has changed.
  if (MoveFileExW(copy.c_str(), original.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return MoveResult::kMoved;
  }
  return WhyRefused(original, GetLastError());
}

ReplacementResult ReplaceWithCleanedCopy(const std::wstring& entry) {
  return ReplaceWithCleanedCopy(entry, CleanedCopyPath(entry));
}

ReplacementResult ReplaceWithCleanedCopy(const std::wstring& entry, const std::wstring& copy) {
  ReplacementResult result;
  result.decision = DecideReplacement(ReadFileState(entry), ReadFileState(copy));
  if (result.decision == Decision::kReplace) {
    result.move = MoveCopyIntoPlace(copy, entry);
    result.replaced = result.move == MoveResult::kMoved;
  }
  return result;
}

void ReplaceCleanedCopies(const std::vector<std::wstring>& entries) {
  for (const std::wstring& entry : entries) (void)ReplaceWithCleanedCopy(entry);
}

}  // namespace run

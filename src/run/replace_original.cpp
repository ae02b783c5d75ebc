#include "run/replace_original.h"

#include <string>

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

// One rename that replaces the target: the original is either untouched or replaced whole. A
// target held open without delete sharing makes it fail, and then nothing has changed.
MoveResult MoveWhole(const std::wstring& copy, const std::wstring& original) {
  if (MoveFileExW(copy.c_str(), original.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return MoveResult::kMoved;
  }
  return WhyRefused(original, GetLastError());
}

// A free name beside the original for ReplaceFileW to park it under while the copy takes its
// name; a file of the user's that happens to bear such a name is never overwritten.
std::wstring FreeParkingName(const std::wstring& copy) {
  for (int n = 0; n < 100; ++n) {
    std::wstring name = copy + L".old";
    if (n > 0) name += std::to_wstring(n);
    if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES && IsAbsence(GetLastError())) {
      return name;
    }
  }
  return {};
}

// Errors with which ReplaceFileW says it cannot work on this volume (FAT, some network shares)
// rather than that this film is in the way. Like every error besides its three partial ones, they
// leave both files under their own names, so the plain move can still be tried.
bool IsUnsupported(DWORD error) {
  return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

// The hidden and system marks are the user's choices about the film. ReplaceFileW carries them
// over where it works; Wine's does not, and the plain move cannot, so they are put back here.
void KeepMarks(const std::wstring& film, DWORD originalAttributes) {
  constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD now = GetFileAttributesW(film.c_str());
  if (now == INVALID_FILE_ATTRIBUTES || originalAttributes == INVALID_FILE_ATTRIBUTES) return;
  const DWORD wanted = (now & ~kMarks) | (originalAttributes & kMarks);
  if (wanted != now) SetFileAttributesW(film.c_str(), wanted);
}

// ReplaceFileW puts the copy's data under the original's name and keeps the original's identity
// around it: its security descriptor, alternate streams, creation time, short name, attributes,
// compression and encryption (an encrypted film is not left as a plaintext copy). A plain move
// would keep none of these. The original is parked under a name of ours while the copy is put in
// place, so that every partial failure leaves it under a known name to be put back.
MoveResult ReplaceKeepingMetadata(const std::wstring& copy, const std::wstring& original,
                                  DWORD originalAttributes) {
  const std::wstring parked = FreeParkingName(copy);
  if (parked.empty()) return MoveResult::kFailed;
  // No flag to ignore merge errors: a film whose security descriptor cannot be carried over is
  // not replaced, rather than left readable by whoever the folder lets in.
  if (ReplaceFileW(original.c_str(), copy.c_str(), parked.c_str(), 0, nullptr, nullptr)) {
    // The original under its parked name is all that is left of it; a delete that fails leaves
    // that file beside the film, which loses nothing.
    DeleteFileW(parked.c_str());
    KeepMarks(original, originalAttributes);
    return MoveResult::kMoved;
  }
  const DWORD error = GetLastError();
  switch (error) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
      // The original was parked but the copy could not take its name: the original goes back.
      // Should even that fail, the copy takes the name, so the film's name holds a film; the
      // original then stays under its parked name.
      if (!MoveFileExW(parked.c_str(), original.c_str(), MOVEFILE_WRITE_THROUGH) &&
          MoveWhole(copy, original) == MoveResult::kMoved) {
        KeepMarks(original, originalAttributes);
      }
      return MoveResult::kFailed;
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
      // With a parking name given, both files are still under their own names.
      return MoveResult::kFailed;
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
      // Both files under their own names; the original could not be moved aside, which another
      // program holding it causes.
      return MoveResult::kHeld;
    default:
      break;
  }
  if (!IsUnsupported(error)) return WhyRefused(original, error);
  const MoveResult moved = MoveWhole(copy, original);
  if (moved == MoveResult::kMoved) KeepMarks(original, originalAttributes);
  return moved;
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
  const bool vanished = attributes == INVALID_FILE_ATTRIBUTES && IsAbsence(GetLastError());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return MoveResult::kReadOnly;
  }
  FlushToDisk(copy);
  // A film that vanished during the run has nothing to keep: its name is simply taken.
  if (vanished) return MoveWhole(copy, original);
  return ReplaceKeepingMetadata(copy, original, attributes);
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

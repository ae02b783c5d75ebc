#include "run/run_lock.h"

#include <windows.h>

#include "run/temp_folder_key.h"

namespace run {

std::wstring KeyOfTempFolder(std::wstring_view tempFolder) {
  std::wstring folded(tempFolder);
  if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return TempFolderKey(folded);
}

RunLock::RunLock(std::wstring_view tempFolder)
    : platform::NamedMutex(RunLockName(KeyOfTempFolder(tempFolder))) {}

}  // namespace run

// A program started together with everything it starts, as one thing that can be ended at once.
// The clearing run starts its batch this way: cmd and the tool it runs end with the run, when the
// user stops it, and when this program ends in any way (closed, ended from Task Manager, crashed),
// so no batch goes on writing copies that nobody will put in place.
#pragma once

#include <string>

#include <windows.h>

#include "platform/unique_handle.h"

namespace process {

class JobProcess {
 public:
  JobProcess() = default;
  ~JobProcess() = default;
  JobProcess(const JobProcess&) = delete;
  JobProcess& operator=(const JobProcess&) = delete;

  // Starts `program` (a full path) with `commandLine` and `windowStyle`; false when it cannot be
  // started. The process is started suspended and let go only once it is in the job, so nothing
  // it starts can escape.
  [[nodiscard]] bool Start(const std::wstring& program, const std::wstring& commandLine,
                           int windowStyle);

  // The started process, to wait on; null before a successful Start.
  [[nodiscard]] HANDLE Process() const { return process_.Get(); }

  // Ends the process and every process it started, and returns once they are gone or after
  // `longestMs`, so that the files they held can be removed. Does nothing before Start.
  void Terminate(DWORD longestMs) noexcept;

 private:
  bool StartSuspended(const std::wstring& program, const std::wstring& commandLine, int windowStyle,
                      DWORD extraFlags, PROCESS_INFORMATION& info);

  platform::UniqueHandle job_;
  platform::UniqueHandle process_;
  DWORD processId_ = 0;
  bool inJob_ = false;
};

}  // namespace process

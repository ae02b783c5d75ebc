#include "process/job_process.h"

#include <vector>

#include <tlhelp32.h>

namespace process {
namespace {

// How often Terminate looks whether the job's processes are gone.
constexpr DWORD kGoneLookMs = 10;

platform::UniqueHandle KillOnCloseJob() {
  platform::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof(limits))) {
    job.Reset();
  }
  return job;
}

DWORD ActiveProcesses(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                 sizeof(accounting), nullptr)) {
    return 0;
  }
  return accounting.ActiveProcesses;
}

// Without a job: every process descended from `root`, found by their parents' ids, deepest last.
std::vector<DWORD> Descendants(DWORD root) {
  std::vector<DWORD> tree = {root};
  platform::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return tree;
  std::vector<PROCESSENTRY32W> all;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    all.push_back(entry);
  }
  for (size_t i = 0; i < tree.size(); ++i) {
    for (const PROCESSENTRY32W& process : all) {
      if (process.th32ParentProcessID == tree[i] && process.th32ProcessID != tree[i]) {
        tree.push_back(process.th32ProcessID);
      }
    }
  }
  return tree;
}

}  // namespace

bool JobProcess::StartSuspended(const std::wstring& program, const std::wstring& commandLine,
                                int windowStyle, DWORD extraFlags, PROCESS_INFORMATION& info) {
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring mutableLine = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  return CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | extraFlags, nullptr, nullptr, &startup, &info) != FALSE;
}

bool JobProcess::Start(const std::wstring& program, const std::wstring& commandLine,
                       int windowStyle) {
  job_ = KillOnCloseJob();
  PROCESS_INFORMATION info = {};
  if (!StartSuspended(program, commandLine, windowStyle, 0, info)) return false;
  inJob_ = job_ && AssignProcessToJobObject(job_.Get(), info.hProcess);
  if (job_ && !inJob_) {
    // Windows 7 lets a process be in one job only: when this program already runs inside a job
    // (some launchers and schedulers start programs in one), the batch cannot join ours. It is
    // started again outside that job where the job allows breaking away; where it does not, it
    // runs in the outer job and Terminate ends it by walking its process tree instead (which
    // cannot help when this program is killed: then the batch runs to its end).
    TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    info = {};
    if (StartSuspended(program, commandLine, windowStyle, CREATE_BREAKAWAY_FROM_JOB, info)) {
      inJob_ = AssignProcessToJobObject(job_.Get(), info.hProcess) != FALSE;
    } else if (!StartSuspended(program, commandLine, windowStyle, 0, info)) {
      return false;
    }
  }
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  process_.Reset(info.hProcess);
  processId_ = info.dwProcessId;
  return true;
}

void JobProcess::Terminate(DWORD longestMs) noexcept {
  if (!process_) return;
  const ULONGLONG giveUp = GetTickCount64() + longestMs;
  if (inJob_) {
    TerminateJobObject(job_.Get(), 1);
    // The tool must be gone, not only told to go: its half-written copy can be removed only once
    // its handle is closed.
    while (ActiveProcesses(job_.Get()) > 0 && GetTickCount64() < giveUp) Sleep(kGoneLookMs);
    return;
  }
  try {
    std::vector<platform::UniqueHandle> ended;
    for (const DWORD id : Descendants(processId_)) {
      platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
      if (process && TerminateProcess(process.Get(), 1)) ended.push_back(std::move(process));
    }
    for (const platform::UniqueHandle& process : ended) {
      const ULONGLONG now = GetTickCount64();
      if (now >= giveUp) break;
      WaitForSingleObject(process.Get(), static_cast<DWORD>(giveUp - now));
    }
  } catch (...) {
    // Out of memory: at least the batch itself goes.
    TerminateProcess(process_.Get(), 1);
  }
}

}  // namespace process

#include "guarded_run.h"

#include <exception>
#include <new>
#include <string>

#include "file_io.h"
#include "output_names.h"
#include "run.h"
#include "status_file.h"

namespace rmevents {

namespace {

std::string FaultText(const std::exception_ptr& fault) {
  try {
    std::rethrow_exception(fault);
  } catch (const std::bad_alloc&) {
    return "内存不足，无法完成";
  } catch (const std::exception& e) {
    return std::string("程序内部错误（") + e.what() + "）";
  } catch (...) {
  }
  return "程序内部错误";
}

// Deletes the run's output and its temporary file. The command line is read again because the
// fault may have come before or after the run knew its names; a target that is the input itself
// (refused by the run) is never touched.
void DiscardOutput(const std::vector<NativeString>& args) {
  Options options;
  std::string problem;
  if (ParseCommandLine(args, options, problem) != ParseOutcome::kOk) return;
  const Path target = TargetOf(options);
  if (target.empty()) return;
  const Path part = PartOf(target);
  if (SameFile(options.input, target) || SameFile(options.input, part)) return;
  DeleteIfPresent(part);
  DeleteIfPresent(target);
}

int GuardedRun(const std::vector<NativeString>& args, PrintReport print, Report& report,
               rm::WalkRepair& repair) {
  try {
    const int code = Run(args, report, &repair);
    print(report);
    return code;
  } catch (...) {
    const std::exception_ptr fault = std::current_exception();
    try {
      DiscardOutput(args);
    } catch (...) {
      // Deleting needs no memory of its own beyond the names; nothing more can be tried.
    }
    try {
      const std::string line = "错误：" + FaultText(fault);
      try {
        report.Line(line);
        report.Line("未写出输出文件。");
        print(report);
      } catch (...) {
        // The report itself was too much (printing it may be what failed): the failure lines alone.
        Report last;
        last.Line(line);
        last.Line("未写出输出文件。");
        print(last);
      }
    } catch (...) {
      // Not even that could be printed; the exit code still tells.
    }
    return kExitInternal;
  }
}

// The input the command line names, for the status file; empty when it names none.
Path FilmOf(const std::vector<NativeString>& args) {
  Options options;
  std::string problem;
  (void)ParseCommandLine(args, options, problem);
  return options.input;
}

}  // namespace

int RunAndPrint(const std::vector<NativeString>& args, PrintReport print) {
  Report report;
  Path film;
  StatusFile status;
  try {
    film = FilmOf(args);
    std::string problem;
    if (!film.empty()) status = StatusFile::FromEnvironment(problem);
    if (!problem.empty()) report.Line("注意：" + problem);
  } catch (...) {
    // Out of memory before the run: the run meets it again and reports it.
  }
  status.Started(film);
  rm::WalkRepair repair;
  const int code = GuardedRun(args, print, report, repair);
  status.Ended(film, code, repair);
  return code;
}

}  // namespace rmevents

#include "run.h"

#include <algorithm>

#include "file_io.h"
#include "output_names.h"
#include "rm/event_text.h"
#include "rm/inspect.h"
#include "rm/mdpr.h"
#include "rm/replace_events.h"
#include "unchanged.h"

namespace rmevents {

namespace {

int InputErrorCode(const rm::Error& error) {
  return error.code == rm::ErrorCode::kReadFailed ? kExitInput : kExitBadInput;
}

std::string NoRoom(std::uint64_t need, std::uint64_t room) {
  return "磁盘空间不足：输出需要约 " + GroupDigits(need) + " 字节，目标磁盘只剩 " +
         GroupDigits(room) + " 字节";
}

// Everything a run that writes a file shares: the temporary name beside the target, and the rule
// that a failed run leaves neither the temporary file nor an old file under the target's name
// (Quellin takes an existing output as success).
class WriteRun {
 public:
  WriteRun(Report& report, Path target) : report_(report), target_(std::move(target)) {
    part_ = PartOf(target_);
  }

  const Path& Part() const { return part_; }

  // Clears the target's name and the temporary one before anything is read; a name that cannot be
  // cleared refuses the run, since the file under it would pass for this run's work.
  [[nodiscard]] bool ClearEarlier(int& code) {
    for (const Path* name : {&part_, &target_}) {
      std::string problem;
      switch (ClearName(*name, problem)) {
        case Cleared::kNothing:
          break;
        case Cleared::kRemoved:
          if (name == &target_) report_.Line("已删除之前留下的同名输出文件。");
          break;
        case Cleared::kFailed:
          code = Fail(kExitOutput, "之前留下的 " + PathText(*name) + " " + problem);
          return false;
      }
    }
    return true;
  }

  int Fail(int code, const std::string& message) {
    report_.Line("错误：" + message);
    DeleteIfPresent(part_);
    if (DeleteIfPresent(target_)) report_.Line("已删除之前留下的同名输出文件。");
    report_.Line("未写出输出文件。");
    return code;
  }

  // An output that could not be written. The temporary file goes first, so that a full disk is
  // measured without what this run had written to it.
  int FailWrite(const FileError& fe, std::uint64_t need) {
    DeleteIfPresent(part_);
    if (fe.problem == FileProblem::kDiskFull) {
      if (const auto room = FreeSpaceBeside(target_)) return Fail(kExitOutput, NoRoom(need, *room));
    }
    return Fail(kExitOutput, "写出失败：" + Describe(fe));
  }

  // Creates the temporary file and remembers which file it is.
  std::unique_ptr<OutputFile> CreatePart(FileError& error) {
    auto part = OutputFile::Create(part_, error);
    if (part) written_ = part->Identity();
    return part;
  }

  // Moves the checked temporary file into place, if the file under its name is still the one
  // written: after its handle is closed another process could have put a file of its own there.
  [[nodiscard]] bool Commit(int& code) {
    FileIdentity now;
    if (!IdentityOf(part_, now) || now != written_) {
      code = Fail(kExitOutput, "临时文件 " + PathText(part_) + " 在写出后被换成了另一个文件");
      return false;
    }
    FileError fe;
    if (MoveReplacing(part_, target_, fe)) return true;
    code = Fail(kExitOutput, "无法把临时文件改名为输出文件：" + Describe(fe));
    return false;
  }

 private:
  Report& report_;
  Path target_;
  Path part_;
  FileIdentity written_;
};

// Writes OUT.part; false, with the run's exit code, when it cannot. `need`: about what it takes.
bool WritePart(WriteRun& run, InputFile& input, const std::vector<rm::Event>& events, bool mayCopy,
               std::uint64_t need, rm::ReplaceOutcome& outcome, int& code) {
  FileError fe;
  auto part = run.CreatePart(fe);
  if (!part) {
    code = run.Fail(kExitOutput, "无法创建临时文件 " + PathText(run.Part()) + "：" + Describe(fe));
    return false;
  }
  rm::Error error;
  if (!rm::ReplaceEvents(input, *part, events, outcome, error, mayCopy)) {
    const FileError why = part->WriteFailure();
    const std::uint64_t needed = std::max(need, part->FailedWriteEnd());
    // Closed before it is deleted: Windows does not delete a file that is still open.
    part.reset();
    if (!rm::IsOutputError(error)) {
      code = run.Fail(InputErrorCode(error), "输入文件有问题：" + rm::Describe(error));
    } else if (error.code == rm::ErrorCode::kWriteFailed && why.problem != FileProblem::kNone) {
      code = run.FailWrite(why, needed);
    } else {
      code = run.Fail(kExitOutput, "写出失败：" + rm::Describe(error));
    }
    return false;
  }
  if (!part->Close(fe)) {
    code = run.FailWrite(fe, need);
    return false;
  }
  return true;
}

// What the rewrite did to the streams and events, and what it repaired; true for a repair.
bool ReportWork(Report& report, const rm::ReplaceOutcome& outcome) {
  ReportStreams(report, outcome);
  ReportRemovedEvents(report, outcome.result);
  return ReportRepair(report, outcome.result.repair);
}

int RunReplace(const Options& o, Report& report, rm::WalkRepair& repair) {
  report.Line("输入文件：" + PathText(o.input));
  if (o.input == o.output || SameFile(o.input, o.output) || SameFile(o.input, PartOf(o.output))) {
    report.Line("错误：输入文件和输出文件是同一个文件，输入文件保持不变。");
    return kExitOutput;
  }
  WriteRun run(report, o.output);
  int code = kExitOk;
  if (!run.ClearEarlier(code)) return code;

  std::string eventBytes;
  FileError fe;
  if (!ReadSmallFile(o.events, kMaxEventsFileSize, eventBytes, fe)) {
    return run.Fail(kExitEvents, "无法读取事件文件 " + PathText(o.events) + "：" + Describe(fe));
  }
  std::vector<rm::Event> events;
  rm::EventTextError textError;
  if (!rm::ParseEventText(eventBytes, events, textError)) {
    return run.Fail(kExitEvents, "事件文件 " + PathText(o.events) + " " + rm::Describe(textError));
  }

  auto input = InputFile::Open(o.input, fe);
  if (!input) return run.Fail(kExitInput, "无法打开输入文件：" + Describe(fe));
  report.Line("输入大小：" + GroupDigits(input->Size()) + " 字节");
  rm::ReplaceOutcome outcome;
  rm::Error error;
  if (SkipUnchangedAsked()) {
    bool unchanged = false;
    if (!FindUnchanged(*input, events, outcome, unchanged, error)) {
      return run.Fail(InputErrorCode(error), "输入文件有问题：" + rm::Describe(error));
    }
    if (unchanged) {
      ReportStreams(report, outcome);
      report.Line(kUnchangedLine);
      return kExitUnchanged;
    }
  }
  // The output is about the film's size (removed events make it a little smaller, added ones a
  // little larger). Checked before writing, so a film too large for the disk fails at once rather
  // than after most of it was written.
  const std::uint64_t need = input->Size() + eventBytes.size();
  if (const auto room = FreeSpaceBeside(o.output); room && *room < need) {
    return run.Fail(kExitOutput, NoRoom(need, *room));
  }
  // A film with nothing to change is copied byte for byte. A copy that does not read back may be
  // of a film cut short: it is rewritten then, which keeps the film's complete packets as for a
  // film with events (damage elsewhere is refused by the rewrite as well).
  bool mayCopy = true;
  for (;;) {
    if (!WritePart(run, *input, events, mayCopy, need, outcome, code)) return code;
    auto written = InputFile::Open(run.Part(), fe);
    if (!written) return run.Fail(kExitOutput, "无法重新打开写出的文件：" + Describe(fe));
    if (rm::CheckWritten(*written, outcome, error)) break;
    written.reset();
    if (outcome.identicalCopy && error.code != rm::ErrorCode::kVerifyFailed) {
      if (mayCopy && error.code != rm::ErrorCode::kReadFailed) {
        mayCopy = false;
        error = rm::Error{};
        DeleteIfPresent(run.Part());
        continue;
      }
      return run.Fail(InputErrorCode(error), "输入文件有问题：" + rm::Describe(error));
    }
    ReportWork(report, outcome);
    return run.Fail(kExitVerify, rm::Describe(error));
  }
  const bool repaired = ReportWork(report, outcome);
  if (!run.Commit(code)) return code;
  if (outcome.identicalCopy) {
    report.Line("文件中没有事件流，也没有要添加的事件：输出文件与输入文件逐字节相同。");
  }
  report.Line("输出文件：" + PathText(o.output) + "（" + GroupDigits(outcome.result.bytesWritten) +
              " 字节，已校验）");
  report.Line("完成。");
  repair = outcome.result.repair;
  return repaired ? kExitRepaired : kExitOk;
}

// Events as -d writes them: readable ones sorted by start time (the order -e requires), and a
// comment for each packet that could not be read or cannot be written as a line.
std::string DumpText(const rm::FileSummary& summary, std::vector<rm::Event>& dumped) {
  std::string notes;
  for (const rm::FoundEvent& f : summary.events) {
    if (f.parsed && rm::CanDumpEvent(f.event)) {
      dumped.push_back(f.event);
      continue;
    }
    notes += std::string(f.parsed ? "# event that cannot be written as a line"
                                  : "# unreadable event packet") +
             " (stream " + std::to_string(f.stream) + ", offset " + std::to_string(f.offset) +
             ")\r\n";
  }
  std::stable_sort(dumped.begin(), dumped.end(),
                   [](const rm::Event& a, const rm::Event& b) { return a.startDs < b.startDs; });
  return rm::FormatEventText(dumped) + notes;
}

bool DumpReadsBack(const std::string& written, const std::vector<rm::Event>& dumped) {
  std::vector<rm::Event> back;
  rm::EventTextError error;
  if (!rm::ParseEventText(written, back, error) || back.size() != dumped.size()) return false;
  for (std::size_t i = 0; i < back.size(); ++i) {
    rm::Event expected = dumped[i];
    expected.text = rm::TextAfterDump(expected.text);
    if (back[i] != expected) return false;
  }
  return true;
}

int RunDump(const Options& o, Report& report) {
  report.Line("输入文件：" + PathText(o.input));
  const Path target = TargetOf(o);
  if (SameFile(o.input, target) || SameFile(o.input, PartOf(target))) {
    report.Line("错误：事件文件与输入文件是同一个文件，输入文件保持不变。");
    return kExitOutput;
  }
  WriteRun run(report, target);
  int code = kExitOk;
  if (!run.ClearEarlier(code)) return code;
  FileError fe;
  auto input = InputFile::Open(o.input, fe);
  if (!input) return run.Fail(kExitInput, "无法打开输入文件：" + Describe(fe));
  rm::FileSummary summary;
  rm::Error error;
  if (!rm::Inspect(*input, rm::Strictness::kTolerant, summary, error)) {
    return run.Fail(InputErrorCode(error), "输入文件有问题：" + rm::Describe(error));
  }
  if (!summary.eventsComplete) return run.Fail(kExitBadInput, "文件中的事件太多，无法导出");
  for (const rm::StreamSummary& s : summary.streams) {
    if (rm::IsEventMime(s.mime)) {
      report.Text("事件流：流 " + std::to_string(s.number) + "（");
      report.Raw(s.mime);
      report.Line("），" + std::to_string(s.packets) + " 个数据包");
    } else if (rm::IsImageMapMime(s.mime)) {
      report.Line("注意：流 " + std::to_string(s.number) +
                  " 是图像映射流，本工具不导出图像映射（-m）。");
    }
  }
  std::vector<rm::Event> dumped;
  const std::string text = DumpText(summary, dumped);
  {
    auto part = run.CreatePart(fe);
    if (!part)
      return run.Fail(kExitOutput,
                      "无法创建临时文件 " + PathText(run.Part()) + "：" + Describe(fe));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const bool wrote = part->WriteAt(0, std::span(bytes, text.size()));
    if (!wrote) fe = part->WriteFailure();
    if (!wrote || !part->Close(fe)) {
      part.reset();  // closed before it is deleted, as above
      return run.FailWrite(fe, text.size());
    }
  }
  std::string back;
  if (!ReadSmallFile(run.Part(), text.size(), back, fe) || back != text ||
      !DumpReadsBack(back, dumped)) {
    return run.Fail(kExitVerify, "写出的事件文件读回后与导出的事件不一致");
  }
  if (!run.Commit(code)) return code;
  report.Line("导出的事件：" + std::to_string(dumped.size()) + " 个");
  for (const rm::Event& e : dumped) ReportEvent(report, e);
  if (dumped.size() != summary.events.size()) {
    report.Line("另有 " + std::to_string(summary.events.size() - dumped.size()) +
                " 个事件数据包无法解读或无法写成一行，已在事件文件末尾注明。");
  }
  report.Line("事件文件：" + PathText(target));
  report.Line("完成。");
  return kExitOk;
}

}  // namespace

int Run(const std::vector<NativeString>& args, Report& report, rm::WalkRepair* repair) {
  Options options;
  std::string problem;
  switch (ParseCommandLine(args, options, problem)) {
    case ParseOutcome::kUsageError:
      report.Line("错误：" + problem);
      report.Text(UsageText());
      return kExitUsage;
    case ParseOutcome::kDeclinedImageMaps:
      report.Line("错误：本工具不处理图像映射（-m），没有写出任何文件。");
      return kExitDeclined;
    case ParseOutcome::kOk:
      break;
  }
  switch (options.mode) {
    case Mode::kHelp:
      report.Line("rmevents：替换、删除或导出 RealMedia（.rm/.rmvb）文件中的事件。");
      report.Text(UsageText());
      return kExitOk;
    case Mode::kDump:
      return RunDump(options, report);
    case Mode::kReplace: {
      rm::WalkRepair made;
      const int code = RunReplace(options, report, made);
      if (repair != nullptr) *repair = made;
      return code;
    }
  }
  return kExitUsage;
}

}  // namespace rmevents

// Whole rmevents invocations on real files in a folder whose name holds blanks, Chinese
// characters and %, as Quellin's users' folders do. Natively this runs the POSIX file layer; in
// the win64 build under Wine it runs the wide Windows one.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#ifdef _WIN32
#include <windows.h>
#endif

#include "background_copy.h"
#include "command_line.h"
#include "file_io.h"
#include "film_status.h"
#include "guarded_run.h"
#ifdef _WIN32
#include "report_print.h"
#endif
#include "rm/event_text.h"
#include "rm_builder.h"
#include "rm_films.h"
#include "run.h"
#include "unchanged.h"

namespace {

namespace fs = std::filesystem;
using rmevents::NativeString;
using rmevents::Path;

Path U8(const char* utf8) { return Path(std::u8string(reinterpret_cast<const char8_t*>(utf8))); }
NativeString Arg(const char* utf8) { return U8(utf8).native(); }
NativeString Arg(const Path& path) { return path.native(); }

void WriteFile(const Path& path, const std::string& bytes) {
  rmevents::FileError error;
  // The tool's output file is always made new.
  fs::remove(path);
  auto file = rmevents::OutputFile::Create(path, error);
  ASSERT_TRUE(file) << rmevents::Describe(error);
  ASSERT_TRUE(file->WriteAt(
      0, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
  ASSERT_TRUE(file->Close(error));
}
void WriteFile(const Path& path, const rmtest::Bytes& bytes) {
  WriteFile(path, std::string(bytes.begin(), bytes.end()));
}
std::string ReadFile(const Path& path) {
  std::string bytes;
  rmevents::FileError error;
  EXPECT_TRUE(rmevents::ReadSmallFile(path, 1 << 24, bytes, error)) << rmevents::Describe(error);
  return bytes;
}

class Cli : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() /
           U8(("rm 测试 %cd% " + std::to_string(stamp) + "-" + std::to_string(counter++)).c_str());
    fs::create_directories(dir_);
    film_ = dir_ / U8("影片 一%1.rm");
    out_ = dir_ / U8("影片 一%1.rm.tmp");
    rem_ = dir_ / U8("Event.txt");
    WriteFile(film_, rmtest::Build(rmtest::EventFilm()));
    WriteFile(rem_, std::string("rem \r\n"));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  int Run(std::vector<NativeString> args) {
    report_ = rmevents::Report{};
    return rmevents::Run(args, report_);
  }
  std::string Said() const { return report_.Joined(); }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const auto n = entry.path().filename().u8string();
      names.emplace_back(n.begin(), n.end());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  Path dir_, film_, out_, rem_;
  rmevents::Report report_;
};

TEST_F(Cli, StripsTheWayQuellinCallsIt) {
  ASSERT_EQ(Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)}),
            rmevents::kExitOk)
      << Said();
  const rmtest::Bytes want = rmtest::Build(rmtest::EventFilmStripped());
  EXPECT_EQ(ReadFile(out_), std::string(want.begin(), want.end()));
  EXPECT_EQ(Files(), (std::vector<std::string>{"Event.txt", "影片 一%1.rm", "影片 一%1.rm.tmp"}));
  const std::string said = Said();
  EXPECT_NE(said.find("影片 一%1.rm"), std::string::npos) << said;
  EXPECT_NE(said.find("流 2 → 流 1"), std::string::npos) << said;
  EXPECT_NE(said.find("删除的事件：2 个"), std::string::npos) << said;
  EXPECT_NE(said.find("http://example.com/two.html"), std::string::npos) << said;
  EXPECT_NE(said.find("完成。"), std::string::npos) << said;
}

TEST_F(Cli, DumpThenReplaceRoundTrips) {
  const Path name = dir_ / U8("导出 a");
  ASSERT_EQ(Run({Arg("-I"), Arg(film_), Arg("-D"), Arg(name)}), rmevents::kExitOk) << Said();
  const Path dump = dir_ / U8("导出 a_evt.txt");
  std::vector<rm::Event> events;
  rm::EventTextError error;
  ASSERT_TRUE(rm::ParseEventText(ReadFile(dump), events, error)) << rm::Describe(error);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], (rm::Event{0, 20, rm::kEventUrl, "http://example.com/one.html"}));

  ASSERT_EQ(Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(out_), Arg("-e"), Arg(dump)}),
            rmevents::kExitOk)
      << Said();
  ASSERT_EQ(Run({Arg("-i"), Arg(out_), Arg("-d"), Arg(dir_ / U8("again"))}), rmevents::kExitOk);
  std::vector<rm::Event> again;
  ASSERT_TRUE(rm::ParseEventText(ReadFile(dir_ / U8("again_evt.txt")), again, error));
  EXPECT_EQ(again, events);
}

TEST_F(Cli, FailuresLeaveNoOutputAndKeepTheInput) {
  const std::string original = ReadFile(film_);
  WriteFile(out_, std::string("an output left by an earlier run"));
  const Path cut = dir_ / U8("cut.rm");
  WriteFile(cut, original.substr(0, 100));  // cut inside the headers
  EXPECT_EQ(Run({Arg("-i"), Arg(cut), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)}),
            rmevents::kExitBadInput);
  EXPECT_NE(Said().find("已删除之前留下的同名输出文件"), std::string::npos) << Said();
  EXPECT_FALSE(fs::exists(out_));

  const Path bad = dir_ / U8("bad.txt");
  WriteFile(bad, std::string("# x\r\nu 1 2 http://a/\r\nu 3 q http://b/\r\n"));
  EXPECT_EQ(Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(out_), Arg("-e"), Arg(bad)}),
            rmevents::kExitEvents);
  EXPECT_NE(Said().find("第 3 行"), std::string::npos) << Said();
  EXPECT_EQ(Run({Arg("-i"), Arg(dir_ / U8("无.rm")), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)}),
            rmevents::kExitInput);
  EXPECT_NE(Said().find("文件不存在"), std::string::npos) << Said();
  EXPECT_EQ(
      Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(dir_ / U8("无/a.rm")), Arg("-e"), Arg(rem_)}),
      rmevents::kExitOutput);
  EXPECT_NE(Said().find("路径不存在（找不到所在的文件夹）\n"), std::string::npos) << Said();
  for (const Path& same : {film_, dir_ / U8(".") / film_.filename()}) {
    EXPECT_EQ(Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(same), Arg("-e"), Arg(rem_)}),
              rmevents::kExitOutput);
  }
  EXPECT_EQ(ReadFile(film_), original);
  EXPECT_EQ(Files(), (std::vector<std::string>{"Event.txt", "bad.txt", "cut.rm", "影片 一%1.rm"}));
}

// Sets RMEVENTS_UNCHANGED for this process (null: removes it).
void SetUnchanged(const char* value) {
#ifdef _WIN32
  _putenv_s(rmevents::kUnchangedVariable, value ? value : "");
#else
  value ? setenv(rmevents::kUnchangedVariable, value, 1) : unsetenv(rmevents::kUnchangedVariable);
#endif
}

// Sets RMEVENTS_STATUS for this process (null: removes it), wide on Windows as paths are.
void SetStatusFile(const NativeString* path) {
#ifdef _WIN32
  _wputenv_s(L"RMEVENTS_STATUS", path ? path->c_str() : L"");
#else
  path ? setenv(film_status::kStatusFileVariable, path->c_str(), 1)
       : unsetenv(film_status::kStatusFileVariable);
#endif
}

TEST_F(Cli, LeavesAFilmWithoutEventsAloneWhenAskedTo) {
  const Path plain = dir_ / U8("无事件 a.rm");
  const rmtest::Bytes bytes = rmtest::Build(rmtest::FfmpegFilm());
  WriteFile(plain, bytes);
  WriteFile(out_, std::string("an output left by an earlier run"));
  SetUnchanged("skip");
  const int skipped = Run({Arg("-i"), Arg(plain), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)});
  const std::string said = Said();
  const int stripped = Run({Arg("-i"), Arg(film_), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)});
  SetUnchanged(nullptr);
  EXPECT_EQ(skipped, rmevents::kExitUnchanged) << said;
  const std::string last = std::string(rmevents::kUnchangedLine) + "\n";
  EXPECT_EQ(said.substr(said.size() - std::min(said.size(), last.size())), last) << said;
  EXPECT_NE(said.find("已删除之前留下的同名输出文件"), std::string::npos) << said;
  EXPECT_EQ(stripped, rmevents::kExitOk) << Said();  // the film with events: rewritten as ever
  const rmtest::Bytes want = rmtest::Build(rmtest::EventFilmStripped());
  EXPECT_EQ(ReadFile(out_), std::string(want.begin(), want.end()));
  fs::remove(out_);
  EXPECT_EQ(Files(), (std::vector<std::string>{"Event.txt", "影片 一%1.rm", "无事件 a.rm"}));
}

// Out of memory once the film is written (here while its report is printed): the run still ends
// with the failure lines and leaves no output.
TEST_F(Cli, AFaultLeavesTheFailureLinesAndNoOutput) {
  static int calls;
  static std::string printed;
  calls = 0;
  printed.clear();
  const int code =
      rmevents::RunAndPrint({Arg("-i"), Arg(film_), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)},
                            [](const rmevents::Report& report) {
                              if (calls++ == 0) throw std::bad_alloc();
                              printed = report.Joined();
                            });
  EXPECT_EQ(code, rmevents::kExitInternal);
  const std::string tail = "错误：内存不足，无法完成\n未写出输出文件。\n";
  EXPECT_EQ(printed.substr(printed.size() - std::min(printed.size(), tail.size())), tail)
      << printed;
  EXPECT_EQ(Files(), (std::vector<std::string>{"Event.txt", "影片 一%1.rm"}));
}

// With events or without (a copy asked for), as long as the film really ends there.
TEST_F(Cli, AFilmCutShortIsCleanedAndSaysSo) {
  const rmtest::Bytes plain = rmtest::Build(rmtest::FfmpegFilm());
  for (const std::string& original : {ReadFile(film_), std::string(plain.begin(), plain.end())}) {
    const Path cut = dir_ / U8("cut.rm");
    WriteFile(cut, original.substr(0, original.size() / 2));
    EXPECT_EQ(Run({Arg("-i"), Arg(cut), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)}),
              rmevents::kExitRepaired)
        << Said();
    const std::string line =
        "输入文件不完整：在第 " + std::to_string(original.size() / 2) + " 字节处截断，保留了 ";
    EXPECT_NE(Said().find(line), std::string::npos) << Said();
    EXPECT_NE(Said().find("完成。"), std::string::npos);
    EXPECT_TRUE(fs::exists(out_));
  }
}

// Every film gets a START line before it is read and one closing line as it ends, whatever the
// ending; a status file that cannot be opened changes nothing but a line of the report.
TEST_F(Cli, TheStatusFileHasAStartAndAnEndForEachFilm) {
  using film_status::Kind;
  const Path plain = dir_ / U8("无事件.rm"), cut = dir_ / U8("cut.rm"), none = dir_ / U8("无.rm");
  WriteFile(plain, rmtest::Build(rmtest::FfmpegFilm()));
  const std::string original = ReadFile(film_);
  WriteFile(cut, original.substr(0, original.size() / 2));
  static std::string printed;
  const rmevents::PrintReport quiet = [](const rmevents::Report& r) { printed = r.Joined(); };
  const rmevents::PrintReport faulty = [](const rmevents::Report&) { throw std::bad_alloc(); };
  const auto run = [&](const Path& film, rmevents::PrintReport print = nullptr) {
    return rmevents::RunAndPrint({Arg("-i"), Arg(film), Arg("-o"), Arg(out_), Arg("-e"), Arg(rem_)},
                                 print ? print : quiet);
  };
  const NativeString status = (dir_ / U8("状态 %1.txt")).native(), folder = dir_.native();
  SetStatusFile(&status);
  EXPECT_EQ(run(film_), rmevents::kExitOk);
  SetUnchanged("skip");
  EXPECT_EQ(run(plain), rmevents::kExitUnchanged);
  SetUnchanged(nullptr);
  EXPECT_EQ(run(cut), rmevents::kExitRepaired);
  EXPECT_EQ(run(none), rmevents::kExitInput);
  EXPECT_EQ(run(film_, faulty), rmevents::kExitInternal);
  SetStatusFile(&folder);
  EXPECT_EQ(run(film_), rmevents::kExitOk);
  EXPECT_NE(printed.find("注意：无法打开状态文件"), std::string::npos) << printed;
  SetStatusFile(nullptr);

  const auto at = [](Kind kind, int code, std::uint64_t kept, const Path& film) {
    return film_status::Format({kind, code, kept, rmevents::PathText(film)});
  };
  const std::vector<std::string> want = {
      at(Kind::kStarted, -1, 0, film_), at(Kind::kDone, 0, 0, film_),
      at(Kind::kStarted, -1, 0, plain), at(Kind::kUnchanged, 9, 0, plain),
      at(Kind::kStarted, -1, 0, cut),   at(Kind::kSalvaged, 10, 4, cut),
      at(Kind::kStarted, -1, 0, none),  at(Kind::kFailed, 2, 0, none),
      at(Kind::kStarted, -1, 0, film_), at(Kind::kFailed, 8, 0, film_)};
  std::vector<std::string> lines;
  const std::string written = ReadFile(status);
  for (std::size_t from = 0, end; (end = written.find('\n', from)) != std::string::npos;
       from = end + 1) {
    const auto line = film_status::Parse(std::string_view(written).substr(from, end - from));
    lines.push_back(line ? film_status::Format(*line) : "unreadable");
  }
  EXPECT_EQ(lines, want) << written;
}

// Past the steps at which Writeback hands the file to the disk early (and, on Windows, flushes it
// from a thread of its own), the file is still whole, and a late patch of its start is kept.
TEST_F(Cli, ABigOutputIsWholeAfterItsEarlyFlushes) {
  std::string bytes((std::size_t{40} << 20) + 7, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 131 >> 9);
  const Path big = dir_ / U8("大.rm");
  rmevents::FileError error;
  auto file = rmevents::OutputFile::Create(big, error);
  ASSERT_TRUE(file) << rmevents::Describe(error);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  for (std::size_t at = 0; at < bytes.size(); at += std::size_t{1} << 20) {
    const std::size_t n = std::min(bytes.size() - at, std::size_t{1} << 20);
    ASSERT_TRUE(file->WriteAt(at, std::span(data + at, n)));
  }
  bytes.replace(0, 4, "RMF!");
  ASSERT_TRUE(file->WriteAt(0, std::span(data, 4)));
  ASSERT_TRUE(file->Close(error)) << rmevents::Describe(error);
  std::string back;
  ASSERT_TRUE(rmevents::ReadSmallFile(big, bytes.size(), back, error));
  EXPECT_TRUE(back == bytes);
}

#ifdef _WIN32
// The report as Windows writes it (code page 936 under test): ANSI by default; with
// RMEVENTS_REPORT=utf8, UTF-8 with the mark only where the report starts the file (cmd's >, not
// >>), and a film's GBK bytes turned into UTF-8 while its UTF-8 bytes stay.
TEST_F(Cli, TheWindowsReportIsUtf8WhenAskedAndMarksOnlyAFilesStart) {
  rmevents::Report report;
  report.Line("流 1：");
  report.Raw("\xC1\xD9 ");   // 临 in GBK
  report.Raw("\xC3\xA9\n");  // é in UTF-8; its line break made harmless
  const Path ret = dir_ / U8("ret.txt");
  const auto write = [&](DWORD disposition) {
    const HANDLE h = CreateFileW(ret.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFilePointer(h, 0, nullptr, FILE_END);
    rmevents::WriteReport(report, reinterpret_cast<std::intptr_t>(h));
    CloseHandle(h);
  };
  write(CREATE_ALWAYS);
  EXPECT_EQ(ReadFile(ret), "\xC1\xF7 1\xA3\xBA\r\n\xC1\xD9 \xC3\xA9?");
  _putenv_s(film_status::kReportEncodingVariable, film_status::kUtf8Report);
  write(CREATE_ALWAYS);
  write(OPEN_EXISTING);
  _putenv_s(film_status::kReportEncodingVariable, "");
  const std::string utf8 = "流 1：\r\n临 é?";
  EXPECT_EQ(ReadFile(ret), "\xEF\xBB\xBF" + utf8 + utf8);
}
#endif

// The temporary output is made new, kept from other writers while it is written, and known by
// its identity, so a file put under its name afterwards is told apart from it.
TEST_F(Cli, TheTemporaryOutputIsOursAlone) {
  const Path part = dir_ / U8("新 片.rm.part");
  WriteFile(part, std::string("left by someone"));
  rmevents::FileError error;
  EXPECT_FALSE(rmevents::OutputFile::Create(part, error));  // not written into
  EXPECT_EQ(ReadFile(part), "left by someone");
  fs::remove(part);

  auto file = rmevents::OutputFile::Create(part, error);
  ASSERT_TRUE(file) << rmevents::Describe(error);
  const std::uint8_t bytes[] = {'R', 'M', 'F'};
  ASSERT_TRUE(file->WriteAt(0, bytes));
#ifdef _WIN32
  // A second writer is refused while we write (POSIX has no mandatory lock to ask for).
  std::fstream second(part, std::ios::in | std::ios::out | std::ios::binary);
  EXPECT_FALSE(second.is_open());
#endif
  EXPECT_FALSE(rmevents::OutputFile::Create(part, error));
  EXPECT_EQ(ReadFile(part), "RMF");  // readers may look
  ASSERT_TRUE(file->Close(error)) << rmevents::Describe(error);
  rmevents::FileIdentity now;
  ASSERT_TRUE(rmevents::IdentityOf(part, now));
  EXPECT_EQ(now, file->Identity());

  fs::rename(part, dir_ / U8("moved.rm"));
  WriteFile(part, std::string("RMF"));  // same name, same bytes, another file
  ASSERT_TRUE(rmevents::IdentityOf(part, now));
  EXPECT_FALSE(now == file->Identity());
}

// Runs of unchanged packets are copied on a second thread; its first failure must reach Close.
TEST(BackgroundCopy, KeepsTheFirstFailureAndDropsLaterJobs) {
  std::vector<std::uint64_t> done;  // read only after Stop has joined the thread
  rmevents::BackgroundCopy copy([&done](const rmevents::BackgroundCopy::Job& job) {
    done.push_back(job.fromOffset);
    return job.fromOffset == 2 ? 5ul : 0ul;
  });
  for (std::uint64_t at = 1; at <= 4; ++at) copy.Add({0, at, at, 1});
  EXPECT_EQ(copy.Stop(), 5ul);
  EXPECT_EQ(done, (std::vector<std::uint64_t>{1, 2}));
}

TEST(CommandLine, SwitchesAndMisuse) {
  using rmevents::Mode;
  using rmevents::ParseOutcome;
  struct Case {
    std::vector<const char*> args;
    ParseOutcome outcome;
    Mode mode;
  } cases[] = {
      {{"-i", "a.rm", "-o", "b.rm", "-e", "e.txt"}, ParseOutcome::kOk, Mode::kReplace},
      {{"-E", "e.txt", "-O", "b.rm", "-I", "a.rm"}, ParseOutcome::kOk, Mode::kReplace},
      {{"-i", "a.rm", "-d", "a"}, ParseOutcome::kOk, Mode::kDump},
      {{"-?"}, ParseOutcome::kOk, Mode::kHelp},
      {{"-i", "a.rm", "/?"}, ParseOutcome::kOk, Mode::kHelp},
      {{"-i", "a.rm", "-m", "map.txt", "-o", "b.rm"},
       ParseOutcome::kDeclinedImageMaps,
       Mode::kHelp},
      {{}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i", "a.rm"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i", "a.rm", "-o", "b.rm"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-o", "b.rm", "-e", "e.txt"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i", "a.rm", "-o", "b.rm", "-e", "e.txt", "extra"},
       ParseOutcome::kUsageError,
       Mode::kHelp},
      {{"-i", "a.rm", "-i", "b.rm", "-d", "x"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i", "a.rm", "-d", "x", "-o", "b.rm"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-z", "a.rm"}, ParseOutcome::kUsageError, Mode::kHelp},
      {{"-i", "", "-d", "x"}, ParseOutcome::kUsageError, Mode::kHelp},
  };
  for (const Case& c : cases) {
    std::vector<NativeString> args;
    std::string joined;
    for (const char* a : c.args) {
      args.push_back(Arg(a));
      joined += std::string(a) + " ";
    }
    rmevents::Options options;
    std::string problem;
    EXPECT_EQ(rmevents::ParseCommandLine(args, options, problem), c.outcome) << joined;
    if (c.outcome == ParseOutcome::kOk) {
      EXPECT_EQ(options.mode, c.mode) << joined;
    }
    if (c.outcome == ParseOutcome::kUsageError) {
      EXPECT_FALSE(problem.empty()) << joined;
    }
  }
  rmevents::Options options;
  std::string problem;
  ASSERT_EQ(rmevents::ParseCommandLine({Arg("-i"), Arg("甲 乙.rm"), Arg("-d"), Arg("x")}, options,
                                       problem),
            ParseOutcome::kOk);
  EXPECT_EQ(options.input, U8("甲 乙.rm"));
}

}  // namespace

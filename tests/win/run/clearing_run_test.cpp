// Whole runs through the batch file with the real rmevents.exe in TMP.
#include "run/clearing_run.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/list_box.h"
#include "platform/text_conversion.h"
#include "platform/unique_handle.h"
#include "run_fixture.h"
#include "test_support.h"

namespace run_test {
namespace {

using testing_win::FileExists;
using testing_win::ReadBytes;
using testing_win::WriteBytes;

// The Chinese name of the TMP folder in code page 936.
constexpr char kTempName936[] = "\xC1\xD9\xCA\xB1 \xCE\xC4\xBC\xFE\xBC\xD0";  // 临时 文件夹

std::string Ansi(const std::wstring& text) { return platform::ToAnsi(text); }

// Where each text first occurs in `report`, searching on from the previous one; npos once one is
// missing.
std::vector<size_t> PositionsInOrder(const std::wstring& report,
                                     const std::vector<std::wstring>& texts) {
  std::vector<size_t> positions;
  size_t from = 0;
  for (const std::wstring& text : texts) {
    const size_t at = from == std::wstring::npos ? from : report.find(text, from);
    positions.push_back(at);
    from = at == std::wstring::npos ? at : at + text.size();
  }
  return positions;
}

TEST_F(RunTest, CleansEveryListedFilmInListOrderAndPutsTheCopyInItsPlace) {
  const std::vector<std::wstring> films = {
      Film(L"片 名 空格\\a.rm"),
      Film(L"电影\\清除.rmvb"),
      // Unescaped, cmd would turn %TMP% into the TMP folder and "100% 好\b" into nonsense.
      Film(L"100% 好\\b%TMP%c.rm"),
  };
  const std::wstring missing = root_ / L"无此文件.rm";
  // The tool refuses a file that is not RealMedia and leaves nothing beside it.
  const std::wstring notFilm = root_ / L"不是影片.rm";
  ASSERT_TRUE(WriteBytes(notFilm, "not a film"));
  const std::vector<std::wstring> entries = {films[0], films[1], films[2], films[0],
                                             L"",      missing,  notFilm};
  for (const std::wstring& entry : entries) window_.Add(entry);

  run::ClearEvents(window_.Controls());

  for (const std::wstring& film : films) {
    SCOPED_TRACE(Ansi(film));
    EXPECT_EQ(ReadBytes(film), cleanedBytes_) << "the cleaned copy took the film's place";
    EXPECT_FALSE(FileExists(film + L".tmp"));
    EXPECT_EQ(EventLinesInDump(tool_, film, film + L".dump"), 0);
  }
  EXPECT_FALSE(FileExists(missing)) << "a film that is not there is not made up";
  EXPECT_FALSE(FileExists(missing + L".tmp"));
  EXPECT_EQ(ReadBytes(notFilm), "not a film");
  EXPECT_FALSE(FileExists(notFilm + L".tmp"));
  EXPECT_FALSE(FileExists(notFilm + L".tmp.part")) << "no half-written copy is left behind";

  // The report holds the tool's output for every entry, in list order; the empty entry is a
  // usage error of the tool, the missing film an input error.
  const std::wstring report = platform::FromAnsi(ReadBytes(temp_ + L"\\ret.txt"));
  const std::vector<size_t> positions =
      PositionsInOrder(report, {L"输入文件：" + films[0], L"输入文件：" + films[1],
                                L"输入文件：" + films[2], L"输入文件：" + films[0], L"用法：",
                                L"输入文件：" + missing, L"输入文件：" + notFilm});
  for (size_t i = 0; i < positions.size(); ++i) {
    EXPECT_NE(positions[i], std::wstring::npos) << "entry " << i << " in ret.txt:\n"
                                                << Ansi(report);
  }
  EXPECT_EQ(ReadBytes(temp_ + L"\\Event.txt"), "rem \r\n");

  EXPECT_EQ(platform::ListEntries(window_.List()), entries) << "the run leaves the list as it was";
  EXPECT_TRUE(IsWindowEnabled(window_.Button()));
}

TEST_F(RunTest, WithoutItsFilesTheRunTouchesNoFilm) {
  // TMP names a folder that does not exist: neither Event.txt nor Go.bat can be written, so no
  // tool runs, and a copy an earlier run left beside a film is not this run's: it stays as it is.
  const std::wstring gone = root_ / L"没有的目录";
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", gone.c_str()));
  const std::wstring film = Film(L"a.rm");
  ASSERT_TRUE(WriteBytes(film + L".tmp", "an earlier cleaned copy"));
  window_.Add(film);
  window_.SetTicked(true);

  run::ClearEvents(window_.Controls());

  EXPECT_EQ(ReadBytes(film), filmBytes_);
  EXPECT_EQ(ReadBytes(film + L".tmp"), "an earlier cleaned copy");
  EXPECT_FALSE(FileExists(gone + L"\\Go.bat"));
  EXPECT_TRUE(IsWindowEnabled(window_.Button()));
}

TEST_F(RunTest, ABatchThatCannotBeWrittenIsNotReplacedByAnEarlierOne) {
  // An earlier Go.bat, which would leave a mark if it ran, held open by another program that lets
  // others read it but not write or delete it.
  const std::string stale =
      "echo stale> \"" + Ansi(root_.Path()) + "\\" + kTempName936 + "\\stale.txt\"\r\n";
  ASSERT_TRUE(WriteBytes(temp_ + L"\\Go.bat", stale));
  platform::UniqueHandle holder(CreateFileW((temp_ + L"\\Go.bat").c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  // A copy an earlier run kept beside the film (Ch unticked then) is not this run's work.
  const std::wstring film = Film(L"a.rm");
  ASSERT_TRUE(WriteBytes(film + L".tmp", cleanedBytes_));
  ASSERT_TRUE(WriteBytes(temp_ + L"\\ret.txt", "an earlier run's report\r\n"));
  window_.Add(film);
  window_.SetTicked(true);

  run::ClearEvents(window_.Controls());

  holder.Reset();
  EXPECT_EQ(ReadBytes(temp_ + L"\\Go.bat"), stale);
  EXPECT_FALSE(FileExists(temp_ + L"\\stale.txt")) << "the earlier batch ran";
  EXPECT_EQ(ReadBytes(film), filmBytes_) << "an earlier copy took the film's place";
  EXPECT_EQ(ReadBytes(film + L".tmp"), cleanedBytes_);
  EXPECT_EQ(platform::FromAnsi(ReadBytes(temp_ + L"\\ret.txt")),
            L"\r\n清除结果（共 1 个文件）：\r\n未清除：无法写出批处理文件，没有处理任何文件。\r\n")
      << "the report is this run's alone and says why nothing was done";
  EXPECT_TRUE(IsWindowEnabled(window_.Button()));
}

TEST_F(RunTest, NothingPlantedInTmpDecidesWhatRuns) {
  // A "rmevents.bat" beside the tool would run first for a batch that names the tool without its
  // extension.
  ASSERT_TRUE(WriteBytes(temp_ + L"\\rmevents.bat", "echo planted> \"%~dp0planted.txt\"\r\n"));
  const std::wstring film = Film(L"a.rm");
  window_.Add(film);

  run::ClearEvents(window_.Controls());

  EXPECT_FALSE(FileExists(temp_ + L"\\planted.txt"));
  EXPECT_EQ(ReadBytes(film), cleanedBytes_);
  EXPECT_EQ(EndOwnNotepads(10), 1);

  // An Event.txt that is not ours and cannot be removed (here: held open by another program) would
  // add its events to every film: the run touches no film and says why.
  const std::string foreign = "0:00:01.000 0:00:02.000 url http://example.com/ad\r\n";
  ASSERT_TRUE(WriteBytes(temp_ + L"\\Event.txt", foreign));
  platform::UniqueHandle holder(CreateFileW((temp_ + L"\\Event.txt").c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  const std::wstring second = Film(L"b.rm");
  window_.Add(second);

  run::ClearEvents(window_.Controls());

  holder.Reset();
  EXPECT_EQ(ReadBytes(second), filmBytes_);
  EXPECT_FALSE(FileExists(second + L".tmp"));
  EXPECT_NE(platform::FromAnsi(ReadBytes(temp_ + L"\\ret.txt")).find(L"未清除：无法写出事件文件"),
            std::wstring::npos);
}

}  // namespace
}  // namespace run_test

// AutoExtract with Wine's real registry and real file times, over a container program file that
// each test writes itself, so the records belong to a program name of this test process alone.
#include <gtest/gtest.h>

#include <cstdlib>

#include "startup/auto_extract.h"
#include "startup/file_time_text.h"
#include "startup_win_support.h"
#include "test_support.h"

namespace startup_win_test {
namespace {

using testing_win::FileExists;
using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::WriteBytes;

const std::vector<std::wstring> kNames = {L"rmevents.exe"};

class AutoExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryW((scratch_ / L"临时").c_str(), nullptr));
    ASSERT_TRUE(
        WriteBytes(program_, Container({{image_, "Quellin.image.exe"}, {tool_, "rmevents.exe"}})));
    DeleteRecords(application_);
  }
  void TearDown() override { DeleteRecords(application_); }

  bool Start(const std::wstring& program) { return startup::AutoExtract(target_, kNames, program); }
  bool Start() { return Start(program_); }

  ScratchFolder scratch_;
  const std::wstring name_ = L"启动测试-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring application_ = L"QXPW_" + name_;
  const std::wstring program_ = scratch_ / (name_ + L".exe");
  const std::wstring target_ = scratch_ / L"临时\\";
  const std::wstring toolPath_ = target_ + L"rmevents.exe";
  const std::wstring imageCopy_ = target_ + L"Quellin.image.exe";
  const std::string image_ = Filler(50'000, 'p');
  const std::string tool_ = Filler(7000, 'r');
};

TEST_F(AutoExtractTest, FirstStartExtractsAndRecordsSecondStartDoesNothing) {
  EXPECT_TRUE(Start());
  EXPECT_EQ(ReadBytes(toolPath_), tool_);
  EXPECT_EQ(ReadBytes(imageCopy_), image_);
  const auto toolRecord = Record(application_, L"rmevents.exe");
  const auto programRecord = Record(application_, L"主程序");
  ASSERT_TRUE(toolRecord && programRecord);

  // Nothing is divided again: the image copy, removed here, would come back.
  ASSERT_TRUE(DeleteFileW(imageCopy_.c_str()));
  EXPECT_FALSE(Start());
  EXPECT_FALSE(FileExists(imageCopy_));
  EXPECT_EQ(Record(application_, L"rmevents.exe"), toolRecord);
  EXPECT_EQ(Record(application_, L"主程序"), programRecord);
}

TEST_F(AutoExtractTest, RecordsAreLocalDateAndTimeTexts) {
  // 2021-03-04 05:06:07 local time on the program file.
  SYSTEMTIME local{2021, 3, 4, 4, 5, 6, 7, 0};
  SYSTEMTIME utc{};
  FILETIME time{};
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
  {
    const platform::UniqueHandle file(CreateFileW(program_.c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file && SetFileTime(file.Get(), nullptr, nullptr, &time));
  }
  ASSERT_TRUE(Start());
  const std::wstring record = Record(application_, L"主程序").value_or(L"");
  // The user's short date, a blank, the long time; the exact order of the date's parts is the
  // locale's business.
  EXPECT_NE(record.find(L"2021"), std::wstring::npos) << record;
  EXPECT_NE(record.find(L" "), std::wstring::npos) << record;
  EXPECT_NE(record.find(L"5:06:07"), std::wstring::npos) << record;
}

TEST_F(AutoExtractTest, DeletedOrTouchedToolIsExtractedAgain) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DeleteFileW(toolPath_.c_str()));
  EXPECT_TRUE(Start());
  EXPECT_EQ(ReadBytes(toolPath_), tool_);
  EXPECT_FALSE(Start());

  // Another tool put there, with a time of its own.
  ASSERT_TRUE(WriteBytes(toolPath_, "someone else's tool"));
  ASSERT_TRUE(ShiftLastWriteTime(toolPath_, -3600));
  EXPECT_TRUE(Start());
  EXPECT_EQ(ReadBytes(toolPath_), tool_);
  EXPECT_FALSE(Start());

  // Only its time changed.
  ASSERT_TRUE(ShiftLastWriteTime(toolPath_, 120));
  EXPECT_TRUE(Start());
  EXPECT_FALSE(Start());
}

TEST_F(AutoExtractTest, TouchedProgramIsExtractedAgainWithTheToolPresent) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(DeleteFileW(imageCopy_.c_str()));
  ASSERT_TRUE(ShiftLastWriteTime(program_, 3600));
  EXPECT_TRUE(Start());
  EXPECT_TRUE(FileExists(imageCopy_)) << "the program file was divided again";
  EXPECT_FALSE(Start());
}

TEST_F(AutoExtractTest, FolderNamedLikeTheToolCountsAsMissing) {
  ASSERT_TRUE(CreateDirectoryW(toolPath_.c_str(), nullptr));
  EXPECT_FALSE(startup::IsExistingFile(toolPath_));
  EXPECT_FALSE(startup::FileDateTimeText(toolPath_));
  EXPECT_TRUE(Start());
  EXPECT_FALSE(Record(application_, L"rmevents.exe")) << "the division could not produce it";
  EXPECT_FALSE(Record(application_, L"主程序")) << "nor the program's, over a tool not written";
  EXPECT_TRUE(Start()) << "every start tries again";

  ASSERT_TRUE(RemoveDirectoryW(toolPath_.c_str()));
  EXPECT_TRUE(Start());
  EXPECT_EQ(ReadBytes(toolPath_), tool_);
  EXPECT_FALSE(Start());
}

TEST_F(AutoExtractTest, ProgramNamesKeepSeparateRecords) {
  const std::wstring copyName = name_ + L" 副本";
  const std::wstring copy = scratch_ / (copyName + L".exe");
  ASSERT_TRUE(CopyFileW(program_.c_str(), copy.c_str(), FALSE));
  ASSERT_TRUE(ShiftLastWriteTime(copy, -86400));
  const std::wstring copyApplication = L"QXPW_" + copyName;
  DeleteRecords(copyApplication);

  ASSERT_TRUE(Start());
  EXPECT_TRUE(Start(copy)) << "no records under the copy's name yet";
  const auto programRecord = Record(application_, L"主程序");
  const auto copyRecord = Record(copyApplication, L"主程序");
  ASSERT_TRUE(programRecord && copyRecord);
  EXPECT_NE(*programRecord, *copyRecord);
  DeleteRecords(copyApplication);
  EXPECT_EQ(Record(application_, L"主程序"), programRecord);
}

TEST(TempTargetDir, IsTmpWithABackslashOrTheDriveRoot) {
  wchar_t saved[MAX_PATH] = {};
  const bool hadTmp = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH) > 0;
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", L"C:\\临时 目录"));
  EXPECT_EQ(startup::TempTargetDir(), L"C:\\临时 目录\\");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", nullptr));
  EXPECT_EQ(startup::TempTargetDir(), L"\\");
  if (hadTmp) SetEnvironmentVariableW(L"TMP", saved);
}

}  // namespace
}  // namespace startup_win_test

// The names that tie concurrent starts to one TMP, and the rules of one-shot gathering.
#include <gtest/gtest.h>

#include "run/gathering_rules.h"
#include "run/handed_path.h"
#include "run/temp_folder_key.h"

namespace run_test {
namespace {

TEST(TempFolderKey, OneFolderWrittenInSeveralWaysGivesOneKey) {
  const std::wstring key = run::TempFolderKey(L"C:\\USERS\\约翰 SMITH\\TEMP");
  EXPECT_EQ(key.size(), 16u);
  EXPECT_EQ(run::TempFolderKey(L"C:/USERS/约翰 SMITH/TEMP/"), key);
  EXPECT_EQ(run::TempFolderKey(L"C:\\USERS\\约翰 SMITH\\TEMP\\\\"), key);
  EXPECT_NE(run::TempFolderKey(L"C:\\USERS\\约翰 SMITH\\TEMP2"), key);
  EXPECT_NE(run::TempFolderKey(L"D:\\USERS\\约翰 SMITH\\TEMP"), key);
  // Unset TMP: the run's folder is empty and start-up's target is "\"; both are one folder.
  EXPECT_EQ(run::TempFolderKey(L""), run::TempFolderKey(L"\\"));
  EXPECT_NE(run::TempFolderKey(L""), key);
}

TEST(TempFolderKey, ObjectNamesStayInTheSessionAndHoldNoFurtherBackslash) {
  const std::wstring key = run::TempFolderKey(L"C:\\TEMP");
  for (const std::wstring& name : {run::RunLockName(key), run::GatherMutexName(key)}) {
    EXPECT_EQ(name.rfind(L"Local\\", 0), 0u) << name;
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << name;
  }
  EXPECT_NE(run::RunLockName(key), run::GatherMutexName(key));
  EXPECT_EQ(run::GatherWindowName(key).find(L'\\'), std::wstring::npos);
}

TEST(GatheringClock, OpensBrieflyEachArrivalExtendsItNeverBeyondTheLongest) {
  run::GatheringClock clock(1000);
  EXPECT_FALSE(clock.IsClosed(1399));
  EXPECT_TRUE(clock.IsClosed(1400));
  clock.Arrived(1010);
  EXPECT_EQ(clock.ClosesAtMs(), 1600u);
  clock.Arrived(1590);
  EXPECT_EQ(clock.ClosesAtMs(), 1990u) << "open a while after the latest start";
  for (int i = 0; i < 30; ++i) clock.Arrived(2000 + 100 * static_cast<std::uint64_t>(i));
  EXPECT_EQ(clock.ClosesAtMs(), 5000u) << "starts that keep coming never hold the run beyond 4 s";
  clock.HoldUntil(9000);
  EXPECT_EQ(clock.ClosesAtMs(), 5000u) << "nor do starts on their way";
}

TEST(JoinMessage, FilmsTravelWholeEmptyEntriesIncluded) {
  const std::vector<std::wstring> films = {L"D:\\v\\片 一.rm", L"", L"E:\\100% 好\\b.rmvb"};
  EXPECT_EQ(run::DecodeJoin(run::EncodeJoin(films)), films);
  EXPECT_EQ(run::DecodeJoin(L""), std::vector<std::wstring>());
  EXPECT_EQ(run::DecodeJoin(run::EncodeJoin({L""})), std::vector<std::wstring>{L""});
  EXPECT_FALSE(run::DecodeJoin(std::wstring(L"D:\\cut")).has_value());
}

TEST(IsCleanFullPath, TakesOnlyFullPathsThatCannotBreakTheBatch) {
  EXPECT_TRUE(run::IsCleanFullPath(L"D:\\影片 集\\100% a&b.rm"));
  EXPECT_TRUE(run::IsCleanFullPath(L"\\\\server\\share\\a.rm"));
  for (const wchar_t* bad : {L"", L"a.rm", L"\\a.rm", L"D:a.rm", L"\\\\\\x", L"D:\\a\".rm",
                             L"D:\\a.rm\"\r\ndel *", L"D:\\a\nb.rm", L"D:\\a<b.rm", L"D:\\a>b.rm",
                             L"D:\\a|b.rm", L"D:\\*.rm", L"D:\\a?.rm", L"\\\\?\\D:\\a.rm"}) {
    EXPECT_FALSE(run::IsCleanFullPath(bad)) << "index of a bad name";
  }
}

}  // namespace
}  // namespace run_test

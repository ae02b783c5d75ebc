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

TEST(GatheringClock, ClosesSoonAfterTheLatestArrivalAndHoldsBoundedByTheArrivals) {
  run::GatheringClock clock(1000);
  EXPECT_FALSE(clock.IsClosed(1399));
  EXPECT_TRUE(clock.IsClosed(1400));
  clock.Arrived(1010);
  EXPECT_EQ(clock.ClosesAtMs(), 1410u);
  clock.Arrived(1390);
  EXPECT_EQ(clock.ClosesAtMs(), 1790u) << "open a while after the latest start";
  clock.HoldUntil(9000);
  EXPECT_EQ(clock.ClosesAtMs(), 5390u) << "starts on their way hold it up to 4 s past the latest";

  // 100 starts arriving over 9.9 s on a slow machine, each within the 400 ms of the one before:
  // one gathering, closing 400 ms after the last.
  run::GatheringClock slow(0);
  for (std::uint64_t i = 1; i <= 100; ++i) {
    ASSERT_FALSE(slow.IsClosed(i * 99)) << i;
    slow.Arrived(i * 99);
  }
  EXPECT_EQ(slow.ClosesAtMs(), 9900u + 400u);
  slow.HoldUntil(20000);
  EXPECT_EQ(slow.ClosesAtMs(), 9900u + 4000u) << "never past 4 s after the latest arrival";
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

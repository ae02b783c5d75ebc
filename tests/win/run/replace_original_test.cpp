// The replacement step on real files: the size rule at its boundaries, originals that must
// survive a refused move whole, and what of the original the cleaned film keeps.
#include "run/replace_original.h"

#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/unique_handle.h"
#include "test_support.h"

namespace run {
namespace {

using testing_win::FileExists;
using testing_win::ReadBytes;
using testing_win::ScratchFolder;
using testing_win::WriteBytes;

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

// A file of `size` bytes without writing them: sparse where the file system allows.
bool MakeSizedFile(const std::wstring& path, std::uint64_t size) {
  platform::UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  return file && SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

TEST(ReplaceWithCleanedCopy, JudgesTheCopyBySizeAtTheLimit) {
  struct Case {
    const char* what;
    size_t original;
    size_t copy;
    Decision decision;
  };
  const Case cases[] = {
      {"199999 bytes lost", 300000, 100001, Decision::kReplace},
      {"200000 bytes lost", 300000, 100000, Decision::kCopyTooSmall},
      {"copy larger", 1000, 1500, Decision::kReplace},
      {"same size", 4000, 4000, Decision::kReplace},
  };
  ScratchFolder root;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring film = root / L"影 片.rm";
    const std::string original(c.original, 'o');
    const std::string copy(c.copy, 'c');
    ASSERT_TRUE(WriteBytes(film, original));
    ASSERT_TRUE(WriteBytes(film + L".tmp", copy));
    const ReplacementResult result = ReplaceWithCleanedCopy(film);
    EXPECT_EQ(result.decision, c.decision);
    if (c.decision == Decision::kReplace) {
      EXPECT_TRUE(result.replaced);
      EXPECT_EQ(ReadBytes(film), copy);
      EXPECT_FALSE(FileExists(film + L".tmp"));
    } else {
      EXPECT_FALSE(result.replaced);
      EXPECT_EQ(ReadBytes(film), original);
      EXPECT_EQ(ReadBytes(film + L".tmp"), copy);
    }
    DeleteFileW(film.c_str());
    DeleteFileW((film + L".tmp").c_str());
  }
}

TEST(ReplaceWithCleanedCopy, ComparesSizesBeyondFourGiB) {
  ScratchFolder root;
  const std::wstring big = root / L"big.rm";
  // Read as 32-bit counts both files would be 1000 bytes and the copy would pass.
  ASSERT_TRUE(MakeSizedFile(big, 4 * kGiB + 1000));
  ASSERT_TRUE(WriteBytes(big + L".tmp", std::string(1000, 'c')));
  EXPECT_EQ(ReplaceWithCleanedCopy(big).decision, Decision::kCopyTooSmall);
  EXPECT_EQ(ReadFileState(big).bytes, 4 * kGiB + 1000);
  EXPECT_TRUE(FileExists(big + L".tmp"));

  const std::wstring large = root / L"large.rmvb";
  ASSERT_TRUE(MakeSizedFile(large, 3 * kGiB + 199999));
  ASSERT_TRUE(MakeSizedFile(large + L".tmp", 3 * kGiB));
  const ReplacementResult result = ReplaceWithCleanedCopy(large);
  EXPECT_EQ(result.decision, Decision::kReplace);
  EXPECT_TRUE(result.replaced);
  EXPECT_EQ(ReadFileState(large).bytes, 3 * kGiB);
  EXPECT_FALSE(FileExists(large + L".tmp"));
}

TEST(ReplaceWithCleanedCopy, LeavesAFilmWithoutCopyAndTakesTheNameOfAVanishedOne) {
  ScratchFolder root;
  const std::wstring alone = root / L"alone.rm";
  ASSERT_TRUE(WriteBytes(alone, "film"));
  EXPECT_EQ(ReplaceWithCleanedCopy(alone).decision, Decision::kNoCopy);
  EXPECT_EQ(ReadBytes(alone), "film");

  // A folder under the copy's name is not a copy.
  const std::wstring shadowed = root / L"shadowed.rm";
  ASSERT_TRUE(WriteBytes(shadowed, "film"));
  ASSERT_TRUE(CreateDirectoryW((shadowed + L".tmp").c_str(), nullptr));
  EXPECT_FALSE(ReplaceWithCleanedCopy(shadowed).replaced);
  EXPECT_EQ(ReadBytes(shadowed), "film");
  EXPECT_TRUE(testing_win::FolderExists(shadowed + L".tmp"));

  const std::wstring vanished = root / L"gone\u00b7片.rm";
  ASSERT_TRUE(WriteBytes(vanished + L".tmp", "cleaned"));
  const ReplacementResult result = ReplaceWithCleanedCopy(vanished);
  EXPECT_EQ(result.decision, Decision::kReplace);
  EXPECT_TRUE(result.replaced);
  EXPECT_EQ(ReadBytes(vanished), "cleaned");
  EXPECT_FALSE(FileExists(vanished + L".tmp"));
}

TEST(ReplaceWithCleanedCopy, AFilmListedTwiceIsReplacedOnce) {
  ScratchFolder root;
  const std::wstring film = root / L"twice.rm";
  ASSERT_TRUE(WriteBytes(film, "original"));
  ASSERT_TRUE(WriteBytes(film + L".tmp", "cleaned"));
  ReplaceCleanedCopies({film, film});
  EXPECT_EQ(ReadBytes(film), "cleaned");
  EXPECT_FALSE(FileExists(film + L".tmp"));
}

// A film with a cleaned copy that passes the size rule, refused by `hold` while the step runs:
// both files must come out as they went in.
void ExpectRefusedAndBothKept(const std::wstring& film, const std::function<void()>& hold) {
  ASSERT_TRUE(WriteBytes(film, "original"));
  ASSERT_TRUE(WriteBytes(film + L".tmp", "cleaned"));
  hold();
  EXPECT_EQ(ReadBytes(film), "original");
  EXPECT_EQ(ReadBytes(film + L".tmp"), "cleaned");
}

TEST(ReplaceWithCleanedCopy, AReadOnlyOrLockedOriginalKeepsItsNameAndBytes) {
  ScratchFolder root;
  // Wine replaces a read-only file when asked to (Windows does not): the step must refuse itself.
  const std::wstring readOnly = root / L"只读.rm";
  ExpectRefusedAndBothKept(readOnly, [&] {
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const ReplacementResult result = ReplaceWithCleanedCopy(readOnly);
    EXPECT_EQ(result.decision, Decision::kReplace);
    EXPECT_FALSE(result.replaced);
  });
  EXPECT_NE(GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

  // A player that opened the film the usual way: reading, sharing reads and writes only.
  const std::wstring playing = root / L"playing.rm";
  ExpectRefusedAndBothKept(playing, [&] {
    platform::UniqueHandle player(CreateFileW(playing.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(player);
    const ReplacementResult result = ReplaceWithCleanedCopy(playing);
    EXPECT_EQ(result.decision, Decision::kReplace);
    EXPECT_FALSE(result.replaced);
  });
}

// The names in `folder`, "." and ".." left out.
int EntryCount(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST(ReplaceWithCleanedCopy, AHiddenFilmStaysHiddenAndAFileUnderTheParkingNameIsLeftAlone) {
  ScratchFolder root;
  const std::wstring film = root / L"隐藏.rm";
  ASSERT_TRUE(WriteBytes(film, "original"));
  ASSERT_TRUE(WriteBytes(film + L".tmp", "cleaned"));
  // The user's own file under the name the original is first parked under.
  ASSERT_TRUE(WriteBytes(film + L".tmp.old", "mine"));
  ASSERT_TRUE(SetFileAttributesW(film.c_str(), FILE_ATTRIBUTE_HIDDEN));

  const ReplacementResult result = ReplaceWithCleanedCopy(film);
  EXPECT_TRUE(result.replaced);
  EXPECT_EQ(ReadBytes(film), "cleaned");
  const DWORD attributes = GetFileAttributesW(film.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_FALSE(FileExists(film + L".tmp"));
  EXPECT_EQ(ReadBytes(film + L".tmp.old"), "mine");
  // The original, once parked, is gone: only the film and the user's file are left.
  EXPECT_EQ(EntryCount(root.Path()), 2);
}

TEST(ReplaceWithCleanedCopy, AnAlternateStreamOfTheOriginalSurvives) {
  ScratchFolder root;
  const std::wstring film = root / L"streams.rm";
  ASSERT_TRUE(WriteBytes(film, "original"));
  // Where the file system has no streams, Wine makes "streams.rm:note" a file of its own (or
  // refuses it): only a name that adds no entry to the folder is a stream.
  if (!WriteBytes(film + L":Zone.Identifier", "[ZoneTransfer]") || EntryCount(root.Path()) != 1) {
    GTEST_SKIP() << "no alternate data streams on this file system under Wine";
  }
  ASSERT_TRUE(WriteBytes(film + L".tmp", "cleaned"));
  EXPECT_TRUE(ReplaceWithCleanedCopy(film).replaced);
  EXPECT_EQ(ReadBytes(film), "cleaned");
  EXPECT_EQ(ReadBytes(film + L":Zone.Identifier"), "[ZoneTransfer]");
}

TEST(ReadFileState, TellsMissingSizedAndFolders) {
  ScratchFolder root;
  EXPECT_EQ(ReadFileState(root / L"none").kind, FileState::Kind::kMissing);
  EXPECT_EQ(ReadFileState(root / L"no folder\\none").kind, FileState::Kind::kMissing);
  EXPECT_EQ(ReadFileState(root.Path()).kind, FileState::Kind::kUnreadable);
  ASSERT_TRUE(WriteBytes(root / L"five", "12345"));
  const FileState five = ReadFileState(root / L"five");
  EXPECT_EQ(five.kind, FileState::Kind::kSized);
  EXPECT_EQ(five.bytes, 5u);
}

}  // namespace
}  // namespace run

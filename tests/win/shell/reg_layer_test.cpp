// The registry layer against Wine's real registry, in code page 936.
#include "shell/reg.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text_conversion.h"
#include "registry_oracle.h"

namespace shell::reg {
namespace {

using namespace std::string_literals;
using shell_test::ReadRaw;
using shell_test::ReadText;
using shell_test::ScratchKey;
using Names = std::vector<std::wstring>;

const HKEY kRoot = HKEY_CURRENT_USER;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

RegValue Read(const std::wstring& path, const std::wstring& name, DWORD type,
              const RegValue& fallback = {}) {
  return ReadRegValue(kRoot, path, name, type, fallback);
}

TEST(RegRead, MissingKeysAndValuesGiveTheDefaultAndTheCode) {
  ScratchKey scratch;
  const RegValue fallback = L"默认"s;
  EXPECT_EQ(Read(scratch.Path(L"absent"), L"", REG_SZ, fallback), fallback);
  EXPECT_EQ(RegLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Read(scratch.Path(), L"absent", REG_SZ, fallback), fallback);
  EXPECT_EQ(RegLastError(), ERROR_FILE_NOT_FOUND);
  DWORD type = REG_DWORD;
  EXPECT_EQ(ReadRegValue(kRoot, scratch.Path(), L"absent", type), RegValue());
  EXPECT_EQ(RegLastError(), ERROR_FILE_NOT_FOUND);
  // An empty key path refuses before any call, and the default is not used.
  EXPECT_EQ(Read(L"", L"", REG_SZ, fallback), RegValue());
  EXPECT_EQ(RegLastError(), kEmptyPathStatus);
}

TEST(RegRead, EmptyStringsAndNoDataReadAsEmptyText) {
  ScratchKey scratch;
  shell_test::PutRaw(kRoot, scratch.Path(), L"terminator only", REG_SZ, L"", sizeof(wchar_t));
  shell_test::PutRaw(kRoot, scratch.Path(), L"no data", REG_SZ, nullptr, 0);
  shell_test::PutRaw(kRoot, scratch.Path(), L"multi no data", REG_MULTI_SZ, nullptr, 0);
  for (const auto& [name, type] :
       {std::pair{L"terminator only", REG_SZ}, std::pair{L"no data", REG_SZ},
        std::pair{L"multi no data", REG_MULTI_SZ}}) {
    EXPECT_EQ(Read(scratch.Path(), name, type, L"x"s), RegValue(L""s)) << name;
    EXPECT_EQ(RegLastError(), 0) << name;
  }
}

TEST(RegReadWrite, ChineseTextCrossesInCodePage936AndComesBackWhole) {
  ASSERT_EQ(GetACP(), 936u) << "the tests need the Chinese locale (LANG=zh_CN.UTF-8)";
  ScratchKey scratch;
  const std::wstring text = L"去除R&eal事件：影片《星空》";
  const std::wstring path = scratch.Path(L"类别\\子键");
  WriteRegValue(kRoot, path, L"名称", text, REG_SZ);
  EXPECT_EQ(RegLastError(), 0);
  // Windows holds it as the same Unicode text, and the narrow side sees GBK with one terminator.
  EXPECT_EQ(ReadText(kRoot, path, L"名称"), text);
  EXPECT_EQ(platform::ToAnsi(text).substr(0, 4), "\xC8\xA5\xB3\xFD");
  EXPECT_EQ(Read(path, L"名称", REG_SZ), RegValue(text));
  EXPECT_EQ(RegLastError(), 0);
}

TEST(RegReadWrite, MultiStringsAreLinesEndedByCrLf) {
  ScratchKey scratch;
  WriteRegValue(kRoot, scratch.Path(), L"list", L"甲\r\nb\r\n", REG_MULTI_SZ);
  const auto raw = ReadRaw(kRoot, scratch.Path(), L"list");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(ReadText(kRoot, scratch.Path(), L"list"), L"甲\0b\0"s);
  EXPECT_EQ(Read(scratch.Path(), L"list", REG_MULTI_SZ), RegValue(L"甲\r\nb\r\n"s));

  // Whichever string type is asked, an empty text is stored as REG_SZ without data.
  WriteRegValue(kRoot, scratch.Path(), L"empty", L"", REG_MULTI_SZ);
  const auto empty = ReadRaw(kRoot, scratch.Path(), L"empty");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->type, static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(empty->bytes.empty());
}

TEST(RegRead, AStringIsCutBeforeTheLastNulLeftInIt) {
  ScratchKey scratch;
  const std::wstring data = L"ab\0cd\0"s;
  shell_test::PutRaw(kRoot, scratch.Path(), L"v", REG_SZ, data.data(),
                     static_cast<DWORD>(data.size() * sizeof(wchar_t)));
  EXPECT_EQ(Read(scratch.Path(), L"v", REG_SZ), RegValue(L"ab"s));
}

TEST(RegReadWrite, NumbersAndBinaryDataOfAtMostFourBytes) {
  ScratchKey scratch;
  WriteRegValue(kRoot, scratch.Path(), L"n", std::int32_t{-5}, REG_DWORD);
  DWORD type = REG_BINARY;  // the caller's guess is overwritten by the stored type
  EXPECT_EQ(ReadRegValue(kRoot, scratch.Path(), L"n", type), RegValue(std::int32_t{-5}));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

  const std::vector<std::uint8_t> two = {0x34, 0x12};
  WriteRegValue(kRoot, scratch.Path(), L"two", two, REG_BINARY);
  EXPECT_EQ(ReadRaw(kRoot, scratch.Path(), L"two")->bytes, two);
  type = REG_DWORD;
  EXPECT_EQ(ReadRegValue(kRoot, scratch.Path(), L"two", type), RegValue(std::int32_t{0x1234}));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

  const std::vector<std::uint8_t> eight(8, 0xAB);
  WriteRegValue(kRoot, scratch.Path(), L"eight", eight, REG_BINARY);
  type = REG_BINARY;
  EXPECT_EQ(ReadRegValue(kRoot, scratch.Path(), L"eight", type, L"d"s), RegValue(L"d"s));
  EXPECT_EQ(RegLastError(), ERROR_MORE_DATA);
}

TEST(RegWrite, KeysAlongThePathAreCreatedEvenWhenNothingIsWritten) {
  ScratchKey scratch;
  WriteRegValue(kRoot, scratch.Path(L"一\\二\\三\\四"), L"", L"深", REG_SZ);
  EXPECT_EQ(RegLastError(), 0);
  EXPECT_EQ(ReadText(kRoot, scratch.Path(L"一\\二\\三\\四")), L"深");

  // An unlisted type creates the key and stores nothing, successfully.
  WriteRegValue(kRoot, scratch.Path(L"expand"), L"v", L"%TMP%", REG_EXPAND_SZ);
  EXPECT_EQ(RegLastError(), 0);
  EXPECT_TRUE(shell_test::KeyExists(kRoot, scratch.Path(L"expand")));
  EXPECT_TRUE(shell_test::ValueNames(kRoot, scratch.Path(L"expand")).empty());

  // A value of the wrong kind for a listed type is refused before anything is created.
  WriteRegValue(kRoot, scratch.Path(L"wrong"), L"v", L"12", REG_DWORD);
  EXPECT_EQ(RegLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(shell_test::KeyExists(kRoot, scratch.Path(L"wrong")));

  WriteRegValue(kRoot, L"", L"v", L"x", REG_SZ);
  EXPECT_EQ(RegLastError(), kEmptyPathStatus);
}

TEST(RegDelete, NestedTreesGoDeepestFirst) {
  ScratchKey scratch;
  for (const wchar_t* leaf :
       {L"tree\\甲\\一\\x", L"tree\\甲\\二", L"tree\\乙", L"tree\\丙\\深\\更深"}) {
    shell_test::CreateKey(kRoot, scratch.Path(leaf));
  }
  shell_test::CreateKey(kRoot, scratch.Path(L"sibling"));
  // A key that still has subkeys cannot be deleted, so a complete removal proves the order.
  ASSERT_NE(RegDeleteKeyW(kRoot, scratch.Path(L"tree").c_str()), ERROR_SUCCESS);

  DeleteRegKeyTree(kRoot, scratch.Path(), L"tree");
  EXPECT_EQ(RegLastError(), 0);
  EXPECT_EQ(shell_test::SubKeys(kRoot, scratch.Path()), Names{L"sibling"});

  DeleteRegKeyTree(kRoot, scratch.Path(), L"sibling");
  EXPECT_EQ(RegLastError(), 0);
  EXPECT_TRUE(shell_test::SubKeys(kRoot, scratch.Path()).empty());
}

TEST(RegDelete, AMissingParentIsCreatedEmptyAndTheDeleteFails) {
  ScratchKey scratch;
  DeleteRegKeyTree(kRoot, scratch.Path(L"no\\such"), L"key");
  EXPECT_EQ(RegLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(shell_test::KeyExists(kRoot, scratch.Path(L"no\\such")));
  EXPECT_TRUE(shell_test::SubKeys(kRoot, scratch.Path(L"no\\such")).empty());

  // An empty key name deletes nothing, least of all the parent.
  DeleteRegKeyTree(kRoot, scratch.Path(), L"");
  EXPECT_EQ(RegLastError(), kEmptyPathStatus);
  EXPECT_TRUE(shell_test::KeyExists(kRoot, scratch.Path(L"no\\such")));
}

TEST(RegDelete, AnOpenKeyServesAsRootAndStaysOpen) {
  ScratchKey scratch;
  shell_test::CreateKey(kRoot, scratch.Path(L"child\\grandchild"));
  HKEY open = nullptr;
  ASSERT_EQ(RegOpenKeyExW(kRoot, scratch.Path().c_str(), 0, KEY_ALL_ACCESS, &open), ERROR_SUCCESS);
  DeleteRegKeyTree(open, L"", L"child");
  EXPECT_EQ(RegLastError(), 0);
  EXPECT_FALSE(shell_test::KeyExists(kRoot, scratch.Path(L"child")));
  // The caller's handle was not closed behind its back.
  WriteRegValue(open, L"after", L"", L"ok", REG_SZ);
  EXPECT_EQ(RegLastError(), 0);
  RegCloseKey(open);
}

TEST(RegList, ACompleteListingEndsWithNoMoreItems) {
  ScratchKey scratch;
  for (const wchar_t* name : {L"command", L"去除R&eal事件", L"shell_Old"}) {
    shell_test::CreateKey(kRoot, scratch.Path(name));
  }
  Names names = ListRegSubKeys(kRoot, scratch.Path(), -1);
  EXPECT_EQ(RegLastError(), ERROR_NO_MORE_ITEMS);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, shell_test::SubKeys(kRoot, scratch.Path()));
  EXPECT_EQ(names.size(), 3u);

  // One index gives that one name, or nothing past the end.
  const Names one = ListRegSubKeys(kRoot, scratch.Path(), 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_NE(std::find(names.begin(), names.end(), one[0]), names.end());
  EXPECT_TRUE(ListRegSubKeys(kRoot, scratch.Path(), 3).empty());
  EXPECT_EQ(RegLastError(), ERROR_NO_MORE_ITEMS);

  EXPECT_TRUE(ListRegSubKeys(kRoot, scratch.Path(L"command"), -1).empty());
  EXPECT_EQ(RegLastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_TRUE(ListRegSubKeys(kRoot, scratch.Path(L"absent"), -1).empty());
  EXPECT_EQ(RegLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(RegText, TrimAtNullDecodesAnsiBytesFirst) {
  EXPECT_EQ(TrimAtNull(Bytes("\xCA\xC2\xBC\xFE\0garbage"s)), L"事件");
  EXPECT_EQ(TrimAtNull(Bytes("shell")), L"shell");
  EXPECT_EQ(TrimAtNull(Bytes(""s)), L"");
}

}  // namespace
}  // namespace shell::reg

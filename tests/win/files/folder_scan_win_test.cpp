#include "files/folder_scan.h"

#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "files/item_merge.h"
#include "platform/screen_pointer.h"
#include "platform/unique_handle.h"
#include "test_support.h"

namespace files {
namespace {

using testing_win::ScratchFolder;
using Paths = std::vector<std::wstring>;

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  ASSERT_TRUE(testing_win::WriteBytes(path, "x")) << path;
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes)) << path;
}

// The entries of a folder in the order the file system lists them, "." and ".." left out.
Paths ListingOrder(const std::wstring& folder) {
  Paths names;
  WIN32_FIND_DATAW entry;
  platform::UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (!find) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.Get(), &entry));
  return names;
}

Paths Scan(const std::wstring& folder, const std::wstring& patterns) {
  // The scan text starts with a NUL before its first path.
  const std::wstring text = ScanFolder(folder, patterns);
  if (text.empty()) return {};
  EXPECT_EQ(text.front(), L'\0');
  return SplitBatch(std::wstring_view(text).substr(1), kBatchSeparator);
}

TEST(ScanFolder, WalksARealTreeInScanOrder) {
  ScratchFolder root;
  const std::wstring f = root.Path();
  // Thai letters: CP936 cannot spell them, so neither the file nor the folder is ever reported.
  const std::wstring unspellable = L"\u0E44\u0E17\u0E22";
  char probe[16];
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, 0, unspellable.c_str(), -1, probe, sizeof(probe), nullptr,
                      &usedDefault);
  ASSERT_TRUE(usedDefault) << "the code page spells the Thai name";

  for (const wchar_t* folder : {L"A", L"A\\A1", L"B", L"电影", L"locked"}) {
    ASSERT_TRUE(CreateDirectoryW((f + L"\\" + folder).c_str(), nullptr));
  }
  ASSERT_TRUE(CreateDirectoryW((f + L"\\" + unspellable).c_str(), nullptr));
  MakeFile(f + L"\\f1.rm");
  MakeFile(f + L"\\f2.RM");
  MakeFile(f + L"\\readme");
  MakeFile(f + L"\\note.txt");
  MakeFile(f + L"\\hidden.rm", FILE_ATTRIBUTE_HIDDEN);
  MakeFile(f + L"\\system.rm", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  MakeFile(f + L"\\" + unspellable + L".rm");
  MakeFile(f + L"\\A\\a1.rm");
  MakeFile(f + L"\\A\\A1\\x.rm");
  MakeFile(f + L"\\B\\b1.rm");
  MakeFile(f + L"\\电影\\片.RMVB");
  MakeFile(f + L"\\" + unspellable + L"\\t.rm");
  MakeFile(f + L"\\locked\\l.rm");

  // A folder held open without sharing cannot be listed: it adds nothing, and the scan goes on.
  platform::UniqueHandle lock(CreateFileW((f + L"\\locked").c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(lock);

  // Subfolder results come last-found first, then the folder's own files in listing order.
  const std::map<std::wstring, Paths> subfolderResults = {
      {L"A", {f + L"\\A\\A1\\x.rm", f + L"\\A\\a1.rm"}},
      {L"B", {f + L"\\B\\b1.rm"}},
      {L"电影", {f + L"\\电影\\片.RMVB"}},
      {L"locked", {}},
  };
  const std::map<std::wstring, std::wstring> ownResults = {
      {L"f1.rm", f + L"\\f1.rm"},         {L"f2.RM", f + L"\\f2.RM"},
      {L"readme", f + L"\\readme."},      {L"hidden.rm", f + L"\\hidden.rm"},
      {L"system.rm", f + L"\\system.rm"},
  };
  const Paths listing = ListingOrder(f);
  Paths expected;
  for (auto name = listing.rbegin(); name != listing.rend(); ++name) {
    if (const auto sub = subfolderResults.find(*name); sub != subfolderResults.end()) {
      expected.insert(expected.end(), sub->second.begin(), sub->second.end());
    }
  }
  for (const std::wstring& name : listing) {
    if (const auto own = ownResults.find(name); own != ownResults.end()) {
      expected.push_back(own->second);
    }
  }

  // Upper-case patterns match too: both sides are lower-cased.
  EXPECT_EQ(Scan(f, L"*.RM;*.;*.rmvb"), expected);
  EXPECT_EQ(Scan(f + L"\\", L"*.RM;*.;*.rmvb"), expected);
  EXPECT_EQ(Scan(f, L"片*"), (Paths{f + L"\\电影\\片.RMVB"}));
  EXPECT_EQ(Scan(f, L"readme."), (Paths{f + L"\\readme."}));
}

TEST(ScanFolder, NothingToListGivesTheEmptyText) {
  ScratchFolder root;
  MakeFile(root / L"a.rm");
  EXPECT_EQ(ScanFolder(L"", L"*.rm"), L"");
  EXPECT_EQ(ScanFolder(root / L"missing", L"*.rm"), L"");
  EXPECT_EQ(ScanFolder(root / L"a.rm", L"*"), L"");
  EXPECT_EQ(ScanFolder(root.Path(), L""), L"");
  EXPECT_FALSE(platform::IsBusyPointerShown());
}

TEST(ScanFolder, HandlesWindowMessagesUnderTheBusyPointerWhileItRuns) {
  ScratchFolder root;
  for (int i = 0; i < 400; ++i) MakeFile(root / (L"clip" + std::to_wstring(i) + L".rm"));

  bool scanning = false;
  int handledDuringScan = 0;
  bool busyEveryTime = true;
  testing_win::AppMessageWindow window([&](UINT) {
    if (!scanning) return;
    ++handledDuringScan;
    busyEveryTime = busyEveryTime && platform::IsBusyPointerShown();
  });
  // Waiting in the queue when the scan starts: handled before the scan returns.
  PostMessageW(window.Handle(), WM_APP, 0, 0);
  // And sent from another thread all along: each one is handled only where the scan lets this
  // thread's messages through.
  std::atomic<bool> stop = false;
  std::thread sender([&] {
    DWORD_PTR answer = 0;
    while (!stop) {
      SendMessageTimeoutW(window.Handle(), WM_APP + 1, 0, 0, SMTO_NORMAL, 100, &answer);
    }
  });
  scanning = true;
  const std::wstring text = ScanFolder(root.Path(), L"*.rm");
  scanning = false;
  stop = true;
  sender.join();

  EXPECT_EQ(SplitBatch(text, kBatchSeparator).size(), 401u);  // a NUL before each path
  EXPECT_GE(handledDuringScan, 1);
  EXPECT_TRUE(busyEveryTime);
  EXPECT_FALSE(platform::IsBusyPointerShown());
}

}  // namespace
}  // namespace files

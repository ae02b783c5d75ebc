#include "files/list_files_from_folder.h"

#include <optional>
#include <utility>

#include "files/dialog_text.h"
#include "files/file_dialog.h"
#include "files/folder_scan.h"
#include "files/path_part.h"
#include "platform/message_pump.h"
#include "platform/screen_dpi.h"
#include "platform/user_message.h"

namespace files {
namespace {

// Where the pattern box opens: half the screen less 3000 twips across, less 300 down, with the
// screen measured in twips as whole pixels times whole twips per pixel, each half truncated.
POINT PatternBoxTwips() {
  const int dpi = platform::SystemDpi();
  const int twipsPerPixel = 1440 / dpi > 0 ? 1440 / dpi : 1;
  const int widthTwips = GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel;
  const int heightTwips = GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel;
  return {widthTwips / 2 - 3000, heightTwips / 2 - 300};
}

// "正在扫描文件..." after the owner's caption while a scan runs; the caption comes back after.
class ScanStatus {
 public:
  explicit ScanStatus(HWND owner) : owner_(owner) {
    if (owner_ == nullptr) return;
    const int length = GetWindowTextLengthW(owner_);
    caption_.resize(static_cast<size_t>(length) + 1);
    caption_.resize(static_cast<size_t>(GetWindowTextW(owner_, caption_.data(), length + 1)));
    SetWindowTextW(owner_, (caption_ + L" - 正在扫描文件...").c_str());
  }
  ~ScanStatus() {
    if (owner_ != nullptr && IsWindow(owner_)) SetWindowTextW(owner_, caption_.c_str());
  }
  ScanStatus(const ScanStatus&) = delete;
  ScanStatus& operator=(const ScanStatus&) = delete;

 private:
  HWND owner_;
  std::wstring caption_;
};

std::wstring ScanWithStatus(const std::wstring& folder, const std::wstring& patterns) {
  ScanStatus status(platform::ActiveOwner());
  return ScanFolder(folder, patterns);
}

// Offers the widening to all like files: the scan text after Yes and a pattern, or nothing when
// the user keeps the picked files.
std::optional<std::wstring> OfferFolderScan(const std::wstring& picked, std::wstring patterns,
                                            InputBoxFunction inputBox) {
  // A copy: the messages handled below may open another dialog.
  const std::wstring folder = RememberedDialog().lastDir;
  const int answer =
      platform::ShowUserMessage(L"要选择 " + folder + L" 及其子文件夹下所有同类文件吗？",
                                MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer != IDYES) return std::nullopt;
  // The closed box's area repaints before the pattern box opens.
  static_cast<void>(platform::PumpPendingMessages());
  if (inputBox == nullptr) return std::nullopt;
  if (patterns.empty()) patterns = GetPathPart(picked, 2);
  const POINT at = PatternBoxTwips();
  std::wstring typed =
      inputBox(platform::ActiveOwner(), kPatternPrompt, L"*." + patterns, at.x, at.y);
  if (typed.empty()) return std::nullopt;
  if (typed.find(L'.') == std::wstring::npos) typed = L"*" + typed + L"*";
  return ScanWithStatus(folder, typed);
}

}  // namespace

std::wstring ListFilesFromFolder(const std::wstring& folder, std::wstring patterns,
                                 bool askSubfolders, InputBoxFunction inputBox) {
  std::wstring result;
  if (!folder.empty()) {
    result = ScanWithStatus(folder, patterns);
  } else {
    std::wstring filter(kDefaultFilterName);
    result = ShowFileDialog(kDialogOpenMany, filter, kAddFilesTitle, L"");
    if (!result.empty() && askSubfolders) {
      std::optional<std::wstring> scanned = OfferFolderScan(result, std::move(patterns), inputBox);
      if (scanned) result = std::move(*scanned);
    }
  }
  // Every listing the scan opened is closed by now: its handles are owned by the scope that
  // opened them.
  if (!result.empty() && result.front() == L'\0') result.erase(0, 1);
  return result;
}

}  // namespace files

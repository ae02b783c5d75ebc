#include "dialog_steps.h"

#include "dialog_driver.h"
#include "target_window.h"
#include "ui/input_box.h"

namespace gui {
namespace {

HWND Dialog(HWND window, double seconds) {
  return testing_win::WaitForDialog(GetWindowThreadProcessId(window, nullptr), nullptr, seconds);
}

}  // namespace

bool PickFiles(HWND window, const std::wstring& folder, const std::wstring& names) {
  HWND dialog = Dialog(window, 10);
  if (dialog == nullptr || GetDlgItem(dialog, testing_win::kFileNameBox) == nullptr) return false;
  return testing_win::PickInFolder(dialog, folder, names) &&
         testing_win::WaitUntilClosed(dialog, 5);
}

std::wstring DescribeDialog(HWND window, double seconds) {
  HWND dialog = Dialog(window, seconds);
  if (dialog == nullptr) return L"none\n";
  std::wstring text = L"caption=" + TextOf(dialog) + L"\n";
  if (HWND edit = GetDlgItem(dialog, ui::kIdInputBoxEdit)) {
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    text += L"prompt=" + TextOf(GetDlgItem(dialog, ui::kIdInputBoxPrompt)) + L"\n";
    text += L"edit=" + TextOf(edit) + L"\n";
    text += L"at=" + std::to_wstring(frame.left) + L"," + std::to_wstring(frame.top) + L"\n";
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    text += L"screen=" + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"," +
            std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L"," + std::to_wstring(dpi) + L"\n";
  } else {
    text += L"text=" + testing_win::MessageBoxText(dialog) + L"\n";
  }
  text += L"default=" + std::to_wstring(testing_win::DefaultButton(dialog)) + L"\n";
  return text;
}

bool PressInDialog(HWND window, int id) {
  HWND dialog = Dialog(window, 10);
  if (dialog == nullptr || GetDlgItem(dialog, id) == nullptr) return false;
  testing_win::Press(dialog, id);
  return true;
}

bool AnswerInputBox(HWND window, const std::wstring& text) {
  HWND dialog = Dialog(window, 10);
  if (dialog == nullptr || GetDlgItem(dialog, ui::kIdInputBoxEdit) == nullptr) return false;
  SetWindowTextW(GetDlgItem(dialog, ui::kIdInputBoxEdit), text.c_str());
  testing_win::Press(dialog, IDOK);
  return true;
}

}  // namespace gui

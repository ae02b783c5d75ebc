// A small modal box that asks for one line of text: a prompt, an edit box with a proposed answer,
// OK and Cancel, under the application's title unless given one of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace ui {

// Control ids, for the GUI test driver; OK and Cancel are IDOK and IDCANCEL.
inline constexpr int kIdInputBoxPrompt = 1001;
inline constexpr int kIdInputBoxEdit = 1002;

struct TwipsPoint {
  int left = 0;
  int top = 0;
};

// Shows the box owned by `owner` (may be null) and returns the text in the edit box when OK or
// Enter closes it, the empty text when Cancel, Esc or the close box does. The proposed answer
// comes selected, so typing replaces it. `position` is the screen position of the box's top-left
// corner in twips; without one the box is centred on the screen.
std::wstring InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title,
                      std::wstring_view defaultText, std::optional<TwipsPoint> position);

}  // namespace ui

// Building a form's controls from their layout: the Win32 side of the layout tables.
#pragma once

#include <functional>
#include <string_view>

#include <windows.h>

#include "platform/unique_handle.h"
#include "ui/control_layout.h"

namespace ui {

struct FontTraits {
  using Type = HFONT;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { DeleteObject(h); }
};
using UniqueFont = platform::UniqueOwner<FontTraits>;

// Registers the window class of a form (button-face background, arrow pointer), unless it is
// registered already; with `withIcon`, the program's icon is the class's. False on failure.
[[nodiscard]] bool RegisterFormClass(HINSTANCE instance, const wchar_t* className,
                                     WNDPROC windowProc, bool withIcon);

// The system's message font, the one message boxes use, after `change` (when given) has adjusted
// its description; empty when it cannot be made.
UniqueFont CreateMessageFont(const std::function<void(LOGFONTW&)>& change = {});

// Creates one child control of `form` at its layout position converted with `dpi`, in the given
// font (the stock GUI font when `font` is null). Null when the control cannot be created.
HWND CreateControl(HWND form, const ControlLayout& layout, int dpi, HFONT font);

// A tool tip for `control` whose text can be set later; it shows while the mouse rests on the
// control and follows the control's life. Null when it cannot be created.
HWND CreateToolTip(HWND form, HWND control);
void SetToolTipText(HWND toolTip, HWND form, HWND control, std::wstring_view text);

}  // namespace ui

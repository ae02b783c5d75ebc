// Message boxes under the application's title, owned by the window the user is working in: file
// gathering asks and reports through them, and input boxes share the title.
#pragma once

#include <string_view>

#include <windows.h>

namespace platform {

// The title of message boxes and input boxes that have none of their own.
inline constexpr wchar_t kApplicationTitle[] = L"Quellin";

// The window of this thread the user is working in, or null: owner of the boxes shown here.
HWND ActiveOwner();

// MessageBoxW under the application's title; returns the button pressed (0 when it failed).
int ShowUserMessage(std::wstring_view text, UINT style);

}  // namespace platform

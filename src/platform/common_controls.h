// The common controls (tool tips, window subclassing) from comctl32.dll in the system folder.
// comctl32 is not among the libraries the system maps from its own folder, and this program asks
// for no side-by-side version of it, so an import by name would take a comctl32.dll lying beside
// Quellin.exe first (see system_library.h). The functions keep the names and meaning of the
// comctl32 functions they stand for.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace platform {

// Registers the window classes `classes` (ICC_* flags); false when comctl32 is missing or refuses.
bool InitCommonControls(DWORD classes);

// Window subclassing; each fails (FALSE) when comctl32 is missing, and then the window keeps
// its own behaviour.
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// Called only from a subclass procedure, so comctl32 is there; DefWindowProcW stands in anyway.
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform

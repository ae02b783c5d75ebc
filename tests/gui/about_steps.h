// The driver's steps on the About window, which the main window's "..." button opens modally.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

// True for the commands AboutStep handles; all of them start with "about-".
bool IsAboutStep(const std::wstring& command);

// about-wait [S]           until an About window of the process is visible (default 10 s);
//                          prints its handle, which tells one opening from the next
// about-geometry           its screen rectangle: X Y W H
// about-window             caption, client size, frame, tool window, owner, whether the main
//                          window is disabled and whether it is centred on the screen
// about-controls           its controls, as "controls" describes the main window's
// about-tooltip ID         the text of the tool tip of control ID
// about-icon               icon | none: whether the image control shows an icon
// about-focus              the focused control's id
// about-key NAME           press and release escape|tab|return|space|a at the focused control;
//                          prints closed (the window went within 2 s) or open
// about-close              the close box (WM_CLOSE); prints closed or open
// about-dblclick ID        a double click in the middle of control ID
// about-selection ID       the selection of text box ID: "START END"
// about-select ID A B      sets that selection
// about-text ID            the control's text
// about-settext ID TEXT    sets the control's text
// about-inf                presses "Inf", prints the caption of the window that opens over the
//                          About window (or "none" within 10 s) and closes it
int AboutStep(DWORD pid, const std::vector<std::wstring>& args);

}  // namespace gui

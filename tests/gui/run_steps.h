// The driver's steps around an event-clearing run: pressing the clear button and watching it
// through the run, the Notepad a run opens, and a film held open the way a player holds it.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace gui {

// True for the commands RunStep handles.
bool IsRunStep(const std::wstring& command);

// watch-run ID [S] [--during ID2]: posts a click to button ID of the main window of `pid`, then
// watches the button until it has been disabled and enabled again (at most S seconds, default
// 60). With --during, button ID2 is pressed once the run is seen under way. Prints
// "disabled-during-run=0|1 enabled-after=0|1". With --during close, the window is closed instead,
// and it prints "disabled-during-run=1 ended=0|1": whether the program ended within 10 s.
// watch-captions ID [S]: posts a click to button ID and samples the main window's caption until
// the button has been disabled and enabled again (at most S seconds, default 60); prints the
// caption before the click and each different one after, one a line, in UTF-8.
// notepads [S]: waits up to S seconds (default 10) for a Notepad window; prints how many there are.
// hold PATH RELEASE [S]: opens PATH for reading without delete sharing, prints "held" (or
// "cannot open") and keeps it open until the file RELEASE exists (at most S seconds, default 60).
int RunStep(DWORD pid, const std::vector<std::wstring>& args);

}  // namespace gui

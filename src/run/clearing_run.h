// The event-clearing run: the body of the main window's clear button, and the whole of the
// one-shot mode. It works on the window's controls by their handles, so the window's handler is one
// call.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace run {

struct RunControls {
  HWND list = nullptr;         // L: one film path per entry
  HWND clearButton = nullptr;  // Command2: disabled while the run lasts
  HWND sameName = nullptr;     // Ch: when ticked, cleaned copies replace their originals
};

// One run: reads TMP once, disables the clear button, writes "<TMP>\Go.bat" (rmevents once per
// entry, its reports into ret.txt), runs it hidden and waits while the window keeps handling its
// events, opens ret.txt in Notepad without waiting, runs the replacement step over the list as it
// then stands when Ch is ticked, and enables the button again. The list is not changed. Every step
// that fails is skipped; nothing is reported but the tool's own output in Notepad.
void ClearEvents(const RunControls& controls) noexcept;

}  // namespace run

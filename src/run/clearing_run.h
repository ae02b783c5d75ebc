// The event-clearing run: the body of the main window's clear button, and the whole of the
// one-shot mode. It works on the window's controls by their handles, so the window's handler is one
// call.
#pragma once

#include <windows.h>

#include "run/run_progress.h"

namespace run {

struct RunControls {
  HWND list = nullptr;         // L: one film path per entry
  HWND clearButton = nullptr;  // Command2: disabled while the run lasts
  HWND sameName = nullptr;     // Ch: when ticked, cleaned copies replace their originals
  // Where the run shows how far it has got, if anywhere.
  ProgressView* progress = nullptr;
};

// One run: reads TMP once, disables the clear button, waits its turn among the runs that share
// TMP, writes "<TMP>\Go.bat" (rmevents once per entry, its reports into ret.txt), runs it hidden
// and waits while the window keeps handling its events, runs the replacement step over the list
// as it then stands when Ch is ticked, appends what became of each film to ret.txt, opens it in
// Notepad and, once Notepad has read it, lets the next run go and enables the button again. The
// list is not changed. Every step that fails is skipped; the only report is ret.txt in Notepad.
void ClearEvents(const RunControls& controls) noexcept;

}  // namespace run

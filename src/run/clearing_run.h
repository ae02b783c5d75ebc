// The event-clearing run: the body of the main window's clear button, and the whole of the
// one-shot mode. It works on the window's controls by their handles, so the window's handler is one
// call.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "run/run_progress.h"
#include "run/run_stop.h"

namespace run {

struct RunControls {
  HWND list = nullptr;         // L: one film path per entry
  HWND clearButton = nullptr;  // Command2: disabled while the run lasts
  HWND sameName = nullptr;     // Ch: when ticked, cleaned copies replace their originals
  // Where the run shows how far it has got, if anywhere.
  ProgressView* progress = nullptr;
  // How the window stops the run, if it can.
  RunStop* stop = nullptr;
  // Names other starts handed over that are no usable film paths: not run, named in the report.
  std::vector<std::wstring> refused;
};

// One run: reads TMP once, disables the clear button, takes the list's films, waits its turn among
// the runs that share TMP, makes ret.txt, the status file and Event.txt afresh, writes
// "<TMP>\Go.bat" (rmevents once per film), runs it hidden in a job of its own and waits while the
// window keeps handling its events. Then, for the films the tool finished, runs the replacement
// step when Ch is ticked, appends what became of each film to ret.txt, opens it in Notepad and,
// once Notepad has read it, lets the next run go and enables the button again. A stopped run ends
// its batch at once, keeps the film under way whole, judges the films done, reports and opens no
// Notepad. The list is not changed. Every step that fails is skipped or reported in ret.txt.
void ClearEvents(const RunControls& controls) noexcept;

}  // namespace run

// Where the program's own logic begins, before any window exists.
#pragma once

namespace app {

// Opens the main window (which, started with file names, makes its run and ends the program
// without returning) and returns once the window is up.
void Main();

}  // namespace app

#include "app/main.h"

#include <windows.h>
#include <ole2.h>

#include "startup/auto_extract.h"
#include "ui/main_window.h"

namespace app {

void Main() {
  // Files dropped from Explorer arrive through OLE, and the file dialogs want it too. A program
  // without it still runs; the list then takes no drops.
  static_cast<void>(OleInitialize(nullptr));

  // rmevents.exe travels inside this program, and every run expects it in TMP. Whether it could
  // be written or not, the window opens: a missing tool shows in the run's own output.
  startup::AutoExtract(startup::TempTargetDir(), {L"rmevents.exe"});

  // Created once and lives as long as the program: closing it ends the process.
  static ui::MainWindow window;
  if (!window.Create(GetModuleHandleW(nullptr))) ExitProcess(1);
  window.Form_Load();
  window.Show();
}

}  // namespace app

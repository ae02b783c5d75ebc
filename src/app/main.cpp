#include "app/main.h"

#include <windows.h>

#include "ui/main_window.h"

namespace app {

void Main() {
  // Bringing rmevents.exe into TMP from the program's own payload comes first here; it arrives
  // with the start-up module.

  // Created once and lives as long as the program: closing it ends the process.
  static ui::MainWindow window;
  if (!window.Create(GetModuleHandleW(nullptr))) ExitProcess(1);
  window.Form_Load();
  window.Show();
}

}  // namespace app

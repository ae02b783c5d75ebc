#include "app/main.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <ole2.h>

#include "platform/temp_folder.h"
#include "process/get_arguments.h"
#include "run/one_shot_gathering.h"
#include "run/run_lock.h"
#include "startup/auto_extract.h"
#include "ui/main_window.h"
#include "ui/main_window_ids.h"
#include "ui/run_progress_view.h"

namespace app {
namespace {

// Waits for the run lock with a sign of life: the window, disabled and captioned as waiting, or,
// for a start with films (whose window is never shown), the notification icon. Without one, users
// take the program for dead and start it again.
void WaitVisibly(run::RunLock& lock, ui::MainWindow& window, bool oneShot) {
  HWND handle = window.Handle();
  EnableWindow(handle, FALSE);
  if (oneShot) {
    ui::TrayProgress tray(handle, ui::kTrayIconMessage);
    tray.Waiting();
    (void)lock.AcquirePumping();
  } else {
    ui::WindowProgress view(handle);
    view.Waiting();
    window.Show();
    (void)lock.AcquirePumping();
    view.End(true);
  }
  EnableWindow(handle, TRUE);
}

// rmevents.exe travels inside this program, and every run expects it in TMP. Whether it could be
// written or not, the window opens: a missing tool shows in the run's own output. Writing it
// waits for any run of this TMP: that run's batch may be starting the tool at this moment, and a
// tool replaced under it would be half-written or refused. The look without the lock is only a
// shortcut; the extraction looks again once it holds the lock.
void BringToolIntoTemp(const std::wstring& tempFolder, ui::MainWindow& window, bool oneShot) {
  const std::wstring targetDir = startup::TempTargetDir();
  const std::vector<std::wstring> names = {L"rmevents.exe"};
  if (!startup::NeedsExtraction(targetDir, names)) return;
  run::RunLock lock(tempFolder);
  if (!lock.TryAcquire()) {
    if (lock.IsOpen()) {
      WaitVisibly(lock, window, oneShot);
    } else {
      (void)lock.Acquire();
    }
  }
  (void)startup::AutoExtract(targetDir, names);
}

}  // namespace

void Main() {
  const std::wstring tempFolder = platform::TempFolder();
  // Explorer starts one of us per selected film: the first gathers the films of the others into
  // its one run, and the others end here, before they do any work of their own.
  std::unique_ptr<run::OneShotGathering> gathering;
  const std::vector<std::wstring> films = process::GetArguments(process::kOwnCommandLine);
  if (!films.empty()) {
    gathering = std::make_unique<run::OneShotGathering>(tempFolder);
    switch (gathering->JoinOrOpen(films)) {
      case run::OneShotGathering::Role::kHandedOver:
        ExitProcess(0);
      case run::OneShotGathering::Role::kAlone:
        gathering.reset();
        break;
      case run::OneShotGathering::Role::kGathering:
        break;
    }
  }

  // Files dropped from Explorer arrive through OLE, and the file dialogs want it too. A program
  // without it still runs; the list then takes no drops.
  static_cast<void>(OleInitialize(nullptr));

  // Created once and lives as long as the program: closing it ends the process. Made before the
  // tool is brought in, so a start that has to wait for that can show it is waiting.
  static ui::MainWindow window;
  if (!window.Create(GetModuleHandleW(nullptr))) ExitProcess(1);
  BringToolIntoTemp(tempFolder, window, !films.empty());
  window.Form_Load(gathering.get());
  window.Show();
}

}  // namespace app

// The Windows entry point: Main does the start-up, then this thread serves the window's events
// until the program ends (closing the main window ends the process from inside the loop).
#include <windows.h>

#include "app/main.h"
#include "platform/message_pump.h"
#include "platform/system_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything can load a library: from here on no library comes from the program's own
  // folder or the current one, whoever asks for it.
  platform::RestrictLibrarySearchToSystem();
  app::Main();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) platform::DispatchMessageOf(msg);
  return 0;
}

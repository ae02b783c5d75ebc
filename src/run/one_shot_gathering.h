// One Explorer selection, one run. For a "%1" verb Explorer starts one Quellin per selected film
// within a few milliseconds; the first of them to get here gathers, the others hand their films
// to it and end, and the gatherer makes one run, with one Go.bat, one ret.txt and one Notepad,
// over all of them.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <windows.h>

#include "platform/named_mutex.h"
#include "run/gathering_rules.h"

namespace run {

class OneShotGathering {
 public:
  enum class Role {
    kHandedOver,  // another start took the films: this one ends at once
    kGathering,   // this start gathers: CloseAndCollect before the run
    kAlone,       // no gathering could be joined or opened: this start runs its films alone
  };

  explicit OneShotGathering(std::wstring_view tempFolder);
  ~OneShotGathering();
  OneShotGathering(const OneShotGathering&) = delete;
  OneShotGathering& operator=(const OneShotGathering&) = delete;

  // Hands `films` to the start that gathers for this TMP, or becomes that start. A start whose
  // films the gatherer no longer takes (it has just closed) tries again, and gathers itself once
  // the other has gone.
  [[nodiscard]] Role JoinOrOpen(const std::vector<std::wstring>& films);

  // For the gatherer: waits until the gathering closes (GatheringClock), then takes no more films
  // and returns those handed over, in the order they arrived.
  [[nodiscard]] std::vector<std::wstring> CloseAndCollect();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool OpenWindow();
  void Serve(HANDLE ready);
  bool TakeJoin(const COPYDATASTRUCT& data);
  void Close();

  std::wstring windowName_;
  platform::NamedMutex electMutex_;
  // The window lives on a thread of its own, so joining starts are answered at once while this
  // start brings the tool into TMP and makes its own window.
  std::thread server_;
  HWND window_ = nullptr;

  std::mutex lock_;  // guards what follows, shared by the two threads
  std::condition_variable arrived_;
  std::unique_ptr<GatheringClock> clock_;
  bool closed_ = false;
  std::vector<std::wstring> joined_;
};

}  // namespace run

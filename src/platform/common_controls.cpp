#include "platform/common_controls.h"

#include "platform/system_library.h"

namespace platform {
namespace {

constexpr const wchar_t* kLibrary = L"comctl32.dll";

using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using SetSubclassFunction = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
using RemoveSubclassFunction = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR);
using DefSubclassFunction = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

struct Functions {
  InitFunction init = nullptr;
  SetSubclassFunction setSubclass = nullptr;
  RemoveSubclassFunction removeSubclass = nullptr;
  DefSubclassFunction defSubclass = nullptr;
};

// Looked up once: DefSubclassProc runs for every message of a subclassed window. By name, as the
// import did before.
const Functions& Controls() {
  static const Functions functions = {
      SystemFunction<InitFunction>(kLibrary, "InitCommonControlsEx"),
      SystemFunction<SetSubclassFunction>(kLibrary, "SetWindowSubclass"),
      SystemFunction<RemoveSubclassFunction>(kLibrary, "RemoveWindowSubclass"),
      SystemFunction<DefSubclassFunction>(kLibrary, "DefSubclassProc")};
  return functions;
}

}  // namespace

bool InitCommonControls(DWORD classes) {
  const INITCOMMONCONTROLSEX request = {sizeof(request), classes};
  return Controls().init != nullptr && Controls().init(&request);
}

BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  const SetSubclassFunction set = Controls().setSubclass;
  return set != nullptr && set(window, procedure, id, data);
}

BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  const RemoveSubclassFunction remove = Controls().removeSubclass;
  return remove != nullptr && remove(window, procedure, id);
}

LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DefSubclassFunction next = Controls().defSubclass;
  if (next == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return next(window, message, wParam, lParam);
}

}  // namespace platform

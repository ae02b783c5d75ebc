// Dropping onto a window through OLE drag and drop, the way Explorer drags files: the window gets
// the dropped data and decides what to take from it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <ole2.h>

namespace ui {

// Hands every drop on the window it is registered for to `onDrop`, on the window's thread. Data
// that offers the shell's file list (CF_HDROP) is accepted with the copy effect; other data is
// refused while it is dragged, so the pointer says it cannot be dropped there.
class FileDropTarget final : public IDropTarget {
 public:
  using OnDrop = std::function<void(IDataObject* data)>;

  explicit FileDropTarget(OnDrop onDrop) : onDrop_(std::move(onDrop)) {}
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  ~FileDropTarget() = default;

  OnDrop onDrop_;
  LONG references_ = 1;
  bool offersFiles_ = false;
};

// Makes `window` a drop target handing its drops to `onDrop`. OLE must be initialised on the
// calling thread (OleInitialize). False when the registration failed.
[[nodiscard]] bool RegisterFileDrop(HWND window, FileDropTarget::OnDrop onDrop);

// True when `data` offers the shell's file list.
[[nodiscard]] bool OffersFileList(IDataObject* data);

// The paths of the shell's file list in `data`, in the order the drop source gives them, files
// and folders alike; nothing when it offers no file list.
[[nodiscard]] std::optional<std::vector<std::wstring>> DroppedPaths(IDataObject* data);

}  // namespace ui

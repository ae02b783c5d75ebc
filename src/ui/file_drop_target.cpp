#include "ui/file_drop_target.h"

#include <utility>

#include <shellapi.h>

namespace ui {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The data's storage, locked for reading while in scope and released with it.
class LockedMedium {
 public:
  explicit LockedMedium(STGMEDIUM& medium)
      : medium_(medium),
        memory_(medium.tymed == TYMED_HGLOBAL ? GlobalLock(medium.hGlobal) : nullptr) {}
  ~LockedMedium() {
    if (memory_ != nullptr) GlobalUnlock(medium_.hGlobal);
    ReleaseStgMedium(&medium_);
  }
  LockedMedium(const LockedMedium&) = delete;
  LockedMedium& operator=(const LockedMedium&) = delete;

  [[nodiscard]] HDROP Drop() const { return static_cast<HDROP>(memory_); }

 private:
  STGMEDIUM& medium_;
  void* memory_;
};

}  // namespace

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG FileDropTarget::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  offersFiles_ = OffersFileList(data);
  if (effect != nullptr) *effect = offersFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect != nullptr) *effect = offersFiles_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  offersFiles_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  if (effect != nullptr) *effect = OffersFileList(data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  offersFiles_ = false;
  try {
    onDrop_(data);
  } catch (...) {
    // The drop changes what it could; nothing crosses back into OLE.
  }
  return S_OK;
}

bool RegisterFileDrop(HWND window, FileDropTarget::OnDrop onDrop) {
  auto* target = new FileDropTarget(std::move(onDrop));
  // RegisterDragDrop keeps its own reference for as long as the window is registered.
  const HRESULT result = RegisterDragDrop(window, target);
  target->Release();
  return SUCCEEDED(result);
}

bool OffersFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data != nullptr && data->QueryGetData(&format) == S_OK;
}

std::optional<std::vector<std::wstring>> DroppedPaths(IDataObject* data) {
  if (!OffersFileList(data)) return std::nullopt;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium = {};
  if (FAILED(data->GetData(&format, &medium))) return std::nullopt;
  const LockedMedium locked(medium);
  std::vector<std::wstring> paths;
  if (HDROP drop = locked.Drop()) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      const UINT length = DragQueryFileW(drop, i, nullptr, 0);
      std::wstring path(length + 1, L'\0');
      path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
      paths.push_back(std::move(path));
    }
  }
  return paths;
}

}  // namespace ui

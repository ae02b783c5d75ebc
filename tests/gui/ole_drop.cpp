#include "ole_drop.h"

#include <cstring>

#include <ole2.h>
#include <shlobj.h>

#include "target_window.h"

namespace gui {
namespace {

// IUnknown for an object that lives on the driver's stack for one drag and offers one interface:
// the count is kept only so OLE sees the usual answers.
template <typename Interface, const IID& kInterfaceId>
class OneDragObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kInterfaceId)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

 private:
  ULONG references_ = 1;
};

// One format offered as an HGLOBAL, made afresh for every GetData.
class DataObject final : public OneDragObject<IDataObject, IID_IDataObject> {
 public:
  DataObject(CLIPFORMAT format, std::vector<char> bytes)
      : format_(format), bytes_(std::move(bytes)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
    if (memory == nullptr) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), bytes_.data(), bytes_.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK
                                                                               : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC offered = {format_, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &offered, formats);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  CLIPFORMAT format_;
  std::vector<char> bytes_;
};

// Lets the drag run a few rounds over the target, then drops; notes the window under the pointer
// at the drop, which is the one Wine's drag loop gives the drop to.
class DropSource final : public OneDragObject<IDropSource, IID_IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (++rounds_ < 3) return S_OK;
    POINT pointer = {};
    GetCursorPos(&pointer);
    under_ = WindowFromPoint(pointer);
    return DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  HWND Under() const { return under_; }

 private:
  int rounds_ = 0;
  HWND under_ = nullptr;
};

std::wstring Drag(HWND target, POINT at, CLIPFORMAT format, std::vector<char> bytes) {
  if (FAILED(OleInitialize(nullptr))) return L"result=no-ole";
  SetCursorPos(at.x, at.y);
  DataObject data(format, std::move(bytes));
  DropSource source;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY, &effect);
  OleUninitialize();
  const std::wstring outcome = result == DRAGDROP_S_DROP     ? L"drop"
                               : result == DRAGDROP_S_CANCEL ? L"cancel"
                                                             : L"error";
  std::wstring text =
      L"result=" + outcome + L" effect=" + (effect == DROPEFFECT_COPY ? L"copy" : L"none");
  if (source.Under() != target) text += L" under-pointer=" + ClassOf(source.Under());
  return text;
}

// The bytes of a wide text with its NUL.
std::vector<char> WideBytes(const std::wstring& text) {
  std::vector<char> bytes((text.size() + 1) * sizeof(wchar_t));
  std::memcpy(bytes.data(), text.c_str(), bytes.size());
  return bytes;
}

}  // namespace

std::wstring DropFiles(HWND target, POINT at, const std::vector<std::wstring>& paths) {
  // DROPFILES, then the wide paths, each with its NUL, and one more NUL to end the list.
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  DROPFILES header = {};
  header.pFiles = sizeof(header);
  header.fWide = TRUE;
  std::vector<char> bytes(sizeof(header));
  std::memcpy(bytes.data(), &header, sizeof(header));
  const std::vector<char> names = WideBytes(list);
  bytes.insert(bytes.end(), names.begin(), names.end());
  return Drag(target, at, CF_HDROP, std::move(bytes));
}

std::wstring DropText(HWND target, POINT at, const std::wstring& text) {
  return Drag(target, at, CF_UNICODETEXT, WideBytes(text));
}

}  // namespace gui

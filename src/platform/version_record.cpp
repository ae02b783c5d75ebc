#include "platform/version_record.h"

#include <cstdint>
#include <cwchar>
#include <vector>

#include <windows.h>

#include "platform/system_library.h"

namespace platform {
namespace {

// version.dll is not among the libraries the system maps from its own folder, so it is loaded
// from there by hand rather than imported (see system_library.h).
using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct VersionFunctions {
  SizeFunction size = nullptr;
  InfoFunction info = nullptr;
  QueryFunction query = nullptr;
};

const VersionFunctions& Version() {
  static const VersionFunctions functions = {
      SystemFunction<SizeFunction>(L"version.dll", "GetFileVersionInfoSizeW"),
      SystemFunction<InfoFunction>(L"version.dll", "GetFileVersionInfoW"),
      SystemFunction<QueryFunction>(L"version.dll", "VerQueryValueW")};
  return functions;
}

// A value of the record: its bytes stay inside `data`, which must outlive the result.
const void* QueryValue(std::vector<std::uint8_t>& data, const std::wstring& path, UINT& size) {
  void* value = nullptr;
  size = 0;
  if (!Version().query(data.data(), path.c_str(), &value, &size) || value == nullptr)
    return nullptr;
  return value;
}

std::optional<std::wstring> QueryText(std::vector<std::uint8_t>& data, const std::wstring& block,
                                      const wchar_t* name) {
  UINT size = 0;
  const auto* text = static_cast<const wchar_t*>(QueryValue(data, block + L"\\" + name, size));
  if (text == nullptr) return std::nullopt;
  // The size counts characters and may or may not include the terminating zero.
  return std::wstring(text, wcsnlen(text, size));
}

// "\StringFileInfo\<language><code page>" of the record's first translation; the neutral
// Unicode block when the record lists none.
std::wstring FirstTextBlock(std::vector<std::uint8_t>& data) {
  struct Translation {
    WORD language;
    WORD codePage;
  };
  UINT size = 0;
  const auto* translation =
      static_cast<const Translation*>(QueryValue(data, L"\\VarFileInfo\\Translation", size));
  wchar_t block[40] = L"\\StringFileInfo\\040904b0";
  if (translation != nullptr && size >= sizeof(Translation)) {
    swprintf(block, 40, L"\\StringFileInfo\\%04x%04x", translation->language,
             translation->codePage);
  }
  return block;
}

}  // namespace

VersionRecord ReadVersionRecord(const std::wstring& file) {
  VersionRecord record;
  const VersionFunctions& version = Version();
  if (version.size == nullptr || version.info == nullptr || version.query == nullptr) return record;
  DWORD ignored = 0;
  const DWORD size = version.size(file.c_str(), &ignored);
  if (size == 0) return record;
  std::vector<std::uint8_t> data(size);
  if (!version.info(file.c_str(), 0, size, data.data())) return record;

  UINT fixedSize = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(QueryValue(data, L"\\", fixedSize));
  if (fixed != nullptr && fixedSize >= sizeof(VS_FIXEDFILEINFO) &&
      fixed->dwSignature == VS_FFI_SIGNATURE) {
    record.version = FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                 HIWORD(fixed->dwFileVersionLS)};
  }
  const std::wstring block = FirstTextBlock(data);
  record.productName = QueryText(data, block, L"ProductName");
  record.fileDescription = QueryText(data, block, L"FileDescription");
  return record;
}

}  // namespace platform

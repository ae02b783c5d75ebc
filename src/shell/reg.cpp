#include "shell/reg.h"

#include <string>

#include "platform/text_conversion.h"
#include "platform/unique_handle.h"

namespace shell::reg {
namespace {

// Module state, read and written on the user-interface thread only.
std::int32_t lastError = kStatusOk;

// Subkey names are read into a buffer of 256 bytes: 255 characters of a DBCS name and its NUL.
constexpr DWORD kNameBufferBytes = 256;

void Store(LONG code) { lastError = static_cast<std::int32_t>(code); }

// An owner for a key the layer opened. RegCreateKeyA hands a non-predefined root back itself
// when the path is empty; that handle belongs to the caller and must not be closed here.
class OpenedKey {
 public:
  explicit OpenedKey(HKEY root) : root_(root) {}
  ~OpenedKey() {
    if (key_.Get() == root_) (void)key_.Release();
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  HKEY* Receive() { return key_.Receive(); }
  HKEY Get() const { return key_.Get(); }

 private:
  HKEY root_;
  platform::UniqueKey key_;
};

LONG OpenForReading(OpenedKey& key, HKEY root, std::wstring_view path) {
  const std::string ansiPath = platform::ToAnsi(path);
  return RegOpenKeyExA(root, ansiPath.c_str(), 0, KEY_READ, key.Receive());
}

LONG OpenOrCreate(OpenedKey& key, HKEY root, std::wstring_view path) {
  const std::string ansiPath = platform::ToAnsi(path);
  return RegCreateKeyA(root, ansiPath.c_str(), key.Receive());
}

LONG SetValue(HKEY key, std::wstring_view valueName, DWORD type, const void* data, DWORD size) {
  const std::string ansiName = platform::ToAnsi(valueName);
  return RegSetValueExA(key, ansiName.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

RegValue ReadText(HKEY key, const std::string& ansiName, DWORD valueType,
                  const RegValue& defaultValue) {
  // The probe passes a real buffer with a size of 0: the platform then reports the size needed.
  char probe = 0;
  DWORD size = 0;
  LONG code = RegQueryValueExA(key, ansiName.c_str(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&probe), &size);
  if (code != ERROR_SUCCESS && code != ERROR_MORE_DATA) {
    Store(code);
    return defaultValue;
  }
  if (size < 2) {
    // No data, or the lone terminator of "".
    Store(ERROR_SUCCESS);
    return std::wstring();
  }
  std::string buffer(static_cast<size_t>(size) + 1, ' ');
  code = RegQueryValueExA(key, ansiName.c_str(), nullptr, nullptr,
                          reinterpret_cast<BYTE*>(buffer.data()), &size);
  Store(code);
  if (code != ERROR_SUCCESS)
    return valueType == kTypeMultiSz ? RegValue(std::wstring()) : RegValue();
  // The size now counts the bytes actually read; the last of them is the terminator.
  const std::wstring data =
      platform::FromAnsi(std::string_view(buffer).substr(0, size > 0 ? size - 1 : 0));
  return valueType == kTypeMultiSz ? MultiSzDataToText(data) : SzDataToText(data);
}

RegValue ReadNumber(HKEY key, const std::string& ansiName, DWORD& valueType,
                    const RegValue& defaultValue) {
  std::int32_t number = 0;
  DWORD size = sizeof number;
  DWORD storedType = valueType;
  const LONG code = RegQueryValueExA(key, ansiName.c_str(), nullptr, &storedType,
                                     reinterpret_cast<BYTE*>(&number), &size);
  Store(code);
  if (code != ERROR_SUCCESS) return defaultValue;
  valueType = storedType;
  return number;
}

// Opens or creates the key for a write and reports whether the value may follow.
bool OpenForWrite(OpenedKey& key, HKEY root, std::wstring_view subKey) {
  Store(ERROR_SUCCESS);
  if (subKey.empty()) {
    Store(kEmptyPathStatus);
    return false;
  }
  const LONG code = OpenOrCreate(key, root, subKey);
  if (code != ERROR_SUCCESS) {
    Store(code);
    return false;
  }
  return true;
}

bool IsListedType(DWORD type) {
  return type == kTypeSz || type == kTypeMultiSz || type == kTypeBinary || type == kTypeDword;
}

}  // namespace

std::int32_t RegLastError() { return lastError; }

RegValue ReadRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                      DWORD& valueType, const RegValue& defaultValue) {
  Store(ERROR_SUCCESS);
  if (subKey.empty()) {
    Store(kEmptyPathStatus);
    return RegValue();
  }
  OpenedKey key(root);
  const LONG code = OpenForReading(key, root, subKey);
  if (code != ERROR_SUCCESS) {
    Store(code);
    return defaultValue;
  }
  const std::string ansiName = platform::ToAnsi(valueName);
  if (valueType == kTypeSz || valueType == kTypeMultiSz) {
    return ReadText(key.Get(), ansiName, valueType, defaultValue);
  }
  return ReadNumber(key.Get(), ansiName, valueType, defaultValue);
}

void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::wstring_view text, DWORD valueType) {
  if (IsListedType(valueType) && valueType != kTypeSz && valueType != kTypeMultiSz) {
    Store(ERROR_INVALID_PARAMETER);
    return;
  }
  OpenedKey key(root);
  if (!OpenForWrite(key, root, subKey) || !IsListedType(valueType)) return;
  if (text.empty()) {
    // Whichever string type was asked, an empty text is stored as an empty REG_SZ.
    Store(SetValue(key.Get(), valueName, REG_SZ, "", 0));
    return;
  }
  std::string data =
      platform::ToAnsi(valueType == kTypeMultiSz ? TextToMultiSzData(text) : std::wstring(text));
  data += '\0';
  Store(SetValue(key.Get(), valueName, valueType, data.data(), static_cast<DWORD>(data.size())));
}

void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::span<const std::uint8_t> bytes, DWORD valueType) {
  if (IsListedType(valueType) && valueType != kTypeBinary) {
    Store(ERROR_INVALID_PARAMETER);
    return;
  }
  OpenedKey key(root);
  if (!OpenForWrite(key, root, subKey) || !IsListedType(valueType)) return;
  Store(SetValue(key.Get(), valueName, valueType, bytes.data(), static_cast<DWORD>(bytes.size())));
}

void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::int32_t number, DWORD valueType) {
  if (IsListedType(valueType) && valueType != kTypeDword) {
    Store(ERROR_INVALID_PARAMETER);
    return;
  }
  OpenedKey key(root);
  if (!OpenForWrite(key, root, subKey) || !IsListedType(valueType)) return;
  Store(SetValue(key.Get(), valueName, valueType, &number, sizeof number));
}

void DeleteRegKeyTree(HKEY root, std::wstring_view parentPath, std::wstring_view keyName) {
  if (keyName.empty()) {
    Store(kEmptyPathStatus);
    return;
  }
  const std::wstring keyPath = JoinRegPath(parentPath, keyName);
  // Every name is gathered before the first delete, so the deletions cannot disturb the
  // enumeration; a key with subkeys cannot be deleted, so the children go first.
  for (const std::wstring& child : ListRegSubKeys(root, keyPath, -1)) {
    DeleteRegKeyTree(root, keyPath, child);
  }
  OpenedKey parent(root);
  Store(OpenOrCreate(parent, root, parentPath));
  const std::string ansiName = platform::ToAnsi(keyName);
  Store(RegDeleteKeyA(parent.Get(), ansiName.c_str()));
}

std::vector<std::wstring> ListRegSubKeys(HKEY root, std::wstring_view keyPath, int index) {
  std::vector<std::wstring> names;
  OpenedKey key(root);
  Store(OpenForReading(key, root, keyPath));
  if (lastError != ERROR_SUCCESS) return names;
  std::uint8_t buffer[kNameBufferBytes] = {};
  if (index >= 0) {
    Store(RegEnumKeyA(key.Get(), static_cast<DWORD>(index), reinterpret_cast<char*>(buffer),
                      kNameBufferBytes));
    if (lastError == ERROR_SUCCESS) names.push_back(TrimAtNull(buffer));
    return names;
  }
  for (DWORD i = 0; lastError == ERROR_SUCCESS; ++i) {
    Store(RegEnumKeyA(key.Get(), i, reinterpret_cast<char*>(buffer), kNameBufferBytes));
    if (lastError == ERROR_SUCCESS) names.push_back(TrimAtNull(buffer));
  }
  return names;
}

std::wstring TrimAtNull(std::span<const std::uint8_t> bytes) {
  const std::string_view ansi(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return TrimAtNull(std::wstring_view(platform::FromAnsi(ansi)));
}

bool RegKeyExists(HKEY root, std::wstring_view keyPath) {
  OpenedKey key(root);
  Store(OpenForReading(key, root, keyPath));
  return lastError == ERROR_SUCCESS;
}

}  // namespace shell::reg

// The registry layer: one value read or written, a key deleted with everything below it, the
// subkeys of a key listed. It calls the narrow-character registry functions, so key paths, value
// names and string data cross in the ANSI code page and string sizes count ANSI bytes. Nothing is
// thrown or shown: each operation leaves its status in RegLastError, and a read falls back to the
// caller's default. No key stays open between calls.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "shell/reg_text.h"

namespace shell::reg {

// The status of the most recent operation: 0, the code of the last registry call it made, or
// kEmptyPathStatus when it refused to start for an empty key path or key name.
[[nodiscard]] std::int32_t RegLastError();

// Reads `valueName` ("" for the key's default value) of `root`\`subKey`. For REG_SZ and
// REG_MULTI_SZ the result is a text (multi-strings joined by CR LF after each string) and
// `valueType` is left alone; for any other type the value is read as a 32-bit integer of at most
// 4 bytes and `valueType` receives the stored type. An empty `subKey` gives nothing; a key or
// value that cannot be read gives `defaultValue`.
RegValue ReadRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                      DWORD& valueType, const RegValue& defaultValue = {});

// Creates `root`\`subKey` with every missing key along the path and writes the value with type
// `valueType`. Texts go with REG_SZ and REG_MULTI_SZ (an empty text is stored as REG_SZ with no
// data), byte arrays with REG_BINARY, numbers with REG_DWORD; any other type writes nothing after
// creating the key. A value of the wrong kind for a listed type gives ERROR_INVALID_PARAMETER
// without touching the registry.
void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::wstring_view text, DWORD valueType);
void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::span<const std::uint8_t> bytes, DWORD valueType);
void WriteRegValue(HKEY root, std::wstring_view subKey, std::wstring_view valueName,
                   std::int32_t number, DWORD valueType);

// Deletes `parentPath`\`keyName` and everything below it, children before their parent. The
// parent path is opened with RegCreateKeyA, so a missing parent is created as empty keys (and the
// delete then fails).
void DeleteRegKeyTree(HKEY root, std::wstring_view parentPath, std::wstring_view keyName);

// The names of the subkeys of `root`\`keyPath` in the platform's order. With `index` -1 all of them
// (a complete listing leaves ERROR_NO_MORE_ITEMS); with another index only that one subkey's name.
// A key that cannot be opened gives an empty list.
std::vector<std::wstring> ListRegSubKeys(HKEY root, std::wstring_view keyPath, int index = -1);

// ANSI bytes decoded, then cut before the first NUL (the text form is in reg_text.h).
std::wstring TrimAtNull(std::span<const std::uint8_t> bytes);

// Whether `root`\`keyPath` can be opened for reading. Leaves the open's code in RegLastError.
[[nodiscard]] bool RegKeyExists(HKEY root, std::wstring_view keyPath);

}  // namespace shell::reg

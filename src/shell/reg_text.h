// The rules of the registry layer that need no registry: status codes, value type codes, joining
// key paths, and the NUL handling of string and multi-string data once it has been decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace shell::reg {

// Status left in RegLastError when an operation refuses to start for an empty key path or name.
inline constexpr std::int32_t kEmptyPathStatus = -1002;

// Platform codes the layer and its callers look at.
inline constexpr std::int32_t kStatusOk = 0;
inline constexpr std::int32_t kStatusFileNotFound = 2;
inline constexpr std::int32_t kStatusAccessDenied = 5;
inline constexpr std::int32_t kStatusInvalidParameter = 87;
inline constexpr std::int32_t kStatusMoreData = 234;
inline constexpr std::int32_t kStatusNoMoreItems = 259;

// Value type codes, as the platform numbers them.
inline constexpr unsigned kTypeSz = 1;
inline constexpr unsigned kTypeExpandSz = 2;
inline constexpr unsigned kTypeBinary = 3;
inline constexpr unsigned kTypeDword = 4;
inline constexpr unsigned kTypeMultiSz = 7;

// What a read gives back: nothing, a text, or a 32-bit signed integer.
using RegValue = std::variant<std::monostate, std::wstring, std::int32_t>;

// A read's result as text: "" for nothing, the text itself, an integer in decimal.
std::wstring RegValueText(const RegValue& value);

// `parent` and `name` joined by one backslash; an empty parent adds no separator of its own.
std::wstring JoinRegPath(std::wstring_view parent, std::wstring_view name);

// The text before its first NUL, or the whole text when it holds none.
std::wstring TrimAtNull(std::wstring_view text);

// Decoded multi-string data without its final terminator to the program's form: every pair of
// adjacent NULs is deleted, then each remaining NUL becomes CR LF ("a\0b\0" reads "a\r\nb\r\n").
std::wstring MultiSzDataToText(std::wstring_view data);

// Decoded string data without its final terminator: cut before the last NUL if one is left.
std::wstring SzDataToText(std::wstring_view data);

// The program's multi-string form to data without the final terminator: each CR LF becomes NUL.
std::wstring TextToMultiSzData(std::wstring_view text);

}  // namespace shell::reg

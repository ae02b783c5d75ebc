// Owners for the OS handles the program takes: each closes its handle when it goes out of scope,
// so no early return leaks one. Move-only.
#pragma once

#include <utility>

#include <windows.h>

namespace platform {

// Traits: `Type`, `Invalid()` (the empty value), `IsValid(h)` and `Close(h)`.
template <typename Traits>
class UniqueOwner {
 public:
  using Type = typename Traits::Type;

  UniqueOwner() noexcept = default;
  explicit UniqueOwner(Type handle) noexcept : handle_(handle) {}
  ~UniqueOwner() { Close(); }

  UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
  UniqueOwner& operator=(UniqueOwner&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;

  [[nodiscard]] Type Get() const noexcept { return handle_; }
  [[nodiscard]] bool IsValid() const noexcept { return Traits::IsValid(handle_); }
  explicit operator bool() const noexcept { return IsValid(); }

  // Gives up ownership without closing.
  [[nodiscard]] Type Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Closes the current handle (if any) and takes `handle`.
  void Reset(Type handle = Traits::Invalid()) noexcept {
    Close();
    handle_ = handle;
  }

  // For functions that hand a handle back through a pointer (RegOpenKeyExW and the like).
  [[nodiscard]] Type* Receive() noexcept {
    Reset();
    return &handle_;
  }

 private:
  void Close() noexcept {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = Traits::Invalid();
  }

  Type handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  // CreateFileW fails with INVALID_HANDLE_VALUE, most other functions with NULL: both are empty.
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { FindClose(h); }
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  // The predefined root keys (HKEY_CLASSES_ROOT = 0x80000000 and its neighbours, sign-extended
  // on 64-bit) are never closed: an owner may hold one when a caller passes a root itself.
  static bool IsValid(Type h) noexcept {
    const auto low = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h) & 0xFFFFFFFFu);
    return h != nullptr && !(low >= 0x80000000u && low <= 0x800000FFu);
  }
  static void Close(Type h) noexcept { RegCloseKey(h); }
};

struct IconTraits {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { DestroyIcon(h); }
};

// A kernel object handle: files, processes, threads, events.
using UniqueHandle = UniqueOwner<KernelHandleTraits>;
// A directory listing from FindFirstFileW.
using UniqueFindHandle = UniqueOwner<FindHandleTraits>;
// An open registry key.
using UniqueKey = UniqueOwner<RegistryKeyTraits>;
// An icon the program created or loaded (not a shared resource icon).
using UniqueIcon = UniqueOwner<IconTraits>;

}  // namespace platform

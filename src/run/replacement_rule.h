// Whether a cleaned copy may take its original's place: the rule alone, over what the file system
// said about the two files, so that every boundary can be checked without files.
#pragma once

#include <cstdint>

namespace run {

// A cleaned copy this many bytes smaller than its original, or more, is taken for a failed or
// truncated rewrite and does not replace it. Stripping events never removes nearly this much.
inline constexpr std::uint64_t kSizeLossLimit = 200000;

// One file as the replacement step finds it. Sizes are 64-bit: films over 2 GiB (and 4 GiB) are
// compared exactly.
struct FileState {
  enum class Kind {
    kMissing,     // no such file
    kSized,       // a file of `bytes` bytes
    kUnreadable,  // something is there, but its size cannot be read (or it is a folder)
  };
  Kind kind = Kind::kMissing;
  std::uint64_t bytes = 0;

  static FileState Missing() { return {Kind::kMissing, 0}; }
  static FileState Sized(std::uint64_t size) { return {Kind::kSized, size}; }
  static FileState Unreadable() { return {Kind::kUnreadable, 0}; }
};

enum class Decision {
  kNoCopy,              // no cleaned copy: the tool wrote none; the original stays as it is
  kCopyUnreadable,      // the copy's size cannot be read: both files stay
  kOriginalUnreadable,  // the original is there but cannot be measured: both files stay
  kCopyTooSmall,        // the copy lost kSizeLossLimit bytes or more: both files stay
  kReplace,             // the copy passes and takes the original's name
};

// The rule, in this order: no copy; the copy's size unreadable; an original that has gone counts
// as passing (the copy then simply takes its name); an original that cannot be measured keeps
// both; otherwise the copy passes unless it is kSizeLossLimit or more bytes smaller. A copy
// larger than its original passes.
Decision DecideReplacement(const FileState& original, const FileState& copy);

}  // namespace run

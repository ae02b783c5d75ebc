// The files a run writes and what an earlier run may have left under their names. Quellin takes an
// existing OUT as this run's work, so every run clears OUT and OUT.part before it reads anything:
// whatever ends the run (success, refusal, a crash or a kill), an OUT that exists is its own.
#pragma once

#include <string>
#include <string_view>

#include "command_line.h"

namespace rmevents {

Path WithSuffix(const Path& path, std::string_view suffix);
// The temporary file a target is written as, beside it.
inline Path PartOf(const Path& target) { return WithSuffix(target, ".part"); }
// The file a run with these options ends up writing; empty when it writes none.
Path TargetOf(const Options& options);

enum class Cleared { kNothing, kRemoved, kFailed };

// Removes the file at `path` if there is one. A folder (or anything the system will not delete)
// under that name is kFailed, with `problem` saying why.
Cleared ClearName(const Path& path, std::string& problem);

}  // namespace rmevents

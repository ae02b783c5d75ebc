// The two operations the tool offers on top of the pieces: replace a file's event set (which with
// an empty list strips it), and check the written result before it replaces anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rm/error.h"
#include "rm/event.h"
#include "rm/headers.h"
#include "rm/plan.h"
#include "rm/rewrite.h"
#include "rm/source.h"

namespace rm {

struct StreamOutcome {
  std::uint16_t oldNumber = 0;
  int newNumber = -1;  // -1: dropped
  DropReason reason = DropReason::kKept;
  std::string mime;
  std::string name;
};

struct ReplaceOutcome {
  bool identicalCopy = false;  // nothing to remove or add: written byte for byte
  std::uint64_t inputSize = 0;
  std::vector<StreamOutcome> streams;  // MDPR order of the input
  std::vector<Event> addedEvents;
  int addedStream = -1;
  RewriteResult result;
};

// What replacing `in`'s events with `events` would do, from the header section alone (nothing from
// DATA on is read): the plan, and the streams part of `outcome`. plan.identicalCopy says the film
// has no event stream and gets none, so a rewrite would copy it byte for byte.
[[nodiscard]] bool PlanReplacement(Source& in, const std::vector<Event>& events, Headers& headers,
                                   RewritePlan& plan, ReplaceOutcome& outcome, Error& error,
                                   bool mayCopy = true);

// Writes `in` with its event streams replaced by `events` (none: stripped) to `out`. A film with
// nothing to remove or add is copied byte for byte, unless `mayCopy` is false: then it is rewritten
// like any other, which salvages one that was cut short (a copy of it would not read back).
[[nodiscard]] bool ReplaceEvents(Source& in, Sink& out, const std::vector<Event>& events,
                                 ReplaceOutcome& outcome, Error& error, bool mayCopy = true);

// Reads the written file back: strictly for a rewrite (every derived field, index record and
// per-stream count must agree with what was written), tolerantly for an identical copy (whose
// problems are then the input's own and are reported as such).
[[nodiscard]] bool VerifyReplacement(Source& written, const ReplaceOutcome& outcome, Error& error);

// What the tool does before the written file replaces anything: a rewrite was checked while it
// was written, so only its size on disk is looked at besides that verdict; an identical copy is
// read back as above.
[[nodiscard]] bool CheckWritten(Source& written, const ReplaceOutcome& outcome, Error& error);

}  // namespace rm

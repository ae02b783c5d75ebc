#include "unchanged.h"

#include <cstdlib>
#include <cstring>

#include "rm/headers.h"
#include "rm/plan.h"

namespace rmevents {

bool SkipUnchangedAsked() {
  const char* value = std::getenv(kUnchangedVariable);
  return value != nullptr && std::strcmp(value, "skip") == 0;
}

bool FindUnchanged(rm::Source& in, const std::vector<rm::Event>& events,
                   rm::ReplaceOutcome& outcome, bool& unchanged, rm::Error& error) {
  rm::Headers headers;
  rm::RewritePlan plan;
  if (!rm::PlanReplacement(in, events, headers, plan, outcome, error)) return false;
  unchanged = plan.identicalCopy;
  return true;
}

}  // namespace rmevents

// libFuzzer target for the RealMedia reader and everything built on it. Beyond "no crash, no
// undefined behaviour, no leak" it checks the promise the tool makes: a file the reader accepts is
// either refused by the planner for a stated reason, or rewritten into a file that passes the
// strict check, both when stripping and when merging events; an unreadable file is rewritten only
// when the rewrite repaired it (cut short, index rebuilt), and then passes the strict check too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "rm/headers.h"
#include "rm/inspect.h"
#include "rm/plan.h"
#include "rm/replace_events.h"

namespace {

[[noreturn]] void Die(const char* what, const rm::Error& error) {
  std::fprintf(stderr, "fuzz_rm_reader: %s: %s\n", what, rm::Describe(error).c_str());
  std::abort();
}

// Failures a readable file may still meet once it is rewritten.
bool RefusalAllowed(const rm::Error& error) {
  switch (error.code) {
    case rm::ErrorCode::kNoStreamsLeft:
    case rm::ErrorCode::kTooLarge:
    case rm::ErrorCode::kOutputTooLarge:
    case rm::ErrorCode::kUnsupported:
      return true;
    default:
      return false;
  }
}

void Replace(rm::Source& source, bool readable, const std::vector<rm::Event>& events) {
  rm::Headers headers;
  rm::RewritePlan plan;
  rm::Error planError;
  const bool planned = rm::ReadHeaders(source, headers, planError) &&
                       rm::PlanRewrite(headers, events, plan, planError);
  rm::MemorySink sink;
  rm::ReplaceOutcome outcome;
  rm::Error error;
  const bool ok = rm::ReplaceEvents(source, sink, events, outcome, error);
  if (ok && !planned) Die("rewrite succeeded where planning failed", planError);
  if (!ok) {
    if (readable && planned && !RefusalAllowed(error)) Die("readable file not rewritten", error);
    return;
  }
  rm::MemorySource written(sink.Data());
  rm::Error verifyError;
  const bool verified = rm::VerifyReplacement(written, outcome, verifyError);
  // A film cut short or with a stale index is repaired: what it wrote must pass the check too.
  const rm::WalkRepair& repair = outcome.result.repair;
  const bool repaired = repair.cut || repair.indexRebuilt;
  if ((readable || repaired) && !verified) Die("written file failed its check", verifyError);
  rm::Error checkError;
  if (verified != rm::CheckWritten(written, outcome, checkError)) {
    Die("the check made while writing disagrees with reading back", checkError);
  }
  if (!readable && !outcome.identicalCopy && !repaired)
    Die("unreadable file rewritten", verifyError);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rm::MemorySource source({data, size});
  rm::FileSummary summary;
  rm::Error error;
  const bool readable = rm::Inspect(source, rm::Strictness::kTolerant, summary, error);
  Replace(source, readable, {});
  Replace(source, readable,
          {{0, 5, rm::kEventUrl, "http://example.com/"},
           {3, 9, rm::kEventTitle, "t"},
           {600, 601, 0x1234, "x"}});
  return 0;
}

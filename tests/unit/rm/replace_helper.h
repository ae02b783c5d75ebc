// Replacing a film's events in memory, for the tests: the output is checked twice, by reading
// it back strictly and by the check made while it was written, and both must pass.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "rm/replace_events.h"
#include "rm_builder.h"

namespace rmtest {

struct Outcome {
  bool ok = false;
  Bytes out;
  rm::ReplaceOutcome outcome;
  rm::Error error;
};

inline Outcome Replace(const Bytes& in, const std::vector<rm::Event>& events = {}) {
  Outcome r;
  rm::MemorySource source(in);
  rm::MemorySink sink;
  r.ok = rm::ReplaceEvents(source, sink, events, r.outcome, r.error);
  r.out = sink.Data();
  if (r.ok) {
    rm::MemorySource written(r.out);
    rm::Error verify;
    EXPECT_TRUE(rm::VerifyReplacement(written, r.outcome, verify)) << rm::Describe(verify);
    EXPECT_TRUE(rm::CheckWritten(written, r.outcome, verify)) << rm::Describe(verify);
  }
  return r;
}

}  // namespace rmtest

#include "rm/replace_events.h"

#include "rm/headers.h"
#include "rm/inspect.h"

namespace rm {

bool PlanReplacement(Source& in, const std::vector<Event>& events, Headers& headers,
                     RewritePlan& plan, ReplaceOutcome& outcome, Error& error, bool mayCopy) {
  outcome = ReplaceOutcome{};
  if (!ReadHeaders(in, headers, error)) return false;
  outcome.inputSize = headers.fileSize;
  if (!PlanRewrite(headers, events, plan, error, mayCopy)) return false;
  for (std::size_t i = 0; i < headers.media.size(); ++i) {
    const MediaProperties& m = headers.media[i];
    const StreamDecision& d = plan.streams[i];
    outcome.streams.push_back({d.oldNumber, plan.identicalCopy ? int{d.oldNumber} : d.newNumber,
                               d.reason, m.mime, m.name});
  }
  outcome.identicalCopy = plan.identicalCopy;
  return true;
}

bool ReplaceEvents(Source& in, Sink& out, const std::vector<Event>& events, ReplaceOutcome& outcome,
                   Error& error, bool mayCopy) {
  Headers headers;
  RewritePlan plan;
  if (!PlanReplacement(in, events, headers, plan, outcome, error, mayCopy)) return false;
  if (plan.identicalCopy) {
    if (!CopyWhole(in, out, error)) return false;
    outcome.result.bytesWritten = headers.fileSize;
    return true;
  }
  outcome.addedEvents = plan.addedEvents;
  outcome.addedStream = plan.addedStream;
  return Rewrite(in, headers, plan, out, outcome.result, error);
}

namespace {

bool Mismatch(Error& error, const std::string& what) {
  error.Set(ErrorCode::kVerifyFailed, 0, what);
  return false;
}

bool CompareWithPlan(const FileSummary& summary, const ReplaceOutcome& outcome, Error& error) {
  const RewriteResult& r = outcome.result;
  if (summary.fileSize != r.bytesWritten) return Mismatch(error, "file size");
  if (summary.packets != r.packetsWritten) return Mismatch(error, "packet count");
  std::vector<const StreamOutcome*> kept;
  for (const StreamOutcome& s : outcome.streams) {
    if (s.newNumber >= 0) kept.push_back(&s);
  }
  const std::size_t expectedStreams = kept.size() + (outcome.addedStream >= 0 ? 1 : 0);
  if (summary.streams.size() != expectedStreams) return Mismatch(error, "stream count");
  for (const StreamSummary& s : summary.streams) {
    if (s.number >= r.written.size()) return Mismatch(error, "stream number");
    const StreamTally& t = r.written[s.number];
    if (s.packets != t.packets || s.payloadBytes != t.payloadBytes) {
      return Mismatch(error, "packets of stream " + std::to_string(s.number));
    }
    if (s.number < kept.size() &&
        (s.mime != kept[s.number]->mime || s.name != kept[s.number]->name)) {
      return Mismatch(error, "MDPR of stream " + std::to_string(s.number));
    }
  }
  if (summary.events.size() != outcome.addedEvents.size()) return Mismatch(error, "event count");
  for (std::size_t i = 0; i < summary.events.size(); ++i) {
    if (summary.events[i].event != outcome.addedEvents[i]) {
      return Mismatch(error, "event " + std::to_string(i + 1));
    }
  }
  return true;
}

}  // namespace

bool CheckWritten(Source& written, const ReplaceOutcome& outcome, Error& error) {
  if (outcome.identicalCopy) return VerifyReplacement(written, outcome, error);
  const RewriteResult& r = outcome.result;
  if (!r.checked) {
    error.Set(ErrorCode::kVerifyFailed, r.checkError.offset, Describe(r.checkError));
    return false;
  }
  if (written.Size() != r.bytesWritten) return Mismatch(error, "file size");
  return CompareWithPlan(r.produced, outcome, error);
}

bool VerifyReplacement(Source& written, const ReplaceOutcome& outcome, Error& error) {
  FileSummary summary;
  if (outcome.identicalCopy) {
    if (!Inspect(written, Strictness::kTolerant, summary, error)) return false;
    if (summary.fileSize != outcome.inputSize) return Mismatch(error, "file size");
    return true;
  }
  Error inner;
  if (!Inspect(written, Strictness::kStrict, summary, inner)) {
    error.Set(ErrorCode::kVerifyFailed, inner.offset, Describe(inner));
    return false;
  }
  return CompareWithPlan(summary, outcome, error);
}

}  // namespace rm

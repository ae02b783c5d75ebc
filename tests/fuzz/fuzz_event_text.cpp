// libFuzzer target for the events text parser: no crash, and whatever it accepts must be
// writable as a dump that reads back as the same events.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "rm/event_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<rm::Event> events;
  rm::EventTextError error;
  if (!rm::ParseEventText(text, events, error)) {
    if (error.line == 0) std::abort();  // every refusal names its line
    return 0;
  }
  std::vector<rm::Event> back;
  if (!rm::ParseEventText(rm::FormatEventText(events), back, error) ||
      back.size() != events.size()) {
    std::fprintf(stderr, "dump does not read back: %s\n", rm::Describe(error).c_str());
    std::abort();
  }
  for (std::size_t i = 0; i < events.size(); ++i) {
    rm::Event expected = events[i];
    expected.text = rm::TextAfterDump(expected.text);
    if (!rm::CanDumpEvent(events[i]) || back[i] != expected) std::abort();
  }
  return 0;
}

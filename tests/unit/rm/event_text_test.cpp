// The events text file: what counts as "no events" (Quellin's `rem` file above all), times, flags,
// bad lines with their line numbers, and dump -> parse round trips.
#include <gtest/gtest.h>

#include "rm/event_text.h"

namespace {

using rm::Event;
using rm::EventTextProblem;

std::vector<Event> Parse(std::string_view text) {
  std::vector<Event> events;
  rm::EventTextError error;
  EXPECT_TRUE(rm::ParseEventText(text, events, error)) << rm::Describe(error);
  return events;
}

rm::EventTextError Refused(std::string_view text) {
  std::vector<Event> events{Event{}};
  rm::EventTextError error;
  EXPECT_FALSE(rm::ParseEventText(text, events, error)) << text;
  EXPECT_TRUE(events.empty());
  return error;
}

TEST(EventText, FilesWithoutEventLinesAreEmptyLists) {
  for (std::string_view text :
       {"rem \r\n", "rem\r\n", "REM anything at all\n", "Rem\t\n", "", "\r\n\r\n", "   \n",
        "# comment\r\n#\n", "\xEF\xBB\xBFrem \r\n", "  rem  \r\n# u 1 2 http://x\r\n"}) {
    EXPECT_TRUE(Parse(text).empty()) << text;
  }
  // "remark" is not the word rem: it is an unknown flag.
  EXPECT_EQ(Refused("remark 1 2 x\r\n").problem, EventTextProblem::kBadFlag);
}

TEST(EventText, LinesFlagsAndText) {
  const auto events = Parse(
      "# events\r\n"
      "u 00:00:05.0 00:00:20.0 http://example.com/page.html\r\n"
      "I 21 22   A title  with  blanks  \n"
      "a\t1:00\t1:05.5\tAuthor\r\n"
      "c 2:00 2:00 \xC2\xA9 2024\r\n"
      "x01Ab 3:00 3:01 raw\r\r\r\n");
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0], (Event{50, 200, rm::kEventUrl, "http://example.com/page.html"}));
  EXPECT_EQ(events[1], (Event{210, 220, rm::kEventTitle, "A title  with  blanks"}));
  EXPECT_EQ(events[2], (Event{600, 655, rm::kEventAuthor, "Author"}));
  EXPECT_EQ(events[3], (Event{1200, 1200, rm::kEventCopyright, "\xC2\xA9 2024"}));
  EXPECT_EQ(events[4], (Event{1800, 1810, 0x01AB, "raw"}));
}

TEST(EventText, Times) {
  struct Case {
    const char* text;
    std::uint32_t ds;
  } ok[] = {{"0", 0},
            {"5", 50},
            {"5.5", 55},
            {"5.50", 55},
            {"5.500", 55},
            {"90", 900},
            {"1:30", 900},
            {"01:02:03.4", 37234},
            {"1:00:00:00", 864000},
            {"2:23:59:59.9", 2 * 864000 + 863999}};
  for (const Case& c : ok) {
    std::uint32_t ds = 0;
    EXPECT_TRUE(rm::ParseEventTime(c.text, ds)) << c.text;
    EXPECT_EQ(ds, c.ds) << c.text;
  }
  for (const char* bad : {"", "a", "1:", ":1", "1:60", "1:60:00", "1:24:00:00", "1.25", "1.", ".5",
                          "1:2:3:4:5", "-1", "1 ", "9999999999", "4294968"}) {
    std::uint32_t ds = 0;
    EXPECT_FALSE(rm::ParseEventTime(bad, ds)) << bad;
  }
  EXPECT_EQ(rm::FormatEventTime(37234), "01:02:03.4");
  EXPECT_EQ(rm::FormatEventTime(864000 + 5), "1:00:00:00.5");
}

TEST(EventText, BadLinesNameTheirLine) {
  const char* head = "# one good line first\r\nu 0.1 0.2 http://example.com/ok\r\n";
  struct Case {
    const char* line;
    EventTextProblem problem;
  } cases[] = {
      {"q 1 2 http://a/", EventTextProblem::kBadFlag},
      {"x12 1 2 http://a/", EventTextProblem::kBadFlag},
      {"u 1", EventTextProblem::kMissingTime},
      {"u 1:2:3:4:5 9 http://a/", EventTextProblem::kBadTime},
      {"u a b http://a/", EventTextProblem::kBadTime},
      {"u 2 1 http://a/", EventTextProblem::kEndBeforeStart},
      {"u 1 2", EventTextProblem::kMissingText},
      {"u 1 2 \r\r", EventTextProblem::kMissingText},
      {"u 0.0 1 http://a/", EventTextProblem::kNotAscending},
  };
  for (const Case& c : cases) {
    const auto error = Refused(std::string(head) + c.line + "\r\n");
    EXPECT_EQ(error.problem, c.problem) << c.line;
    EXPECT_EQ(error.line, 3u) << c.line;
    EXPECT_NE(rm::Describe(error).find("第 3 行"), std::string::npos);
  }
  EXPECT_EQ(Refused("u 1 2 " + std::string(rm::kMaxEventText + 1, 'x')).problem,
            EventTextProblem::kTextTooLong);
  std::string many;
  for (std::size_t i = 0; i <= rm::kMaxEvents; ++i) many += "u 1 1 x\n";
  EXPECT_EQ(Refused(many).problem, EventTextProblem::kTooManyEvents);
}

TEST(EventText, DumpReadsBackAsTheSameEvents) {
  const std::vector<Event> events = {
      {0, 10, rm::kEventUrl, "http://example.com/a b?c=%20"},
      {10, 10, rm::kEventTitle, "\xB1\xEA\xCC\xE2"},  // GBK bytes pass through untouched
      {600, 700, rm::kEventAuthor, "someone"},
      {864000, 864001, rm::kEventCopyright, "(c)"},
      {864002, 864010, 0xBEEF, "kept with its code"},
  };
  const std::string text = rm::FormatEventText(events);
  EXPECT_NE(text.find("# unknown event type 0xBEEF\r\nxBEEF 1:00:00:00.2 1:00:00:01.0 kept"),
            std::string::npos);
  EXPECT_EQ(Parse(text), events);
}

TEST(EventText, TextsThatALineCannotHoldAreMarked) {
  const Event broken{5, 6, rm::kEventUrl, "two\r\nlines"};
  const std::string text = rm::FormatEventText({broken, {7, 8, rm::kEventUrl, " padded "}});
  EXPECT_NE(text.find("# the next event's text held line breaks"), std::string::npos);
  EXPECT_NE(text.find("# the next event's text starts or ends with blanks"), std::string::npos);
  const auto back = Parse(text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].text, rm::TextAfterDump(broken.text));
  EXPECT_EQ(back[1].text, "padded");
  EXPECT_FALSE(rm::CanDumpEvent({5, 6, rm::kEventUrl, " \r\n "}));
  EXPECT_FALSE(rm::CanDumpEvent({6, 5, rm::kEventUrl, "x"}));
  EXPECT_TRUE(rm::CanDumpEvent(broken));
}

}  // namespace

#include "report.h"

#include "file_io.h"
#include "rm/event_text.h"

namespace rmevents {

void Report::Text(std::string_view utf8) {
  if (segments_.empty() || segments_.back().raw) segments_.push_back({false, {}});
  segments_.back().bytes += utf8;
}

void Report::Raw(std::string_view bytes) {
  std::string clean(bytes);
  for (char& c : clean) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  segments_.push_back({true, std::move(clean)});
}

std::string Report::Joined() const {
  std::string all;
  for (const Segment& s : segments_) all += s.bytes;
  return all;
}

std::string PathText(const Path& path) {
  const auto text = NameToShow(path).u8string();
  return std::string(text.begin(), text.end());
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    // Overlong three- and four-byte forms, surrogates and code points past U+10FFFF.
    const auto second = static_cast<unsigned char>(bytes[i + (length > 1 ? 1 : 0)]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string GroupDigits(std::uint64_t n) {
  const std::string digits = std::to_string(n);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

namespace {

const char* ReasonText(rm::DropReason reason) {
  switch (reason) {
    case rm::DropReason::kKept:
      return "保留";
    case rm::DropReason::kEventStream:
      return "已删除（事件流）";
    case rm::DropReason::kGroupsOnlyDropped:
      return "已删除（只包含被删除的流）";
  }
  return "";
}

const char* TypeName(std::uint16_t type) {
  switch (type) {
    case rm::kEventUrl:
      return "URL";
    case rm::kEventTitle:
      return "标题";
    case rm::kEventAuthor:
      return "作者";
    case rm::kEventCopyright:
      return "版权";
    default:
      return nullptr;
  }
}

}  // namespace

void ReportStreams(Report& report, const rm::ReplaceOutcome& outcome) {
  report.Line("流（共 " + std::to_string(outcome.streams.size()) + " 个）：");
  for (const rm::StreamOutcome& s : outcome.streams) {
    std::string line = "  流 " + std::to_string(s.oldNumber);
    if (s.newNumber >= 0 && s.newNumber != s.oldNumber) {
      line += " → 流 " + std::to_string(s.newNumber);
    }
    report.Text(line + "：");
    report.Raw(s.mime);
    if (!s.name.empty()) {
      report.Text(" “");
      report.Raw(s.name);
      report.Text("”");
    }
    report.Line(std::string("，") + ReasonText(s.reason));
  }
  if (outcome.addedStream >= 0) {
    report.Line("  新的事件流：流 " + std::to_string(outcome.addedStream) + "，" +
                std::to_string(outcome.addedEvents.size()) + " 个事件");
  }
}

void ReportEvent(Report& report, const rm::Event& event) {
  report.Text("  " + rm::FormatEventTime(event.startDs) + " 至 " +
              rm::FormatEventTime(event.endDs) + "  ");
  if (const char* name = TypeName(event.type)) {
    report.Text(std::string(name) + "：");
  } else {
    report.Text("类型 0x" + rm::EventFlag(event.type).substr(1) + "（未知）：");
  }
  report.Raw(event.text);
  report.Text("\n");
}

void ReportRemovedEvents(Report& report, const rm::RewriteResult& result) {
  if (result.removedEventCount == 0) {
    report.Line("删除的事件：无");
    return;
  }
  report.Line("删除的事件：" + std::to_string(result.removedEventCount) + " 个");
  for (const rm::RemovedEvent& e : result.removedEvents) {
    if (e.parsed) {
      ReportEvent(report, e.event);
    } else {
      report.Line("  " + rm::FormatEventTime(e.timestamp / 100) + "  流 " +
                  std::to_string(e.stream) + " 中无法解读的事件数据包（可能已加密）");
    }
  }
  if (result.removedEventCount > result.removedEvents.size()) {
    report.Line("  ……另有 " +
                std::to_string(result.removedEventCount - result.removedEvents.size()) +
                " 个事件未列出");
  }
}

bool ReportRepair(Report& report, const rm::WalkRepair& repair) {
  if (repair.cut) {
    report.Line("输入文件不完整：在第 " + std::to_string(repair.cutAt) + " 字节处截断，保留了 " +
                std::to_string(repair.keptPackets) + " 个完整数据包");
  } else if (repair.indexRebuilt) {
    report.Line("输入文件的索引与数据包不符：已根据数据包重建索引");
  }
  return repair.cut || repair.indexRebuilt;
}

}  // namespace rmevents

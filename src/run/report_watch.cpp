#include "run/report_watch.h"

#include <algorithm>

#include "files/path_part.h"
#include "platform/text_conversion.h"

namespace run {
namespace {

// The tool writes its report in the ANSI code page, so its words are looked for in that form. On
// a system whose code page lacks them, both sides turn them into the same default characters.
ReportMarkers AnsiMarkers() {
  return {platform::ToAnsi(L"完成。"), platform::ToAnsi(L"未写出输出文件。"),
          platform::ToAnsi(L"输入文件：")};
}

}  // namespace

ReportWatch::ReportWatch(ProgressView* view) : view_(view), progress_(AnsiMarkers()) {}

ReportWatch::~ReportWatch() {
  if (view_ != nullptr) view_->End(allCleaned_);
}

void ReportWatch::Waiting() {
  if (view_ != nullptr) view_->Waiting();
}

platform::WaitTick ReportWatch::BatchStarting(const std::wstring& reportPath, size_t total) {
  path_ = reportPath;
  total_ = total;
  GetSystemTimeAsFileTime(&started_);
  if (view_ == nullptr) return {};
  view_->Show(0, total_, L"");
  return {kProgressPollMs, [this] { Poll(); }};
}

void ReportWatch::Poll() noexcept {
  if (view_ == nullptr || path_.empty()) return;
  std::wstring film;
  try {
    ReadNew();
    film = files::GetPathPart(platform::FromAnsi(progress_.CurrentInput()), 0);
  } catch (...) {
    // Only memory can run out here; the count stays as it was.
  }
  view_->Show(std::min(progress_.Finished(), total_), total_, film);
}

void ReportWatch::BatchEnded() noexcept {
  Poll();
  file_.Reset();
}

void ReportWatch::ReadNew() {
  // Shared every way, so the batch's ">" and ">>" never find the file held. ">" cuts the same
  // file back rather than making a new one, so the handle follows the report the batch writes.
  if (!file_) {
    file_.Reset(CreateFileW(path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return;
  }
  // The report of the run before stays until the batch's first tool line cuts it back: a report
  // not written since this batch started is not this run's yet.
  if (!fresh_) {
    FILETIME written;
    if (!GetFileTime(file_.Get(), nullptr, nullptr, &written)) return;
    if (CompareFileTime(&written, &started_) < 0) return;
    fresh_ = true;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_.Get(), &size)) return;
  const auto end = static_cast<unsigned long long>(size.QuadPart);
  if (end < offset_) {
    // Cut back after the first look: it is a new report.
    progress_ = ReportProgress(AnsiMarkers());
    offset_ = 0;
  }
  if (end == offset_) return;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset_);
  if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN)) return;
  char buffer[16384];
  DWORD got = 0;
  while (offset_ < end && ReadFile(file_.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    progress_.Take(std::string_view(buffer, got));
    offset_ += got;
  }
}

void ReportWatch::Judged(const std::vector<FilmOutcome>& outcomes) {
  allCleaned_ = EveryFilmCleaned(outcomes);
}

}  // namespace run

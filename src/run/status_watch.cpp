#include "run/status_watch.h"

#include <algorithm>

#include "files/path_part.h"
#include "platform/text_conversion.h"

namespace run {

StatusWatch::StatusWatch(ProgressView* view) : view_(view) {}

StatusWatch::~StatusWatch() {
  if (view_ != nullptr) view_->End(allCleaned_);
}

void StatusWatch::Waiting() {
  if (view_ != nullptr) view_->Waiting();
}

platform::WaitTick StatusWatch::BatchStarting(const std::wstring& statusPath, size_t total) {
  path_ = statusPath;
  total_ = total;
  if (view_ == nullptr) return {};
  view_->Show(0, total_, L"");
  return {kProgressPollMs, [this] { Poll(); }};
}

void StatusWatch::Poll() noexcept {
  if (path_.empty()) return;
  std::wstring film;
  try {
    ReadNew();
    if (view_ == nullptr) return;
    film = files::GetPathPart(platform::FromUtf8(progress_.CurrentInput()), 0);
  } catch (...) {
    // Only memory can run out here; the count stays as it was.
  }
  if (view_ != nullptr) view_->Show(std::min(progress_.Finished(), total_), total_, film);
}

void StatusWatch::BatchEnded() noexcept {
  Poll();
  file_.Reset();
}

void StatusWatch::ReadNew() {
  // Shared every way, so the tool's appends never find the file held.
  if (!file_) {
    file_.Reset(CreateFileW(path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_.Get(), &size)) return;
  const auto end = static_cast<unsigned long long>(size.QuadPart);
  if (end <= offset_) return;
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

void StatusWatch::Judged(const std::vector<FilmOutcome>& outcomes) {
  allCleaned_ = EveryFilmCleaned(outcomes);
}

}  // namespace run

#include "ui/run_progress_texts.h"

namespace ui {
namespace {

std::wstring Count(size_t finished, size_t total) {
  return std::to_wstring(finished) + L"/" + std::to_wstring(total);
}

}  // namespace

std::wstring WaitingCaption() { return std::wstring(kMainCaption) + L" - 等待其他清除任务"; }

std::wstring ProgressCaption(size_t finished, size_t total) {
  return std::wstring(kMainCaption) + L" - 正在清除 " + Count(finished, total);
}

std::wstring ProgressTip(size_t finished, size_t total, std::wstring_view film, size_t room) {
  std::wstring tip = std::wstring(kMainCaption) + L"：正在清除 " + Count(finished, total);
  if (tip.size() >= room) return tip.substr(0, room);
  // The line break and an ellipsis must fit beside at least one character of the name.
  if (film.empty() || room - tip.size() < 3) return tip;
  const size_t left = room - tip.size() - 1;
  tip += L'\n';
  if (film.size() <= left) return tip + std::wstring(film);
  return tip + L"…" + std::wstring(film.substr(film.size() - (left - 1)));
}

}  // namespace ui

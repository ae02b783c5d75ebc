// The words a run's progress is shown in: the main window's caption and the notification icon's
// tool tip. Pure, so they are checked without a window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

// The main window's caption when no run goes.
inline constexpr std::wstring_view kMainCaption = L"Quellin";

// "Quellin - 等待其他清除任务": the run waits for another run over the same TMP (the caption, and
// the notification icon's tip of a one-shot start).
[[nodiscard]] std::wstring WaitingCaption();

// "Quellin - 正在清除 k/N".
[[nodiscard]] std::wstring ProgressCaption(size_t finished, size_t total);

// "Quellin：正在清除 k/N", then the film under way on a line of its own, all cut to `room`
// characters (the notification icon's tool tip holds 127): the film's name gives way, from its
// front, since its end tells most.
[[nodiscard]] std::wstring ProgressTip(size_t finished, size_t total, std::wstring_view film,
                                       size_t room);

}  // namespace ui

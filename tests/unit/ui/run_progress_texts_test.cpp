// The words of a run's progress: the caption and the notification icon's tool tip.
#include <gtest/gtest.h>

#include "ui/run_progress_texts.h"

namespace ui_test {
namespace {

TEST(RunProgressTexts, Captions) {
  EXPECT_EQ(ui::ProgressCaption(0, 6), L"Quellin - 正在清除 0/6");
  EXPECT_EQ(ui::ProgressCaption(12, 315), L"Quellin - 正在清除 12/315");
  EXPECT_EQ(ui::WaitingCaption(), L"Quellin - 等待其他清除任务");
  EXPECT_EQ(ui::kMainCaption, L"Quellin");
}

TEST(RunProgressTexts, TheTipNamesTheFilmAndKeepsItsEndWhenItMustBeCut) {
  EXPECT_EQ(ui::ProgressTip(3, 15, L"片 一.rmvb", 127), L"Quellin：正在清除 3/15\n片 一.rmvb");
  EXPECT_EQ(ui::ProgressTip(0, 15, L"", 127), L"Quellin：正在清除 0/15");
  const std::wstring tip = ui::ProgressTip(3, 15, std::wstring(200, L'x') + L"尾.rm", 127);
  EXPECT_EQ(tip.size(), 127u);
  EXPECT_EQ(tip.substr(0, 19), L"Quellin：正在清除 3/15\n…");
  EXPECT_EQ(tip.substr(tip.size() - 5), L"x尾.rm");
  EXPECT_EQ(ui::ProgressTip(3, 15, L"a.rm", 10), L"Quellin：正在");
}

}  // namespace
}  // namespace ui_test

#include "ui/flat_style.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }
bool IsFlat(HWND hwnd) { return (StyleOf(hwnd) & BS_FLAT) != 0; }

// A plain top-level window with the kinds of controls the main window holds.
class FormWithControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(form_, nullptr);
    push_ = Add(L"BUTTON", BS_PUSHBUTTON);
    defaultPush_ = Add(L"BUTTON", BS_DEFPUSHBUTTON);
    check_ = Add(L"BUTTON", BS_AUTOCHECKBOX);
    radio_ = Add(L"BUTTON", BS_AUTORADIOBUTTON);
    list_ = Add(L"LISTBOX", LBS_NOTIFY | WS_VSCROLL);
  }
  void TearDown() override { DestroyWindow(form_); }

  HWND Add(const wchar_t* windowClass, DWORD style) {
    return CreateWindowExW(0, windowClass, L"清空列表", WS_CHILD | WS_VISIBLE | style, 0,
                           30 * next_++, 100, 24, form_, nullptr, nullptr, nullptr);
  }

  HWND form_ = nullptr;
  HWND push_ = nullptr, defaultPush_ = nullptr, check_ = nullptr, radio_ = nullptr;
  HWND list_ = nullptr;
  int next_ = 0;
};

TEST_F(FormWithControls, FlattensButtonsAndCheckBoxesButNotTheList) {
  const LONG_PTR listStyle = StyleOf(list_);
  for (HWND button : {push_, defaultPush_, check_, radio_}) ASSERT_FALSE(IsFlat(button));
  FlattenControls(form_);
  for (HWND button : {push_, defaultPush_, check_, radio_}) EXPECT_TRUE(IsFlat(button));
  // BS_FLAT's bit means something else to a list box: it must stay exactly as it was.
  EXPECT_EQ(StyleOf(list_), listStyle);
  // The kind of each button is unchanged.
  EXPECT_EQ(StyleOf(check_) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(StyleOf(defaultPush_) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST_F(FormWithControls, FlatteningTwiceChangesNothing) {
  FlattenControls(form_);
  const LONG_PTR pushStyle = StyleOf(push_);
  const LONG_PTR checkStyle = StyleOf(check_);
  FlattenControls(form_);
  SetFlatStyle(push_, true);
  EXPECT_EQ(StyleOf(push_), pushStyle);
  EXPECT_EQ(StyleOf(check_), checkStyle);
}

TEST_F(FormWithControls, NotFlatNeverClearsTheBit) {
  const LONG_PTR plain = StyleOf(check_);
  SetFlatStyle(check_, false);
  EXPECT_EQ(StyleOf(check_), plain);
  SetFlatStyle(push_, true);
  const LONG_PTR flat = StyleOf(push_);
  SetFlatStyle(push_, false);
  EXPECT_EQ(StyleOf(push_), flat);
  EXPECT_TRUE(IsFlat(push_));
}

TEST(FlattenControls, AWindowWithoutButtonsIsOnlyRedrawn) {
  HWND form = CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                              nullptr, nullptr, nullptr);
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, form,
                              nullptr, nullptr, nullptr);
  const LONG_PTR formStyle = StyleOf(form);
  const LONG_PTR listStyle = StyleOf(list);
  FlattenControls(form);
  EXPECT_EQ(StyleOf(form), formStyle);
  EXPECT_EQ(StyleOf(list), listStyle);
  DestroyWindow(form);
}

}  // namespace
}  // namespace ui

// The main window as it is drawn up: client size and controls in twips, captions, initial states.
#pragma once

#include <array>
#include <string_view>

#include "ui/control_layout.h"
#include "ui/main_window_ids.h"

namespace ui {

inline constexpr int kClientWidthTwips = 5745;
inline constexpr int kClientHeightTwips = 2865;

// In tab order, which is also the order the controls are created in.
inline constexpr std::array<ControlLayout, 7> kMainWindowControls = {{
    {kIdList, ControlKind::kListBox, L"", {0, 375, 5730, 2220}, false},
    {kIdCommand1, ControlKind::kPushButton, L"添加文件", {1170, 0, 1185, 375}, false},
    {kIdCommand2, ControlKind::kPushButton, L"清除Real事件", {2340, 0, 1785, 375}, false},
    {kIdCh, ControlKind::kCheckBox, L"清除后保存为相同文件名", {2910, 2610, 2805, 240}, true},
    {kIdCommand3, ControlKind::kPushButton, L"清空列表", {0, 0, 1185, 375}, false},
    {kIdCheck1, ControlKind::kCheckBox, L"关联Real文件右键菜单", {-15, 2610, 2175, 225}, false},
    {kIdCommand4, ControlKind::kPushButton, L"...", {5385, 0, 360, 375}, false},
}};

}  // namespace ui

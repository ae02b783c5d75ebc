// The About window as it is drawn up: client size, controls and separator lines in twips.
#pragma once

#include <array>

#include "ui/about_window_ids.h"
#include "ui/control_layout.h"

namespace ui {

inline constexpr int kAboutClientWidthTwips = 4680;
inline constexpr int kAboutClientHeightTwips = 3330;

// A short rights notice; it sits in a strip 135 twips high, so it is drawn in a small font.
inline constexpr std::wstring_view kRightsNotice = L"© 2026 Quellin developers";

// Creation order, which is also the tab order of the three that take the focus: the description,
// the e-mail box and "Inf". Texts left empty here are filled in when the window loads.
inline constexpr std::array<ControlLayout, 14> kAboutControls = {{
    {kIdAboutImg, ControlKind::kImage, L"", {405, 210, 640, 640}, false},
    {kIdAboutLabel1, ControlKind::kLabel, L"", {2730, 30, 1875, 225}, false},
    {kIdAboutLabel2, ControlKind::kLabel, L"", {2730, 210, 1875, 225}, false},
    {kIdAboutText2, ControlKind::kMultiLineTextBox, L"", {1710, 480, 2895, 1515}, false},
    {kIdAboutLabel11,
     ControlKind::kLabel,
     L"程序纯个人创作,若发现Bug 或有建议欢迎联系与交流！",
     {210, 1290, 1095, 735},
     false},
    {kIdAboutLabel8, ControlKind::kLabel, kRightsNotice, {1380, 2250, 1845, 135}, false},
    {kIdAboutLabel5, ControlKind::kLabel, L"主页：", {600, 2468, 1275, 225}, false},
    {kIdAboutLabel9, ControlKind::kLabel, L"", {1890, 2468, 2715, 225}, false},
    {kIdAboutLabel6, ControlKind::kLabel, L"Email：", {600, 2686, 1275, 225}, false},
    {kIdAboutText1, ControlKind::kTextBox, L"", {1890, 2686, 1455, 225}, false},
    {kIdAboutLabel3, ControlKind::kLabel, L"地址：", {930, 2910, 945, 195}, false},
    {kIdAboutLabel7, ControlKind::kLabel, L"", {1860, 2910, 2355, 195}, false},
    {kIdAboutCommand1, ControlKind::kPushButton, L"Inf", {90, 3030, 615, 255}, false},
    {kIdAboutLabel12, ControlKind::kLabel, L"", {600, 3120, 1905, 225}, false},
}};

struct TwipsLine {
  int x1, y1, x2, y2;
};

// Line2 under the name and version, Line1 above the contact data.
inline constexpr std::array<TwipsLine, 2> kAboutLines = {{
    {1770, 420, 4530, 420},
    {120, 2160, 4530, 2160},
}};

}  // namespace ui

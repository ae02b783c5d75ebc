// How the About window and its controls are known from outside the window's own code: its window
// class and the control ids (the GUI test driver finds them by these).
#pragma once

namespace ui {

inline constexpr wchar_t kAboutWindowClass[] = L"QuellinAbout";

// None is IDOK or IDCANCEL, which the dialog key handling sends for Enter and Esc.
inline constexpr int kIdAboutImg = 201;
inline constexpr int kIdAboutLabel1 = 202;    // product name
inline constexpr int kIdAboutLabel2 = 203;    // version
inline constexpr int kIdAboutText2 = 204;     // description
inline constexpr int kIdAboutLabel11 = 205;   // personal note
inline constexpr int kIdAboutLabel8 = 206;    // rights notice
inline constexpr int kIdAboutLabel5 = 207;    // "主页："
inline constexpr int kIdAboutLabel9 = 208;    // home page, drawn as a link
inline constexpr int kIdAboutLabel6 = 209;    // "Email："
inline constexpr int kIdAboutText1 = 210;     // e-mail address
inline constexpr int kIdAboutLabel3 = 211;    // "地址："
inline constexpr int kIdAboutLabel7 = 212;    // postal address
inline constexpr int kIdAboutCommand1 = 213;  // "Inf": the platform's About box
inline constexpr int kIdAboutLabel12 = 214;   // messenger contact

}  // namespace ui

// A control as a form is drawn up: what kind it is, its id, caption and place in twips.
#pragma once

#include <string_view>

#include "ui/twips.h"

namespace ui {

enum class ControlKind {
  kListBox,
  kPushButton,
  kCheckBox,
  kLabel,             // static text; it reports clicks to its form
  kTextBox,           // one line, read-only
  kMultiLineTextBox,  // several lines, read-only, wrapped at the box's width
  kImage,             // an icon stretched to the control's size
};

struct ControlLayout {
  int id;
  ControlKind kind;
  std::wstring_view caption;
  TwipsRect rect;
  bool checked;  // initial state of a check box
};

}  // namespace ui

// The flat look for push buttons, option buttons and check boxes (the BS_FLAT style bit).
#pragma once

#include <windows.h>

namespace ui {

// Sets BS_FLAT in the window's style when `flat` is true. With `flat` false the style is written
// back unchanged: the bit is never cleared.
void SetFlatStyle(HWND hWnd, bool flat);

// Flattens every button-class child of `form` that is a push button, radio button or check box,
// in the window's control order, then redraws the whole window. List boxes and every other kind
// of control are left alone.
void FlattenControls(HWND form);

}  // namespace ui

// What the driver prints for the test scripts: UTF-8 on standard output.
#pragma once

#include <string_view>

namespace gui {

// UTF-8 bytes straight to standard output: no console code page stands between the UTF-16 read
// from the window and what the script compares.
void Print(std::wstring_view text);

// Prints "error: MESSAGE" and returns 1, the driver's exit code for a failed step.
int Fail(std::wstring_view message);

}  // namespace gui

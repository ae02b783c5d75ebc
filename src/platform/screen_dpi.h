// The screen's DPI, which turns the layouts' twips into pixels in every window and box.
#pragma once

namespace platform {

// The screen's DPI as the system reports it to this (system-DPI-aware) process; 96 when it
// cannot be read.
int SystemDpi();

}  // namespace platform

// Resource ids shared by the program's resource script and its code. Macros, because the resource
// compiler reads this file too and understands nothing else.
#pragma once

// The application icon. The lowest id, so it is also the icon Explorer shows for the program.
#define QUELLIN_ICON_ID 1

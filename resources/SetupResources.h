// Identifiers of the setup program's resources, shared by the resource scripts and the code.
#pragma once

// The application icon: icon group 1 (256, 48, 40, 32, 24, 20 and 16 pixel images: the
// small icon from 100 to 200 percent, the large one from 100 to 150).
#define SETUP_ICON_ID 1

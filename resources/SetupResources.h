// Identifiers of the setup program's resources, shared by the resource scripts and the code.
#pragma once

// The application icon: icon group 1 (256, 48, 32 and 16 pixel images).
#define SETUP_ICON_ID 1

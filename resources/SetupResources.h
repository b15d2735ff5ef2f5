// Identifiers of the setup program's resources, shared by the resource scripts and the code.
// A named resource is written here as a bare word, as the scripts name it; the code takes
// its name as text with SETUP_RESOURCE_NAME. Windows' own type ids and system resources are
// its named constants: RT_RCDATA, RT_VERSION and VS_VERSION_INFO, IDC_ARROW, IDC_WAIT.
#pragma once

// The application icon: icon group 1 (256, 48, 40, 32, 24, 20 and 16 pixel images: the
// small icon from 100 to 200 percent, the large one from 100 to 150).
#define SETUP_ICON_ID 1

// The wizard form's layout and the Latvian texts, both RCDATA.
#define MAIN_DLG_LAYOUT TMAINDLGFORM
#define LATVIAN_TEXTS LATVIANTEXTS
// The payload: both the type and the name of its resource.
#define PAYLOAD_FILES FILES

#ifndef RC_INVOKED
#define SETUP_RESOURCE_NAME(id) SETUP_RESOURCE_TEXT(id)
#define SETUP_RESOURCE_TEXT(id) #id
#endif

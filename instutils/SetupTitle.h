// The setup title: the application's title, the wizard's caption, the caption of every
// message box and the source of the temporary-file prefix.
#pragma once

#include "instutils/UserText.h"

namespace inst {
inline constexpr char kSetupTitle[] = USER_TEXT("Zentrova Latvian Spellchecker - Setup");
}

// Letter case as the drive list and the folder tree list show and compare names. Text is
// narrow, in the ANSI code page.
#pragma once

#include <string>

namespace filectrl {

// File-name rules: in a multi-byte ANSI code page only the ASCII letters change (a lead
// or trail byte must never be altered); otherwise every letter of the code page does.
std::string LowerCaseFileName(std::string text);
std::string UpperCaseFileName(std::string text);

// The text lower-cased by the user locale's rules (every letter of the code page).
std::string LowerCaseText(std::string text);

// Two drive letters (or any two characters) equal when ASCII case is ignored.
bool SameLetter(char a, char b);

}  // namespace filectrl

// The mark of a text the user reads, where it stands in the code. The texts test finds
// every marked literal in the program's sources and wants its Latvian version beside it in
// wizard/LatvianTexts.txt, so a new text cannot go out in English only. The mark is the
// literal itself; a text of the form's layout is marked by being a Caption there.
#pragma once

#define USER_TEXT(english) english

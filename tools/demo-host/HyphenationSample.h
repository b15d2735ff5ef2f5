// The Latvian words the stand-in word processor hyphenates: long ones, lower case, that
// between them hold every letter with a diacritic (ā ē ī ū č š ž ļ ņ ķ ģ). The text is
// UTF-8, in this file and in the compiled strings.
#pragma once

namespace host {

inline constexpr const char* HyphenationSample[] = {
    "uzņēmējdarbība", "pareizrakstības", "ķirurģiskajām",
    "ūdenskrātuvēs",  "mežsaimniecībā",  "pašvaldībām",
    "dzelzceļa",      "čempionātiem",    "kaļķakmens",
};

}  // namespace host

// A separate process that shows one setup message box, so tests can drive a box of
// another process as the end-to-end tests drive Setup.exe.
//   message_box_host.exe KIND BUTTONS TEXT    (a "\r" in TEXT stands for a carriage return)
// The exit code is the result of the box.
#include <cstdlib>
#include <string>

#include "instutils/SetupMessage.h"
#include "instutils/Widen.h"

int main(int argc, char** argv) {
  if (argc != 4) return 255;
  std::string text;
  for (const char* p = argv[3]; *p; ++p) {
    if (p[0] == '\\' && p[1] == 'r') {
      text += '\r';
      ++p;
    } else {
      text += *p;
    }
  }
  return inst::SetupMessage(inst::Widen(text), static_cast<inst::TDialogKind>(std::atoi(argv[1])),
                            static_cast<inst::TButtonSet>(std::atoi(argv[2])));
}

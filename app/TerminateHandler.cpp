// What ends Setup.exe when an exception finds no handler (the entry sequence and the window
// procedure catch everything the program throws, so this is the last resort). The C++
// runtime's default handler prints the exception's demangled type to the standard error,
// which a windowed program does not have, and takes the symbol demangler with it: about
// a tenth of the program's code. This one ends the process as that one does, without the
// report. The test programs keep the runtime's own.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

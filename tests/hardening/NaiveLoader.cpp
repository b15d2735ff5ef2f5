// Loads each DLL named on its command line by name alone, with the ordinary search order
// (the program's own folder first), as a program without any restriction would. The
// planting test runs it as the control that shows a planted DLL does get loaded.
#include <windows.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) LoadLibraryA(argv[i]);
  return 0;
}

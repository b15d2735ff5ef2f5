// Holds a file open with no sharing, as another program using it would, until the process
// that started it ends or kills it:  payload_file_holder PATH PARENT_PID
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE parent =
      OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
  if (parent) WaitForSingleObject(parent, INFINITE);
  CloseHandle(file);
  return 0;
}

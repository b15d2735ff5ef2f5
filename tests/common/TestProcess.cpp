#include "tests/common/TestProcess.h"

#include <utility>

#include "tests/common/TestFolder.h"

namespace testkit {

TProcess::TProcess(std::wstring commandLine, const std::wstring& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return;
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
}

TProcess::TProcess(const std::string& commandLine, const std::string& folder)
    : TProcess(WidenAnsi(commandLine), WidenAnsi(folder)) {}

TProcess::~TProcess() { End(); }

TProcess& TProcess::operator=(TProcess&& other) {
  End();
  process_ = std::move(other.process_);
  id_ = other.id_;
  return *this;
}

DWORD TProcess::WaitForExit(DWORD timeoutMs) const {
  DWORD code = STILL_ACTIVE;
  if (process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.get(), &code);
  return code;
}

void TProcess::End() {
  if (!process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) return;
  TerminateProcess(process_.get(), 99);
  WaitForSingleObject(process_.get(), 10000);
}

}  // namespace testkit

#include "ui/Application.h"

#include "ui/Form.h"
#include "instutils/SetupMessage.h"

namespace ui {

TApplication Application;

void TApplication::SetIconResource(HMODULE module, int id) {
  icon_ = LoadIconA(module, MAKEINTRESOURCEA(id));
  smallIcon_ = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (mainForm_) FormCreated(mainForm_);
}

HWND TApplication::MainWindow() const {
  return mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : nullptr;
}

void TApplication::FormCreated(TForm* form) {
  if (!mainForm_) {
    mainForm_ = form;
    inst::SetMessageOwner(form->Handle());  // every message box belongs to the main window
  }
  if (!icon_ || !form->HandleAllocated()) return;
  SendMessageA(form->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(form->Handle(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_ : icon_));
}

void TApplication::FormDestroyed(TForm* form) {
  if (mainForm_ != form) return;
  mainForm_ = nullptr;
  inst::SetMessageOwner(nullptr);
}

void TApplication::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("An unknown error occurred.");
  }
}

void TApplication::ShowException(const std::string& message) {
  inst::SetupMessage(message, inst::TDialogKind::Error, inst::buttons::OK);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (mainForm_ && mainForm_->IsDialogKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace ui

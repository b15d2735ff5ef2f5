#include "ui/Application.h"

#include <string>

#include "instutils/Language.h"
#include "instutils/SetupMessage.h"
#include "ui/Form.h"

namespace ui {

TApplication Application;

void TApplication::SetIconResource(HMODULE module, int id) {
  icon_ = LoadIconW(module, MAKEINTRESOURCEW(id));
  smallIcon_ = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON,
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
  SendMessageW(form->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_ : icon_));
}

void TApplication::FormDestroyed(TForm* form) {
  if (mainForm_ != form) return;
  mainForm_ = nullptr;
  inst::SetMessageOwner(nullptr);
}

bool TApplication::RunGuarded(const std::function<void()>& work) {
  std::wstring message;
  try {
    work();
    return true;
  } catch (const std::exception& e) {
    message = inst::UserText(e);
  } catch (...) {
    message = inst::Localized(kUnknownErrorText);
  }
  inst::SetupMessage(message, inst::TDialogKind::Error, inst::buttons::OK);
  return false;
}

}  // namespace ui

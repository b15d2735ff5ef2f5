#include "wizard/MainDlg.h"

#include <windows.h>
#include <shlobj.h>

#include <cctype>

#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "instutils/FormatText.h"
#include "instutils/InstUtils.h"
#include "instutils/Language.h"
#include "instutils/ProductNames.h"
#include "instutils/SetupMessage.h"
#include "instutils/SetupTitle.h"
#include "instutils/TempFiles.h"
#include "instutils/UserText.h"
#include "instutils/Widen.h"
#include "payload/AttachFiles.h"
#include "ui/Bevel.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/TabSheet.h"
#include "wizard/HomeFolder.h"
#include "wizard/Installation.h"
#include "wizard/SetupLog.h"

namespace wizard {

std::wstring PageTitles[7] = {
    USER_TEXT(L"Welcome to the %s"), USER_TEXT(L"License Agreement"),
    USER_TEXT(L"Specify Home Folder"), USER_TEXT(L"Ready to Install"),
    USER_TEXT(L"Installing"), USER_TEXT(L"Installation Complete"), L""};

namespace {

const wchar_t* const kProductName = L"Zentrova Latvian Spellchecker";
const wchar_t* const kModuleName = L"Latvian Spellchecker";
const UINT_PTR kDrivePollTimer = 1;
const UINT kDrivePollMs = 1000;

const wchar_t* const kCloseQuestion = USER_TEXT(
    L"Setup is not complete. If you quit this setup program now,\r"
    "the %s will not be correctly installed.\r\r"
    "You may relaunch the setup program at a later time\r"
    "to complete the installation of the %s.\r\r"
    "To continue installing, click No.\r"
    "To quit this setup program, click Abort.");

// Every caption of the form and its controls in the chosen language; an English one is not
// set again, so the English wizard stays as its layout made it.
void Localize(ui::TControl* form) {
  std::vector<ui::TControl*> all;
  form->AddWithChildren(all);
  for (ui::TControl* c : all)
    if (std::wstring shown = inst::Localized(c->Caption()); shown != c->Caption()) c->SetCaption(shown);
}

// A notice in the chosen language, answered with OK.
void Tell(const wchar_t* english) {
  inst::SetupMessage(inst::Localized(english), inst::TDialogKind::Information, inst::buttons::OK);
}

}  // namespace

const wchar_t* const kBackCaption = USER_TEXT(L"< &Back");
const wchar_t* const kNextCaption = USER_TEXT(L"&Next >");
const wchar_t* const kFinishCaption = USER_TEXT(L"&Finish");
const wchar_t* const kCancelCaption = USER_TEXT(L"Cancel");

const wchar_t* const kHostRunningText = USER_TEXT(
    L"There are running instances of Zentrova Word Processor on your computer.\r"
    "Please close any running instance(s) of Zentrova Word Processor before proceeding.");
const wchar_t* const kLicenseQuestion = USER_TEXT(
    L"To install this program, you need to agree to all the terms\r"
    "of the Zentrova Word Processor License Agreement.\r"
    "Do you really want to cancel the Zentrova Spellchecker install?");
const wchar_t* const kWrongFolderText = USER_TEXT(
    L"The specified folder does not contain a properly installed Zentrova Word Processor.\r"
    "Please specify the proper home folder of Zentrova Word Processor on your hard disk.");

const wchar_t* const kRecordsBusyText = USER_TEXT(
    L"Another setup program is installing at the same time and has not finished within two "
    "minutes. Nothing has been installed.\r"
    "Please run this setup again when the other one has finished.");

std::wstring CloseQuestion() { return inst::FormatText(kCloseQuestion, {kProductName, kProductName}); }

TMainDlgForm::TMainDlgForm(const TCommandLine& commandLine) {
  RegisterHandler("BNClick", &TMainDlgForm::BNClick);
  RegisterHandler("CancelBtnClick", &TMainDlgForm::CancelBtnClick);
  RegisterHandler("FormCloseQuery", &TMainDlgForm::FormCloseQuery);
  RegisterHandler("DestDirLstBxChange", &TMainDlgForm::DestDirLstBxChange);
  RegisterField("TopPanel", TopPanel);
  RegisterField("TopLbl", TopLbl);
  RegisterField("LogoSmallImage", LogoSmallImage);
  RegisterField("LeftPanel", LeftPanel);
  RegisterField("LogoImage", LogoImage);
  RegisterField("LeftBevel", LeftBevel);
  RegisterField("PgCtrl", PgCtrl);
  RegisterField("WelcomeTabSheet", WelcomeTabSheet);
  RegisterField("WelcomeLbl", WelcomeLbl);
  RegisterField("LicenseTabSheet", LicenseTabSheet);
  RegisterField("LicenseLbl", LicenseLbl);
  RegisterField("LicenseMemo", LicenseMemo);
  RegisterField("LicenseChkBx", LicenseChkBx);
  RegisterField("DestDirTabSheet", DestDirTabSheet);
  RegisterField("DestDirLbl", DestDirLbl);
  RegisterField("DestDirEdt", DestDirEdt);
  RegisterField("DestDirLstBx", DestDirLstBx);
  RegisterField("DestDirCmbBx", DestDirCmbBx);
  RegisterField("StartTabSheet", StartTabSheet);
  RegisterField("StartLbl", StartLbl);
  RegisterField("InstallingTabSheet", InstallingTabSheet);
  RegisterField("FinishTabSheet", FinishTabSheet);
  RegisterField("FinishLbl", FinishLbl);
  RegisterField("FinishChkBx", FinishChkBx);
  RegisterField("BottomBevelPanel", BottomBevelPanel);
  RegisterField("BottomBevel", BottomBevel);
  RegisterField("BottomPanel", BottomPanel);
  RegisterField("BackBtn", BackBtn);
  RegisterField("NextBtn", NextBtn);
  RegisterField("CancelBtn", CancelBtn);

  LoadLayout(kMainDlgLayout);
  SetCaption(inst::Widen(inst::kSetupTitle));
  PageTitles[0] = inst::FormatText(PageTitles[0], {kProductName});
  TopPanel->SetParentBackground(false);  // white even where visual styles paint parents
  ShowLogos();
  WelcomeLbl->SetCaption(inst::FormatText(WelcomeLbl->Caption(), {kModuleName}));
  StartLbl->SetCaption(inst::FormatText(StartLbl->Caption(), {kProductName}));
  FinishLbl->SetCaption(inst::FormatText(FinishLbl->Caption(), {kProductName}));
  Localize(this);
  ReadInitialSettings(commandLine);
  SetTimer(Handle(), kDrivePollTimer, kDrivePollMs, nullptr);
  GoToPage(kNoPage, kWelcomePage);
  FormReady = true;
}

TMainDlgForm::~TMainDlgForm() {
  if (HandleAllocated()) KillTimer(Handle(), kDrivePollTimer);
}

void TMainDlgForm::ShowLogos() {
  // Both logos pass through one temporary file, deleted once they are loaded.
  const std::string temp = inst::NewTempFileName();
  const auto load = [&](const char* entry, ui::TImage* image) {
    payload::AttachedFiles->ExtractFile(nullptr, entry, temp);
    // The payload always carries both logos; an unreadable one leaves its place empty.
    image->LoadFromFile(temp);
  };
  load("Logo.bmp", LogoImage);
  load("LogoSmall.bmp", LogoSmallImage);
  DeleteFileW(inst::Widen(temp).c_str());
}

void TMainDlgForm::ReadInitialSettings(const TCommandLine& commandLine) {
  const SavedSettings saved = ReadSettings();
  const HomeProposal proposal = ProposeHomeDir(saved, commandLine);
  HomeDir = proposal.folder;
  ProtectFromLog(inst::JoinPath(HomeDir, inst::kHostExe));
  // A folder the code page cannot name is shown as typed; Next refuses it like any
  // folder without the word processor.
  if (proposal.named) DestDirEdt->SetText(HomeDir);
  else DestDirEdt->SetCaption(commandLine.homeDirTyped);
  DestDirLstBx->ShowFolder(proposal.named ? HomeDir : inst::Narrow(commandLine.homeDirTyped));
  FinishChkBx->SetChecked(saved.launch);
}

void TMainDlgForm::SaveSettings() {
  WriteSettings(HomeDir, FinishChkBx->Checked());
}

void TMainDlgForm::NormalizeDestDir() {
  char drive = DestDirCmbBx->SelectedDrive();
  // Before any drive is chosen (an empty "-d" at start) the Program Files drive serves.
  if (!std::isalpha(static_cast<unsigned char>(drive))) drive = ProgramFilesDrive();
  DestDirEdt->SetText(NormalizeDestDirText(DestDirEdt->Text(), drive,
                                           inst::GetSpecialFolder(CSIDL_PROGRAM_FILES)));
}

void TMainDlgForm::DestDirLstBxChange(ui::TControl*) {
  if (!FormReady) return;
  DestDirEdt->SetText(DestDirLstBx->TreeFolder());
  NormalizeDestDir();
}

void TMainDlgForm::WMTimer(UINT_PTR id) {
  if (id != kDrivePollTimer) return;
  const DWORD mask = GetLogicalDrives();
  const DWORD old = DestDirCmbBx->DriveMask();
  if (mask == old) return;
  const int selected = DestDirCmbBx->ItemIndex();
  const std::string selectedText = selected >= 0 ? DestDirCmbBx->ItemText(selected) : "";
  DestDirCmbBx->RefillDrives();
  if (static_cast<std::int32_t>(mask) < static_cast<std::int32_t>(old)) {  // drives went away
    const int bit = DestDirCmbBx->SelectedDrive() - 'a';
    if (bit >= 0 && bit < 26 && (mask & (1u << bit))) {
      for (int i = 0; i < DestDirCmbBx->ItemCount(); ++i) {
        const std::string& text = DestDirCmbBx->ItemText(i);
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(),
                           static_cast<int>(text.size()), selectedText.data(),
                           static_cast<int>(selectedText.size())) == CSTR_EQUAL) {
          DestDirCmbBx->SetItemIndex(i);
          break;
        }
      }
    } else {
      DestDirCmbBx->SelectDrive(ProgramFilesDrive());
    }
    return;
  }
  for (int n = 2; n < 26; ++n) {  // drives came: the lowest new one from C: on
    if ((mask & (1u << n)) && !(old & (1u << n))) {
      DestDirCmbBx->SelectDrive(static_cast<char>('a' + n));
      break;
    }
  }
}

void TMainDlgForm::BNClick(ui::TControl* sender) {
  const TPage current = static_cast<TPage>(PgCtrl->ActivePageIndex());
  GoToPage(current, static_cast<TPage>(sender == BackBtn ? current - 1 : current + 1));
}

void TMainDlgForm::CancelBtnClick(ui::TControl*) {
  Close();
}

void TMainDlgForm::FormCloseQuery(ui::TControl*, bool& canClose) {
  canClose = CloseApproved ||
             inst::SetupMessage(inst::Localized(CloseQuestion()),
                                inst::TDialogKind::Question, inst::buttons::YesNo) == IDYES;
  CloseApproved = canClose;
}

void TMainDlgForm::EndDialog(int modalResult) {
  CloseApproved = true;
  SetModalResult(modalResult);
}

bool TMainDlgForm::LoadLicense() {
  // The page and its focus first: the buttons then hide without the focus on them.
  PgCtrl->SetActivePage(LicenseTabSheet, LicenseMemo);
  NextBtn->Hide();
  CancelBtn->Hide();
  ui::ShowWaitCursor();
  const std::string temp = inst::NewTempFileName();
  if (!payload::AttachedFiles->ExtractFile(nullptr, "License.txt", temp)) return false;
  // A licence that cannot be read leaves the memo empty, so the next move to the licence
  // page tries again.
  LicenseMemo->LoadLinesFromFile(temp);
  DeleteFileW(inst::Widen(temp).c_str());
  return true;
}

void TMainDlgForm::GoToPage(TPage from, TPage to) {
  if (to > kFinishPressed) return;  // Back from the first page: no page there
  // The check of the page entered; it may keep the wizard where it is.
  ui::TControl* focus = nullptr;
  switch (to) {
    case kLicensePage:
      if (from == kWelcomePage && LicenseMemo->LineCount() == 0) {
        if (HostIsRunning()) {
          Tell(kHostRunningText);
          return;
        }
        // A licence that cannot be written ends the dialog once the page is shown.
        if (!LoadLicense()) EndDialog(ui::mrCancel);
      }
      focus = LicenseMemo;
      break;
    case kDestDirPage:
      if (from == kLicensePage && !LicenseChkBx->Checked()) {
        if (inst::SetupMessage(inst::Localized(kLicenseQuestion), inst::TDialogKind::Information,
                               inst::buttons::YesNo) == IDYES)
          EndDialog(ui::mrCancel);
        return;
      }
      focus = DestDirEdt;
      break;
    case kReadyPage:
      NormalizeDestDir();
      if (!HoldsHost(DestDirEdt->Text())) {
        Tell(kWrongFolderText);
        return;
      }
      HomeDir = DestDirEdt->Text();
      ProtectFromLog(inst::JoinPath(HomeDir, inst::kHostExe));
      focus = NextBtn;
      break;
    case kInstallingPage:
      switch (CheckBeforeRun(HomeDir)) {
        case TRunCheck::HostRunning:
          Tell(kHostRunningText);
          return;
        case TRunCheck::WrongFolder:
          Tell(kWrongFolderText);
          GoToPage(kReadyPage, kDestDirPage);
          return;
        case TRunCheck::Ready:
          break;
      }
      break;
    case kFinishPressed:
      FinishStep();
      return;
    default:
      break;
  }

  BackBtn->SetEnabled(to != kWelcomePage);
  BackBtn->SetVisible(to <= kReadyPage);
  BackBtn->SetCaption(inst::Localized(kBackCaption));
  NextBtn->SetVisible(to != kInstallingPage);
  NextBtn->SetCaption(inst::Localized(to == kFinishPage ? kFinishCaption : kNextCaption));
  CancelBtn->SetVisible(to != kFinishPage);
  CancelBtn->SetCaption(inst::Localized(kCancelCaption));
  TopLbl->SetCaption(inst::Localized(PageTitles[to]));
  PgCtrl->SetActivePageIndex(to, focus);
  if (to == kInstallingPage) InstallationRun();
}

void TMainDlgForm::InstallationRun() {
  // Let the installing page show before the thread is busy writing files.
  UpdateWindow(Handle());
  installation_ = std::make_unique<TInstallation>(HomeDir, "accepted on the home-folder page");
  if (!installation_->TakeRecords()) {
    inst::SetupMessage(inst::Localized(kRecordsBusyText), inst::TDialogKind::Error,
                       inst::buttons::OK);
    EndDialog(ui::mrCancel);  // nothing was written
    return;
  }
  if (!installation_->Run()) {
    EndDialog(ui::mrCancel);  // the user chose Abort; what was written stays
    return;
  }
  GoToPage(kInstallingPage, kFinishPage);
}

void TMainDlgForm::FinishStep() {
  // The run's own decision: the drive is not asked again.
  if (installation_) installation_->FinishStep();
  if (FinishChkBx->Checked()) {
    // The whole path within double quotes, so a home folder with spaces starts right.
    const std::string command = '"' + inst::JoinPath(HomeDir, inst::kHostExe) + '"';
    WinExec(command.c_str(), SW_SHOW);
  }
  SaveSettings();
  EndDialog(ui::mrOk);
}

}  // namespace wizard

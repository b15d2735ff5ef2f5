// The wizard: one fixed-size dialog with six pages (welcome, licence, home folder, ready,
// installing, finish). It proposes the word processor's home folder, writes the module
// files into its language-module folders, records a shared installation for the word
// processor, saves the settings and can start the word processor at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "resources/SetupResources.h"
#include "ui/Form.h"
#include "wizard/CommandLine.h"

namespace ui {
class TBevel;
class TButton;
class TCheckBox;
class TEdit;
class TImage;
class TLabel;
class TMemo;
class TPageControl;
class TPanel;
class TTabSheet;
}  // namespace ui

namespace filectrl {
class TDirectoryListBox;
class TDriveComboBox;
}  // namespace filectrl

namespace wizard {

class TInstallation;

// A page number: 0 to 5 name the pages; kFinishPressed is the step past the last page,
// kNoPage the page left at the very first entry.
using TPage = std::uint8_t;
enum : TPage {
  kWelcomePage = 0, kLicensePage, kDestDirPage, kReadyPage, kInstallingPage, kFinishPage,
  kFinishPressed = 6, kNoPage = 255
};

// The header title of each page (index 6: none). Entry 0 carries a "%s" until the first
// form fills it in.
extern std::wstring PageTitles[7];

// The buttons' captions and the wizard's messages, in English; each is shown through
// inst::Localized. The close question is the one with the product's name filled in.
extern const wchar_t* const kBackCaption;
extern const wchar_t* const kNextCaption;
extern const wchar_t* const kFinishCaption;
extern const wchar_t* const kCancelCaption;
extern const wchar_t* const kHostRunningText;
extern const wchar_t* const kLicenseQuestion;
extern const wchar_t* const kWrongFolderText;
extern const wchar_t* const kRecordsBusyText;
std::wstring CloseQuestion();

// The RCDATA resource that holds the window's layout.
inline constexpr const char* kMainDlgLayout = SETUP_RESOURCE_NAME(MAIN_DLG_LAYOUT);

class TMainDlgForm : public ui::TForm {
 public:
  // The home folder comes from the command line's "-d" option when it has one.
  explicit TMainDlgForm(const TCommandLine& commandLine = {});
  ~TMainDlgForm() override;
  const char* ClassName() const override { return "TMainDlgForm"; }

  // Moves from page `from` to page `to`, with the checks of the page entered.
  void GoToPage(TPage from, TPage to);
  // Writes MAINDIR and LAUNCH from HomeDir and the launch box.
  void SaveSettings();
  // Cleans the home-folder text in place.
  void NormalizeDestDir();

  // Controls, in layout order of declaration.
  ui::TPanel* TopPanel = nullptr;
  ui::TLabel* TopLbl = nullptr;
  ui::TImage* LogoSmallImage = nullptr;
  ui::TPanel* LeftPanel = nullptr;
  ui::TImage* LogoImage = nullptr;
  ui::TBevel* LeftBevel = nullptr;
  ui::TPageControl* PgCtrl = nullptr;
  ui::TTabSheet* WelcomeTabSheet = nullptr;
  ui::TLabel* WelcomeLbl = nullptr;
  ui::TTabSheet* LicenseTabSheet = nullptr;
  ui::TLabel* LicenseLbl = nullptr;
  ui::TMemo* LicenseMemo = nullptr;
  ui::TCheckBox* LicenseChkBx = nullptr;
  ui::TTabSheet* DestDirTabSheet = nullptr;
  ui::TLabel* DestDirLbl = nullptr;
  ui::TEdit* DestDirEdt = nullptr;
  filectrl::TDirectoryListBox* DestDirLstBx = nullptr;
  filectrl::TDriveComboBox* DestDirCmbBx = nullptr;
  ui::TTabSheet* StartTabSheet = nullptr;
  ui::TLabel* StartLbl = nullptr;
  ui::TTabSheet* InstallingTabSheet = nullptr;
  ui::TTabSheet* FinishTabSheet = nullptr;
  ui::TLabel* FinishLbl = nullptr;
  ui::TCheckBox* FinishChkBx = nullptr;
  ui::TPanel* BottomBevelPanel = nullptr;
  ui::TBevel* BottomBevel = nullptr;
  ui::TPanel* BottomPanel = nullptr;
  ui::TButton* BackBtn = nullptr;
  ui::TButton* NextBtn = nullptr;
  ui::TButton* CancelBtn = nullptr;

  bool CloseApproved = false;  // once true the dialog closes without the close question
  bool FormReady = false;      // false while the constructor runs
  std::string HomeDir;         // the word processor's home folder

 protected:
  void WMTimer(UINT_PTR id) override;

 private:
  void BNClick(ui::TControl* sender);
  void CancelBtnClick(ui::TControl* sender);
  void FormCloseQuery(ui::TControl* sender, bool& canClose);
  void DestDirLstBxChange(ui::TControl* sender);

  void ReadInitialSettings(const TCommandLine& commandLine);
  void ShowLogos();
  bool LoadLicense();
  void InstallationRun();
  void FinishStep();
  // Ends the dialog on the wizard's own account, without the close question.
  void EndDialog(int modalResult);

  std::unique_ptr<TInstallation> installation_;  // made by the installing page
};

}  // namespace wizard

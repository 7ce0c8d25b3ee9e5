#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLineEdit;

namespace tarvex {

class PlatformServices;
class SettingsFile;
class SettingsValues;
class Tfm_dir;
struct MainSettings;
struct SettingsControls;

// What the settings dialog asks of the layers around it.
struct SettingsDialogHooks {
  // The writer's checks: may this MP3 / Ogg Vorbis combination be encoded?
  // channelMode is 1 "Mono" to 5 "Dual Channels"; channels is 1 or 2.
  std::function<bool(int rateHz, int kbps, int channelMode)> checkMp3;
  std::function<bool(int rateHz, int channels, int kbps, int minKbps, int maxKbps)> checkOgg;
  // Throws (what() is the user's message) when the encoder cannot take an
  // option of the command-line text.
  std::function<void(const QString&)> validateCommandLine;
  // Re-plans the selected source's segment list after OK.
  std::function<void()> lvClick;
};

// The settings dialog: the main window's working state (function choice,
// output folder, piece length and count, fades) and the encoder settings of
// the four output formats. Each showing loads the controls from the
// window-wide state and the settings file; OK checks, stores and re-plans;
// Default resets the encoder controls; Cancel stores nothing. A click on a
// function choice changes the window-wide state at once.
//
// The controls are the dialog's own; each carries an object name (the page
// tree's nodes aside), by which tests find and work them as a user does.
class Tfm_set : public QDialog {
  Q_OBJECT

 public:
  Tfm_set(MainSettings& choices, const SettingsFile& settings, PlatformServices& platform,
          Tfm_dir& folderDialog, SettingsDialogHooks hooks, QWidget* parent = nullptr);
  ~Tfm_set() override;

  // The MP3 command-line text; it lives only in this dialog for the program run.
  QString commandLineText() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The handlers of the buttons, the page tree and the fields; the buttons
  // show any error through the platform's error display.
  void FormShow();
  void TreeView1Click();
  // Returns true when everything was stored and the dialog closed.
  bool OkClick();
  void Button2Click();
  void CancelClick();
  void bt_dirClick();
  void edt_timeExit();
  void edt_countExit();
  void edt_ogg_qualityExit();

  void buildWindow();
  void buildPageTree();
  QGroupBox* buildGeneralPage();
  QGroupBox* buildMp3GeneralPage();
  QGroupBox* buildMp3VbrPage();
  QGroupBox* buildFilterPage();
  QGroupBox* buildExpertPage();
  QGroupBox* buildPresetsPage();
  QGroupBox* buildCommandPage();
  QGroupBox* buildWavPage();
  QGroupBox* buildWmaPage();
  QGroupBox* buildOggPage();
  QGroupBox* buildMp3CopyPage();
  void connectRules();

  void showPage(QGroupBox* page);
  void runGuarded(const std::function<void()>& handler);

  // Enable rules.
  void cb_mp3vbrcmChange();
  void rb_cdmodeClick();
  void chHFiltClick();
  void chLFiltClick();
  void ck_presetClick();
  void ck_altClick();
  void ck_oggvbrClick();
  void ck_oggqualityClick();

  void loadEncoderControls();
  // Puts the encoder keys' values into their controls and settles the rules
  // that follow them (opening the dialog, and the Default button).
  void showEncoderValues(const SettingsValues& values);
  void storeEncoderControls();
  bool parsePieceNumber(QLineEdit* field, int& value);

  MainSettings& choices_;
  const SettingsFile& settings_;
  PlatformServices& platform_;
  Tfm_dir& folderDialog_;
  // Tells whether the folder dialog still exists when this one goes: as
  // siblings under the main window, the folder dialog is deleted first.
  QPointer<QDialog> folderDialogAlive_;
  SettingsDialogHooks hooks_;
  // Where the controls are; the widgets themselves are the dialog's children.
  std::unique_ptr<SettingsControls> ui_;
  QButtonGroup* functionChoices_ = nullptr;
  bool reportingInvalidNumber_ = false;
};

}  // namespace tarvex

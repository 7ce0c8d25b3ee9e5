#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvex {

class PlatformServices;
class RadioGroup;
class SettingsFile;
class SettingsValues;
class SpinEdit;
class Tfm_dir;
class UpDown;
struct MainSettings;

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

  // The page tree and the header.
  QTreeWidget* TreeView1 = nullptr;
  QLabel* lab = nullptr;
  QStackedWidget* pages = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Cancel = nullptr;

  // General.
  QGroupBox* gb_cdgeneral = nullptr;
  QRadioButton* rb_custom = nullptr;
  QRadioButton* rb_time = nullptr;
  QRadioButton* rb_count = nullptr;
  QRadioButton* rb_unification = nullptr;
  QLineEdit* edt_time = nullptr;
  QLineEdit* edt_count = nullptr;
  QCheckBox* cb_fadein = nullptr;
  QCheckBox* cb_fadeout = nullptr;
  QComboBox* cb_fadeintime = nullptr;
  QComboBox* cb_fadeouttime = nullptr;
  QLineEdit* edt_dir = nullptr;
  QCheckBox* cb_titlenames = nullptr;
  QPushButton* bt_dir = nullptr;

  // MP3 General.
  QGroupBox* gb_mp3general = nullptr;
  QComboBox* cb_mp3_frequency = nullptr;
  QComboBox* cb_mp3_channel = nullptr;
  QComboBox* cb_mp3_bitrate = nullptr;
  QLineEdit* edt_mp3_quality = nullptr;
  UpDown* ud_mp3_quality = nullptr;

  // MP3 VBR.
  QGroupBox* gb_mp3vbr = nullptr;
  QComboBox* cb_mp3vbrcm = nullptr;
  QComboBox* cb_mp3_vbr = nullptr;
  QLineEdit* edt_mp3_vbr = nullptr;
  UpDown* ud_mp3_vbr = nullptr;
  QCheckBox* ck_mp3_VBR = nullptr;
  QCheckBox* ck_mp3_semb = nullptr;

  // MP3 Filter.
  QGroupBox* gb_filter = nullptr;
  QCheckBox* chHFilt = nullptr;
  SpinEdit* udHFiltF = nullptr;
  QLabel* lbHFiltW = nullptr;
  SpinEdit* udHFiltW = nullptr;
  QCheckBox* chLFilt = nullptr;
  SpinEdit* udLFiltF = nullptr;
  QLabel* lbLFiltW = nullptr;
  SpinEdit* udLFiltW = nullptr;

  // MP3 Expert.
  QGroupBox* gb_expert = nullptr;
  QCheckBox* ck_crc = nullptr;
  QCheckBox* ck_comply = nullptr;
  QCheckBox* ck_allow = nullptr;
  QCheckBox* ck_short = nullptr;
  QCheckBox* ck_bit = nullptr;
  QComboBox* cb_ath = nullptr;
  QComboBox* cb_de = nullptr;

  // MP3 Presets.
  QGroupBox* gb_presets = nullptr;
  QCheckBox* ck_preset = nullptr;
  RadioGroup* rg_prest = nullptr;
  QCheckBox* ck_alt = nullptr;
  RadioGroup* rg_alt = nullptr;

  // MP3 Command Line.
  QGroupBox* gb_command = nullptr;
  QPlainTextEdit* txtCommLine = nullptr;

  // WAV.
  QGroupBox* gb_wav = nullptr;
  RadioGroup* rb_cdmode = nullptr;
  QComboBox* cb_wav_frequency = nullptr;
  QComboBox* cb_wav_bit = nullptr;
  QComboBox* cb_wav_channel = nullptr;

  // WMA.
  QGroupBox* gb_wma = nullptr;
  QComboBox* cb_wma = nullptr;

  // Ogg Vorbis.
  QGroupBox* gb_ogg = nullptr;
  QGroupBox* gb_mp3copy = nullptr;  // "MP3 (no re-encode)": what it does, no settings
  QLabel* lb_mp3copy = nullptr;
  QComboBox* cb_ogg_fre = nullptr;
  QComboBox* cb_ogg_channel = nullptr;
  QComboBox* cb_ogg_bitrate = nullptr;
  QCheckBox* ck_oggvbr = nullptr;
  QCheckBox* ck_oggquality = nullptr;
  QComboBox* cb_ogg_minbit = nullptr;
  QComboBox* cb_ogg_maxbit = nullptr;
  QLineEdit* edt_ogg_quality = nullptr;
  UpDown* ud_ogg_quality = nullptr;

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
  QButtonGroup* functionChoices_ = nullptr;
  bool reportingInvalidNumber_ = false;
};

}  // namespace tarvex

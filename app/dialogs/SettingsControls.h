#pragma once

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

namespace tarvex {

class RadioGroup;
class SpinEdit;
class UpDown;

// The settings dialog's controls, page by page. The dialog builds them as its
// children (Qt deletes them with it) and alone works them; each carries an
// object name, by which tests find them.
struct SettingsControls {
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
};

}  // namespace tarvex

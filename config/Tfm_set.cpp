#include "config/Tfm_set.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <exception>
#include <limits>

#include "config/DialogPlacement.h"
#include "config/DigitFilter.h"
#include "config/EncoderLists.h"
#include "config/MainWindowState.h"
#include "config/RadioGroup.h"
#include "config/SettingsFile.h"
#include "config/SpinEdit.h"
#include "config/Tfm_dir.h"
#include "config/UpDown.h"
#include "platform/PlatformServices.h"

namespace tarvex {

namespace {

const QString kOggRefused = QStringLiteral(
    "This OGG format is not supported. \n"
    "You have set too high frequency and too low bitrate or otherwise. \n"
    "Please adjust the frequency or bitrate.");
const QString kMp3Refused = QStringLiteral(
    "This MP3 format is not supported. \n"
    "You have set too high frequency and too low bitrate or otherwise. \n"
    "Please adjust the frequency or bitrate.");

// Missing-key defaults of the stored list positions, also used by the checks
// for a list that shows no chosen row.
constexpr int kDefaultBitrate = 9;    // 128 kbit/s
constexpr int kDefaultFrequency = 7;  // 44100 Hz
constexpr int kDefaultChannel = 1;    // "Stereo"
constexpr int kDialogQuality = 4;     // shown for a missing MP3 quality key
constexpr int kDefaultQuality = 5;    // what Default sets
constexpr int kDefaultOggQuality = 300;
constexpr int kDefaultWmaFormat = 9;
constexpr int kWavCustomMode = 2;

const QString kMp3 = QStringLiteral("mp3");
const QString kVbr = QStringLiteral("MP3VBR");
const QString kFilter = QStringLiteral("MP3Filt");
const QString kExpert = QStringLiteral("MP3Expert");
const QString kPresets = QStringLiteral("MP3Prest");
const QString kWav = QStringLiteral("wav");
const QString kWma = QStringLiteral("wma");
const QString kOgg = QStringLiteral("ogg");

// A stored position outside the list's rows shows no chosen row.
void setListPosition(QComboBox* box, int position) {
  box->setCurrentIndex(isListPosition(position, box->count()) ? position : -1);
}

int positionOr(const QComboBox* box, int defaultPosition) {
  const int position = box->currentIndex();
  return position < 0 ? defaultPosition : position;
}

QString withTrailingSeparator(const QString& folder) {
  if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QDir::separator();
}

bool leavesTheField(const QFocusEvent* event) {
  // Focus that goes to another window (a message box, a popup) has not left
  // the field within the dialog.
  return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace

Tfm_set::Tfm_set(MainWindowState& state, const SettingsFile& settings, PlatformServices& platform,
                 Tfm_dir& folderDialog, SettingsDialogHooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      state_(state),
      settings_(settings),
      platform_(platform),
      folderDialog_(folderDialog),
      hooks_(std::move(hooks)) {
  folderDialogAlive_ = &folderDialog_;
  buildWindow();
  connectRules();
  showPage(gb_cdgeneral);
  // The folder dialog's OK fills the folder field, whichever command opened it.
  folderDialog_.setFolderReceiver([this](const QString& folder) { edt_dir->setText(folder); });
}

Tfm_set::~Tfm_set() {
  if (folderDialogAlive_) folderDialog_.setFolderReceiver({});
}

void Tfm_set::connectRules() {
  connect(TreeView1, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
  connect(TreeView1, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* current) {
    if (current) current->setExpanded(true);
  });
  connect(functionChoices_, &QButtonGroup::idClicked, this,
          [this](int choice) { state_.splitFunction = splitFunctionFromIni(choice); });

  auto* digits = new DigitFilter(this);
  for (QLineEdit* field : {edt_time, edt_count, edt_ogg_quality}) {
    field->installEventFilter(digits);
    field->installEventFilter(this);  // leaving the field
  }

  connect(cb_mp3vbrcm, &QComboBox::currentIndexChanged, this, [this] { cb_mp3vbrcmChange(); });
  connect(rb_cdmode, &RadioGroup::clicked, this, [this] { rb_cdmodeClick(); });
  connect(chHFilt, &QCheckBox::toggled, this, [this] { chHFiltClick(); });
  connect(chLFilt, &QCheckBox::toggled, this, [this] { chLFiltClick(); });
  connect(ck_preset, &QCheckBox::toggled, this, [this] { ck_presetClick(); });
  connect(ck_alt, &QCheckBox::toggled, this, [this] { ck_altClick(); });
  connect(ck_oggvbr, &QCheckBox::toggled, this, [this] { ck_oggvbrClick(); });
  connect(ck_oggquality, &QCheckBox::toggled, this, [this] { ck_oggqualityClick(); });

  connect(Ok, &QPushButton::clicked, this, [this] { runGuarded([this] { OkClick(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(bt_dir, &QPushButton::clicked, this, [this] { runGuarded([this] { bt_dirClick(); }); });
}

void Tfm_set::runGuarded(const std::function<void()>& handler) {
  // A failure of the writer's checks or of the settings file ends the handler
  // and goes to the error display; the dialog stays as it is.
  try {
    handler();
  } catch (const std::exception& error) {
    platform_.showError(this, QString::fromUtf8(error.what()));
  }
}

QString Tfm_set::commandLineText() const {
  return txtCommLine->toPlainText();
}

QString Tfm_set::currentPageTitle() const {
  return lab->text();
}

void Tfm_set::showPage(QGroupBox* page) {
  pages->setCurrentWidget(page);
  lab->setText(page->property("pageTitle").toString());
}

void Tfm_set::TreeView1Click() {
  QTreeWidgetItem* node = TreeView1->currentItem();
  if (!node) return;
  if (auto* page = qobject_cast<QGroupBox*>(node->data(0, Qt::UserRole).value<QObject*>())) {
    showPage(page);
  }
}

void Tfm_set::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool Tfm_set::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && leavesTheField(static_cast<QFocusEvent*>(event))) {
    if (watched == edt_time) edt_timeExit();
    if (watched == edt_count) edt_countExit();
    if (watched == edt_ogg_quality) edt_ogg_qualityExit();
  }
  return QDialog::eventFilter(watched, event);
}

void Tfm_set::FormShow() {
  PlaceOnParentCorner(*this);

  if (QAbstractButton* choice = functionChoices_->button(iniValue(state_.splitFunction))) {
    choice->setChecked(true);
  } else {
    functionChoices_->setExclusive(false);
    for (QAbstractButton* button : functionChoices_->buttons()) button->setChecked(false);
    functionChoices_->setExclusive(true);
  }

  edt_dir->setText(state_.outputDir);
  edt_time->setText(QString::number(state_.pieceSeconds));
  edt_count->setText(QString::number(state_.pieceCount));

  cb_fadein->setChecked(state_.fadeIn);
  cb_fadeout->setChecked(state_.fadeOut);
  setListPosition(cb_fadeintime, state_.fadeInSeconds - 1);
  setListPosition(cb_fadeouttime, state_.fadeOutSeconds - 1);

  loadEncoderControls();

  if (!TreeView1->currentItem()) TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
  TreeView1Click();
}

void Tfm_set::loadEncoderControls() {
  const SettingsFile& file = settings_;
  setListPosition(cb_mp3_bitrate, file.GetInt(kMp3, QStringLiteral("bitrate"), kDefaultBitrate));
  setListPosition(cb_mp3_channel, file.GetInt(kMp3, QStringLiteral("channel"), kDefaultChannel));
  setListPosition(cb_mp3_frequency,
                  file.GetInt(kMp3, QStringLiteral("frequency"), kDefaultFrequency));
  ud_mp3_quality->setPosition(file.GetInt(kMp3, QStringLiteral("quality"), kDialogQuality));
  setListPosition(cb_mp3vbrcm, file.GetInt(kVbr, QStringLiteral("Coding Method"), 0));
  setListPosition(cb_mp3_vbr, file.GetInt(kVbr, QStringLiteral("vbr bitrate"), kDefaultBitrate));
  ud_mp3_vbr->setPosition(file.GetInt(kVbr, QStringLiteral("vbr quality"), kDialogQuality));
  ck_mp3_VBR->setChecked(file.GetBool(kVbr, QStringLiteral("vbrck"), true));
  ck_mp3_semb->setChecked(file.GetBool(kVbr, QStringLiteral("semb"), false));
  cb_mp3vbrcmChange();

  chHFilt->setChecked(file.GetBool(kFilter, QStringLiteral("chHFilt"), false));
  chLFilt->setChecked(file.GetBool(kFilter, QStringLiteral("chLFilt"), false));
  udHFiltF->setValue(file.GetInt(kFilter, QStringLiteral("udHFiltF"), 30));
  udHFiltW->setValue(file.GetInt(kFilter, QStringLiteral("udHFiltW"), 5));
  udLFiltF->setValue(file.GetInt(kFilter, QStringLiteral("udLFiltF"), 15160));
  udLFiltW->setValue(file.GetInt(kFilter, QStringLiteral("udLFiltW"), 750));
  ck_bit->setChecked(file.GetBool(kExpert, QStringLiteral("Bit"), true));
  ck_short->setChecked(file.GetBool(kExpert, QStringLiteral("short"), true));
  ck_allow->setChecked(file.GetBool(kExpert, QStringLiteral("allow"), false));
  ck_comply->setChecked(file.GetBool(kExpert, QStringLiteral("comply"), false));
  ck_crc->setChecked(file.GetBool(kExpert, QStringLiteral("crc"), false));
  setListPosition(cb_ath, file.GetInt(kExpert, QStringLiteral("ath"), 0));
  setListPosition(cb_de, file.GetInt(kExpert, QStringLiteral("de"), 0));
  ck_preset->setChecked(file.GetBool(kPresets, QStringLiteral("preset"), false));
  ck_alt->setChecked(file.GetBool(kPresets, QStringLiteral("alt"), false));
  rg_prest->setItemIndex(file.GetInt(kPresets, QStringLiteral("rg_prest"), 0));
  rg_alt->setItemIndex(file.GetInt(kPresets, QStringLiteral("rg_alt"), 0));
  // The two boxes' rules run in the order they changed; settle them so that a
  // checked "Preset" always has its rows enabled, whatever was left from the
  // last opening.
  ck_altClick();
  ck_presetClick();

  rb_cdmode->setItemIndex(file.GetInt(kWav, QStringLiteral("mode"), 0));
  setListPosition(cb_wav_bit, file.GetInt(kWav, QStringLiteral("bit"), 1));
  setListPosition(cb_wav_channel, file.GetInt(kWav, QStringLiteral("channel"), kDefaultChannel));
  setListPosition(cb_wav_frequency,
                  file.GetInt(kWav, QStringLiteral("frequency"), kDefaultFrequency));
  rb_cdmodeClick();
  setListPosition(cb_wma, file.GetInt(kWma, QStringLiteral("format"), kDefaultWmaFormat));
  setListPosition(cb_ogg_channel, file.GetInt(kOgg, QStringLiteral("channel"), kDefaultChannel));
  setListPosition(cb_ogg_fre, file.GetInt(kOgg, QStringLiteral("frequency"), kDefaultFrequency));
  setListPosition(cb_ogg_bitrate, file.GetInt(kOgg, QStringLiteral("bitrate"), kDefaultBitrate));
  setListPosition(cb_ogg_maxbit, file.GetInt(kOgg, QStringLiteral("max bitrate"), kDefaultBitrate));
  setListPosition(cb_ogg_minbit, file.GetInt(kOgg, QStringLiteral("min bitrate"), kDefaultBitrate));
  ud_ogg_quality->setPosition(file.GetInt(kOgg, QStringLiteral("quality"), kDefaultOggQuality));
  ck_oggvbr->setChecked(file.GetBool(kOgg, QStringLiteral("oggvbr"), false));
  ck_oggquality->setChecked(file.GetBool(kOgg, QStringLiteral("oggquality"), false));
  ck_oggvbrClick();
  ck_oggqualityClick();
}

bool Tfm_set::OkClick() {
  if (!ck_oggquality->isChecked() && hooks_.checkOgg) {
    const bool supported =
        hooks_.checkOgg(listValue(kSampleRatesHz, cb_ogg_fre->currentIndex(), kDefaultFrequency),
                        positionOr(cb_ogg_channel, kDefaultChannel) + 1,
                        listValue(kBitratesKbps, cb_ogg_bitrate->currentIndex(), kDefaultBitrate),
                        listValue(kBitratesKbps, cb_ogg_minbit->currentIndex(), kDefaultBitrate),
                        listValue(kBitratesKbps, cb_ogg_maxbit->currentIndex(), kDefaultBitrate));
    if (!supported) {
      platform_.showInformation(this, kOggRefused);
      return false;
    }
  }
  if (hooks_.checkMp3) {
    const bool supported = hooks_.checkMp3(
        listValue(kSampleRatesHz, cb_mp3_frequency->currentIndex(), kDefaultFrequency),
        listValue(kBitratesKbps, cb_mp3_bitrate->currentIndex(), kDefaultBitrate),
        positionOr(cb_mp3_channel, kDefaultChannel) + 1);
    if (!supported) {
      platform_.showInformation(this, kMp3Refused);
      return false;
    }
  }
  // An option the encoder cannot take is refused now rather than in the
  // middle of a job.
  const QString commandLine = commandLineText();
  if (!commandLine.isEmpty() && hooks_.validateCommandLine) {
    try {
      hooks_.validateCommandLine(commandLine);
    } catch (const std::exception& error) {
      platform_.showInformation(this, QString::fromUtf8(error.what()));
      return false;
    }
  }

  // OK by the Enter key leaves no field, so the minimum rules hold here too.
  if (edt_time->text().isEmpty()) edt_time->setText(QStringLiteral("60"));
  if (edt_count->text().isEmpty()) edt_count->setText(QStringLiteral("1"));
  bool numeric = false;
  if (edt_time->text().toInt(&numeric) < 1 && numeric) edt_time->setText(QStringLiteral("60"));
  if (edt_count->text().toInt(&numeric) < 1 && numeric) edt_count->setText(QStringLiteral("1"));
  ud_ogg_quality->normalizeBuddyText();

  // An empty folder text would send pieces to the working folder: keep the folder.
  const QString folderText = edt_dir->text();
  if (!folderText.isEmpty()) state_.outputDir = withTrailingSeparator(folderText);
  int seconds = 0;
  if (!parsePieceNumber(edt_time, seconds)) return false;
  state_.pieceSeconds = seconds;
  int count = 0;
  if (!parsePieceNumber(edt_count, count)) return false;
  state_.pieceCount = count;

  settings_.PutText(QStringLiteral("Main"), QStringLiteral("Path"), folderText);

  state_.fadeIn = cb_fadein->isChecked();
  state_.fadeOut = cb_fadeout->isChecked();
  // A list showing no row (a stored length outside 1..20) leaves the length as it was.
  if (cb_fadeintime->currentIndex() >= 0) state_.fadeInSeconds = cb_fadeintime->currentIndex() + 1;
  if (cb_fadeouttime->currentIndex() >= 0) {
    state_.fadeOutSeconds = cb_fadeouttime->currentIndex() + 1;
  }

  storeEncoderControls();

  if (hooks_.lvClick) hooks_.lvClick();
  accept();
  return true;
}

void Tfm_set::storeEncoderControls() {
  const SettingsFile& file = settings_;
  for (SpinEdit* spin : {udHFiltF, udHFiltW, udLFiltF, udLFiltW}) spin->interpretText();

  file.PutInt(kMp3, QStringLiteral("bitrate"), cb_mp3_bitrate->currentIndex());
  file.PutInt(kMp3, QStringLiteral("channel"), cb_mp3_channel->currentIndex());
  file.PutInt(kMp3, QStringLiteral("frequency"), cb_mp3_frequency->currentIndex());
  file.PutInt(kMp3, QStringLiteral("quality"), ud_mp3_quality->position());
  file.PutInt(kVbr, QStringLiteral("Coding Method"), cb_mp3vbrcm->currentIndex());
  file.PutInt(kVbr, QStringLiteral("vbr bitrate"), cb_mp3_vbr->currentIndex());
  file.PutInt(kVbr, QStringLiteral("vbr quality"), ud_mp3_vbr->position());
  file.PutBool(kVbr, QStringLiteral("vbrck"), ck_mp3_VBR->isChecked());
  file.PutBool(kVbr, QStringLiteral("semb"), ck_mp3_semb->isChecked());
  file.PutBool(kFilter, QStringLiteral("chHFilt"), chHFilt->isChecked());
  file.PutBool(kFilter, QStringLiteral("chLFilt"), chLFilt->isChecked());
  file.PutInt(kFilter, QStringLiteral("udHFiltF"), udHFiltF->value());
  file.PutInt(kFilter, QStringLiteral("udHFiltW"), udHFiltW->value());
  file.PutInt(kFilter, QStringLiteral("udLFiltF"), udLFiltF->value());
  file.PutInt(kFilter, QStringLiteral("udLFiltW"), udLFiltW->value());
  file.PutBool(kExpert, QStringLiteral("Bit"), ck_bit->isChecked());
  file.PutBool(kExpert, QStringLiteral("short"), ck_short->isChecked());
  file.PutBool(kExpert, QStringLiteral("allow"), ck_allow->isChecked());
  file.PutBool(kExpert, QStringLiteral("comply"), ck_comply->isChecked());
  file.PutBool(kExpert, QStringLiteral("crc"), ck_crc->isChecked());
  file.PutInt(kExpert, QStringLiteral("ath"), cb_ath->currentIndex());
  file.PutInt(kExpert, QStringLiteral("de"), cb_de->currentIndex());
  file.PutBool(kPresets, QStringLiteral("preset"), ck_preset->isChecked());
  file.PutBool(kPresets, QStringLiteral("alt"), ck_alt->isChecked());
  file.PutInt(kPresets, QStringLiteral("rg_prest"), rg_prest->itemIndex());
  file.PutInt(kPresets, QStringLiteral("rg_alt"), rg_alt->itemIndex());
  file.PutInt(kWav, QStringLiteral("mode"), rb_cdmode->itemIndex());
  file.PutInt(kWav, QStringLiteral("bit"), cb_wav_bit->currentIndex());
  file.PutInt(kWav, QStringLiteral("channel"), cb_wav_channel->currentIndex());
  file.PutInt(kWav, QStringLiteral("frequency"), cb_wav_frequency->currentIndex());
  file.PutInt(kWma, QStringLiteral("format"), cb_wma->currentIndex());
  file.PutInt(kOgg, QStringLiteral("channel"), cb_ogg_channel->currentIndex());
  file.PutInt(kOgg, QStringLiteral("frequency"), cb_ogg_fre->currentIndex());
  file.PutInt(kOgg, QStringLiteral("bitrate"), cb_ogg_bitrate->currentIndex());
  file.PutInt(kOgg, QStringLiteral("max bitrate"), cb_ogg_maxbit->currentIndex());
  file.PutInt(kOgg, QStringLiteral("min bitrate"), cb_ogg_minbit->currentIndex());
  file.PutInt(kOgg, QStringLiteral("quality"), ud_ogg_quality->position());
  file.PutBool(kOgg, QStringLiteral("oggvbr"), ck_oggvbr->isChecked());
  file.PutBool(kOgg, QStringLiteral("oggquality"), ck_oggquality->isChecked());
}

bool Tfm_set::parsePieceNumber(QLineEdit* field, int& value) {
  bool ok = false;
  value = field->text().toInt(&ok, 10);
  if (ok) return true;
  platform_.showInformation(this,
                            QStringLiteral("'%1' is not a valid integer value").arg(field->text()));
  return false;
}

void Tfm_set::Button2Click() {
  cb_mp3_bitrate->setCurrentIndex(kDefaultBitrate);
  cb_mp3_channel->setCurrentIndex(kDefaultChannel);
  cb_mp3_frequency->setCurrentIndex(kDefaultFrequency);
  ud_mp3_quality->setPosition(kDefaultQuality);
  cb_mp3vbrcm->setCurrentIndex(0);
  cb_mp3_vbr->setCurrentIndex(kDefaultBitrate);
  ud_mp3_vbr->setPosition(kDefaultQuality);
  ck_mp3_VBR->setChecked(true);
  ck_mp3_semb->setChecked(false);
  cb_mp3vbrcmChange();
  chHFilt->setChecked(false);
  chLFilt->setChecked(false);
  udHFiltF->setValue(30);
  udHFiltW->setValue(5);
  udLFiltF->setValue(15160);
  udLFiltW->setValue(750);
  ck_bit->setChecked(true);
  ck_short->setChecked(true);
  ck_allow->setChecked(false);
  ck_comply->setChecked(false);
  ck_crc->setChecked(false);
  cb_ath->setCurrentIndex(0);
  cb_de->setCurrentIndex(0);
  ck_preset->setChecked(false);
  ck_alt->setChecked(false);
  rg_prest->setItemIndex(0);
  rg_alt->setItemIndex(0);
  rb_cdmode->setItemIndex(0);
  cb_wav_bit->setCurrentIndex(1);
  cb_wav_channel->setCurrentIndex(kDefaultChannel);
  cb_wav_frequency->setCurrentIndex(8);  // 48000 Hz
  rb_cdmodeClick();
  cb_wma->setCurrentIndex(kDefaultWmaFormat);
  cb_ogg_channel->setCurrentIndex(kDefaultChannel);
  cb_ogg_fre->setCurrentIndex(kDefaultFrequency);
  cb_ogg_bitrate->setCurrentIndex(kDefaultBitrate);
  cb_ogg_maxbit->setCurrentIndex(kDefaultBitrate);
  cb_ogg_minbit->setCurrentIndex(kDefaultBitrate);
  ud_ogg_quality->setPosition(kDefaultOggQuality);
  ck_oggvbr->setChecked(false);
  ck_oggquality->setChecked(false);
}

void Tfm_set::CancelClick() {
  reject();
}

void Tfm_set::bt_dirClick() {
  folderDialog_.setWindowTitle(QStringLiteral("Output Directory"));
  folderDialog_.setStartFolder(edt_dir->text());
  folderDialog_.exec();
}

void Tfm_set::edt_timeExit() {
  const QString text = edt_time->text();
  bool ok = false;
  const int seconds = text.toInt(&ok);
  if (text.isEmpty() || (ok && seconds < 1)) {
    edt_time->setText(QStringLiteral("60"));
  } else if (!ok && !reportingInvalidNumber_) {
    reportingInvalidNumber_ = true;
    platform_.showInformation(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
    reportingInvalidNumber_ = false;
  }
}

void Tfm_set::edt_countExit() {
  const QString text = edt_count->text();
  bool ok = false;
  const int count = text.toInt(&ok);
  if (text.isEmpty() || (ok && count < 1)) {
    edt_count->setText(QStringLiteral("1"));
  } else if (!ok && !reportingInvalidNumber_) {
    reportingInvalidNumber_ = true;
    platform_.showInformation(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
    reportingInvalidNumber_ = false;
  }
}

void Tfm_set::edt_ogg_qualityExit() {
  ud_ogg_quality->normalizeBuddyText();
}

void Tfm_set::cb_mp3vbrcmChange() {
  const bool variable = cb_mp3vbrcm->currentIndex() != 0;
  for (QWidget* control : {static_cast<QWidget*>(cb_mp3_vbr), static_cast<QWidget*>(edt_mp3_vbr),
                           static_cast<QWidget*>(ud_mp3_vbr), static_cast<QWidget*>(ck_mp3_VBR),
                           static_cast<QWidget*>(ck_mp3_semb)}) {
    control->setEnabled(variable);
  }
}

void Tfm_set::rb_cdmodeClick() {
  const bool custom = rb_cdmode->itemIndex() == kWavCustomMode;
  cb_wav_frequency->setEnabled(custom);
  cb_wav_bit->setEnabled(custom);
  cb_wav_channel->setEnabled(custom);
}

void Tfm_set::chHFiltClick() {
  const bool on = chHFilt->isChecked();
  udHFiltF->setEnabled(on);
  udHFiltW->setEnabled(on);
  lbHFiltW->setEnabled(on);
}

void Tfm_set::chLFiltClick() {
  const bool on = chLFilt->isChecked();
  udLFiltF->setEnabled(on);
  udLFiltW->setEnabled(on);
  lbLFiltW->setEnabled(on);
}

void Tfm_set::ck_presetClick() {
  rg_prest->setEnabled(ck_preset->isChecked());
  ck_alt->setEnabled(!ck_preset->isChecked());
  rg_alt->setEnabled(ck_alt->isChecked() && !ck_preset->isChecked());
}

void Tfm_set::ck_altClick() {
  rg_alt->setEnabled(ck_alt->isChecked());
  ck_preset->setEnabled(!ck_alt->isChecked());
  rg_prest->setEnabled(ck_preset->isChecked() && ck_alt->isChecked());
}

void Tfm_set::ck_oggvbrClick() {
  cb_ogg_minbit->setEnabled(ck_oggvbr->isChecked());
  cb_ogg_maxbit->setEnabled(ck_oggvbr->isChecked());
  ck_oggquality->setEnabled(!ck_oggvbr->isChecked());
}

void Tfm_set::ck_oggqualityClick() {
  ud_ogg_quality->setEnabled(ck_oggquality->isChecked());
  edt_ogg_quality->setEnabled(ck_oggquality->isChecked());
  ck_oggvbr->setEnabled(!ck_oggquality->isChecked());
}

}  // namespace tarvex

#include "app/dialogs/Tfm_set.h"

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

#include "app/dialogs/DialogPlacement.h"
#include "app/dialogs/DigitFilter.h"
#include "app/dialogs/RadioGroup.h"
#include "app/dialogs/SettingsControls.h"
#include "app/dialogs/SpinEdit.h"
#include "app/dialogs/Tfm_dir.h"
#include "app/dialogs/UpDown.h"
#include "config/EncoderLists.h"
#include "config/MainSettings.h"
#include "config/SettingsFile.h"
#include "config/SettingsSchema.h"
#include "platform/ErrorBoundary.h"
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

// The checks use a key's missing-key default for a list that shows no chosen row.
int missingPosition(Setting setting) {
  return specOf(setting).missing;
}

constexpr int kWavCustomMode = 2;

// A stored position outside the list's rows shows no chosen row.
void setListPosition(QComboBox* box, int position) {
  box->setCurrentIndex(isListPosition(position, box->count()) ? position : -1);
}

int positionOr(const QComboBox* box, int defaultPosition) {
  const int position = box->currentIndex();
  return position < 0 ? defaultPosition : position;
}

bool leavesTheField(const QFocusEvent* event) {
  // Focus that goes to another window (a message box, a popup) has not left
  // the field within the dialog.
  return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace

Tfm_set::Tfm_set(MainSettings& choices, const SettingsFile& settings, PlatformServices& platform,
                 Tfm_dir& folderDialog, SettingsDialogHooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      choices_(choices),
      settings_(settings),
      platform_(platform),
      folderDialog_(folderDialog),
      hooks_(std::move(hooks)),
      ui_(std::make_unique<SettingsControls>()) {
  folderDialogAlive_ = &folderDialog_;
  buildWindow();
  connectRules();
  showPage(ui_->gb_cdgeneral);
  // The folder dialog's OK fills the folder field, whichever command opened it.
  folderDialog_.setFolderReceiver([this](const QString& folder) { ui_->edt_dir->setText(folder); });
}

Tfm_set::~Tfm_set() {
  if (folderDialogAlive_) folderDialog_.setFolderReceiver({});
}

void Tfm_set::connectRules() {
  connect(ui_->TreeView1, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
  connect(ui_->TreeView1, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* current) {
    if (current) current->setExpanded(true);
  });
  connect(functionChoices_, &QButtonGroup::idClicked, this,
          [this](int choice) { choices_.splitFunction = splitFunctionFromIni(choice); });

  auto* digits = new DigitFilter(this);
  for (QLineEdit* field : {ui_->edt_time, ui_->edt_count, ui_->edt_ogg_quality}) {
    field->installEventFilter(digits);
    field->installEventFilter(this);  // leaving the field
  }

  connect(ui_->cb_mp3vbrcm, &QComboBox::currentIndexChanged, this, [this] { cb_mp3vbrcmChange(); });
  connect(ui_->rb_cdmode, &RadioGroup::clicked, this, [this] { rb_cdmodeClick(); });
  connect(ui_->chHFilt, &QCheckBox::toggled, this, [this] { chHFiltClick(); });
  connect(ui_->chLFilt, &QCheckBox::toggled, this, [this] { chLFiltClick(); });
  connect(ui_->ck_preset, &QCheckBox::toggled, this, [this] { ck_presetClick(); });
  connect(ui_->ck_alt, &QCheckBox::toggled, this, [this] { ck_altClick(); });
  connect(ui_->ck_oggvbr, &QCheckBox::toggled, this, [this] { ck_oggvbrClick(); });
  connect(ui_->ck_oggquality, &QCheckBox::toggled, this, [this] { ck_oggqualityClick(); });

  connect(ui_->Ok, &QPushButton::clicked, this, [this] { runGuarded([this] { OkClick(); }); });
  connect(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(ui_->Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(ui_->bt_dir, &QPushButton::clicked, this,
          [this] { runGuarded([this] { bt_dirClick(); }); });
}

void Tfm_set::runGuarded(const std::function<void()>& handler) {
  // A failure of the writer's checks or of the settings file ends the handler
  // and goes to the error display; the dialog stays as it is.
  runShowingErrors(&platform_, this, handler);
}

QString Tfm_set::commandLineText() const {
  return ui_->txtCommLine->toPlainText();
}

void Tfm_set::showPage(QGroupBox* page) {
  ui_->pages->setCurrentWidget(page);
  ui_->lab->setText(page->property("pageTitle").toString());
}

void Tfm_set::TreeView1Click() {
  QTreeWidgetItem* node = ui_->TreeView1->currentItem();
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
    if (watched == ui_->edt_time) edt_timeExit();
    if (watched == ui_->edt_count) edt_countExit();
    if (watched == ui_->edt_ogg_quality) edt_ogg_qualityExit();
  }
  return QDialog::eventFilter(watched, event);
}

void Tfm_set::FormShow() {
  PlaceOnParentCorner(*this);

  if (QAbstractButton* choice = functionChoices_->button(iniValue(choices_.splitFunction))) {
    choice->setChecked(true);
  } else {
    functionChoices_->setExclusive(false);
    for (QAbstractButton* button : functionChoices_->buttons()) button->setChecked(false);
    functionChoices_->setExclusive(true);
  }

  ui_->edt_dir->setText(choices_.outputDir);
  ui_->edt_time->setText(QString::number(choices_.pieceSeconds));
  ui_->edt_count->setText(QString::number(choices_.pieceCount));

  ui_->cb_fadein->setChecked(choices_.fadeIn);
  ui_->cb_titlenames->setChecked(choices_.namePiecesByTitle);
  ui_->cb_fadeout->setChecked(choices_.fadeOut);
  setListPosition(ui_->cb_fadeintime, choices_.fadeInSeconds - 1);
  setListPosition(ui_->cb_fadeouttime, choices_.fadeOutSeconds - 1);

  loadEncoderControls();

  if (!ui_->TreeView1->currentItem())
    ui_->TreeView1->setCurrentItem(ui_->TreeView1->topLevelItem(0));
  TreeView1Click();
}

void Tfm_set::loadEncoderControls() {
  showEncoderValues(LoadSettings(settings_, SettingGroup::Encoder, SettingsReader::SettingsDialog));
}

void Tfm_set::showEncoderValues(const SettingsValues& v) {
  setListPosition(ui_->cb_mp3_bitrate, v.number(Setting::Mp3Bitrate));
  setListPosition(ui_->cb_mp3_channel, v.number(Setting::Mp3Channel));
  setListPosition(ui_->cb_mp3_frequency, v.number(Setting::Mp3Frequency));
  ui_->ud_mp3_quality->setPosition(v.number(Setting::Mp3Quality));
  setListPosition(ui_->cb_mp3vbrcm, v.number(Setting::VbrMethod));
  setListPosition(ui_->cb_mp3_vbr, v.number(Setting::VbrBitrate));
  ui_->ud_mp3_vbr->setPosition(v.number(Setting::VbrQuality));
  ui_->ck_mp3_VBR->setChecked(v.flag(Setting::VbrHeader));
  ui_->ck_mp3_semb->setChecked(v.flag(Setting::VbrEnforceMinBitrate));
  cb_mp3vbrcmChange();

  ui_->chHFilt->setChecked(v.flag(Setting::HighpassOn));
  ui_->chLFilt->setChecked(v.flag(Setting::LowpassOn));
  ui_->udHFiltF->setValue(v.number(Setting::HighpassHz));
  ui_->udHFiltW->setValue(v.number(Setting::HighpassWidthHz));
  ui_->udLFiltF->setValue(v.number(Setting::LowpassHz));
  ui_->udLFiltW->setValue(v.number(Setting::LowpassWidthHz));
  ui_->ck_bit->setChecked(v.flag(Setting::BitReservoir));
  ui_->ck_short->setChecked(v.flag(Setting::ShortBlocks));
  ui_->ck_allow->setChecked(v.flag(Setting::AllowDiffBlocks));
  ui_->ck_comply->setChecked(v.flag(Setting::StrictIso));
  ui_->ck_crc->setChecked(v.flag(Setting::Crc));
  setListPosition(ui_->cb_ath, v.number(Setting::Ath));
  setListPosition(ui_->cb_de, v.number(Setting::DeEmphasis));
  ui_->ck_preset->setChecked(v.flag(Setting::UsePreset));
  ui_->ck_alt->setChecked(v.flag(Setting::UseAltPreset));
  ui_->rg_prest->setItemIndex(v.number(Setting::Preset));
  ui_->rg_alt->setItemIndex(v.number(Setting::AltPreset));
  // The two boxes' rules run in the order they changed; settle them so that a
  // checked "Preset" always has its rows enabled, whatever was left from the
  // last opening.
  ck_altClick();
  ck_presetClick();

  ui_->rb_cdmode->setItemIndex(v.number(Setting::WavMode));
  setListPosition(ui_->cb_wav_bit, v.number(Setting::WavBits));
  setListPosition(ui_->cb_wav_channel, v.number(Setting::WavChannel));
  setListPosition(ui_->cb_wav_frequency, v.number(Setting::WavFrequency));
  rb_cdmodeClick();
  setListPosition(ui_->cb_wma, v.number(Setting::WmaFormat));
  setListPosition(ui_->cb_ogg_channel, v.number(Setting::OggChannel));
  setListPosition(ui_->cb_ogg_fre, v.number(Setting::OggFrequency));
  setListPosition(ui_->cb_ogg_bitrate, v.number(Setting::OggBitrate));
  setListPosition(ui_->cb_ogg_maxbit, v.number(Setting::OggMaxBitrate));
  setListPosition(ui_->cb_ogg_minbit, v.number(Setting::OggMinBitrate));
  ui_->ud_ogg_quality->setPosition(v.number(Setting::OggQuality));
  ui_->ck_oggvbr->setChecked(v.flag(Setting::OggVbr));
  ui_->ck_oggquality->setChecked(v.flag(Setting::OggQualityMode));
  ck_oggvbrClick();
  ck_oggqualityClick();
}

bool Tfm_set::OkClick() {
  if (!ui_->ck_oggquality->isChecked() && hooks_.checkOgg) {
    const bool supported =
        hooks_.checkOgg(listValue(kSampleRatesHz, ui_->cb_ogg_fre->currentIndex(),
                                  missingPosition(Setting::OggFrequency)),
                        positionOr(ui_->cb_ogg_channel, missingPosition(Setting::OggChannel)) + 1,
                        listValue(kBitratesKbps, ui_->cb_ogg_bitrate->currentIndex(),
                                  missingPosition(Setting::OggBitrate)),
                        listValue(kBitratesKbps, ui_->cb_ogg_minbit->currentIndex(),
                                  missingPosition(Setting::OggMinBitrate)),
                        listValue(kBitratesKbps, ui_->cb_ogg_maxbit->currentIndex(),
                                  missingPosition(Setting::OggMaxBitrate)));
    if (!supported) {
      platform_.showInformation(this, kOggRefused);
      return false;
    }
  }
  if (hooks_.checkMp3) {
    const bool supported =
        hooks_.checkMp3(listValue(kSampleRatesHz, ui_->cb_mp3_frequency->currentIndex(),
                                  missingPosition(Setting::Mp3Frequency)),
                        listValue(kBitratesKbps, ui_->cb_mp3_bitrate->currentIndex(),
                                  missingPosition(Setting::Mp3Bitrate)),
                        positionOr(ui_->cb_mp3_channel, missingPosition(Setting::Mp3Channel)) + 1);
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
  if (ui_->edt_time->text().isEmpty()) ui_->edt_time->setText(QStringLiteral("60"));
  if (ui_->edt_count->text().isEmpty()) ui_->edt_count->setText(QStringLiteral("1"));
  bool numeric = false;
  if (ui_->edt_time->text().toInt(&numeric) < 1 && numeric)
    ui_->edt_time->setText(QStringLiteral("60"));
  if (ui_->edt_count->text().toInt(&numeric) < 1 && numeric)
    ui_->edt_count->setText(QStringLiteral("1"));
  ui_->ud_ogg_quality->normalizeBuddyText();

  // An empty folder text would send pieces to the working folder: keep the folder.
  const QString folderText = ui_->edt_dir->text();
  if (!folderText.isEmpty()) choices_.outputDir = withTrailingSeparator(folderText);
  int seconds = 0;
  if (!parsePieceNumber(ui_->edt_time, seconds)) return false;
  choices_.pieceSeconds = seconds;
  int count = 0;
  if (!parsePieceNumber(ui_->edt_count, count)) return false;
  choices_.pieceCount = count;

  SettingsValues path;
  path.setText(Setting::DialogPath, folderText);
  StoreSettings(settings_, path, SettingGroup::DialogPath);

  choices_.fadeIn = ui_->cb_fadein->isChecked();
  choices_.namePiecesByTitle = ui_->cb_titlenames->isChecked();
  choices_.fadeOut = ui_->cb_fadeout->isChecked();
  // A list showing no row (a stored length outside 1..20) leaves the length as it was.
  if (ui_->cb_fadeintime->currentIndex() >= 0)
    choices_.fadeInSeconds = ui_->cb_fadeintime->currentIndex() + 1;
  if (ui_->cb_fadeouttime->currentIndex() >= 0) {
    choices_.fadeOutSeconds = ui_->cb_fadeouttime->currentIndex() + 1;
  }

  storeEncoderControls();

  if (hooks_.lvClick) hooks_.lvClick();
  accept();
  return true;
}

void Tfm_set::storeEncoderControls() {
  for (SpinEdit* spin : {ui_->udHFiltF, ui_->udHFiltW, ui_->udLFiltF, ui_->udLFiltW})
    spin->interpretText();

  SettingsValues v;
  v.setNumber(Setting::Mp3Bitrate, ui_->cb_mp3_bitrate->currentIndex());
  v.setNumber(Setting::Mp3Channel, ui_->cb_mp3_channel->currentIndex());
  v.setNumber(Setting::Mp3Frequency, ui_->cb_mp3_frequency->currentIndex());
  v.setNumber(Setting::Mp3Quality, ui_->ud_mp3_quality->position());
  v.setNumber(Setting::VbrMethod, ui_->cb_mp3vbrcm->currentIndex());
  v.setNumber(Setting::VbrBitrate, ui_->cb_mp3_vbr->currentIndex());
  v.setNumber(Setting::VbrQuality, ui_->ud_mp3_vbr->position());
  v.setFlag(Setting::VbrHeader, ui_->ck_mp3_VBR->isChecked());
  v.setFlag(Setting::VbrEnforceMinBitrate, ui_->ck_mp3_semb->isChecked());
  v.setFlag(Setting::HighpassOn, ui_->chHFilt->isChecked());
  v.setFlag(Setting::LowpassOn, ui_->chLFilt->isChecked());
  v.setNumber(Setting::HighpassHz, ui_->udHFiltF->value());
  v.setNumber(Setting::HighpassWidthHz, ui_->udHFiltW->value());
  v.setNumber(Setting::LowpassHz, ui_->udLFiltF->value());
  v.setNumber(Setting::LowpassWidthHz, ui_->udLFiltW->value());
  v.setFlag(Setting::BitReservoir, ui_->ck_bit->isChecked());
  v.setFlag(Setting::ShortBlocks, ui_->ck_short->isChecked());
  v.setFlag(Setting::AllowDiffBlocks, ui_->ck_allow->isChecked());
  v.setFlag(Setting::StrictIso, ui_->ck_comply->isChecked());
  v.setFlag(Setting::Crc, ui_->ck_crc->isChecked());
  v.setNumber(Setting::Ath, ui_->cb_ath->currentIndex());
  v.setNumber(Setting::DeEmphasis, ui_->cb_de->currentIndex());
  v.setFlag(Setting::UsePreset, ui_->ck_preset->isChecked());
  v.setFlag(Setting::UseAltPreset, ui_->ck_alt->isChecked());
  v.setNumber(Setting::Preset, ui_->rg_prest->itemIndex());
  v.setNumber(Setting::AltPreset, ui_->rg_alt->itemIndex());
  v.setNumber(Setting::WavMode, ui_->rb_cdmode->itemIndex());
  v.setNumber(Setting::WavBits, ui_->cb_wav_bit->currentIndex());
  v.setNumber(Setting::WavChannel, ui_->cb_wav_channel->currentIndex());
  v.setNumber(Setting::WavFrequency, ui_->cb_wav_frequency->currentIndex());
  v.setNumber(Setting::WmaFormat, ui_->cb_wma->currentIndex());
  v.setNumber(Setting::OggChannel, ui_->cb_ogg_channel->currentIndex());
  v.setNumber(Setting::OggFrequency, ui_->cb_ogg_fre->currentIndex());
  v.setNumber(Setting::OggBitrate, ui_->cb_ogg_bitrate->currentIndex());
  v.setNumber(Setting::OggMaxBitrate, ui_->cb_ogg_maxbit->currentIndex());
  v.setNumber(Setting::OggMinBitrate, ui_->cb_ogg_minbit->currentIndex());
  v.setNumber(Setting::OggQuality, ui_->ud_ogg_quality->position());
  v.setFlag(Setting::OggVbr, ui_->ck_oggvbr->isChecked());
  v.setFlag(Setting::OggQualityMode, ui_->ck_oggquality->isChecked());
  StoreSettings(settings_, v, SettingGroup::Encoder);
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
  showEncoderValues(DefaultButtonValues());
}

void Tfm_set::CancelClick() {
  reject();
}

void Tfm_set::bt_dirClick() {
  folderDialog_.setWindowTitle(QStringLiteral("Output Directory"));
  folderDialog_.setStartFolder(ui_->edt_dir->text());
  folderDialog_.exec();
}

void Tfm_set::edt_timeExit() {
  const QString text = ui_->edt_time->text();
  bool ok = false;
  const int seconds = text.toInt(&ok);
  if (text.isEmpty() || (ok && seconds < 1)) {
    ui_->edt_time->setText(QStringLiteral("60"));
  } else if (!ok && !reportingInvalidNumber_) {
    reportingInvalidNumber_ = true;
    platform_.showInformation(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
    reportingInvalidNumber_ = false;
  }
}

void Tfm_set::edt_countExit() {
  const QString text = ui_->edt_count->text();
  bool ok = false;
  const int count = text.toInt(&ok);
  if (text.isEmpty() || (ok && count < 1)) {
    ui_->edt_count->setText(QStringLiteral("1"));
  } else if (!ok && !reportingInvalidNumber_) {
    reportingInvalidNumber_ = true;
    platform_.showInformation(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
    reportingInvalidNumber_ = false;
  }
}

void Tfm_set::edt_ogg_qualityExit() {
  ui_->ud_ogg_quality->normalizeBuddyText();
}

void Tfm_set::cb_mp3vbrcmChange() {
  const bool variable = ui_->cb_mp3vbrcm->currentIndex() != 0;
  for (QWidget* control :
       {static_cast<QWidget*>(ui_->cb_mp3_vbr), static_cast<QWidget*>(ui_->edt_mp3_vbr),
        static_cast<QWidget*>(ui_->ud_mp3_vbr), static_cast<QWidget*>(ui_->ck_mp3_VBR),
        static_cast<QWidget*>(ui_->ck_mp3_semb)}) {
    control->setEnabled(variable);
  }
}

void Tfm_set::rb_cdmodeClick() {
  const bool custom = ui_->rb_cdmode->itemIndex() == kWavCustomMode;
  ui_->cb_wav_frequency->setEnabled(custom);
  ui_->cb_wav_bit->setEnabled(custom);
  ui_->cb_wav_channel->setEnabled(custom);
}

void Tfm_set::chHFiltClick() {
  const bool on = ui_->chHFilt->isChecked();
  ui_->udHFiltF->setEnabled(on);
  ui_->udHFiltW->setEnabled(on);
  ui_->lbHFiltW->setEnabled(on);
}

void Tfm_set::chLFiltClick() {
  const bool on = ui_->chLFilt->isChecked();
  ui_->udLFiltF->setEnabled(on);
  ui_->udLFiltW->setEnabled(on);
  ui_->lbLFiltW->setEnabled(on);
}

void Tfm_set::ck_presetClick() {
  ui_->rg_prest->setEnabled(ui_->ck_preset->isChecked());
  ui_->ck_alt->setEnabled(!ui_->ck_preset->isChecked());
  ui_->rg_alt->setEnabled(ui_->ck_alt->isChecked() && !ui_->ck_preset->isChecked());
}

void Tfm_set::ck_altClick() {
  ui_->rg_alt->setEnabled(ui_->ck_alt->isChecked());
  ui_->ck_preset->setEnabled(!ui_->ck_alt->isChecked());
  ui_->rg_prest->setEnabled(ui_->ck_preset->isChecked() && ui_->ck_alt->isChecked());
}

void Tfm_set::ck_oggvbrClick() {
  ui_->cb_ogg_minbit->setEnabled(ui_->ck_oggvbr->isChecked());
  ui_->cb_ogg_maxbit->setEnabled(ui_->ck_oggvbr->isChecked());
  ui_->ck_oggquality->setEnabled(!ui_->ck_oggvbr->isChecked());
}

void Tfm_set::ck_oggqualityClick() {
  ui_->ud_ogg_quality->setEnabled(ui_->ck_oggquality->isChecked());
  ui_->edt_ogg_quality->setEnabled(ui_->ck_oggquality->isChecked());
  ui_->ck_oggvbr->setEnabled(!ui_->ck_oggquality->isChecked());
}

}  // namespace tarvex

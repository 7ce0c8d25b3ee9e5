// Building the settings dialog's window: the page tree, the header, the pages
// and the buttons. Behaviour lives in Tfm_set.cpp.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/DialogFont.h"
#include "app/dialogs/RadioGroup.h"
#include "app/dialogs/SettingsControls.h"
#include "app/dialogs/SpinEdit.h"
#include "app/dialogs/Tfm_set.h"
#include "app/dialogs/UpDown.h"
#include "config/EncoderLists.h"

namespace tarvex {

namespace {

constexpr int kClientWidth = 383;
constexpr int kClientHeight = 311;
constexpr int kPageLeft = 110;
constexpr int kPageTop = 31;
constexpr int kPageWidth = 267;
constexpr int kPageHeight = 235;
constexpr int kFilterMaximumHz = 48000;

// Which page a tree node shows, kept in the node.
constexpr int kPageRole = Qt::UserRole;

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

QComboBox* list(QWidget* parent, const char* name, const QStringList& rows) {
  auto* box = named(new QComboBox(parent), name);
  box->addItems(rows);
  box->setMaxVisibleItems(16);
  return box;
}

QGroupBox* page(const char* name, const QString& title) {
  auto* box = named(new QGroupBox, name);
  // The header above the pages shows the title; the page keeps it as a property.
  box->setProperty("pageTitle", title);
  return box;
}

QVBoxLayout* pageLayout(QGroupBox* box) {
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 6, 4, 6);
  layout->setSpacing(4);
  return layout;
}

QFormLayout* formIn(QWidget* box) {
  auto* form = new QFormLayout(box);
  form->setContentsMargins(6, 4, 6, 4);
  form->setVerticalSpacing(3);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return form;
}

QLineEdit* numberField(QWidget* parent, const char* name, int width) {
  auto* field = named(new QLineEdit(parent), name);
  field->setFixedWidth(width);
  // Pasted text is held to digits too; typed keys go through the digit filter.
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
  return field;
}

QLineEdit* qualityField(QWidget* parent, const char* name) {
  auto* field = named(new QLineEdit(parent), name);
  field->setReadOnly(true);
  field->setMaxLength(1);
  field->setFixedWidth(22);
  return field;
}

QWidget* withArrows(QLineEdit* field, UpDown* arrows) {
  auto* holder = new QWidget;
  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(field);
  row->addWidget(arrows);
  row->addStretch();
  return holder;
}

}  // namespace

void Tfm_set::buildWindow() {
  setObjectName(QStringLiteral("fm_set"));
  setWindowTitle(QStringLiteral("Settings"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(DialogFont(font()));

  ui_->TreeView1 = named(new QTreeWidget(this), "TreeView1");
  ui_->TreeView1->setGeometry(4, 6, kPageLeft - 7, kPageTop + kPageHeight - 6);
  ui_->TreeView1->setHeaderHidden(true);
  ui_->TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui_->TreeView1->setIndentation(10);
  ui_->TreeView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ui_->TreeView1->setTextElideMode(Qt::ElideNone);

  ui_->lab = named(new QLabel(this), "lab");
  QFont bold = DialogFont(font(), 13);
  bold.setBold(true);
  ui_->lab->setFont(bold);
  ui_->lab->setGeometry(kPageLeft, 6, kPageWidth, kPageTop - 8);

  ui_->pages = named(new QStackedWidget(this), "pages");
  ui_->pages->setGeometry(kPageLeft, kPageTop, kPageWidth, kPageHeight);
  ui_->pages->addWidget(buildGeneralPage());
  ui_->pages->addWidget(buildMp3GeneralPage());
  ui_->pages->addWidget(buildCommandPage());
  ui_->pages->addWidget(buildExpertPage());
  ui_->pages->addWidget(buildFilterPage());
  ui_->pages->addWidget(buildPresetsPage());
  ui_->pages->addWidget(buildMp3VbrPage());
  ui_->pages->addWidget(buildWavPage());
  ui_->pages->addWidget(buildWmaPage());
  ui_->pages->addWidget(buildOggPage());
  ui_->pages->addWidget(buildMp3CopyPage());

  const int buttonTop = kPageTop + kPageHeight + 11;
  ui_->Ok = named(new QPushButton(QStringLiteral("Ok"), this), "Ok");
  ui_->Ok->setGeometry(kClientWidth - 246, buttonTop, 76, 25);
  ui_->Ok->setDefault(true);
  ui_->Button2 = named(new QPushButton(QStringLiteral("Default"), this), "Button2");
  ui_->Button2->setGeometry(kClientWidth - 164, buttonTop, 76, 25);
  ui_->Cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "Cancel");
  ui_->Cancel->setGeometry(kClientWidth - 82, buttonTop, 76, 25);

  buildPageTree();
}

void Tfm_set::buildPageTree() {
  auto node = [this](QTreeWidgetItem* item, const QString& caption, QGroupBox* page) {
    item->setText(0, caption);
    item->setData(0, kPageRole, QVariant::fromValue(static_cast<QObject*>(page)));
    return item;
  };
  node(new QTreeWidgetItem(ui_->TreeView1), QStringLiteral("General"), ui_->gb_cdgeneral);
  QTreeWidgetItem* mp3 =
      node(new QTreeWidgetItem(ui_->TreeView1), QStringLiteral("MP3"), ui_->gb_mp3general);
  node(new QTreeWidgetItem(mp3), QStringLiteral("Command Line"), ui_->gb_command);
  node(new QTreeWidgetItem(mp3), QStringLiteral("Expert"), ui_->gb_expert);
  node(new QTreeWidgetItem(mp3), QStringLiteral("Filtering"), ui_->gb_filter);
  node(new QTreeWidgetItem(mp3), QStringLiteral("General"), ui_->gb_mp3general);
  node(new QTreeWidgetItem(mp3), QStringLiteral("Presets"), ui_->gb_presets);
  node(new QTreeWidgetItem(mp3), QStringLiteral("VBR"), ui_->gb_mp3vbr);
  // "MP3 (no re-encode)" encodes with the MP3 settings where it cannot copy.
  node(new QTreeWidgetItem(mp3), QStringLiteral("No re-encode"), ui_->gb_mp3copy);
  // Every other format the main window offers has its page.
  node(new QTreeWidgetItem(ui_->TreeView1), QStringLiteral("WAV"), ui_->gb_wav);
  node(new QTreeWidgetItem(ui_->TreeView1), QStringLiteral("WMA"), ui_->gb_wma);
  node(new QTreeWidgetItem(ui_->TreeView1), QStringLiteral("OGG"), ui_->gb_ogg);
}

QGroupBox* Tfm_set::buildGeneralPage() {
  ui_->gb_cdgeneral = page("gb_cdgeneral", QStringLiteral("Set General"));
  QVBoxLayout* layout = pageLayout(ui_->gb_cdgeneral);

  auto* choice = named(new QGroupBox(QStringLiteral("Function Choice")), "gb_function");
  auto* grid = new QGridLayout(choice);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  ui_->rb_custom = named(new QRadioButton(QStringLiteral("Custom"), choice), "rb_custom");
  ui_->rb_time =
      named(new QRadioButton(QStringLiteral("Split every copy into "), choice), "rb_time");
  ui_->rb_count =
      named(new QRadioButton(QStringLiteral("Averagely split into"), choice), "rb_count");
  ui_->rb_unification =
      named(new QRadioButton(QStringLiteral("Unification"), choice), "rb_unification");
  ui_->edt_time = numberField(choice, "edt_time", 44);
  ui_->edt_count = numberField(choice, "edt_count", 44);
  grid->addWidget(ui_->rb_custom, 0, 0, 1, 3);
  grid->addWidget(ui_->rb_time, 1, 0);
  grid->addWidget(ui_->edt_time, 1, 1);
  grid->addWidget(named(new QLabel(QStringLiteral("Second"), choice), "lb_second"), 1, 2);
  grid->addWidget(ui_->rb_count, 2, 0);
  grid->addWidget(ui_->edt_count, 2, 1);
  grid->addWidget(named(new QLabel(QStringLiteral("copy. "), choice), "lb_copy"), 2, 2);
  grid->addWidget(ui_->rb_unification, 3, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  functionChoices_ = new QButtonGroup(this);
  functionChoices_->addButton(ui_->rb_custom, 0);
  functionChoices_->addButton(ui_->rb_time, 1);
  functionChoices_->addButton(ui_->rb_count, 2);
  functionChoices_->addButton(ui_->rb_unification, 3);
  layout->addWidget(choice);

  auto* fades = named(new QGroupBox(QStringLiteral("Fade Settings")), "gb_fade");
  auto* fadeRow = new QHBoxLayout(fades);
  fadeRow->setContentsMargins(6, 2, 6, 4);
  ui_->cb_fadein = named(new QCheckBox(QStringLiteral("IN "), fades), "cb_fadein");
  ui_->cb_fadeintime = list(fades, "cb_fadeintime", fadeLengthRows());
  ui_->cb_fadeout = named(new QCheckBox(QStringLiteral("Out "), fades), "cb_fadeout");
  ui_->cb_fadeouttime = list(fades, "cb_fadeouttime", fadeLengthRows());
  fadeRow->addWidget(ui_->cb_fadein);
  fadeRow->addWidget(ui_->cb_fadeintime);
  fadeRow->addSpacing(8);
  fadeRow->addWidget(ui_->cb_fadeout);
  fadeRow->addWidget(ui_->cb_fadeouttime);
  fadeRow->addStretch();
  layout->addWidget(fades);

  auto* path = named(new QGroupBox(QStringLiteral("Output Path:")), "gb_path");
  auto* pathRow = new QHBoxLayout(path);
  pathRow->setContentsMargins(6, 2, 6, 4);
  ui_->edt_dir = named(new QLineEdit(path), "edt_dir");
  ui_->bt_dir = named(new QPushButton(QStringLiteral("..."), path), "bt_dir");
  ui_->bt_dir->setFixedWidth(26);
  pathRow->addWidget(ui_->edt_dir);
  pathRow->addWidget(ui_->bt_dir);
  layout->addWidget(path);
  ui_->cb_titlenames =
      named(new QCheckBox(QStringLiteral("Name pieces after their track or chapter titles")),
            "cb_titlenames");
  layout->addWidget(ui_->cb_titlenames);
  layout->addStretch();
  return ui_->gb_cdgeneral;
}

QGroupBox* Tfm_set::buildMp3GeneralPage() {
  ui_->gb_mp3general = page("gb_mp3general", QStringLiteral("Set MP3 General"));
  QVBoxLayout* layout = pageLayout(ui_->gb_mp3general);
  auto* fields = new QWidget;
  QFormLayout* form = formIn(fields);
  form->setContentsMargins(0, 0, 0, 0);
  ui_->cb_mp3_frequency = list(fields, "cb_mp3_frequency", sampleRateRows());
  ui_->cb_mp3_channel = list(fields, "cb_mp3_channel", mp3ChannelRows());
  ui_->cb_mp3_bitrate = list(fields, "cb_mp3_bitrate", bitrateRows());
  ui_->edt_mp3_quality = qualityField(fields, "edt_mp3_quality");
  ui_->ud_mp3_quality = named(new UpDown(ui_->edt_mp3_quality, 0, 9, fields), "ud_mp3_quality");
  form->addRow(QStringLiteral("Frequency: "), ui_->cb_mp3_frequency);
  form->addRow(QStringLiteral("Channel: "), ui_->cb_mp3_channel);
  form->addRow(QStringLiteral("Bitrate: "), ui_->cb_mp3_bitrate);
  form->addRow(QStringLiteral("Quality: "), withArrows(ui_->edt_mp3_quality, ui_->ud_mp3_quality));
  layout->addWidget(fields);

  auto* comment = named(new QGroupBox(QStringLiteral("Comment:  ")), "gb_comment");
  auto* lines = new QVBoxLayout(comment);
  lines->setContentsMargins(6, 2, 4, 4);
  lines->setSpacing(2);
  for (const QString& text : {QStringLiteral("8000Hz or 8Kbps - poor quality, small file."),
                              QStringLiteral("48000Hz or 320Kbps - good quality, big file."),
                              QStringLiteral("Quality: 0 - best quality, low convert speed."),
                              QStringLiteral("Quality: 9 - low quality, fast convert speed. ")}) {
    auto* line = new QLabel(text, comment);
    line->setWordWrap(true);
    lines->addWidget(line);
  }
  layout->addWidget(comment);
  layout->addStretch();
  return ui_->gb_mp3general;
}

QGroupBox* Tfm_set::buildMp3VbrPage() {
  ui_->gb_mp3vbr = page("gb_mp3vbr", QStringLiteral("Set MP3 VBR"));
  QVBoxLayout* layout = pageLayout(ui_->gb_mp3vbr);
  auto* method = new QWidget;
  QFormLayout* methodForm = formIn(method);
  methodForm->setContentsMargins(0, 0, 0, 0);
  ui_->cb_mp3vbrcm = list(method, "cb_mp3vbrcm", vbrMethodRows());
  methodForm->addRow(QStringLiteral("Coding Method:"), ui_->cb_mp3vbrcm);
  layout->addWidget(method);

  auto* bitrate = named(new QGroupBox(QStringLiteral("VBR Bitrate/Quality: ")), "gb_vbrbitrate");
  QFormLayout* form = formIn(bitrate);
  ui_->cb_mp3_vbr = list(bitrate, "cb_mp3_vbr", bitrateRows());
  ui_->edt_mp3_vbr = qualityField(bitrate, "edt_mp3_vbr");
  ui_->ud_mp3_vbr = named(new UpDown(ui_->edt_mp3_vbr, 0, 9, bitrate), "ud_mp3_vbr");
  form->addRow(QStringLiteral("VBR Bitrate: "), ui_->cb_mp3_vbr);
  form->addRow(QStringLiteral("VBR Quality: "), withArrows(ui_->edt_mp3_vbr, ui_->ud_mp3_vbr));
  layout->addWidget(bitrate);

  auto* advanced = named(new QGroupBox(QStringLiteral("Advanced")), "gb_advanced");
  auto* boxes = new QVBoxLayout(advanced);
  boxes->setContentsMargins(6, 2, 6, 4);
  ui_->ck_mp3_VBR =
      named(new QCheckBox(QStringLiteral("Write VBR Header"), advanced), "ck_mp3_VBR");
  ui_->ck_mp3_semb = named(
      new QCheckBox(QStringLiteral("Strictly enforce minimum bitrate"), advanced), "ck_mp3_semb");
  boxes->addWidget(ui_->ck_mp3_VBR);
  boxes->addWidget(ui_->ck_mp3_semb);
  layout->addWidget(advanced);
  layout->addStretch();
  return ui_->gb_mp3vbr;
}

QGroupBox* Tfm_set::buildFilterPage() {
  ui_->gb_filter = page("gb_filter", QStringLiteral("Set MP3 Filter"));
  QVBoxLayout* layout = pageLayout(ui_->gb_filter);
  auto filterGroup = [](const QString& title, const char* groupName, QCheckBox*& check,
                        const QString& checkCaption, const char* checkName, SpinEdit*& frequency,
                        const char* frequencyName, QLabel*& widthLabel, const QString& widthCaption,
                        const char* widthLabelName, SpinEdit*& width, const char* widthName) {
    auto* group = named(new QGroupBox(title), groupName);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(3);
    check = named(new QCheckBox(checkCaption, group), checkName);
    frequency = named(new SpinEdit(0, kFilterMaximumHz, group), frequencyName);
    widthLabel = named(new QLabel(widthCaption, group), widthLabelName);
    width = named(new SpinEdit(0, kFilterMaximumHz, group), widthName);
    frequency->setEnabled(false);
    widthLabel->setEnabled(false);
    width->setEnabled(false);
    grid->addWidget(check, 0, 0, 1, 2);
    grid->addWidget(frequency, 1, 1);
    grid->addWidget(widthLabel, 2, 0);
    grid->addWidget(width, 2, 1);
    grid->setColumnStretch(0, 1);
    return group;
  };
  layout->addWidget(filterGroup(QStringLiteral("HighPass Filter"), "gb_highpass", ui_->chHFilt,
                                QStringLiteral("Highpass filtering frequency (in Hz):"), "chHFilt",
                                ui_->udHFiltF, "udHFiltF", ui_->lbHFiltW,
                                QStringLiteral("Width of Highpass filter (in Hz):"), "lbHFiltW",
                                ui_->udHFiltW, "udHFiltW"));
  layout->addWidget(filterGroup(QStringLiteral("LowPass Filter"), "gb_lowpass", ui_->chLFilt,
                                QStringLiteral("Lowpass filtering frequency (in Hz):"), "chLFilt",
                                ui_->udLFiltF, "udLFiltF", ui_->lbLFiltW,
                                QStringLiteral("Width of Lowpass filter (in Hz):"), "lbLFiltW",
                                ui_->udLFiltW, "udLFiltW"));
  layout->addStretch();
  return ui_->gb_filter;
}

QGroupBox* Tfm_set::buildExpertPage() {
  ui_->gb_expert = page("gb_expert", QStringLiteral("Set MP3 Expert"));
  QVBoxLayout* layout = pageLayout(ui_->gb_expert);
  layout->setSpacing(2);
  ui_->ck_crc = named(new QCheckBox(QStringLiteral("include CRC -Checksums")), "ck_crc");
  ui_->ck_comply = named(
      new QCheckBox(QStringLiteral("comply as much as possible to ISO MPEG spec")), "ck_comply");
  auto* complyNote = named(new QLabel(QStringLiteral("spec")), "lb_spec");
  complyNote->setIndent(20);
  ui_->ck_allow = named(
      new QCheckBox(QStringLiteral("allow block types to differ between channels")), "ck_allow");
  ui_->ck_short = named(new QCheckBox(QStringLiteral("short blocks")), "ck_short");
  ui_->ck_bit = named(new QCheckBox(QStringLiteral("bit reservoir")), "ck_bit");
  for (QWidget* widget :
       {static_cast<QWidget*>(ui_->ck_crc), static_cast<QWidget*>(ui_->ck_comply),
        static_cast<QWidget*>(complyNote), static_cast<QWidget*>(ui_->ck_allow),
        static_cast<QWidget*>(ui_->ck_short), static_cast<QWidget*>(ui_->ck_bit)}) {
    layout->addWidget(widget);
  }
  auto* lists = new QWidget;
  QFormLayout* form = formIn(lists);
  form->setContentsMargins(0, 4, 0, 0);
  ui_->cb_ath = list(lists, "cb_ath", athRows());
  ui_->cb_de = list(lists, "cb_de", deEmphasisRows());
  form->addRow(QStringLiteral("ATH Control:"), ui_->cb_ath);
  form->addRow(QStringLiteral("De-emphasis :"), ui_->cb_de);
  layout->addWidget(lists);
  layout->addStretch();
  return ui_->gb_expert;
}

QGroupBox* Tfm_set::buildPresetsPage() {
  ui_->gb_presets = page("gb_presets", QStringLiteral("Set MP3 Presets"));
  QVBoxLayout* layout = pageLayout(ui_->gb_presets);
  ui_->ck_preset = named(new QCheckBox(QStringLiteral("Preset")), "ck_preset");
  ui_->rg_prest = new RadioGroup(QStringLiteral("rg_prest"), QString(), presetRows(), 4);
  ui_->ck_alt = named(new QCheckBox(QStringLiteral("Alt-Preset")), "ck_alt");
  ui_->rg_alt = new RadioGroup(QStringLiteral("rg_alt"), QString(), altPresetRows(), 2);
  ui_->rg_prest->setItemIndex(0);
  ui_->rg_alt->setItemIndex(0);
  ui_->rg_prest->setEnabled(false);
  ui_->rg_alt->setEnabled(false);
  layout->addWidget(ui_->ck_preset);
  layout->addWidget(ui_->rg_prest);
  layout->addSpacing(4);
  layout->addWidget(ui_->ck_alt);
  layout->addWidget(ui_->rg_alt);
  layout->addStretch();
  return ui_->gb_presets;
}

QGroupBox* Tfm_set::buildCommandPage() {
  ui_->gb_command = page("gb_command", QStringLiteral("Set MP3 Command Line"));
  QVBoxLayout* layout = pageLayout(ui_->gb_command);
  ui_->txtCommLine = named(new QPlainTextEdit, "txtCommLine");
  layout->addWidget(ui_->txtCommLine);
  return ui_->gb_command;
}

QGroupBox* Tfm_set::buildWavPage() {
  ui_->gb_wav = page("gb_wav", QStringLiteral("Set WAV Format"));
  QVBoxLayout* layout = pageLayout(ui_->gb_wav);
  ui_->rb_cdmode =
      new RadioGroup(QStringLiteral("rb_cdmode"), QStringLiteral("Mode:"), wavModeRows(), 1);
  layout->addWidget(ui_->rb_cdmode);
  auto* options = named(new QGroupBox(QStringLiteral("General Options:")), "gb_wavoptions");
  QFormLayout* form = formIn(options);
  ui_->cb_wav_frequency = list(options, "cb_wav_frequency", sampleRateRows());
  ui_->cb_wav_bit = list(options, "cb_wav_bit", sampleSizeRows());
  ui_->cb_wav_channel = list(options, "cb_wav_channel", twoChannelRows());
  form->addRow(QStringLiteral("Frequency:"), ui_->cb_wav_frequency);
  form->addRow(QStringLiteral("Bit Per Sample"), ui_->cb_wav_bit);
  form->addRow(QStringLiteral("Channel"), ui_->cb_wav_channel);
  layout->addWidget(options);
  layout->addStretch();
  return ui_->gb_wav;
}

QGroupBox* Tfm_set::buildWmaPage() {
  ui_->gb_wma = page("gb_wma", QStringLiteral("Set WMA Format"));
  QVBoxLayout* layout = pageLayout(ui_->gb_wma);
  auto* group = named(new QGroupBox(QStringLiteral("WMA Format")), "gb_wmaformat");
  auto* inner = new QVBoxLayout(group);
  inner->setContentsMargins(6, 4, 6, 6);
  ui_->cb_wma = list(group, "cb_wma", wmaFormatRows());
  inner->addWidget(ui_->cb_wma);
  layout->addWidget(group);
  layout->addStretch();
  return ui_->gb_wma;
}

QGroupBox* Tfm_set::buildOggPage() {
  ui_->gb_ogg = page("gb_ogg", QStringLiteral("Set OGG Format"));
  QVBoxLayout* layout = pageLayout(ui_->gb_ogg);
  auto* general = named(new QGroupBox(QStringLiteral("General")), "gb_ogggeneral");
  QFormLayout* form = formIn(general);
  ui_->cb_ogg_fre = list(general, "cb_ogg_fre", sampleRateRows());
  ui_->cb_ogg_channel = list(general, "cb_ogg_channel", twoChannelRows());
  ui_->cb_ogg_bitrate = list(general, "cb_ogg_bitrate", bitrateRows());
  ui_->ck_oggvbr = named(new QCheckBox(QStringLiteral("VBR"), general), "ck_oggvbr");
  ui_->ck_oggquality = named(new QCheckBox(QStringLiteral("Quality"), general), "ck_oggquality");
  auto* modes = new QWidget(general);
  auto* modeRow = new QHBoxLayout(modes);
  modeRow->setContentsMargins(0, 0, 0, 0);
  modeRow->addWidget(ui_->ck_oggvbr);
  modeRow->addWidget(ui_->ck_oggquality);
  modeRow->addStretch();
  form->addRow(QStringLiteral("Frequency: "), ui_->cb_ogg_fre);
  form->addRow(QStringLiteral("Channel: "), ui_->cb_ogg_channel);
  form->addRow(QStringLiteral("Bitrate: "), ui_->cb_ogg_bitrate);
  form->addRow(modes);
  layout->addWidget(general);

  auto* variable = named(new QGroupBox(QStringLiteral("VBR/Quality:")), "gb_oggvbr");
  QFormLayout* variableForm = formIn(variable);
  ui_->cb_ogg_minbit = list(variable, "cb_ogg_minbit", bitrateRows());
  ui_->cb_ogg_maxbit = list(variable, "cb_ogg_maxbit", bitrateRows());
  ui_->edt_ogg_quality = numberField(variable, "edt_ogg_quality", 44);
  ui_->edt_ogg_quality->setMaxLength(5);
  ui_->ud_ogg_quality =
      named(new UpDown(ui_->edt_ogg_quality, 0, 1000, variable), "ud_ogg_quality");
  variableForm->addRow(QStringLiteral("Min Bitrate: "), ui_->cb_ogg_minbit);
  variableForm->addRow(QStringLiteral("Max Bitrate: "), ui_->cb_ogg_maxbit);
  variableForm->addRow(QStringLiteral("Quality: "),
                       withArrows(ui_->edt_ogg_quality, ui_->ud_ogg_quality));
  layout->addWidget(variable);
  layout->addStretch();
  return ui_->gb_ogg;
}

}  // namespace tarvex

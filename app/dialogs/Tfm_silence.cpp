#include "app/dialogs/Tfm_silence.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialogs/DialogFont.h"
#include "app/dialogs/DialogPlacement.h"
#include "config/SettingsSchema.h"
#include "platform/ErrorBoundary.h"

namespace tarvex {

Tfm_silence::Tfm_silence(const SettingsFile& settings, PlatformServices& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      platform_(platform) {
  setObjectName(QStringLiteral("fm_silence"));
  setWindowTitle(QStringLiteral("Find silences"));
  setFont(DialogFont(font()));

  edt_threshold = new QSpinBox(this);
  edt_threshold->setRange(kLowestThresholdDb, kHighestThresholdDb);
  edt_threshold->setObjectName(QStringLiteral("edt_threshold"));
  edt_threshold->setSuffix(QStringLiteral(" dB"));
  edt_length = new QDoubleSpinBox(this);
  edt_length->setObjectName(QStringLiteral("edt_length"));
  edt_length->setDecimals(1);
  edt_length->setSingleStep(0.1);
  edt_length->setRange(kShortestPauseSeconds, kLongestPauseSeconds);
  edt_length->setSuffix(QStringLiteral(" s"));

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("Silent below:"), this), 0, 0);
  fields->addWidget(edt_threshold, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("For at least:"), this), 1, 0);
  fields->addWidget(edt_length, 1, 1);
  auto* hint = new QLabel(
      QStringLiteral("Pauses become the gaps between marked ranges;\nthe ranges replace the "
                     "marks of the selected file."),
      this);
  hint->setObjectName(QStringLiteral("lb_hint"));

  btn_ok = new QPushButton(QStringLiteral("Ok"), this);
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_ok->setDefault(true);
  btn_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btn_ok);
  buttons->addWidget(btn_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addLayout(fields);
  layout->addWidget(hint);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // A settings file that cannot be written is reported and the dialog stays open.
  connect(btn_ok, &QPushButton::clicked, this,
          [this] { runShowingErrors(&platform_, this, [this] { btn_okClick(); }); });
  connect(btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfm_silence::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PlaceOnParentCorner(*this);
  const SettingsValues values =
      LoadSettings(settings_, SettingGroup::Silence, SettingsReader::SettingsDialog);
  // Out-of-range stored values show as the nearest bound.
  edt_threshold->setValue(values.number(Setting::SilenceThresholdDb));
  edt_length->setValue(values.number(Setting::SilenceMinimumMs) / 1000.0);
}

void Tfm_silence::btn_okClick() {
  edt_threshold->interpretText();
  edt_length->interpretText();
  SettingsValues values;
  values.setNumber(Setting::SilenceThresholdDb, edt_threshold->value());
  values.setNumber(Setting::SilenceMinimumMs,
                   static_cast<int>(std::lround(edt_length->value() * 1000.0)));
  StoreSettings(settings_, values, SettingGroup::Silence);
  accept();
}

}  // namespace tarvex

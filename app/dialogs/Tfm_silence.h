#pragma once

#include <QDialog>

class QDoubleSpinBox;
class QSpinBox;
class QPushButton;

namespace tarvex {

class PlatformServices;
class SettingsFile;

// The "Find silences" dialog: what counts as a pause (the level in dB below
// which the audio is taken as silent, and how long it must stay there). The
// fields are loaded from the settings file each time it is shown; "Ok" stores
// them and accepts, "Cancel" leaves the file alone.
class Tfm_silence : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLowestThresholdDb = -96;
  static constexpr int kHighestThresholdDb = -1;
  static constexpr double kShortestPauseSeconds = 0.1;
  static constexpr double kLongestPauseSeconds = 60.0;

  Tfm_silence(const SettingsFile& settings, PlatformServices& platform, QWidget* parent = nullptr);

  void btn_okClick();

  QSpinBox* edt_threshold = nullptr;
  QDoubleSpinBox* edt_length = nullptr;
  QPushButton* btn_ok = nullptr;
  QPushButton* btn_cancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const SettingsFile& settings_;
  PlatformServices& platform_;
};

}  // namespace tarvex

#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tarvex {

class PlatformServices;

// The about box `fm_about`: the program's picture, name and version, what it
// does, and the web and mail links, which open through the platform's shell.
class Tfm_about : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 257;
  static constexpr int kClientHeight = 272;

  explicit Tfm_about(PlatformServices& platform, QWidget* parent = nullptr);

  void FormShow();

  QGroupBox* GroupBox1 = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* lbl_title = nullptr;
  QLabel* lbl_version = nullptr;
  QLabel* lbl_line1 = nullptr;
  QLabel* lbl_line2 = nullptr;
  QLabel* lbl_web = nullptr;      // the web address
  QLabel* lbl_sales = nullptr;    // the sales mail address
  QLabel* lbl_support = nullptr;  // the support mail address
  QPushButton* btn_ok = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  PlatformServices& platform_;
};

}  // namespace tarvex

#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "tags/AudioFileinfo.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tarvex {

// How the tag editor reads the sources' captions and tags and writes the tags
// back (a non-empty title also becomes its row's caption).
struct SourceCaptions {
  std::function<QStringList()> read;                                 // captions, in row order
  std::function<std::vector<AudioFileinfo>()> readTags;              // tags, in row order
  std::function<void(const std::vector<AudioFileinfo>&)> writeTags;  // Ok
};

// The tag editor "ID3 Edit": one row per source in `lv_id3`, the six tag
// fields of the selected source, "All" buttons that copy one field to every
// source, Reset, Ok and Cancel.
//
// It edits a working copy of the tag table taken at each showing (and again
// by Reset). Every change of a field goes into the selected entry of the copy
// at once. Ok puts the copy in place of the table and makes every non-empty
// title the caption of its source row; Cancel, Escape and the close button
// drop the copy. The handlers are public so that tests can drive them the way
// the controls do.
class Tfm_id3 : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 419;
  static constexpr int kClientHeight = 288;

  explicit Tfm_id3(SourceCaptions captions, QWidget* parent = nullptr);

  // The entries being edited (one per lv_id3 row while the dialog is open).
  const std::vector<AudioFileinfo>& workingCopy() const { return workingCopy_; }

  void FormShow();
  void lv_id3Click();
  void edt_tatalExit();
  void Button1Click();  // title to all
  void Button2Click();  // artist to all
  void Button3Click();  // album to all
  void Button4Click();  // year to all
  void Button5Click();  // genre to all
  void Button6Click();  // comment to all
  void Button7Click();  // Reset
  void btn_okClick();
  void btn_cancelClick();

  QTreeWidget* lv_id3 = nullptr;
  QLineEdit* edt_tatal = nullptr;
  QLineEdit* edt_art = nullptr;
  QLineEdit* edt_alb = nullptr;
  QLineEdit* edt_year = nullptr;
  QComboBox* edt_genre = nullptr;
  QPlainTextEdit* edt_com = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QPushButton* Button6 = nullptr;
  QPushButton* Button7 = nullptr;
  QPushButton* btn_ok = nullptr;
  QPushButton* btn_cancel = nullptr;

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Refills lv_id3 from the source captions, selects row 0 and takes a fresh
  // working copy; false when the source list is empty.
  bool loadRows();
  int selectedIndex() const;
  void selectIndex(int index);
  // Shows one entry of the working copy; `title` replaces the entry's own.
  void displayEntry(int index, const QString& title);
  void emptyFields();
  // Stores one field's text into the selected entry (nothing when none is).
  void store(QString AudioFileinfo::*field, const QString& text);
  void copyToAll(QString AudioFileinfo::*field, const QString& text);
  void fillGenres();

  SourceCaptions captions_;
  std::vector<AudioFileinfo> workingCopy_;
  int rememberedIndex_ = 0;
  bool refilling_ = false;  // lv_id3 is being cleared or filled
};

}  // namespace tarvex

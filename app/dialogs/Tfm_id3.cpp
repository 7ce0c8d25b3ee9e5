#include "app/dialogs/Tfm_id3.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "components/skin/SkinStyleSheet.h"
#include "tags/GenreNames.h"

namespace tarvex {
namespace {

constexpr int kLabelLeft = 186;
constexpr int kFieldLeft = 240;
constexpr int kFieldWidth = 124;
constexpr int kAllLeft = 370;
constexpr int kRowPitch = 27;
constexpr int kRowHeight = 22;

// The file list, which reports every click once the click has changed (or
// cleared) the selection.
class ClickReportingList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void()> clicked;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QTreeWidget::mouseReleaseEvent(event);
    if (clicked) clicked();
  }
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int top) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(kLabelLeft, top, kFieldLeft - kLabelLeft - 2, kRowHeight);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int top) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setGeometry(kFieldLeft, top, kFieldWidth, kRowHeight);
  return edit;
}

}  // namespace

Tfm_id3::Tfm_id3(SourceCaptions captions, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      captions_(std::move(captions)) {
  setObjectName(QStringLiteral("fm_id3"));
  setWindowTitle(QStringLiteral("ID3 Edit"));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);
  QFont dialogFont = font();
  dialogFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Arial"), dialogFont.family()});
  dialogFont.setPixelSize(11);
  setFont(dialogFont);

  auto* list = new ClickReportingList(this);
  list->clicked = [this] { lv_id3Click(); };
  lv_id3 = list;
  lv_id3->setObjectName(QStringLiteral("lv_id3"));
  lv_id3->setGeometry(8, 8, 170, kClientHeight - 16);
  lv_id3->setColumnCount(1);
  lv_id3->setHeaderLabels({QStringLiteral("File Name")});
  lv_id3->setRootIsDecorated(false);
  lv_id3->setUniformRowHeights(true);
  lv_id3->setSelectionMode(QAbstractItemView::SingleSelection);
  lv_id3->setSelectionBehavior(QAbstractItemView::SelectRows);
  lv_id3->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lv_id3->header()->setSectionsClickable(false);
  lv_id3->header()->setSectionsMovable(false);
  lv_id3->header()->setStretchLastSection(false);
  lv_id3->setColumnWidth(0, 143);

  int top = 8;
  makeLabel(this, "Label1", QStringLiteral("Title:"), top);
  edt_tatal = makeEdit(this, "edt_tatal", top);
  Button1 = makeButton(this, "Button1", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});
  top += kRowPitch;
  makeLabel(this, "Label2", QStringLiteral("Artist: "), top);
  edt_art = makeEdit(this, "edt_art", top);
  Button2 = makeButton(this, "Button2", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});
  top += kRowPitch;
  makeLabel(this, "Label3", QStringLiteral("Album: "), top);
  edt_alb = makeEdit(this, "edt_alb", top);
  Button3 = makeButton(this, "Button3", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});
  top += kRowPitch;
  makeLabel(this, "Label4", QStringLiteral("Year: "), top);
  edt_year = makeEdit(this, "edt_year", top);
  Button4 = makeButton(this, "Button4", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});
  top += kRowPitch;
  makeLabel(this, "Label5", QStringLiteral("Genre:"), top);
  edt_genre = new QComboBox(this);
  edt_genre->setObjectName(QStringLiteral("edt_genre"));
  edt_genre->setGeometry(kFieldLeft, top, kFieldWidth, kRowHeight);
  edt_genre->setEditable(true);
  // Typed genres stay text: they never join the list of names.
  edt_genre->setInsertPolicy(QComboBox::NoInsert);
  edt_genre->setMaxVisibleItems(16);
  Button5 = makeButton(this, "Button5", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});
  top += kRowPitch;
  makeLabel(this, "Label6", QStringLiteral("Comment: "), top);
  edt_com = new QPlainTextEdit(this);
  edt_com->setObjectName(QStringLiteral("edt_com"));
  edt_com->setGeometry(kFieldLeft, top, kFieldWidth, 98);
  edt_com->setTabChangesFocus(true);
  Button6 = makeButton(this, "Button6", QStringLiteral("All"), {kAllLeft, top, 41, kRowHeight});

  const int buttonTop = kClientHeight - 8 - 25;
  Button7 = makeButton(this, "Button7", QStringLiteral("Reset"), {kLabelLeft, buttonTop, 70, 25});
  btn_ok = makeButton(this, "btn_ok", QStringLiteral("Ok"), {kLabelLeft + 79, buttonTop, 70, 25});
  btn_cancel = makeButton(this, "btn_cancel", QStringLiteral("Cancel"),
                          {kLabelLeft + 155, buttonTop, 70, 25});

  connect(edt_tatal, &QLineEdit::textChanged, this,
          [this](const QString& text) { store(&AudioFileinfo::title, text); });
  connect(edt_art, &QLineEdit::textChanged, this,
          [this](const QString& text) { store(&AudioFileinfo::artist, text); });
  connect(edt_alb, &QLineEdit::textChanged, this,
          [this](const QString& text) { store(&AudioFileinfo::album, text); });
  connect(edt_year, &QLineEdit::textChanged, this,
          [this](const QString& text) { store(&AudioFileinfo::year, text); });
  connect(edt_genre, &QComboBox::editTextChanged, this,
          [this](const QString& text) { store(&AudioFileinfo::genre, text); });
  connect(edt_com, &QPlainTextEdit::textChanged, this,
          [this] { store(&AudioFileinfo::comment, edt_com->toPlainText()); });
  edt_tatal->installEventFilter(this);

  // Moving through the rows with the keyboard shows each entry as a click does.
  connect(lv_id3, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (refilling_) return;
    const int index = selectedIndex();
    if (index >= 0 && index < static_cast<int>(workingCopy_.size())) {
      displayEntry(index, workingCopy_[index].title);
    }
  });

  connect(Button1, &QPushButton::clicked, this, &Tfm_id3::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &Tfm_id3::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &Tfm_id3::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &Tfm_id3::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &Tfm_id3::Button5Click);
  connect(Button6, &QPushButton::clicked, this, &Tfm_id3::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &Tfm_id3::Button7Click);
  connect(btn_ok, &QPushButton::clicked, this, &Tfm_id3::btn_okClick);
  connect(btn_cancel, &QPushButton::clicked, this, &Tfm_id3::btn_cancelClick);

  skin::giveControlsDialogFont(*this, dialogFont);
}

void Tfm_id3::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void Tfm_id3::FormShow() {
  if (QWidget* owner = parentWidget()) move(owner->window()->frameGeometry().topLeft());
  lv_id3->setColumnWidth(0, lv_id3->topLevelItemCount() >= 20 ? 127 : 143);
  fillGenres();
  if (!loadRows()) return;
  const int index = selectedIndex();
  displayEntry(index, lv_id3->topLevelItem(index)->text(0));
}

void Tfm_id3::fillGenres() {
  const QStringList& names = GenreNames();
  if (edt_genre->count() == names.size()) return;
  const QString shown = edt_genre->currentText();
  edt_genre->clear();
  edt_genre->addItems(names);
  edt_genre->setCurrentIndex(-1);
  edt_genre->setEditText(shown);
}

bool Tfm_id3::loadRows() {
  refilling_ = true;
  lv_id3->clear();
  const QStringList captions = captions_.read ? captions_.read() : QStringList();
  if (captions.isEmpty()) {
    refilling_ = false;
    return false;
  }
  for (const QString& caption : captions) lv_id3->addTopLevelItem(new QTreeWidgetItem({caption}));
  if (selectedIndex() < 0) selectIndex(0);
  rememberedIndex_ = selectedIndex();
  workingCopy_ = captions_.readTags ? captions_.readTags() : std::vector<AudioFileinfo>();
  refilling_ = false;
  return true;
}

int Tfm_id3::selectedIndex() const {
  const QList<QTreeWidgetItem*> selected = lv_id3->selectedItems();
  return selected.isEmpty() ? -1 : lv_id3->indexOfTopLevelItem(selected.first());
}

void Tfm_id3::selectIndex(int index) {
  QTreeWidgetItem* item = lv_id3->topLevelItem(index);
  if (item == nullptr) return;
  lv_id3->setCurrentItem(item);
  item->setSelected(true);
}

void Tfm_id3::displayEntry(int index, const QString& title) {
  if (index < 0 || index >= static_cast<int>(workingCopy_.size())) {
    emptyFields();
    return;
  }
  // Each field stores what it is given, so work from a copy of the entry.
  const AudioFileinfo entry = workingCopy_[index];
  edt_art->setText(entry.artist);
  edt_alb->setText(entry.album);
  edt_tatal->setText(title);
  edt_com->setPlainText(entry.comment);
  edt_genre->setEditText(entry.genre);
  edt_year->setText(entry.year);
}

void Tfm_id3::emptyFields() {
  edt_art->clear();
  edt_alb->clear();
  edt_tatal->clear();
  edt_com->clear();
  edt_genre->setEditText(QString());
  edt_year->clear();
}

void Tfm_id3::store(QString AudioFileinfo::*field, const QString& text) {
  if (refilling_) return;
  const int index = selectedIndex();
  if (index < 0 || index >= static_cast<int>(workingCopy_.size())) return;
  workingCopy_[index].*field = text;
}

void Tfm_id3::lv_id3Click() {
  if (lv_id3->topLevelItemCount() == 0) return;
  if (selectedIndex() < 0) selectIndex(rememberedIndex_);
  const int index = selectedIndex();
  displayEntry(index, index >= 0 && index < static_cast<int>(workingCopy_.size())
                          ? workingCopy_[index].title
                          : QString());
}

void Tfm_id3::edt_tatalExit() {
  store(&AudioFileinfo::title, edt_tatal->text());
  if (refilling_) return;
  if (QTreeWidgetItem* row = lv_id3->topLevelItem(selectedIndex())) {
    row->setText(0, edt_tatal->text());
  }
}

void Tfm_id3::copyToAll(QString AudioFileinfo::*field, const QString& text) {
  const int count = std::min(lv_id3->topLevelItemCount(), static_cast<int>(workingCopy_.size()));
  for (int i = 0; i < count; ++i) workingCopy_[i].*field = text;
}

void Tfm_id3::Button1Click() {
  copyToAll(&AudioFileinfo::title, edt_tatal->text());
}

void Tfm_id3::Button2Click() {
  copyToAll(&AudioFileinfo::artist, edt_art->text());
}

void Tfm_id3::Button3Click() {
  copyToAll(&AudioFileinfo::album, edt_alb->text());
}

void Tfm_id3::Button4Click() {
  copyToAll(&AudioFileinfo::year, edt_year->text());
}

void Tfm_id3::Button5Click() {
  copyToAll(&AudioFileinfo::genre, edt_genre->currentText());
}

void Tfm_id3::Button6Click() {
  copyToAll(&AudioFileinfo::comment, edt_com->toPlainText());
}

void Tfm_id3::Button7Click() {
  if (!loadRows()) return;
  const int index = selectedIndex();
  displayEntry(index, lv_id3->topLevelItem(index)->text(0));
}

void Tfm_id3::btn_okClick() {
  // The copy only replaces a table of the same shape: rows and entries stay parallel.
  if (lv_id3->topLevelItemCount() > 0 && captions_.readTags && captions_.writeTags &&
      workingCopy_.size() == captions_.readTags().size()) {
    captions_.writeTags(workingCopy_);
  }
  accept();
}

void Tfm_id3::btn_cancelClick() {
  reject();
}

void Tfm_id3::done(int result) {
  refilling_ = true;
  lv_id3->clear();
  refilling_ = false;
  QDialog::done(result);
}

bool Tfm_id3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edt_tatal && event->type() == QEvent::FocusOut) {
    edt_tatalExit();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarvex

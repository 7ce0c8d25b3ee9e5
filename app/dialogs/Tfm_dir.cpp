#include "app/dialogs/Tfm_dir.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <exception>

#include "app/dialogs/DialogFont.h"
#include "app/dialogs/DialogPlacement.h"
#include "config/SettingsFile.h"
#include "platform/ErrorBoundary.h"
#include "platform/PlatformServices.h"

namespace tarvex {

namespace {

constexpr int kClientWidth = 285;
constexpr int kClientHeight = 280;

}  // namespace

Tfm_dir::Tfm_dir(const SettingsFile& settings, PlatformServices& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      platform_(platform),
      folders_(new QFileSystemModel(this)),
      startFolder_(QDir::homePath()) {
  setObjectName(QStringLiteral("fm_dir"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(DialogFont(font()));

  // Folders only; the model may create folders, but the view never renames.
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setReadOnly(false);
  folders_->setRootPath(QDir::rootPath());

  ShellTreeView1 = new QTreeView(this);
  ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
  ShellTreeView1->setModel(folders_);
  for (int column = 1; column < folders_->columnCount(); ++column) {
    ShellTreeView1->hideColumn(column);
  }
  ShellTreeView1->header()->hide();
  ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  // A right click selects the node under the mouse, as a left click does.
  ShellTreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ShellTreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    const QModelIndex node = ShellTreeView1->indexAt(at);
    if (node.isValid()) ShellTreeView1->setCurrentIndex(node);
  });

  Button1 = new QPushButton(QStringLiteral("New Folder"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  btn_ok = new QPushButton(QStringLiteral("Ok"), this);
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_ok->setDefault(true);
  btn_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  btn_cancel->setObjectName(QStringLiteral("btn_cancel"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button1);
  buttons->addStretch();
  buttons->addWidget(btn_ok);
  buttons->addWidget(btn_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(ShellTreeView1);
  layout->addLayout(buttons);

  connect(Button1, &QPushButton::clicked, this, &Tfm_dir::Button1Click);
  connect(btn_ok, &QPushButton::clicked, this,
          [this] { runShowingErrors(&platform_, this, [this] { btn_okClick(); }); });
  connect(btn_cancel, &QPushButton::clicked, this, &Tfm_dir::btn_cancelClick);
}

void Tfm_dir::setFolderReceiver(std::function<void(const QString&)> receiver) {
  folderReceiver_ = std::move(receiver);
}

void Tfm_dir::setStartFolder(const QString& folder) {
  if (!folder.isEmpty()) startFolder_ = folder;
}

bool Tfm_dir::revealFolder(const QString& folder) {
  const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  if (cleaned.isEmpty() || !QDir(cleaned).exists()) return false;
  const QModelIndex node = folders_->index(cleaned);
  if (!node.isValid()) return false;
  for (QModelIndex above = node.parent(); above.isValid(); above = above.parent()) {
    ShellTreeView1->expand(above);
  }
  ShellTreeView1->expand(node);
  ShellTreeView1->setCurrentIndex(node);
  ShellTreeView1->scrollTo(node);
  return true;
}

QString Tfm_dir::selectedFolder() const {
  const QModelIndex node = ShellTreeView1->currentIndex();
  if (!node.isValid()) return {};
  // filePath gives "/" (or "C:/") at a root and no trailing separator elsewhere.
  return QDir::toNativeSeparators(folders_->filePath(node));
}

void Tfm_dir::FormShow() {
  PlaceOnParentCorner(*this);
  if (!shownBefore_) {
    shownBefore_ = true;
    if (!revealFolder(startFolder_)) revealFolder(QDir::homePath());
  }
}

void Tfm_dir::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void Tfm_dir::btn_okClick() {
  chosenFolder = selectedFolder();
  settings_.PutText(QStringLiteral("Output"), QStringLiteral("Dir"), chosenFolder);
  if (folderReceiver_) folderReceiver_(chosenFolder);
  accept();
}

void Tfm_dir::btn_cancelClick() {
  chosenFolder.clear();
  reject();
}

void Tfm_dir::Button1Click() {
  // With no folder selected there is nowhere to create one.
  const QModelIndex parentNode = ShellTreeView1->currentIndex();
  if (!parentNode.isValid()) return;
  QString path = selectedFolder();
  if (!path.endsWith(QDir::separator())) path += QDir::separator();
  chosenFolder = path + QStringLiteral("New Folder");
  // An existing folder or a refused creation is not reported; the model
  // shows a created folder under the selected node at once, and the
  // selection stays where it was.
  folders_->mkdir(parentNode, QStringLiteral("New Folder"));
  ShellTreeView1->expand(parentNode);
}

}  // namespace tarvex

#include "tests/support/window/MainWindowHarness.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <utility>

#include "app/JobDisplay.h"
#include "app/dialogs/Tfm_dir.h"
#include "components/skin/SkinWidget.h"

namespace tarvex::testing {

MainWindowHarness::MainWindowHarness(const QString& settingsText) {
  QDir().mkpath(folder_.path("config"));
  QDir().mkpath(folder_.path("program"));
  QDir().mkpath(folder_.path("media"));
  if (!settingsText.isNull()) writeText(settingsPath(), settingsText);
  MainWindowEnvironment environment;
  environment.platform = &platform_;
  environment.settingsFilePath = settingsPath();
  environment.programFolder = folder_.path("program") + QLatin1Char('/');
  environment.defaultOutputDir = outputDir();
  environment.startJob = [this](JobExecutor& executor, PlannedJob job,
                                JobExecutor::Options options) {
    if (std::exchange(holdNextJob_, false)) return true;
    return startOnExecutor(executor, std::move(job), options);
  };
  window_ = std::make_unique<Tfm_main>(environment);
}

MainWindowHarness::~MainWindowHarness() {
  if (window_ && window_->isVisible()) window_->close();
}

void MainWindowHarness::show() {
  window_->show();
  (void)QTest::qWaitForWindowExposed(window_.get());
}

void MainWindowHarness::holdJob() {
  holdNextJob_ = true;
  window_->jobDisplay().startSplit(SplitPlan{}, {}, JobSettings{}, {});
  holdNextJob_ = false;
  if (!window_->jobRunning()) throw std::runtime_error("the held job did not start");
}

bool MainWindowHarness::waitUntilIdle(int timeoutMs) {
  return QTest::qWaitFor([this] { return !window_->busy(); }, timeoutMs);
}

void MainWindowHarness::clickSkin(const QString& name) {
  clickSkinNoWait(name);
  if (!waitUntilIdle()) throw std::runtime_error("still busy after " + name.toStdString());
}

void MainWindowHarness::clickSkinNoWait(const QString& name) {
  skin::SkinWidget& skin = window_->Skin1();
  const QRect rect = skin.objectRect(name);
  if (!rect.isValid()) throw std::runtime_error("no skin object " + name.toStdString());
  QTest::mouseClick(&skin, Qt::LeftButton, Qt::NoModifier, rect.center());
}

void MainWindowHarness::triggerMenuItem(const QString& handlerName) {
  triggerMenuItemNoWait(handlerName);
  if (!waitUntilIdle()) throw std::runtime_error("still busy after " + handlerName.toStdString());
}

void MainWindowHarness::addFiles(const QStringList& paths) {
  platform_.openAnswers.push_back(paths);
  clickSkin(QStringLiteral("addfile"));
}

void MainWindowHarness::whenDialogOpens(std::function<void()> action) {
  QTimer::singleShot(0, window_.get(), std::move(action));
}

void MainWindowHarness::answerNextFolderDialog(const QString& folder) {
  whenDialogOpens([this, folder] {
    Tfm_dir& dialog = window_->fm_dir();
    if (folder.isEmpty()) {
      dialog.btn_cancelClick();
      return;
    }
    if (!dialog.revealFolder(folder)) throw std::runtime_error("folder not in the tree");
    dialog.btn_okClick();
  });
}

void MainWindowHarness::triggerMenuItemNoWait(const QString& handlerName) {
  auto* action = window_->findChild<QAction*>(handlerName);
  if (action == nullptr) throw std::runtime_error("no menu item " + handlerName.toStdString());
  action->trigger();
}

namespace {

void clickRow(QTreeWidget& list, int row) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  if (item == nullptr) throw std::runtime_error("no such row");
  list.scrollToItem(item);
  const QRect rect = list.visualItemRect(item);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

}  // namespace

void MainWindowHarness::clickSourceRow(int row) {
  clickRow(window_->lv(), row);
}

void MainWindowHarness::clickSegmentRow(int row) {
  clickRow(window_->lv_time(), row);
}

QStringList MainWindowHarness::segmentRows() const {
  QStringList rows;
  QTreeWidget& list = window_->lv_time();
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list.topLevelItem(i);
    rows << item->text(0) + QLatin1Char('|') + item->text(1) + QLatin1Char('|') + item->text(2);
  }
  return rows;
}

QStringList MainWindowHarness::sourceCaptions() const {
  QStringList captions;
  QTreeWidget& list = window_->lv();
  for (int i = 0; i < list.topLevelItemCount(); ++i) captions << list.topLevelItem(i)->text(0);
  return captions;
}

QString MainWindowHarness::skinText(const QString& name) const {
  const skin::SkinObject* object = window_->Skin1().findObject(name);
  return object != nullptr ? object->text() : QString();
}

void MainWindowHarness::close() {
  window_->close();
}

}  // namespace tarvex::testing

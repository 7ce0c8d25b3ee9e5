#include "platform/window/QtPlatformServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <utility>

namespace tarvex {

QString toQtNameFilter(const QString& filter) {
  const qsizetype open = filter.indexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return filter;
  QString patterns = filter.mid(open + 1, close - open - 1);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return filter.left(open).trimmed() + QStringLiteral(" (") + patterns.simplified() +
         QLatin1Char(')');
}

namespace {

QStringList toQtNameFilters(const QStringList& filters) {
  QStringList converted;
  for (const QString& filter : filters) converted << toQtNameFilter(filter);
  return converted;
}

}  // namespace

QtPlatformServices::QtPlatformServices(QString messageCaption)
    : messageCaption_(std::move(messageCaption)) {}

QString QtPlatformServices::messageCaption() const {
  return messageCaption_.isEmpty() ? QApplication::applicationName() : messageCaption_;
}

void QtPlatformServices::showInformation(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, messageCaption(), text);
}

void QtPlatformServices::showError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, messageCaption(), text);
}

bool QtPlatformServices::askYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, messageCaption(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

QStringList QtPlatformServices::getOpenFileNames(QWidget* parent, const QString& caption,
                                                 const QString& directory,
                                                 const QStringList& filters) {
  const QStringList qtFilters = toQtNameFilters(filters);
  return QFileDialog::getOpenFileNames(parent, caption, directory,
                                       qtFilters.join(QStringLiteral(";;")), nullptr);
}

std::optional<PlatformServices::SaveChoice> QtPlatformServices::getSaveFileName(
    QWidget* parent, const QString& caption, const QString& directory, const QStringList& filters,
    int filterIndex) {
  const QStringList qtFilters = toQtNameFilters(filters);
  QString selected = qtFilters.value(filterIndex - 1, qtFilters.value(0));
  const QString fileName = QFileDialog::getSaveFileName(
      parent, caption, directory, qtFilters.join(QStringLiteral(";;")), &selected);
  if (fileName.isEmpty()) return std::nullopt;
  SaveChoice choice;
  choice.fileName = fileName;
  choice.filterIndex = static_cast<int>(qtFilters.indexOf(selected)) + 1;
  if (choice.filterIndex < 1) choice.filterIndex = 1;
  return choice;
}

bool QtPlatformServices::openFolder(const QString& folder) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool QtPlatformServices::openUrl(const QString& url) {
  return QDesktopServices::openUrl(QUrl(url));
}

bool QtPlatformServices::openDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tarvex

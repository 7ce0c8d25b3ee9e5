#include "app/views/SourceList.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTreeWidget>
#include <utility>

#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"
#include "sources/SourceProbing.h"
#include "sources/SplitPlanning.h"
#include "sources/TimeFormat.h"

namespace tarvex {
namespace {

constexpr int kCaptionColumn = 0;
constexpr int kTimeColumn = 1;
constexpr int kSizeRole = Qt::UserRole + 1;

}  // namespace

SourceList::SourceList(WindowParts& parts, SegmentList& segments, SourceListServices services)
    : parts_(parts), segments_(segments), services_(std::move(services)) {}

SourceList::~SourceList() = default;

QString SourceList::sizeText(qint64 bytes) {
  const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
  return QLocale::system().toString(megabytes, 'f', 2) + QStringLiteral("MB");
}

void SourceList::FitNameColumn() {
  parts_.lv->setColumnWidth(kCaptionColumn, parts_.lv->topLevelItemCount() < 13 ? 120 : 113);
}

void SourceList::showRow(int row) {
  QTreeWidgetItem* item = parts_.lv->topLevelItem(row);
  if (item == nullptr || !parts_.sources->contains(row)) return;
  const SourceRecord& record = parts_.sources->at(row);
  item->setText(kCaptionColumn, record.caption);
  item->setText(kTimeColumn, FormatMilliseconds(sourceLengthMs(record)));
  item->setData(kCaptionColumn, kSizeRole, sizeText(record.fileBytes));
}

void SourceList::refreshCaptions() {
  for (int row = 0; row < parts_.lv->topLevelItemCount(); ++row) showRow(row);
}

void SourceList::addProbed(const ProbeResult& result) {
  switch (result.outcome) {
    case ProbeResult::Outcome::NotSupported:
      parts_.platform->showInformation(parts_.window, result.fileName + kNotSupportedMessage);
      return;
    case ProbeResult::Outcome::ZeroLength:
      parts_.platform->showInformation(parts_.window, result.fileName + kZeroLengthMessage);
      return;
    case ProbeResult::Outcome::Added:
      break;
  }
  SourceRecord record = result.record;
  if (services_.takeMarks) services_.takeMarks(record);
  parts_.sources->add(std::move(record));
  parts_.lv->addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), QString()}));
  showRow(parts_.sources->count() - 1);
  FitNameColumn();
  segments_.UpdateTotalTime();
}

void SourceList::finishAdd() {
  QTreeWidget& list = *parts_.lv;
  if (list.topLevelItemCount() > 0 && selectedRow(list) < 0) selectRow(list, 0);
  lvClick();
  list.setFocus();
  current_ = std::max(0, selectedRow(list));
  segments_.UpdateTotalTime();
}

void SourceList::startAdd(const QStringList& files, bool fromFolder) {
  if (isPlaying() && services_.stopPlayback) services_.stopPlayback();
  probing_ = std::make_unique<SourceProbing>(
      files, fromFolder, [this](const ProbeResult& result) { addProbed(result); },
      [this, fromFolder] {
        // This runs inside the probing object: it goes once control is back in the event loop.
        probing_.release()->deleteLater();
        finishAdd();
        if (addFinished_) addFinished_();
      });
  probing_->start();
}

void SourceList::AddFiles() {
  const QStringList files =
      parts_.platform->getOpenFileNames(parts_.window, QStringLiteral("Add File"), QString(),
                                        {kAddFileFilter, kAllAudioFilter, kCueSheetFilter});
  if (files.isEmpty()) return;
  addFiles(files);
}

void SourceList::addFiles(const QStringList& files) {
  if (isAdding() || files.isEmpty()) return;
  const QStringList taken = services_.expandFiles ? services_.expandFiles(files) : files;
  if (taken.isEmpty()) return;
  startAdd(taken, false);
}

void SourceList::AddFolder() {
  if (isAdding() || !services_.chooseFolder) return;
  const QString folder = services_.chooseFolder();
  if (folder.isEmpty()) return;
  QStringList files;
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
  for (const QFileInfo& entry : entries) {
    if (entry.suffix().toLower() == QLatin1String("mp3")) files << entry.absoluteFilePath();
  }
  startAdd(files, true);
}

void SourceList::followSwap(int a, int b) {
  if (!isPlaying() || !services_.playedRowMoved) return;
  const int played = playedRow();
  if (played == a) services_.playedRowMoved(b);
  if (played == b) services_.playedRowMoved(a);
}

void SourceList::followRemoval(int row) {
  if (!isPlaying()) return;
  const int played = playedRow();
  if (played == row) {
    // The file playing left the list: its playback ends with it.
    if (services_.stopPlayback) services_.stopPlayback();
  } else if (played > row && services_.playedRowMoved) {
    services_.playedRowMoved(played - 1);
  }
}

void SourceList::MoveSourceUp() {
  const int row = selectedRow(*parts_.lv);
  if (jobRunning() || isAdding() || !parts_.sources->moveUp(row)) return;
  followSwap(row, row - 1);
  showRow(row);
  showRow(row - 1);
  selectRow(*parts_.lv, row - 1);
  current_ = row - 1;
  parts_.lv->setFocus();
  // Under Unification the first source's ranges are the shared ones.
  segments_.UpdateTotalTime();
}

void SourceList::MoveSourceDown() {
  const int row = selectedRow(*parts_.lv);
  if (jobRunning() || isAdding() || !parts_.sources->moveDown(row)) return;
  followSwap(row, row + 1);
  showRow(row);
  showRow(row + 1);
  selectRow(*parts_.lv, row + 1);
  current_ = row + 1;
  parts_.lv->setFocus();
  segments_.UpdateTotalTime();
}

void SourceList::RemoveSource() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || isAdding()) return;
  followRemoval(row);
  delete parts_.lv->takeTopLevelItem(row);
  parts_.sources->remove(row);
  FitNameColumn();
  const int count = parts_.lv->topLevelItemCount();
  if (count == 0) {
    segments_.clear();
    showPath(QString());  // the path line named the file just removed
  } else {
    if (current_ < 0 || current_ >= count - 1) current_ = 0;
    selectRow(*parts_.lv, current_);
    lvClick();
  }
  segments_.UpdateTotalTime();
}

void SourceList::ClearSources() {
  if (isAdding()) return;
  parts_.lv->clear();
  segments_.clear();
  parts_.sources->clear();
  FitNameColumn();
  showPath(QString());  // the path line goes with the files it named
  parts_.sm->show();
  parts_.sm->raise();
  segments_.UpdateTotalTime();
}

void SourceList::lvClick() {
  QTreeWidget& list = *parts_.lv;
  segments_.releaseFocus();
  const int count = list.topLevelItemCount();
  if (count == 0) return;
  if (current_ > count - 1) current_ = count - 1;
  if (jobRunning()) {
    selectRow(list, current_);
    return;
  }
  if (isPlaying()) {
    const int played = playedRow();
    if (played >= 0 && played < count) selectRow(list, played);
    return;
  }
  if (selectedRow(list) < 0) selectRow(list, std::max(0, current_));
  current_ = selectedRow(list);
  if (!parts_.sources->contains(current_)) return;
  const SourceRecord& source = parts_.sources->at(current_);
  segments_.SetupPositionBar(source);
  segments_.planFor(parts_.settings->splitFunction);
  showPath(source.path);
  parts_.sm->hide();
}

void SourceList::follow(int row) {
  current_ = row;
  selectRow(*parts_.lv, row);
}

void SourceList::showPath(const QString& path) {
  if (parts_.skin.nm == nullptr) return;
  parts_.skin.nm->setText(path);
  parts_.skin.nm->redraw();
}

}  // namespace tarvex

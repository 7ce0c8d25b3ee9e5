#include "app/views/SourceList.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTreeWidget>
#include <utility>

#include "app/views/ListRows.h"
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

SourceList::SourceList(const SourceListParts& parts, SourceListServices services)
    : window_(parts.window),
      platform_(parts.platform),
      files_(parts.files),
      sm_(parts.sm),
      settings_(parts.settings),
      sources_(parts.sources),
      segments_(parts.segments),
      services_(std::move(services)) {}

SourceList::~SourceList() = default;

QString SourceList::sizeText(qint64 bytes) {
  const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
  return QLocale::system().toString(megabytes, 'f', 2) + QStringLiteral("MB");
}

void SourceList::FitNameColumn() {
  files_.setColumnWidth(kCaptionColumn, files_.topLevelItemCount() < 13 ? 120 : 113);
}

void SourceList::showRow(int row) {
  QTreeWidgetItem* item = files_.topLevelItem(row);
  if (item == nullptr || !sources_.contains(row)) return;
  const SourceRecord& record = sources_.at(row);
  item->setText(kCaptionColumn, record.caption);
  item->setText(kTimeColumn, FormatMilliseconds(sourceLengthMs(record)));
  item->setData(kCaptionColumn, kSizeRole, sizeText(record.fileBytes));
}

void SourceList::refreshCaptions() {
  for (int row = 0; row < files_.topLevelItemCount(); ++row) showRow(row);
}

void SourceList::addProbed(const ProbeResult& result) {
  switch (result.outcome) {
    case ProbeResult::Outcome::NotSupported:
      platform_.showInformation(&window_, result.fileName + kNotSupportedMessage);
      return;
    case ProbeResult::Outcome::ZeroLength:
      platform_.showInformation(&window_, result.fileName + kZeroLengthMessage);
      return;
    case ProbeResult::Outcome::Added:
      break;
  }
  SourceRecord record = result.record;
  if (services_.takeMarks) services_.takeMarks(record);
  sources_.add(std::move(record));
  files_.addTopLevelItem(new QTreeWidgetItem(QStringList{QString(), QString()}));
  showRow(sources_.count() - 1);
  FitNameColumn();
  segments_.UpdateTotalTime();
}

void SourceList::finishAdd() {
  QTreeWidget& list = files_;
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
      platform_.getOpenFileNames(&window_, QStringLiteral("Add File"), QString(),
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
  const int row = selectedRow(files_);
  if (jobRunning() || isAdding() || !sources_.moveUp(row)) return;
  followSwap(row, row - 1);
  showRow(row);
  showRow(row - 1);
  selectRow(files_, row - 1);
  current_ = row - 1;
  files_.setFocus();
  // Under Unification the first source's ranges are the shared ones.
  segments_.UpdateTotalTime();
}

void SourceList::MoveSourceDown() {
  const int row = selectedRow(files_);
  if (jobRunning() || isAdding() || !sources_.moveDown(row)) return;
  followSwap(row, row + 1);
  showRow(row);
  showRow(row + 1);
  selectRow(files_, row + 1);
  current_ = row + 1;
  files_.setFocus();
  segments_.UpdateTotalTime();
}

void SourceList::RemoveSource() {
  const int row = selectedRow(files_);
  if (row < 0 || isAdding()) return;
  followRemoval(row);
  delete files_.takeTopLevelItem(row);
  sources_.remove(row);
  FitNameColumn();
  const int count = files_.topLevelItemCount();
  if (count == 0) {
    segments_.clear();
    showPath(QString());  // the path line named the file just removed
  } else {
    if (current_ < 0 || current_ >= count - 1) current_ = 0;
    selectRow(files_, current_);
    lvClick();
  }
  segments_.UpdateTotalTime();
}

void SourceList::ClearSources() {
  if (isAdding()) return;
  files_.clear();
  segments_.clear();
  sources_.clear();
  FitNameColumn();
  showPath(QString());  // the path line goes with the files it named
  sm_.show();
  sm_.raise();
  segments_.UpdateTotalTime();
}

void SourceList::lvClick() {
  QTreeWidget& list = files_;
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
  if (!sources_.contains(current_)) return;
  const SourceRecord& source = sources_.at(current_);
  segments_.SetupPositionBar(source);
  segments_.planFor(settings_.splitFunction);
  showPath(source.path);
  sm_.hide();
}

void SourceList::follow(int row) {
  current_ = row;
  selectRow(files_, row);
}

void SourceList::showPath(const QString& path) {
  if (nm_ == nullptr) return;
  nm_->setText(path);
  nm_->redraw();
}

}  // namespace tarvex

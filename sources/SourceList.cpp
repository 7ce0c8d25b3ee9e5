#include "sources/SourceList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTreeWidget>
#include <utility>

#include "components/audio/AudioFile2.h"
#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"
#include "sources/SplitPlanning.h"
#include "sources/TimeFormat.h"
#include "tags/SourceTagReader.h"

namespace tarvex {
namespace {

constexpr int kCaptionColumn = 0;
constexpr int kTimeColumn = 1;
constexpr int kSizeRole = Qt::UserRole + 1;

// Clears a flag when the scope ends, however it ends.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

SourceList::SourceList(WindowParts& parts, SegmentList& segments, SourceListServices services)
    : parts_(parts), segments_(segments), services_(std::move(services)) {}

QString SourceList::sizeText(qint64 bytes) {
  const double megabytes = static_cast<double>(bytes) / 1024.0 / 1024.0;
  return QLocale::system().toString(megabytes, 'f', 2) + QStringLiteral("MB");
}

void SourceList::FitNameColumn() {
  parts_.lv->setColumnWidth(kCaptionColumn, parts_.lv->topLevelItemCount() < 13 ? 120 : 113);
}

void SourceList::resetReader() {
  AudioFile2& reader = *services_.reader;
  if (reader.IsOpen()) reader.Close();
  reader.setActive(false);
  reader.setActive(true);
}

void SourceList::ProbeSource(int row, const QString& path, int barFloor) {
  AudioFile2& reader = *services_.reader;
  if (reader.IsOpen()) reader.Close();
  reader.OpenRead(path, 0, 1);
  const int64_t duration = reader.Duration();
  listrecord entry;
  entry.fileName = path;
  entry.lengthSeconds = static_cast<int>(std::min<int64_t>(duration / 1000, INT32_MAX));
  entry.lengthMs = std::max<int64_t>(0, duration);
  entry.barMax =
      static_cast<int>(std::max<int64_t>(std::min<int64_t>(duration / 500, INT32_MAX), barFloor));
  entry.sampleCount = reader.Samples();
  entry.beginTimes = {0};
  entry.endTimes = {entry.lengthSeconds};
  entry.segmentCount = 1;
  reader.Close();
  (*parts_.records)[row] = std::move(entry);

  QTreeWidgetItem* item = parts_.lv->topLevelItem(row);
  item->setText(kTimeColumn, FormatMilliseconds(sourceLengthMs((*parts_.records)[row])));
  item->setData(kCaptionColumn, kSizeRole, sizeText(QFileInfo(path).size()));
}

void SourceList::dropRow(int row) {
  delete parts_.lv->takeTopLevelItem(row);
  if (row < static_cast<int>(parts_.records->size())) {
    parts_.records->erase(parts_.records->begin() + row);
  }
  if (row < static_cast<int>(parts_.tags->size())) parts_.tags->erase(parts_.tags->begin() + row);
  FitNameColumn();
}

bool SourceList::addOne(const QString& path, bool fromFolder) {
  const QString fileName = QFileInfo(path).fileName();
  const int row = parts_.lv->topLevelItemCount();
  auto* item = new QTreeWidgetItem(QStringList{fileName, QString()});
  parts_.lv->addTopLevelItem(item);
  parts_.records->resize(row + 1);
  parts_.tags->resize(row + 1);
  FitNameColumn();
  try {
    const SourceTags tags = readSourceTags(path, fromFolder);
    if (!tags.caption.isEmpty()) item->setText(kCaptionColumn, tags.caption);
    (*parts_.tags)[row] = tags.info;
    ProbeSource(row, path, fromFolder ? kAddFolderBarFloor : kAddFileBarFloor);
  } catch (const std::exception&) {
    resetReader();
    parts_.platform->showInformation(parts_.window, fileName + kNotSupportedMessage);
    dropRow(row);
    return false;
  }
  if (!fromFolder && (*parts_.records)[row].lengthSeconds == 0) {
    parts_.platform->showInformation(parts_.window, fileName + kZeroLengthMessage);
    dropRow(row);
    return false;
  }
  return true;
}

void SourceList::finishAdd(bool selectPlaySource) {
  QTreeWidget& list = *parts_.lv;
  MainWindowState& state = *parts_.state;
  if (list.topLevelItemCount() > 0 && selectedRow(list) < 0) {
    selectRow(list, 0);
    if (selectPlaySource) state.PlaySource = 0;
  }
  lvClick();
  list.setFocus();
  state.currentSource = std::max(0, selectedRow(list));
  segments_.UpdateTotalTime();
}

void SourceList::AddFiles() {
  const QStringList files = parts_.platform->getOpenFileNames(
      parts_.window, QStringLiteral("Add File"), QString(), {kAddFileFilter, kAllAudioFilter});
  if (files.isEmpty()) return;
  addFiles(files);
}

void SourceList::addFiles(const QStringList& files) {
  if (adding_ || files.isEmpty()) return;
  if (parts_.state->IsPlaying && services_.stopPlayback) services_.stopPlayback();
  {
    FlagScope adding(adding_);
    for (const QString& path : files) {
      QCoreApplication::processEvents();
      addOne(path, false);
    }
  }
  finishAdd(false);
}

void SourceList::AddFolder() {
  if (adding_ || !services_.chooseFolder) return;
  const QString folder = services_.chooseFolder();
  if (folder.isEmpty()) return;
  if (parts_.state->IsPlaying && services_.stopPlayback) services_.stopPlayback();
  {
    FlagScope adding(adding_);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
      QCoreApplication::processEvents();
      QCoreApplication::processEvents();
      if (entry.suffix().toLower() != QLatin1String("mp3")) continue;
      addOne(entry.absoluteFilePath(), true);
    }
  }
  finishAdd(true);
}

void SourceList::swapRows(int a, int b) {
  QTreeWidgetItem* first = parts_.lv->topLevelItem(a);
  QTreeWidgetItem* second = parts_.lv->topLevelItem(b);
  for (int column = 0; column < parts_.lv->columnCount(); ++column) {
    const QString text = first->text(column);
    first->setText(column, second->text(column));
    second->setText(column, text);
  }
  const QVariant size = first->data(kCaptionColumn, kSizeRole);
  first->setData(kCaptionColumn, kSizeRole, second->data(kCaptionColumn, kSizeRole));
  second->setData(kCaptionColumn, kSizeRole, size);
  std::swap((*parts_.records)[a], (*parts_.records)[b]);
  std::swap((*parts_.tags)[a], (*parts_.tags)[b]);
}

void SourceList::MoveSourceUp() {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  if (state.jobRunning || adding_ || row <= 0) return;
  if (row == state.PlaySource) state.PlaySource = row - 1;
  swapRows(row, row - 1);
  selectRow(*parts_.lv, row - 1);
  state.currentSource = row - 1;
  parts_.lv->setFocus();
  // Under Unification the first source's ranges are the shared ones.
  segments_.UpdateTotalTime();
}

void SourceList::MoveSourceDown() {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  if (state.jobRunning || adding_ || row < 0 || row >= parts_.lv->topLevelItemCount() - 1) return;
  if (row == state.PlaySource) state.PlaySource = row + 1;
  swapRows(row, row + 1);
  selectRow(*parts_.lv, row + 1);
  state.currentSource = row + 1;
  parts_.lv->setFocus();
  segments_.UpdateTotalTime();
}

void SourceList::RemoveSource() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || adding_) return;
  dropRow(row);
  MainWindowState& state = *parts_.state;
  const int count = parts_.lv->topLevelItemCount();
  if (count == 0) {
    segments_.clear();
  } else {
    if (state.currentSource < 0 || state.currentSource >= count - 1) state.currentSource = 0;
    selectRow(*parts_.lv, state.currentSource);
    lvClick();
  }
  segments_.UpdateTotalTime();
}

void SourceList::ClearSources() {
  if (adding_) return;
  parts_.lv->clear();
  segments_.clear();
  parts_.records->clear();
  parts_.tags->clear();
  FitNameColumn();
  parts_.sm->show();
  parts_.sm->raise();
  segments_.UpdateTotalTime();
}

void SourceList::lvClick() {
  MainWindowState& state = *parts_.state;
  QTreeWidget& list = *parts_.lv;
  state.segmentFocus = false;
  const int count = list.topLevelItemCount();
  if (count == 0) return;
  if (state.currentSource > count - 1) state.currentSource = count - 1;
  if (state.jobRunning) {
    selectRow(list, state.currentSource);
    return;
  }
  if (state.IsPlaying) {
    if (state.PlaySource >= 0 && state.PlaySource < count) selectRow(list, state.PlaySource);
    return;
  }
  if (selectedRow(list) < 0) selectRow(list, std::max(0, state.currentSource));
  state.currentSource = selectedRow(list);
  const listrecord& source = (*parts_.records)[state.currentSource];
  segments_.SetupPositionBar(source);
  segments_.planFor(state.functionChoice);
  if (parts_.skin.nm != nullptr) {
    parts_.skin.nm->setText(source.fileName);
    parts_.skin.nm->redraw();
  }
  parts_.sm->hide();
}

}  // namespace tarvex

#include "sources/SegmentList.h"

#include <QTreeWidget>
#include <algorithm>

#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"
#include "sources/MulDiv.h"
#include "sources/TimeFormat.h"

namespace tarvex {
namespace {

constexpr int kLengthColumn = 1;
constexpr int kStatusColumn = 2;

void ensureRanges(listrecord& entry, int count) {
  if (static_cast<int>(entry.beginTimes.size()) < count) entry.beginTimes.resize(count, 0);
  if (static_cast<int>(entry.endTimes.size()) < count) entry.endTimes.resize(count, 0);
}

}  // namespace

SegmentList::SegmentList(WindowParts& parts, std::function<void()> lvClick)
    : parts_(parts), lvClick_(std::move(lvClick)) {}

void SegmentList::SetupPositionBar(const listrecord& source) {
  skin::SkinObject* bar = parts_.skin.pb;
  if (bar == nullptr) return;
  bar->setMaximum(source.barMax);
  bar->setPageSize(static_cast<int>(MulDiv(52, source.barMax, 1100)));
  bar->redraw();
}

int SegmentList::PositionSpan() const {
  const skin::SkinObject* bar = parts_.skin.pb;
  if (bar == nullptr) return 1;
  return std::max(1, bar->maximum() - bar->pageSize());
}

int SegmentList::secondsAtBar(int barValue, int lengthSeconds) const {
  const int64_t seconds = MulDiv(std::max(0, barValue), lengthSeconds, PositionSpan());
  return static_cast<int>(std::clamp<int64_t>(seconds, 0, std::max(0, lengthSeconds)));
}

void SegmentList::showCurrentPosition(int lengthSeconds) {
  MainWindowState& state = *parts_.state;
  state.positionText = FormatTime(secondsAtBar(state.BarPosition, lengthSeconds));
  if (parts_.skin.timecaption != nullptr) {
    parts_.skin.timecaption->setText(state.positionText);
    parts_.skin.timecaption->redraw();
  }
}

int SegmentList::rowCount() const {
  return parts_.lv_time->topLevelItemCount();
}

QString SegmentList::status(int row) const {
  const QTreeWidgetItem* item = parts_.lv_time->topLevelItem(row);
  return item != nullptr ? item->text(kStatusColumn) : QString();
}

void SegmentList::setStatus(int row, const QString& status) {
  if (QTreeWidgetItem* item = parts_.lv_time->topLevelItem(row))
    item->setText(kStatusColumn, status);
}

void SegmentList::clear() {
  parts_.lv_time->clear();
}

void SegmentList::showRows(const std::vector<Segment>& rows, const listrecord& source) {
  QTreeWidget& list = *parts_.lv_time;
  list.clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const Segment& row : rows) {
    const SegmentTexts texts = segmentTexts(row.begin, row.end, source);
    items << new QTreeWidgetItem(QStringList{texts.range, texts.length, row.status});
  }
  list.addTopLevelItems(items);
}

void SegmentList::PlanCustom() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || row >= static_cast<int>(parts_.records->size())) return;
  const listrecord& source = (*parts_.records)[row];
  showCurrentPosition(source.lengthSeconds);
  showRows(planMarkedRanges(source), source);
}

void SegmentList::PlanByTime() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || row >= static_cast<int>(parts_.records->size())) return;
  const listrecord& source = (*parts_.records)[row];
  showCurrentPosition(source.lengthSeconds);
  showRows(planByTimePieces(source.lengthSeconds, parts_.state->pieceSeconds), source);
}

void SegmentList::PlanByCount() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || row >= static_cast<int>(parts_.records->size())) return;
  const listrecord& source = (*parts_.records)[row];
  showCurrentPosition(source.lengthSeconds);
  showRows(planByCountPieces(source.lengthSeconds, parts_.state->pieceCount), source);
}

void SegmentList::PlanUnification() {
  if (selectedRow(*parts_.lv) < 0 || parts_.records->empty()) return;
  const listrecord& shared = parts_.records->front();
  showCurrentPosition(shared.lengthSeconds);
  showRows(planMarkedRanges(shared), shared);
}

void SegmentList::planFor(int functionChoice) {
  switch (functionChoice) {
    case 0:
      PlanCustom();
      break;
    case 1:
      PlanByTime();
      break;
    case 2:
      PlanByCount();
      break;
    case 3:
      PlanUnification();
      break;
    default:
      break;
  }
}

void SegmentList::UpdateTotalTime() {
  const int rows = parts_.lv->topLevelItemCount();
  std::vector<listrecord> listed(
      parts_.records->begin(),
      parts_.records->begin() + std::min<qsizetype>(rows, parts_.records->size()));
  const int total = totalPlannedSeconds(parts_.state->functionChoice, listed);
  if (parts_.skin.tataltime != nullptr) {
    parts_.skin.tataltime->setText(FormatTime(total));
    parts_.skin.tataltime->redraw();
  }
}

bool SegmentList::marking() const {
  const int choice = parts_.state->functionChoice;
  return choice == 0 || choice == 3;
}

listrecord* SegmentList::markedEntry() {
  if (parts_.records->empty()) return nullptr;
  if (parts_.state->functionChoice == 3) return &parts_.records->front();
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || row >= static_cast<int>(parts_.records->size())) return nullptr;
  return &(*parts_.records)[row];
}

void SegmentList::refreshRow(int row, const listrecord& entry) {
  if (QTreeWidgetItem* item = parts_.lv_time->topLevelItem(row)) {
    const SegmentTexts texts = segmentTexts(entry.beginTimes[row], entry.endTimes[row], entry);
    item->setText(0, texts.range);
    item->setText(kLengthColumn, texts.length);
  }
}

void SegmentList::setPendingBound(bool begin) {
  if (selectedRow(*parts_.lv) < 0) return;
  if (!marking()) {
    parts_.platform->showInformation(parts_.window, kOnlyMarkingFunctionsMessage);
    return;
  }
  if (parts_.skin.pb != nullptr) parts_.state->BarPosition = parts_.skin.pb->position();
  listrecord* entry = markedEntry();
  const int pending = rowCount() - 1;
  if (entry == nullptr || pending < 0) return;
  ensureRanges(*entry, pending + 1);
  const int seconds = secondsAtBar(parts_.state->BarPosition, entry->lengthSeconds);
  (begin ? entry->beginTimes : entry->endTimes)[pending] = seconds;
  refreshRow(pending, *entry);
  UpdateTotalTime();
}

void SegmentList::MarkBegin() {
  setPendingBound(true);
}

void SegmentList::MarkEnd() {
  setPendingBound(false);
}

void SegmentList::ConfirmSegment() {
  if (selectedRow(*parts_.lv) < 0) return;
  if (!marking()) {
    parts_.platform->showInformation(parts_.window, kOnlyMarkingFunctionsMessage);
    return;
  }
  listrecord* entry = markedEntry();
  const int pending = rowCount() - 1;
  if (entry == nullptr || pending < 0) return;
  ensureRanges(*entry, pending + 1);
  if (entry->endTimes[pending] - entry->beginTimes[pending] < 0) {
    parts_.platform->showInformation(parts_.window, kStartAfterEndMessage);
    return;
  }
  setStatus(pending, kStatusJustConfirmed);
  const int length = entry->lengthSeconds;
  const SegmentTexts texts = segmentTexts(0, length, *entry);
  parts_.lv_time->addTopLevelItem(
      new QTreeWidgetItem(QStringList{texts.range, texts.length, kStatusUncertain}));
  const int count = rowCount();
  entry->beginTimes.resize(count, 0);
  entry->endTimes.resize(count, 0);
  entry->beginTimes[count - 1] = 0;
  entry->endTimes[count - 1] = length;
  entry->segmentCount = count;
  UpdateTotalTime();
}

void SegmentList::RemoveSegment() {
  if (!marking() || selectedRow(*parts_.lv) < 0) return;
  const int row = selectedRow(*parts_.lv_time);
  if (row < 0) return;
  if (status(row) == kStatusUncertain) {
    parts_.platform->showInformation(parts_.window, kPendingRowMessage);
    return;
  }
  listrecord* entry = markedEntry();
  if (entry == nullptr) return;
  ensureRanges(*entry, rowCount());
  entry->beginTimes.erase(entry->beginTimes.begin() + row);
  entry->endTimes.erase(entry->endTimes.begin() + row);
  delete parts_.lv_time->takeTopLevelItem(row);
  const int count = rowCount();
  MainWindowState& state = *parts_.state;
  if (state.currentSegment > count - 1) state.currentSegment = count - 1;
  selectRow(*parts_.lv_time, state.currentSegment);
  entry->beginTimes.resize(count, 0);
  entry->endTimes.resize(count, 0);
  entry->segmentCount = count;
  UpdateTotalTime();
}

void SegmentList::ResetSegments() {
  parts_.lv_time->clear();
  // Under Unification the shared ranges are the ones the list shows.
  listrecord* entry = nullptr;
  if (parts_.state->functionChoice == 3) {
    entry = parts_.records->empty() ? nullptr : &parts_.records->front();
  } else {
    const int row = selectedRow(*parts_.lv);
    if (row >= 0 && row < static_cast<int>(parts_.records->size())) entry = &(*parts_.records)[row];
  }
  if (entry != nullptr) {
    ensureRanges(*entry, 1);
    entry->segmentCount = 1;
    entry->beginTimes[0] = 0;
    entry->endTimes[0] = entry->lengthSeconds;
  }
  if (lvClick_) lvClick_();
  UpdateTotalTime();
}

void SegmentList::lv_timeClick() {
  const int count = rowCount();
  if (count == 0) return;
  MainWindowState& state = *parts_.state;
  if (state.currentSegment > count - 1) state.currentSegment = count - 1;
  if (selectedRow(*parts_.lv_time) < 0) selectRow(*parts_.lv_time, state.currentSegment);
  state.currentSegment = selectedRow(*parts_.lv_time);
  state.segmentFocus = true;
}

}  // namespace tarvex

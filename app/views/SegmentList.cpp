#include "app/views/SegmentList.h"

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

}  // namespace

QString statusText(SegmentStatus status) {
  switch (status) {
    case SegmentStatus::Planned:
      return kStatusUnconvert;
    case SegmentStatus::Pending:
      return kStatusUncertain;
    case SegmentStatus::Confirmed:
      return kStatusConfirmed;
    case SegmentStatus::JustConfirmed:
      return kStatusJustConfirmed;
  }
  return QString();
}

SegmentList::SegmentList(WindowParts& parts, std::function<void()> lvClick)
    : parts_(parts), rules_(*parts.sources), lvClick_(std::move(lvClick)) {}

void SegmentList::SetupPositionBar(const SourceRecord& source) {
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

int SegmentList::barPosition() const {
  return parts_.skin.pb != nullptr ? parts_.skin.pb->position() : 0;
}

int SegmentList::secondsAtBar(int barValue, int lengthSeconds) const {
  const int64_t seconds = MulDiv(std::max(0, barValue), lengthSeconds, PositionSpan());
  return static_cast<int>(std::clamp<int64_t>(seconds, 0, std::max(0, lengthSeconds)));
}

void SegmentList::showCurrentPosition(int lengthSeconds) {
  if (parts_.skin.timecaption != nullptr) {
    parts_.skin.timecaption->setText(FormatTime(secondsAtBar(barPosition(), lengthSeconds)));
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

void SegmentList::showRows(const std::vector<Segment>& rows, const SourceRecord& source) {
  QTreeWidget& list = *parts_.lv_time;
  list.clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const Segment& row : rows) {
    const SegmentTexts texts = segmentTexts(row.begin, row.end, source);
    items << new QTreeWidgetItem(QStringList{texts.range, texts.length, statusText(row.status)});
  }
  list.addTopLevelItems(items);
}

void SegmentList::PlanCustom() {
  const int row = selectedRow(*parts_.lv);
  if (!parts_.sources->contains(row)) return;
  rules_.settle(SplitFunction::Custom, row);
  const SourceRecord& source = parts_.sources->at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planMarkedRanges(source), source);
}

void SegmentList::PlanByTime() {
  const int row = selectedRow(*parts_.lv);
  if (!parts_.sources->contains(row)) return;
  const SourceRecord& source = parts_.sources->at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planByTimePieces(source.lengthSeconds, parts_.settings->pieceSeconds), source);
}

void SegmentList::PlanByCount() {
  const int row = selectedRow(*parts_.lv);
  if (!parts_.sources->contains(row)) return;
  const SourceRecord& source = parts_.sources->at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planByCountPieces(source.lengthSeconds, parts_.settings->pieceCount), source);
}

void SegmentList::PlanUnification() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0 || parts_.sources->empty()) return;
  rules_.settle(SplitFunction::Unification, row);
  const SourceRecord& shared = parts_.sources->at(0);
  showCurrentPosition(shared.lengthSeconds);
  showRows(planMarkedRanges(shared), shared);
}

void SegmentList::planFor(SplitFunction function) {
  switch (function) {
    case SplitFunction::Custom:
      PlanCustom();
      break;
    case SplitFunction::EveryNSeconds:
      PlanByTime();
      break;
    case SplitFunction::EqualPieces:
      PlanByCount();
      break;
    case SplitFunction::Unification:
      PlanUnification();
      break;
  }
}

void SegmentList::UpdateTotalTime() {
  const int total = totalPlannedSeconds(parts_.settings->splitFunction, parts_.sources->all());
  if (parts_.skin.tataltime != nullptr) {
    parts_.skin.tataltime->setText(FormatTime(total));
    parts_.skin.tataltime->redraw();
  }
}

void SegmentList::tell(MarkingOutcome outcome) {
  QString message;
  switch (outcome) {
    case MarkingOutcome::NotAMarkingFunction:
      message = kOnlyMarkingFunctionsMessage;
      break;
    case MarkingOutcome::StartAfterEnd:
      message = kStartAfterEndMessage;
      break;
    case MarkingOutcome::PendingRangeKept:
      message = kPendingRowMessage;
      break;
    case MarkingOutcome::Done:
    case MarkingOutcome::NoSource:
      return;
  }
  parts_.platform->showInformation(parts_.window, message);
}

void SegmentList::showMarkedRanges() {
  const SourceRecord* source =
      parts_.sources->markedSource(parts_.settings->splitFunction, selectedRow(*parts_.lv));
  if (source == nullptr) return;
  const std::vector<Segment> rows = planMarkedRanges(*source);
  QTreeWidget& list = *parts_.lv_time;
  // Rows are updated in place, so a status a job wrote stays until the next re-plan.
  while (list.topLevelItemCount() > static_cast<int>(rows.size())) {
    delete list.takeTopLevelItem(list.topLevelItemCount() - 1);
  }
  for (int index = 0; index < static_cast<int>(rows.size()); ++index) {
    const Segment& row = rows[static_cast<size_t>(index)];
    QTreeWidgetItem* item = list.topLevelItem(index);
    if (item == nullptr) {
      item = new QTreeWidgetItem(QStringList{QString(), QString(), statusText(row.status)});
      list.addTopLevelItem(item);
    }
    const SegmentTexts texts = segmentTexts(row.begin, row.end, *source);
    item->setText(0, texts.range);
    item->setText(kLengthColumn, texts.length);
    if (row.status == SegmentStatus::JustConfirmed)
      item->setText(kStatusColumn, kStatusJustConfirmed);
  }
}

void SegmentList::setPendingBound(bool begin) {
  const int row = selectedRow(*parts_.lv);
  if (row < 0) return;
  const SplitFunction function = parts_.settings->splitFunction;
  const SourceRecord* source = parts_.sources->markedSource(function, row);
  const int seconds = secondsAtBar(barPosition(), source != nullptr ? source->lengthSeconds : 0);
  const MarkingOutcome outcome =
      begin ? rules_.markBegin(function, row, seconds) : rules_.markEnd(function, row, seconds);
  tell(outcome);
  if (outcome != MarkingOutcome::Done) return;
  showMarkedRanges();
  UpdateTotalTime();
}

void SegmentList::MarkBegin() {
  setPendingBound(true);
}

void SegmentList::MarkEnd() {
  setPendingBound(false);
}

void SegmentList::ConfirmSegment() {
  const int row = selectedRow(*parts_.lv);
  if (row < 0) return;
  const MarkingOutcome outcome = rules_.confirm(parts_.settings->splitFunction, row);
  tell(outcome);
  if (outcome != MarkingOutcome::Done) return;
  showMarkedRanges();
  UpdateTotalTime();
}

void SegmentList::RemoveSegment() {
  if (!marksRanges(parts_.settings->splitFunction) || selectedRow(*parts_.lv) < 0) return;
  const int segment = selectedRow(*parts_.lv_time);
  if (segment < 0) return;
  const MarkingOutcome outcome =
      rules_.remove(parts_.settings->splitFunction, selectedRow(*parts_.lv), segment);
  tell(outcome);
  if (outcome != MarkingOutcome::Done) return;
  delete parts_.lv_time->takeTopLevelItem(segment);
  const int count = rowCount();
  if (current_ > count - 1) current_ = count - 1;
  selectRow(*parts_.lv_time, current_);
  UpdateTotalTime();
}

void SegmentList::ResetSegments() {
  parts_.lv_time->clear();
  rules_.reset(parts_.settings->splitFunction, selectedRow(*parts_.lv));
  if (lvClick_) lvClick_();
  UpdateTotalTime();
}

void SegmentList::lv_timeClick() {
  const int count = rowCount();
  if (count == 0) return;
  if (current_ > count - 1) current_ = count - 1;
  if (selectedRow(*parts_.lv_time) < 0) selectRow(*parts_.lv_time, current_);
  current_ = selectedRow(*parts_.lv_time);
  focused_ = true;
}

}  // namespace tarvex

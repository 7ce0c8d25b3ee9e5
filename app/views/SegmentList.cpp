#include "app/views/SegmentList.h"

#include <QTreeWidget>
#include <algorithm>

#include "app/views/ListRows.h"
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

SegmentList::SegmentList(const SegmentListParts& parts, std::function<void()> lvClick)
    : window_(parts.window),
      platform_(parts.platform),
      files_(parts.files),
      pieces_(parts.pieces),
      settings_(parts.settings),
      sources_(parts.sources),
      rules_(parts.sources),
      lvClick_(std::move(lvClick)) {}

void SegmentList::attach(skin::SkinObject* pb, skin::SkinObject* timecaption,
                         skin::SkinObject* tataltime) {
  pb_ = pb;
  timecaption_ = timecaption;
  tataltime_ = tataltime;
}

void SegmentList::SetupPositionBar(const SourceRecord& source) {
  skin::SkinObject* bar = pb_;
  if (bar == nullptr) return;
  bar->setMaximum(source.barMax);
  bar->setPageSize(static_cast<int>(MulDiv(52, source.barMax, 1100)));
  bar->redraw();
}

int SegmentList::PositionSpan() const {
  const skin::SkinObject* bar = pb_;
  if (bar == nullptr) return 1;
  return std::max(1, bar->maximum() - bar->pageSize());
}

int SegmentList::barPosition() const {
  return pb_ != nullptr ? pb_->position() : 0;
}

int SegmentList::secondsAtBar(int barValue, int lengthSeconds) const {
  const int64_t seconds = MulDiv(std::max(0, barValue), lengthSeconds, PositionSpan());
  return static_cast<int>(std::clamp<int64_t>(seconds, 0, std::max(0, lengthSeconds)));
}

void SegmentList::showCurrentPosition(int lengthSeconds) {
  if (timecaption_ != nullptr) {
    timecaption_->setText(FormatTime(secondsAtBar(barPosition(), lengthSeconds)));
    timecaption_->redraw();
  }
}

int SegmentList::rowCount() const {
  return pieces_.topLevelItemCount();
}

QString SegmentList::status(int row) const {
  const QTreeWidgetItem* item = pieces_.topLevelItem(row);
  return item != nullptr ? item->text(kStatusColumn) : QString();
}

void SegmentList::setStatus(int row, const QString& status) {
  if (QTreeWidgetItem* item = pieces_.topLevelItem(row)) item->setText(kStatusColumn, status);
}

void SegmentList::clear() {
  pieces_.clear();
}

void SegmentList::showRows(const std::vector<Segment>& rows, const SourceRecord& source) {
  QTreeWidget& list = pieces_;
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
  const int row = selectedRow(files_);
  if (!sources_.contains(row)) return;
  rules_.settle(SplitFunction::Custom, row);
  const SourceRecord& source = sources_.at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planMarkedRanges(source), source);
}

void SegmentList::PlanByTime() {
  const int row = selectedRow(files_);
  if (!sources_.contains(row)) return;
  const SourceRecord& source = sources_.at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planByTimePieces(source.lengthSeconds, settings_.pieceSeconds), source);
}

void SegmentList::PlanByCount() {
  const int row = selectedRow(files_);
  if (!sources_.contains(row)) return;
  const SourceRecord& source = sources_.at(row);
  showCurrentPosition(source.lengthSeconds);
  showRows(planByCountPieces(source.lengthSeconds, settings_.pieceCount), source);
}

void SegmentList::PlanUnification() {
  const int row = selectedRow(files_);
  if (row < 0 || sources_.empty()) return;
  rules_.settle(SplitFunction::Unification, row);
  const SourceRecord& shared = sources_.at(0);
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
  const int total = totalPlannedSeconds(settings_.splitFunction, sources_.all());
  if (tataltime_ != nullptr) {
    tataltime_->setText(FormatTime(total));
    tataltime_->redraw();
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
  platform_.showInformation(&window_, message);
}

void SegmentList::showMarkedRanges() {
  const SourceRecord* source = sources_.markedSource(settings_.splitFunction, selectedRow(files_));
  if (source == nullptr) return;
  const std::vector<Segment> rows = planMarkedRanges(*source);
  QTreeWidget& list = pieces_;
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
  const int row = selectedRow(files_);
  if (row < 0) return;
  const SplitFunction function = settings_.splitFunction;
  const SourceRecord* source = sources_.markedSource(function, row);
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
  const int row = selectedRow(files_);
  if (row < 0) return;
  const MarkingOutcome outcome = rules_.confirm(settings_.splitFunction, row);
  tell(outcome);
  if (outcome != MarkingOutcome::Done) return;
  showMarkedRanges();
  UpdateTotalTime();
}

void SegmentList::RemoveSegment() {
  if (!marksRanges(settings_.splitFunction) || selectedRow(files_) < 0) return;
  const int segment = selectedRow(pieces_);
  if (segment < 0) return;
  const MarkingOutcome outcome =
      rules_.remove(settings_.splitFunction, selectedRow(files_), segment);
  tell(outcome);
  if (outcome != MarkingOutcome::Done) return;
  delete pieces_.takeTopLevelItem(segment);
  const int count = rowCount();
  if (current_ > count - 1) current_ = count - 1;
  selectRow(pieces_, current_);
  UpdateTotalTime();
}

void SegmentList::ResetSegments() {
  pieces_.clear();
  rules_.reset(settings_.splitFunction, selectedRow(files_));
  if (lvClick_) lvClick_();
  UpdateTotalTime();
}

void SegmentList::lv_timeClick() {
  const int count = rowCount();
  if (count == 0) return;
  if (current_ > count - 1) current_ = count - 1;
  if (selectedRow(pieces_) < 0) selectRow(pieces_, current_);
  current_ = selectedRow(pieces_);
  focused_ = true;
}

}  // namespace tarvex

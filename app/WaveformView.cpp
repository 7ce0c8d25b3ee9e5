#include "app/WaveformView.h"

#include <QThread>
#include <algorithm>

#include "app/PreviewPlayer.h"
#include "app/views/ListRows.h"
#include "components/skin/SkinObject.h"
#include "sources/SplitPlanning.h"

namespace tarvex {
namespace {

// How often the view looks at the window's state: smooth enough for the cursor.
constexpr int kFollowIntervalMs = 50;

}  // namespace

WaveformView::WaveformView(const QTreeWidget& files, const MainSettings& settings,
                           const SourceRecords& sources, const PreviewPlayer& player,
                           QObject* parent)
    : QObject(parent),
      files_(files),
      settings_(settings),
      sources_(sources),
      player_(player),
      job_(cache_, std::max(1, QThread::idealThreadCount())) {
  connect(&job_, &WaveformJob::updated, this, &WaveformView::takePeaks);
  connect(&job_, &WaveformJob::failed, this, [this](const QString& path, const QString&) {
    // A file the decoder cannot read shows no picture; adding it said why.
    if (path == shownPath_ && wave_ != nullptr) wave_->setWaveform({}, {});
  });
  timer_.setInterval(kFollowIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &WaveformView::follow);
}

WaveformView::~WaveformView() {
  timer_.stop();
  job_.stop();
}

void WaveformView::attach(skin::SkinObject* wave, const skin::SkinObject* pb) {
  wave_ = wave;
  pb_ = pb;
  if (wave_ == nullptr) {
    timer_.stop();
    job_.stop();
    return;
  }
  follow();
  timer_.start();
}

int WaveformView::shownRow() const {
  // While playing, the bar belongs to the source being played.
  const int row = player_.IsPlaying() ? player_.PlaySource() : selectedRow(files_);
  return sources_.contains(row) ? row : -1;
}

void WaveformView::follow() {
  if (wave_ == nullptr) return;
  const int row = shownRow();
  const SourceRecord* source = row >= 0 ? &sources_.at(row) : nullptr;
  showSource(source);
  showSpans(row);
  showCursor(source);
}

void WaveformView::showSource(const SourceRecord* source) {
  const QString path = source != nullptr ? source->path : QString();
  if (path == shownPath_) return;
  shownPath_ = path;
  exactShown_ = false;
  // The old picture goes at once: a stale one would lie about the new file.
  job_.stop();
  wave_->setWaveform({}, {});
  if (!path.isEmpty()) job_.start(path, std::max(1, wave_->rect().width()));
}

void WaveformView::takePeaks(const QString& path, const WaveformPeaks& peaks) {
  if (wave_ == nullptr || path != shownPath_) return;
  exactShown_ = peaks.exact && peaks.width() > 0;
  wave_->setWaveform(peaks.low, peaks.high);
}

void WaveformView::showSpans(int row) {
  if (row < 0) {
    if (!shownRanges_.empty()) wave_->setWaveSpans({});
    shownRanges_.clear();
    shownLength_ = -1;
    return;
  }
  // The ranges shown are those the segment list shows for the source.
  const SourceRecord* source = &sources_.at(row);
  const SourceRecord* marked = sources_.markedSource(settings_.splitFunction, row);
  const bool marks = marksRanges(settings_.splitFunction) && marked != nullptr;
  const std::vector<MarkedRange> ranges = marks ? marked->ranges : std::vector<MarkedRange>{};
  if (ranges == shownRanges_ && source->lengthSeconds == shownLength_) return;
  shownRanges_ = ranges;
  shownLength_ = source->lengthSeconds;
  std::vector<skin::SkinWaveSpan> spans;
  const double length = std::max(1, source->lengthSeconds);
  // A lone pending range covers the whole file and marks nothing yet.
  const size_t cut = ranges.size() > 1 ? ranges.size() - 1 : 0;
  for (size_t i = 0; i < cut; ++i) {
    const MarkedRange& range = ranges[i];
    spans.push_back(
        {std::clamp(range.begin / length, 0.0, 1.0), std::clamp(range.end / length, 0.0, 1.0)});
  }
  wave_->setWaveSpans(std::move(spans));
}

void WaveformView::showCursor(const SourceRecord* source) {
  const skin::SkinObject* bar = pb_;
  if (source == nullptr || bar == nullptr || bar->span() <= 0) {
    wave_->setWaveCursor(-1.0);
    return;
  }
  double fraction = static_cast<double>(bar->position()) / bar->span();
  if (player_.IsPlaying() && player_.SegmentPlayback()) {
    // The bar spans the piece being played: place it within the file.
    const SourceRecord* marked =
        sources_.markedSource(settings_.splitFunction, player_.PlaySource());
    const int piece = player_.PlaySegment();
    if (marked != nullptr && piece >= 0 && piece < static_cast<int>(marked->ranges.size())) {
      const MarkedRange& range = marked->ranges[static_cast<size_t>(piece)];
      const double seconds = range.begin + fraction * (range.end - range.begin);
      fraction = seconds / std::max(1, source->lengthSeconds);
    }
  }
  wave_->setWaveCursor(std::clamp(fraction, 0.0, 1.0));
}

}  // namespace tarvex

#include "app/PreviewPlayer.h"

#include <QTreeWidget>
#include <algorithm>
#include <climits>

#include "app/views/ListRows.h"
#include "app/views/SegmentList.h"
#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"
#include "player/PlaybackSession.h"
#include "sources/MulDiv.h"
#include "sources/TimeFormat.h"

namespace tarvex {

PreviewPlayer::PreviewPlayer(const PreviewPlayerParts& parts, std::function<bool()> jobRunning,
                             QObject* parent)
    : QObject(parent),
      window_(parts.window),
      platform_(parts.platform),
      files_(parts.files),
      pieces_(parts.pieces),
      settings_(parts.settings),
      sources_(parts.sources),
      segments_(parts.segments),
      session_(parts.session),
      jobRunning_(std::move(jobRunning)) {
  connect(&session_, &PlaybackSession::positionChanged, this,
          [this](qint64 frame) { showPosition(frame); });
  connect(&session_, &PlaybackSession::ended, this, [this] {
    if (playing_) Stop();
  });
  connect(&session_, &PlaybackSession::failed, this,
          [this](const QString& message) { failPlayback(message); });
}

void PreviewPlayer::attach(skin::SkinObject* pb, skin::SkinObject* timecaption) {
  pb_ = pb;
  timecaption_ = timecaption;
}

int PreviewPlayer::span() const {
  return segments_.PositionSpan();
}

int PreviewPlayer::BarPosition() const {
  return pb_ != nullptr ? pb_->position() : 0;
}

void PreviewPlayer::setBar(int position) {
  if (pb_ == nullptr) return;
  pb_->setPosition(position);
  pb_->redraw();
}

void PreviewPlayer::showTime(int64_t seconds) {
  if (timecaption_ == nullptr) return;
  timecaption_->setText(FormatTime(std::max<int64_t>(0, seconds)));
  timecaption_->redraw();
}

const MarkedRange* PreviewPlayer::playedRange() const {
  const SourceRecord* source = sources_.markedSource(settings_.splitFunction, playSource_);
  if (source == nullptr || playSegment_ < 0 ||
      playSegment_ >= static_cast<int>(source->ranges.size())) {
    return nullptr;
  }
  return &source->ranges[static_cast<size_t>(playSegment_)];
}

SampleSpan PreviewPlayer::pieceSpan() const {
  const MarkedRange* range = playedRange();
  const int row = playSource_;
  if (range == nullptr || !sources_.contains(row)) return {};
  // The frames the split cuts: exact edges (a CUE sheet's, a found sound's)
  // where the range has them.
  return markedSpan(*range, *sources_.markedSource(settings_.splitFunction, row), sources_.at(row));
}

void PreviewPlayer::Play() {
  if (jobRunning()) return;
  if (segments_.hasFocus() && marksRanges(settings_.splitFunction)) {
    PlayPiece();
  } else {
    PlayWholeFile();
  }
}

void PreviewPlayer::PlayWholeFile() {
  const int row = selectedRow(files_);
  if (playing_ || !sources_.contains(row)) return;
  const SourceRecord& source = sources_.at(row);
  playing_ = true;
  playSource_ = row;
  target_ = PreviewTarget::WholeFile;
  played_ = SampleSpan{0, source.frames};
  sourceFrames_ = source.frames;
  sourceSeconds_ = source.lengthSeconds;
  playOffset_ = std::clamp<int64_t>(MulDiv(BarPosition(), source.frames, span()), 0, source.frames);
  session_.play(source, played_, playOffset_);
}

void PreviewPlayer::PlayPiece() {
  const int row = selectedRow(files_);
  const int segment = selectedRow(pieces_);
  if (playing_ || !sources_.contains(row) || segment < 0) return;
  // A row without a range (the list and the ranges disagree) plays nothing.
  const SourceRecord* ranges = sources_.markedSource(settings_.splitFunction, row);
  if (ranges == nullptr || segment >= static_cast<int>(ranges->ranges.size())) return;
  const SourceRecord& source = sources_.at(row);
  playing_ = true;
  playSource_ = row;
  target_ = PreviewTarget::Piece;
  playSegment_ = segment;
  played_ = pieceSpan();
  sourceFrames_ = source.frames;
  sourceSeconds_ = source.lengthSeconds;
  playOffset_ = 0;
  savedStatus_ = segments_.status(playSegment_);
  segments_.setStatus(playSegment_, kPlayingStatus);
  session_.play(source, played_, played_.first);
}

void PreviewPlayer::showPosition(int64_t frame) {
  if (!playing_ || dragging_) return;
  const int range = span();
  const int64_t played = frame - played_.first;
  const int64_t whole = played_.frames();
  const int64_t bar = whole > 0 ? MulDiv(played, range, whole) : range;
  setBar(static_cast<int>(std::min<int64_t>(bar, INT32_MAX)));
  showTime(sourceFrames_ > 0 ? MulDiv(played, sourceSeconds_, sourceFrames_) : 0);
  // The bar at its end ends the playback: a piece's end, or the file's.
  if (BarPosition() >= range) Stop();
}

void PreviewPlayer::endTarget() {
  // The piece's row gets its status back unless the rows were shown anew
  // meanwhile (the row then no longer carries the playing mark).
  if (target_ == PreviewTarget::Piece && playSegment_ >= 0 && playSegment_ < segments_.rowCount() &&
      segments_.status(playSegment_) == kPlayingStatus) {
    segments_.setStatus(playSegment_, savedStatus_);
  }
  target_ = PreviewTarget::Nothing;
}

void PreviewPlayer::failPlayback(const QString& message) {
  // The player is idle again before the message, so the next play works.
  endTarget();
  playing_ = false;
  dragging_ = false;
  platform_.showError(&window_, message);
}

void PreviewPlayer::Stop() {
  session_.stop();
  // The flags are cleared even with an empty list, or play would stay refused
  // after the list was cleared during a playback.
  if (files_.topLevelItemCount() > 0) {
    endTarget();
    setBar(0);
    showTime(0);
  }
  target_ = PreviewTarget::Nothing;
  playing_ = false;
  dragging_ = false;
}

void PreviewPlayer::BarMouseDown() {
  dragging_ = true;
}

void PreviewPlayer::BarScrollTrack() {
  const int row = selectedRow(files_);
  if (!dragging_ || !sources_.contains(row)) return;
  const int range = span();
  const int position = std::min(BarPosition(), range);
  int64_t seconds = 0;
  const MarkedRange* played = playedRange();
  if (playing_ && target_ == PreviewTarget::Piece && played != nullptr) {
    seconds = MulDiv(position, played->end - played->begin, range);
  } else {
    seconds = MulDiv(position, sources_.at(row).lengthSeconds, range);
  }
  showTime(seconds);
}

void PreviewPlayer::BarMouseUp() {
  dragging_ = false;
  if (!playing_) return;  // stopped: the bar stays where it was dropped
  const int range = span();
  const int position = BarPosition();
  if (position >= range) {
    Stop();
    return;
  }
  playOffset_ = MulDiv(position, played_.frames(), range);
  session_.seek(played_.first + playOffset_);
}

void PreviewPlayer::StepForward() {
  step(true);
}

void PreviewPlayer::StepBack() {
  step(false);
}

void PreviewPlayer::step(bool forward) {
  const int row = selectedRow(files_);
  if (jobRunning() || playing_ || !sources_.contains(row)) return;
  const int length = sources_.at(row).lengthSeconds;
  if (length <= 0) return;
  const int range = span();
  int stepSize = range / length;
  if (stepSize == 1) stepSize = 2;
  int position = BarPosition();
  if (forward) {
    position += stepSize;
    if (position >= range) return;
  } else {
    position = std::max(0, position - stepSize);
  }
  setBar(position);
  showTime(MulDiv(position, length, range));
}

void PreviewPlayer::FollowPlayedRow(int row) {
  if (playing_) playSource_ = row;
}

bool PreviewPlayer::jobRunning() const {
  return jobRunning_ && jobRunning_();
}

}  // namespace tarvex

#include "player/PreviewPlayer.h"

#include <QTreeWidget>
#include <algorithm>

#include "app/views/SegmentList.h"
#include "components/audio/AudioFile2.h"
#include "components/output/AudioPlayer2.h"
#include "components/skin/SkinObject.h"
#include "platform/PlatformServices.h"
#include "sources/MulDiv.h"
#include "sources/SampleSpan.h"
#include "sources/TimeFormat.h"

namespace tarvex {

PreviewPlayer::PreviewPlayer(WindowParts& parts, SegmentList& segments, AudioFile2& reader,
                             AudioPlayer2& player, QObject* parent)
    : QObject(parent), parts_(parts), segments_(segments), reader_(reader), player_(player) {
  // The player's events enter our code here.
  connect(&player_, &AudioPlayer2::OnTimer, this, [this](qint64 currentSamples, int, int) {
    failingPlayback([&] { AudioPlayer21Timer(currentSamples); });
  });
  connect(&player_, &AudioPlayer2::OnRequestOnLoadArray, this,
          [this] { failingPlayback([this] { AudioPlayer21RequestOnLoadArray(); }); });
  connect(&player_, &AudioPlayer2::OnEndArrayPlay, this,
          [this] { failingPlayback([this] { AudioPlayer21EndArrayPlay(); }); });
  connect(&player_, &AudioPlayer2::OnEndPlay, this,
          [this] { failingPlayback([this] { AudioPlayer21EndPlay(); }); });
}

int PreviewPlayer::span() const {
  return segments_.PositionSpan();
}

int PreviewPlayer::barPosition() const {
  return parts_.skin.pb != nullptr ? parts_.skin.pb->position() : 0;
}

void PreviewPlayer::setBar(int position) {
  if (parts_.skin.pb == nullptr) return;
  parts_.skin.pb->setPosition(position);
  parts_.skin.pb->redraw();
}

void PreviewPlayer::showTime(int64_t seconds) {
  MainWindowState& state = *parts_.state;
  state.positionText = FormatTime(std::max<int64_t>(0, seconds));
  if (parts_.skin.timecaption == nullptr) return;
  parts_.skin.timecaption->setText(state.positionText);
  parts_.skin.timecaption->redraw();
}

const MarkedRange* PreviewPlayer::playedRange() const {
  const SourceRecord* source =
      parts_.sources->markedSource(parts_.state->splitFunction, parts_.state->PlaySource);
  if (source == nullptr || playSegment_ < 0 ||
      playSegment_ >= static_cast<int>(source->ranges.size())) {
    return nullptr;
  }
  return &source->ranges[static_cast<size_t>(playSegment_)];
}

SampleSpan PreviewPlayer::pieceSpan() const {
  const MarkedRange* range = playedRange();
  const int row = parts_.state->PlaySource;
  if (range == nullptr || !parts_.sources->contains(row)) return {};
  // The frames the split cuts: exact edges (a CUE sheet's, a found sound's)
  // where the range has them.
  return markedSpan(*range, *parts_.sources->markedSource(parts_.state->splitFunction, row),
                    parts_.sources->at(row));
}

int64_t PreviewPlayer::pieceStartFrame() const {
  return pieceSpan().first;
}

int64_t PreviewPlayer::pieceFrames() const {
  return pieceSpan().frames();
}

void PreviewPlayer::Play() {
  const MainWindowState& state = *parts_.state;
  if (state.jobRunning) return;
  if (state.segmentFocus && marksRanges(state.splitFunction)) {
    PlayPiece();
  } else {
    PlayWholeFile();
  }
}

bool PreviewPlayer::openSource(const SourceRecord& source) {
  bool opened = false;
  failingPlayback([&] {
    reader_.OpenRead(source.path, 0, 1);
    player_.SetPcmFormat(reader_.SampleRate(), reader_.Channels());
    opened = true;
  });
  return opened;
}

void PreviewPlayer::failPlayback(const QString& message) {
  // The player goes back to idle before the message, so the next play works.
  player_.Stop();
  if (reader_.IsOpen()) reader_.Close();
  if (segmentPlayback_ && segments_.status(playSegment_) == kPlayingStatus) {
    segments_.setStatus(playSegment_, savedStatus_);
  }
  MainWindowState& state = *parts_.state;
  state.IsPlaying = false;
  state.IsDragging = false;
  segmentPlayback_ = false;
  if (parts_.platform != nullptr) parts_.platform->showError(parts_.window, message);
}

void PreviewPlayer::PlayWholeFile() {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  if (state.IsPlaying || !parts_.sources->contains(row)) return;
  if (reader_.IsOpen()) reader_.Close();
  state.IsPlaying = true;
  segmentPlayback_ = false;
  state.PlaySource = row;
  if (!openSource(parts_.sources->at(row))) return;
  failingPlayback([&] {
    state.BarPosition = barPosition();
    playOffset_ = MulDiv(state.BarPosition, reader_.Samples(), span());
    reader_.Seek(playOffset_, 3);
    player_.Play();
    Feed();
  });
}

void PreviewPlayer::PlayPiece() {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  const int segment = selectedRow(*parts_.lv_time);
  if (state.IsPlaying || !parts_.sources->contains(row) || segment < 0) return;
  // A row without a range (the list and the ranges disagree) plays nothing.
  const SourceRecord* ranges = parts_.sources->markedSource(state.splitFunction, row);
  if (ranges == nullptr || segment >= static_cast<int>(ranges->ranges.size())) return;
  if (reader_.IsOpen()) reader_.Close();
  state.IsPlaying = true;
  segmentPlayback_ = true;
  state.PlaySource = row;
  playSegment_ = segment;
  if (!openSource(parts_.sources->at(row))) return;
  failingPlayback([&] {
    reader_.Seek(pieceStartFrame(), 3);
    playOffset_ = 0;
    player_.Play();
    savedStatus_ = segments_.status(playSegment_);
    segments_.setStatus(playSegment_, kPlayingStatus);
    Feed();
  });
}

void PreviewPlayer::Feed() {
  if (!parts_.state->IsPlaying || !reader_.IsOpen()) return;
  const SampleBlock block = reader_.ReadBlock(kPlayBlockFrames);
  player_.LoadBlock(block);
}

void PreviewPlayer::AudioPlayer21RequestOnLoadArray() {
  Feed();
}

void PreviewPlayer::AudioPlayer21EndArrayPlay() {
  AudioPlayer21RequestOnLoadArray();
}

void PreviewPlayer::AudioPlayer21EndPlay() {
  if (parts_.state->IsPlaying) Stop();
}

void PreviewPlayer::AudioPlayer21Timer(int64_t currentSamples) {
  MainWindowState& state = *parts_.state;
  if (!state.IsPlaying || state.IsDragging || !reader_.IsOpen()) return;
  const int range = span();
  const int64_t samples = reader_.Samples();
  const int64_t played = playOffset_ + currentSamples;
  const int64_t whole = segmentPlayback_ ? pieceFrames() : samples;
  const int64_t bar = whole > 0 ? MulDiv(played, range, whole) : range;
  state.BarPosition = static_cast<int>(std::min<int64_t>(bar, INT32_MAX));
  setBar(state.BarPosition);
  if (state.BarPosition > range) state.BarPosition = range;
  showTime(MulDiv(played, reader_.Duration() / 1000, samples));
  // The bar at its end ends the playback: a piece's end, or the file's.
  state.BarPosition = barPosition();
  if (state.BarPosition >= range) Stop();
}

void PreviewPlayer::Stop() {
  player_.Stop();
  if (reader_.IsOpen()) reader_.Close();
  MainWindowState& state = *parts_.state;
  // The flags are cleared even with an empty list, or play would stay refused
  // after the list was cleared during a playback.
  if (parts_.lv->topLevelItemCount() > 0) {
    if (playSegment_ >= 0 && playSegment_ < segments_.rowCount() &&
        segments_.status(playSegment_) == kPlayingStatus) {
      segments_.setStatus(playSegment_, savedStatus_);
    }
    state.BarPosition = 0;
    setBar(0);
    showTime(0);
  }
  state.IsPlaying = false;
  segmentPlayback_ = false;
  state.IsDragging = false;
}

void PreviewPlayer::BarMouseDown() {
  parts_.state->IsDragging = true;
}

void PreviewPlayer::BarScrollTrack() {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  if (!state.IsDragging || !parts_.sources->contains(row)) return;
  const int range = span();
  state.BarPosition = std::min(barPosition(), range);
  int64_t seconds = 0;
  const MarkedRange* played = playedRange();
  if (state.IsPlaying && segmentPlayback_ && played != nullptr) {
    seconds = MulDiv(state.BarPosition, played->end - played->begin, range);
  } else {
    seconds = MulDiv(state.BarPosition, parts_.sources->at(row).lengthSeconds, range);
  }
  showTime(seconds);
}

void PreviewPlayer::BarMouseUp() {
  MainWindowState& state = *parts_.state;
  state.IsDragging = false;
  if (!state.IsPlaying) return;  // stopped: the bar stays where it was dropped
  const int range = span();
  state.BarPosition = barPosition();
  if (state.BarPosition >= range) {
    Stop();
    return;
  }
  failingPlayback([&] {
    if (segmentPlayback_) {
      playOffset_ = MulDiv(state.BarPosition, pieceFrames(), range);
      reader_.Seek(pieceStartFrame() + playOffset_, 3);
    } else {
      playOffset_ = MulDiv(state.BarPosition, reader_.Samples(), range);
      reader_.Seek(playOffset_, 3);
    }
    player_.Flush();
  });
}

void PreviewPlayer::StepForward() {
  step(true);
}

void PreviewPlayer::StepBack() {
  step(false);
}

void PreviewPlayer::step(bool forward) {
  MainWindowState& state = *parts_.state;
  const int row = selectedRow(*parts_.lv);
  if (state.jobRunning || state.IsPlaying || !parts_.sources->contains(row)) return;
  const int length = parts_.sources->at(row).lengthSeconds;
  if (length <= 0) return;
  const int range = span();
  int stepSize = range / length;
  if (stepSize == 1) stepSize = 2;
  int position = barPosition();
  if (forward) {
    position += stepSize;
    if (position >= range) return;
  } else {
    position = std::max(0, position - stepSize);
  }
  state.BarPosition = position;
  setBar(position);
  showTime(MulDiv(position, length, range));
}

}  // namespace tarvex

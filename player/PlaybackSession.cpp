#include "player/PlaybackSession.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "components/audio/ErrorText.h"
#include "components/output/AudioPlayer2.h"
#include "platform/Error.h"
#include "player/BlockFeeder.h"

namespace tarvex {

PlaybackSession::PlaybackSession(AudioPlayer2& player, QObject* parent)
    : QObject(parent), player_(player) {
  connect(&player_, &AudioPlayer2::OnRequestOnLoadArray, this, &PlaybackSession::collect);
  connect(&player_, &AudioPlayer2::OnEndArrayPlay, this, &PlaybackSession::collect);
  connect(&player_, &AudioPlayer2::OnTimer, this, [this](qint64 heard, int, int) {
    if (!playing_) return;
    position_ = std::min<int64_t>(base_ + heard, span_.end);
    emit positionChanged(position_);
  });
  connect(&player_, &AudioPlayer2::OnEndPlay, this, [this] {
    if (!playing_) return;
    playing_ = false;
    retireFeeder();
    emit ended();
  });
}

PlaybackSession::~PlaybackSession() {
  // The feeders' threads end before the object their wakes are posted to.
  feeder_.reset();
  retired_.clear();
}

void PlaybackSession::retireFeeder() {
  std::erase_if(retired_,
                [](const std::unique_ptr<BlockFeeder>& feeder) { return feeder->idle(); });
  if (!feeder_) return;
  feeder_->cancel();
  retired_.push_back(std::move(feeder_));
}

void PlaybackSession::play(const SourceRecord& source, SampleSpan span, int64_t from) {
  stop();
  // What the file system tells at once fails at once; the rest the feeder finds.
  const QFileInfo file(source.path);
  if (!file.exists() || file.isDir()) {
    fail(openError(source.path, file.isDir() ? QStringLiteral("it is a folder, not a file")
                                             : QStringLiteral("file not found")));
    return;
  }
  span_ = span;
  base_ = std::clamp(from, span.first, std::max(span.first, span.end));
  position_ = base_;
  try {
    player_.SetPcmFormat(source.sampleRate, source.channels);
    player_.Play();
  } catch (const std::exception& error) {
    fail(userMessage(error));
    return;
  }
  player_.setMoreToCome(true);
  playing_ = true;
  FeedRequest request{source.path, source.frames, source.sampleRate, source.channels, span, base_};
  // The feeder keeps a second ready beyond what the player holds.
  feeder_ = std::make_unique<BlockFeeder>(std::move(request), source.sampleRate, [this] {
    QMetaObject::invokeMethod(this, &PlaybackSession::collect, Qt::QueuedConnection);
  });
}

void PlaybackSession::seek(int64_t frame) {
  if (!playing_ || !feeder_) return;
  base_ = std::clamp(frame, span_.first, std::max(span_.first, span_.end));
  position_ = base_;
  feeder_->seek(base_);
  player_.setMoreToCome(true);
  player_.Flush();
}

void PlaybackSession::stop() {
  const bool wasPlaying = playing_;
  playing_ = false;
  retireFeeder();
  if (wasPlaying) player_.Stop();
}

void PlaybackSession::fail(const QString& message) {
  stop();
  emit failed(message);
}

void PlaybackSession::collect() {
  if (!playing_ || !feeder_) return;
  if (const std::optional<QString> failure = feeder_->failure()) {
    fail(*failure);
    return;
  }
  while (player_.wantsMore()) {
    std::optional<SampleBlock> block = feeder_->takeBlock();
    if (!block) break;
    player_.LoadBlock(*block);
  }
  if (feeder_->finished()) player_.setMoreToCome(false);
}

}  // namespace tarvex

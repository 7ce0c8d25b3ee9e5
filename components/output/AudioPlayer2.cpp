#include "components/output/AudioPlayer2.h"

#include <algorithm>
#include <cmath>

#include "components/audio/AudioError.h"
#include "components/audio/PcmLimits.h"
#include "components/output/NullAudioOutput.h"

namespace tarvex {

namespace {

constexpr int kRampMilliseconds = 5;         // fade in at start, fade out at stop and flush
constexpr int kTimerEventMilliseconds = 50;  // OnTimer, in the output's time
constexpr int kMaxRequestsPerTick = 32;
constexpr int kRetireMilliseconds = 400;  // a stopped device plays out its buffer and fade

int peakLevel(const float* values, int64_t frames, int channels, int channel) {
  float peak = 0.0f;
  for (int64_t i = 0; i < frames; ++i) {
    peak = std::max(peak, std::fabs(values[i * channels + channel]));
  }
  return static_cast<int>(std::lround(std::min(peak, 1.0f) * 32767.0f));
}

}  // namespace

AudioPlayer2::AudioPlayer2(OutputFactory makeOutput, QObject* parent)
    : QObject(parent), makeOutput_(std::move(makeOutput)) {
  serviceTimer_.setTimerType(Qt::PreciseTimer);
  connect(&serviceTimer_, &QTimer::timeout, this, &AudioPlayer2::service);
  retireTimer_.setSingleShot(true);
  connect(&retireTimer_, &QTimer::timeout, this, [this] {
    if (retiring_) retiring_->stop();
    retiring_.reset();
  });
}

AudioPlayer2::~AudioPlayer2() {
  ++generation_;
  if (output_) output_->stop();
  if (retiring_) retiring_->stop();
}

void AudioPlayer2::SetPcmFormat(int sampleRate, int channels) {
  if (!isPcmFormatSupported(sampleRate, channels)) {
    throw AudioError(
        QStringLiteral("Cannot play %1 Hz with %2 channels").arg(sampleRate).arg(channels));
  }
  sampleRate_ = sampleRate;
  channels_ = channels;
}

void AudioPlayer2::setNullOutputSpeed(double speed) {
  nullSpeed_ = speed > 0 ? speed : 1.0;
}

std::unique_ptr<AudioOutput> AudioPlayer2::createOutput() {
  if (makeOutput_) {
    if (std::unique_ptr<AudioOutput> output = makeOutput_()) return output;
  }
  return std::make_unique<NullAudioOutput>(nullSpeed_, recording_);
}

void AudioPlayer2::Play() {
  if (playing_) Stop();
  if (retiring_) {
    retireTimer_.stop();
    retiring_->stop();
    retiring_.reset();
  }
  // Blocks queued before Play belong to this playback; they must be whole
  // frames of the format it plays.
  if (playChannels_ != channels_) clearQueue();
  playRate_ = sampleRate_;
  playChannels_ = channels_;
  auto output = createOutput();
  output->start(playRate_, playChannels_);
  output_ = std::move(output);
  usesNull_ = !output_->audible();
  lastRecording_.clear();
  ++generation_;
  playing_ = true;
  sourceDry_ = false;
  endArrayRaised_ = false;
  writtenFrames_ = 0;
  countBase_ = 0;
  rampInStart_ = 0;
  levelLeft_ = levelRight_ = 0;
  sinceTimerEvent_.start();
  // Ticks short enough that a fast null clock still gets OnTimer about every
  // 50 ms of its time.
  const double speed = output_->speed();
  serviceTimer_.start(std::clamp(static_cast<int>(10.0 / speed), 1, 10));
}

void AudioPlayer2::Stop() {
  moreToCome_ = false;
  if (!playing_) {
    clearQueue();
    return;
  }
  ++generation_;
  playing_ = false;
  serviceTimer_.stop();
  if (output_->audible()) {
    // The device plays out what it holds and then the faded tail, which the
    // feeding kept room for.
    const std::vector<float> tail = takeFadedTail();
    const int64_t frames = static_cast<int64_t>(tail.size()) / playChannels_;
    output_->write(tail.data(), std::min(frames, output_->writableFrames()));
    retire(std::move(output_));
  } else {
    endOutput();
  }
  clearQueue();
}

void AudioPlayer2::retire(std::unique_ptr<AudioOutput> output) {
  if (retiring_) retiring_->stop();
  retiring_ = std::move(output);
  retireTimer_.start(kRetireMilliseconds);
}

void AudioPlayer2::endOutput() {
  if (!output_) return;
  output_->stop();
  if (auto* null = dynamic_cast<NullAudioOutput*>(output_.get())) {
    lastRecording_ = null->takeRecording();
  }
  output_.reset();
}

std::vector<float> AudioPlayer2::recordedAudio() const {
  if (playing_) {
    if (auto* null = dynamic_cast<NullAudioOutput*>(output_.get())) return null->takeRecording();
  }
  return lastRecording_;
}

void AudioPlayer2::LoadBlock(const SampleBlock& block) {
  const int channels = playing_ ? playChannels_ : channels_;
  const size_t whole = block.values.size() - block.values.size() % static_cast<size_t>(channels);
  if (whole == 0) return;
  blocks_.emplace_back(block.values.begin(), block.values.begin() + static_cast<ptrdiff_t>(whole));
  queuedValues_ += static_cast<int64_t>(whole);
  sourceDry_ = false;
  endArrayRaised_ = false;
}

void AudioPlayer2::Flush() {
  if (!playing_) {
    clearQueue();
    return;
  }
  std::vector<float> tail = takeFadedTail();
  clearQueue();
  const int64_t tailFrames = static_cast<int64_t>(tail.size()) / playChannels_;
  if (tailFrames > 0) {
    queuedValues_ = static_cast<int64_t>(tail.size());
    blocks_.push_back(std::move(tail));
  }
  countBase_ = writtenFrames_ + tailFrames;
  rampInStart_ = countBase_;
  sourceDry_ = false;
  endArrayRaised_ = false;
  sinceTimerEvent_.start();
}

int64_t AudioPlayer2::queuedFrames() const {
  const int channels = playing_ ? playChannels_ : channels_;
  return queuedValues_ / channels;
}

void AudioPlayer2::clearQueue() {
  blocks_.clear();
  frontOffset_ = 0;
  queuedValues_ = 0;
}

std::vector<float> AudioPlayer2::takeFadedTail() {
  const int64_t rampFrames = std::max<int64_t>(1, playRate_ * kRampMilliseconds / 1000);
  std::vector<float> tail;
  while (!blocks_.empty() && static_cast<int64_t>(tail.size()) < rampFrames * playChannels_) {
    std::vector<float>& front = blocks_.front();
    const size_t wanted = static_cast<size_t>(rampFrames * playChannels_) - tail.size();
    const size_t take = std::min(wanted, front.size() - frontOffset_);
    tail.insert(tail.end(), front.begin() + static_cast<ptrdiff_t>(frontOffset_),
                front.begin() + static_cast<ptrdiff_t>(frontOffset_ + take));
    frontOffset_ += take;
    queuedValues_ -= static_cast<int64_t>(take);
    if (frontOffset_ == front.size()) {
      blocks_.pop_front();
      frontOffset_ = 0;
    }
  }
  // A full ramp to silence even when less sound was left.
  const int64_t frames = static_cast<int64_t>(tail.size()) / playChannels_;
  for (int64_t frame = 0; frame < frames; ++frame) {
    const float gain = static_cast<float>(rampFrames - 1 - frame) / static_cast<float>(rampFrames);
    for (int channel = 0; channel < playChannels_; ++channel)
      tail[frame * playChannels_ + channel] *= gain;
  }
  return tail;
}

int64_t AudioPlayer2::lowWaterFrames() const {
  const double speed = output_ ? output_->speed() : 1.0;
  return static_cast<int64_t>(playRate_ * (0.25 + 0.25 * speed));
}

int64_t AudioPlayer2::playedFrames() const {
  const int64_t heard = writtenFrames_ - (output_ ? output_->pendingFrames() : 0);
  return std::max<int64_t>(0, heard - countBase_);
}

void AudioPlayer2::feedOutput() {
  // An audible output keeps room for the fade-out tail of a Stop or Flush.
  const int64_t reserve =
      output_->audible() ? std::max<int64_t>(1, playRate_ * kRampMilliseconds / 1000) : 0;
  int64_t room = output_->writableFrames() - reserve;
  const int64_t rampFrames = std::max<int64_t>(1, playRate_ * kRampMilliseconds / 1000);
  while (room > 0 && !blocks_.empty()) {
    std::vector<float>& front = blocks_.front();
    const int64_t available = static_cast<int64_t>(front.size() - frontOffset_) / playChannels_;
    const int64_t frames = std::min(room, available);
    float* values = front.data() + frontOffset_;
    for (int64_t frame = 0; frame < frames; ++frame) {
      const int64_t intoRamp = writtenFrames_ + frame - rampInStart_;
      if (intoRamp < 0 || intoRamp >= rampFrames) continue;
      const float gain = static_cast<float>(intoRamp + 1) / static_cast<float>(rampFrames);
      for (int channel = 0; channel < playChannels_; ++channel)
        values[frame * playChannels_ + channel] *= gain;
    }
    levelLeft_ = peakLevel(values, frames, playChannels_, 0);
    levelRight_ = peakLevel(values, frames, playChannels_, playChannels_ > 1 ? 1 : 0);
    output_->write(values, frames);
    writtenFrames_ += frames;
    room -= frames;
    frontOffset_ += static_cast<size_t>(frames * playChannels_);
    queuedValues_ -= frames * playChannels_;
    if (frontOffset_ == front.size()) {
      blocks_.pop_front();
      frontOffset_ = 0;
    }
  }
}

void AudioPlayer2::service() {
  if (!playing_) return;
  const uint64_t generation = generation_;
  feedOutput();
  for (int asked = 0;
       asked < kMaxRequestsPerTick && !sourceDry_ && queuedFrames() < lowWaterFrames(); ++asked) {
    const int64_t before = queuedFrames();
    emit OnRequestOnLoadArray();
    if (generation != generation_) return;
    if (queuedFrames() <= before) sourceDry_ = true;
  }
  feedOutput();
  if (queuedValues_ == 0) {
    if (!endArrayRaised_) {
      endArrayRaised_ = true;
      sinceDry_.start();
      emit OnEndArrayPlay();
      if (generation != generation_) return;
      feedOutput();
    }
    // Nothing came: once the output has played what it holds, the playback is over.
    if (queuedValues_ == 0 && endArrayRaised_ && !moreToCome_ &&
        (output_->pendingFrames() == 0 || sinceDry_.elapsed() > kRetireMilliseconds)) {
      raiseTimer();
      if (generation != generation_) return;
      ++generation_;
      playing_ = false;
      serviceTimer_.stop();
      endOutput();
      emit OnEndPlay();
      return;
    }
  }
  if (static_cast<double>(sinceTimerEvent_.elapsed()) * output_->speed() >=
      kTimerEventMilliseconds) {
    raiseTimer();
  }
}

void AudioPlayer2::raiseTimer() {
  sinceTimerEvent_.start();
  emit OnTimer(playedFrames(), levelLeft_, levelRight_);
}

}  // namespace tarvex

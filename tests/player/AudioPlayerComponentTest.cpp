#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <cmath>
#include <functional>

#include "components/audio/AudioError.h"
#include "components/output/AudioPlayer2.h"

namespace tarvex {
namespace {

constexpr int kRate = 8000;
constexpr int kChannels = 2;
constexpr int kRampFrames = kRate * 5 / 1000;  // the component's 5 ms ramp

// A stereo test sound: a different sine on each channel, amplitude 0.5.
float toneValue(int64_t frame, int channel) {
  const double hz = channel == 0 ? 440.0 : 660.0;
  return static_cast<float>(0.5 * std::sin(2.0 * M_PI * hz * static_cast<double>(frame) / kRate));
}

SampleBlock toneBlock(int64_t firstFrame, int frames) {
  SampleBlock block;
  for (int64_t frame = firstFrame; frame < firstFrame + frames; ++frame) {
    for (int channel = 0; channel < kChannels; ++channel)
      block.values.push_back(toneValue(frame, channel));
  }
  return block;
}

SampleBlock constantBlock(float value, int frames) {
  SampleBlock block;
  block.values.assign(static_cast<size_t>(frames * kChannels), value);
  return block;
}

// The player with a null output twenty times faster than real time, recording
// what it consumes, answered by a producer the test chooses.
class AudioPlayerComponent : public ::testing::Test {
 protected:
  void SetUp() override {
    player.setNullOutputSpeed(20);
    player.setRecording(true);
    player.SetPcmFormat(kRate, kChannels);
    const auto onUiThread = [this] {
      if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++offThreadEvents;
    };
    QObject::connect(&player, &AudioPlayer2::OnRequestOnLoadArray, [this, onUiThread] {
      onUiThread();
      ++requests;
      if (produce) produce();
    });
    QObject::connect(&player, &AudioPlayer2::OnEndArrayPlay, [this, onUiThread] {
      onUiThread();
      ++endArrays;
      if (produce) produce();
    });
    QObject::connect(&player, &AudioPlayer2::OnEndPlay, [this, onUiThread] {
      onUiThread();
      ++endPlays;
    });
    QObject::connect(&player, &AudioPlayer2::OnTimer,
                     [this, onUiThread](qint64 frames, int left, int right) {
                       onUiThread();
                       timerFrames.push_back(frames);
                       leftLevel = left;
                       rightLevel = right;
                     });
  }

  // Produces `blocks` tone blocks of `frames` frames, then nothing.
  void produceTone(int blocks, int frames) {
    produce = [this, blocks, frames] {
      if (produced >= blocks) return;
      player.LoadBlock(toneBlock(int64_t{produced} * frames, frames));
      ++produced;
    };
  }

  AudioPlayer2 player;
  std::function<void()> produce;
  int produced = 0;
  int requests = 0;
  int endArrays = 0;
  int endPlays = 0;
  int offThreadEvents = 0;
  std::vector<qint64> timerFrames;
  int leftLevel = 0;
  int rightLevel = 0;
};

TEST_F(AudioPlayerComponent, PlaysEveryLoadedFrameInOrderAndThenEndsByItself) {
  produceTone(20, 800);  // 2 s of sound
  player.Play();
  produce();
  ASSERT_TRUE(QTest::qWaitFor([this] { return endPlays > 0; }, 10000));
  EXPECT_FALSE(player.isPlaying());
  EXPECT_TRUE(player.usesNullOutput());
  EXPECT_EQ(endPlays, 1);
  EXPECT_GE(endArrays, 1);
  EXPECT_GE(requests, 19);
  EXPECT_EQ(offThreadEvents, 0);

  const std::vector<float> heard = player.recordedAudio();
  ASSERT_EQ(heard.size(), size_t{16000 * kChannels});
  // The first frames fade in; from then on the sound is exactly what was loaded.
  EXPECT_LT(std::fabs(heard[2]), std::fabs(toneValue(1, 0)) / 10);
  for (int64_t frame = kRampFrames; frame < 16000; ++frame) {
    for (int channel = 0; channel < kChannels; ++channel) {
      ASSERT_EQ(heard[static_cast<size_t>(frame * kChannels + channel)], toneValue(frame, channel))
          << "frame " << frame;
    }
  }
  // The frame count only grows and ends at everything played.
  ASSERT_FALSE(timerFrames.empty());
  EXPECT_TRUE(std::is_sorted(timerFrames.begin(), timerFrames.end()));
  EXPECT_EQ(timerFrames.back(), 16000);
  EXPECT_NEAR(leftLevel, 16384, 400);
  EXPECT_NEAR(rightLevel, 16384, 400);
}

TEST_F(AudioPlayerComponent, AfterStopNoEventComesAndTheQueueIsEmpty) {
  produceTone(1000000, 800);
  player.Play();
  produce();
  ASSERT_TRUE(QTest::qWaitFor([this] { return timerFrames.size() >= 3; }, 10000));
  player.Stop();
  EXPECT_FALSE(player.isPlaying());
  EXPECT_EQ(player.queuedFrames(), 0);
  const auto eventsAtStop = std::make_tuple(requests, endArrays, endPlays, timerFrames.size());
  QTest::qWait(150);
  EXPECT_EQ(std::make_tuple(requests, endArrays, endPlays, timerFrames.size()), eventsAtStop);
  // What was heard is the sound from its start, no more than was reported plus a tick.
  const std::vector<float> heard = player.recordedAudio();
  EXPECT_GE(static_cast<qint64>(heard.size()) / kChannels, timerFrames.back());
  for (int64_t frame = kRampFrames; frame < static_cast<int64_t>(heard.size()) / kChannels;
       ++frame) {
    ASSERT_EQ(heard[static_cast<size_t>(frame * kChannels)], toneValue(frame, 0)) << frame;
  }
}

TEST_F(AudioPlayerComponent, FlushRestartsTheCountAndFadesBetweenTheOldAndTheNewSound) {
  float level = 0.5f;
  produce = [this, &level] { player.LoadBlock(constantBlock(level, 400)); };
  player.Play();
  produce();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !timerFrames.empty() && timerFrames.back() >= 8000; },
                              10000));
  const qint64 beforeFlush = timerFrames.back();
  level = -0.5f;
  player.Flush();
  produce();
  const size_t eventsAtFlush = timerFrames.size();
  ASSERT_TRUE(QTest::qWaitFor([&] { return timerFrames.size() > eventsAtFlush; }, 10000));
  EXPECT_LT(timerFrames[eventsAtFlush], beforeFlush);
  ASSERT_TRUE(QTest::qWaitFor([this] { return timerFrames.back() >= 4000; }, 10000));
  player.Stop();

  // Level jumps would be clicks: every step between neighbouring frames stays
  // within one step of the 5 ms ramp, through the start and the flush.
  const std::vector<float> heard = player.recordedAudio();
  ASSERT_GT(heard.size(), size_t{12000 * kChannels});
  float largestStep = std::fabs(heard[0]);
  bool sawNewSound = false;
  for (size_t i = kChannels; i < heard.size(); ++i) {
    largestStep = std::max(largestStep, std::fabs(heard[i] - heard[i - kChannels]));
    sawNewSound = sawNewSound || heard[i] == -0.5f;
  }
  EXPECT_TRUE(sawNewSound);
  EXPECT_LE(largestStep, 0.5f / kRampFrames + 1e-6f);
}

TEST_F(AudioPlayerComponent, WithNothingToPlayTheArrayEndsAndThenThePlayback) {
  player.Play();
  ASSERT_TRUE(QTest::qWaitFor([this] { return endPlays > 0; }, 10000));
  EXPECT_EQ(endArrays, 1);
  EXPECT_EQ(timerFrames.back(), 0);
  EXPECT_TRUE(player.recordedAudio().empty());
  // The component plays again afterwards.
  produceTone(2, 400);
  player.Play();
  produce();
  ASSERT_TRUE(QTest::qWaitFor([this] { return endPlays > 1; }, 10000));
  EXPECT_EQ(player.recordedAudio().size(), size_t{800 * kChannels});
}

TEST_F(AudioPlayerComponent, OnlyWholeFramesAreQueuedAndOddFormatsAreRefused) {
  SampleBlock odd;
  odd.values = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
  player.LoadBlock(odd);
  EXPECT_EQ(player.queuedFrames(), 2);
  player.LoadBlock(SampleBlock{});
  EXPECT_EQ(player.queuedFrames(), 2);
  player.Flush();
  EXPECT_EQ(player.queuedFrames(), 0);

  EXPECT_THROW(player.SetPcmFormat(0, 2), AudioError);
  EXPECT_THROW(player.SetPcmFormat(44100, 0), AudioError);
  EXPECT_THROW(player.SetPcmFormat(44100, 9), AudioError);
  try {
    player.SetPcmFormat(-5, 2);
  } catch (const AudioError& error) {
    EXPECT_TRUE(error.message().contains("-5 Hz")) << error.message().toStdString();
  }
  // The last good format stays.
  player.LoadBlock(odd);
  EXPECT_EQ(player.queuedFrames(), 2);
}

}  // namespace
}  // namespace tarvex

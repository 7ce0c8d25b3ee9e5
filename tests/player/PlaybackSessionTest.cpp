#include <gtest/gtest.h>
#include <QFile>
#include <QTest>

#include "components/output/AudioPlayer2.h"
#include "components/output/NullAudioOutput.h"
#include "player/PlaybackSession.h"
#include "sources/SourceProbe.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

constexpr double kSpeed = 20;  // the null output's clock against real time

// A session on a player whose output the test injects: a null output on a
// fast clock that keeps every frame it consumed.
class PlaybackSessionTest : public ::testing::Test {
 protected:
  PlaybackSessionTest() {
    QObject::connect(&session, &PlaybackSession::positionChanged,
                     [this](qint64 frame) { positions.push_back(frame); });
    QObject::connect(&session, &PlaybackSession::ended, [this] { ++ends; });
    QObject::connect(&session, &PlaybackSession::failed,
                     [this](const QString& message) { failures << message; });
  }

  SourceRecord probed(const QString& path) {
    const ProbeResult probe = probeSource(path, false);
    EXPECT_EQ(probe.outcome, ProbeResult::Outcome::Added) << probe.reason.toStdString();
    return probe.record;
  }
  bool waitForEnd() {
    return QTest::qWaitFor([this] { return ends > 0 || !failures.isEmpty(); }, 20000);
  }
  // The frames heard equal the file's from `first` on (after the player's
  // 5 ms fade-in).
  void expectHeard(const std::vector<float>& heard, const std::vector<float>& file, int rate,
                   int channels, int64_t first) {
    for (size_t i = static_cast<size_t>(rate / 200 * channels); i < heard.size(); ++i) {
      ASSERT_EQ(heard[i], file.at(static_cast<size_t>(first * channels) + i)) << "value " << i;
    }
  }

  testing::TempFolder folder;
  AudioPlayer2 player{[] { return std::make_unique<NullAudioOutput>(kSpeed, true); }};
  PlaybackSession session{player};
  std::vector<qint64> positions;
  int ends = 0;
  QStringList failures;
};

TEST_F(PlaybackSessionTest, PlaysExactlyTheSpanOfAWavAndSaysWhenItEnded) {
  const QString path = folder.path("tone.wav");
  testing::writeToneFile(path, 3.3, 8000, 1, testing::AudioFormat::Wav);
  const SourceRecord source = probed(path);
  const SampleSpan span{4567, 17891};
  session.play(source, span, span.first);
  ASSERT_TRUE(session.isPlaying());
  ASSERT_TRUE(waitForEnd());
  EXPECT_TRUE(failures.isEmpty()) << failures.join("; ").toStdString();
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(session.isPlaying());
  const std::vector<float> heard = player.recordedAudio();
  EXPECT_EQ(static_cast<int64_t>(heard.size()), span.frames());
  expectHeard(heard, testing::decodeFile(path), 8000, 1, span.first);
  ASSERT_FALSE(positions.empty());
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_GE(positions.front(), span.first);
  EXPECT_EQ(positions.back(), span.end);
}

TEST_F(PlaybackSessionTest, AnMp3WithoutInfoHeaderPlaysItsSpanWithTheProbedLength) {
  // lame -t writes no Info header: only a scan could measure the file, and
  // the session opens it with the length the probe found instead.
  const QString path =
      testing::makeLameMp3(folder.path(), "noinfo.mp3", 2.7, 44100, 2, {"--vbr-new", "-t"});
  ASSERT_FALSE(path.isEmpty());
  const SourceRecord source = probed(path);
  const SampleSpan span{31234, 98765};
  session.play(source, span, 40001);
  ASSERT_TRUE(waitForEnd());
  EXPECT_TRUE(failures.isEmpty()) << failures.join("; ").toStdString();
  const std::vector<float> heard = player.recordedAudio();
  EXPECT_EQ(static_cast<int64_t>(heard.size()), (span.end - 40001) * 2);
  expectHeard(heard, testing::decodeFile(path), 44100, 2, 40001);
}

TEST_F(PlaybackSessionTest, AFlacPlaysItsSpanWithTheProbedLength) {
  // Compressed audio of another kind: its frames are counted by decoding
  // when added, and not again when played.
  const QString wav = folder.path("tone.wav");
  testing::writeToneFile(wav, 2.3, 22050, 2, testing::AudioFormat::Wav);
  const QString path = folder.path("tone.flac");
  testing::runOutsideTool("sox", {wav, path});
  const SourceRecord source = probed(path);
  const SampleSpan span{7001, 40009};
  session.play(source, span, span.first);
  ASSERT_TRUE(waitForEnd());
  EXPECT_TRUE(failures.isEmpty()) << failures.join("; ").toStdString();
  const std::vector<float> heard = player.recordedAudio();
  EXPECT_EQ(static_cast<int64_t>(heard.size()), span.frames() * 2);
  expectHeard(heard, testing::decodeFile(path), 22050, 2, span.first);
}

TEST_F(PlaybackSessionTest, AMissingFileFailsAtOnceAndACorruptOneFromTheFeeder) {
  const QString path = folder.path("tone.wav");
  testing::writeToneFile(path, 1.3, 8000, 2, testing::AudioFormat::Wav);
  SourceRecord source = probed(path);
  source.path = folder.path("gone.wav");
  session.play(source, {0, source.frames}, 0);
  ASSERT_EQ(failures.size(), 1);
  EXPECT_TRUE(failures[0].contains("gone.wav")) << failures[0].toStdString();
  EXPECT_FALSE(session.isPlaying());
  EXPECT_FALSE(player.isPlaying());

  // Bytes that are no audio at all, behind a record that says they were.
  source.path = folder.path("broken.mp3");
  QFile broken(source.path);
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(QByteArray(20000, '\x5a'));
  broken.close();
  session.play(source, {0, source.frames}, 0);
  ASSERT_TRUE(QTest::qWaitFor([this] { return failures.size() == 2; }, 10000));
  EXPECT_TRUE(failures[1].contains("broken.mp3")) << failures[1].toStdString();
  EXPECT_FALSE(session.isPlaying());
  EXPECT_FALSE(player.isPlaying());
  EXPECT_EQ(ends, 0);

  // The next play works.
  source = probed(path);
  session.play(source, {0, 2000}, 0);
  EXPECT_TRUE(QTest::qWaitFor([this] { return ends == 1; }, 10000));
  EXPECT_EQ(failures.size(), 2);
}

TEST_F(PlaybackSessionTest, ASeekGoesOnFromTheNewFrameToTheSpansEnd) {
  const QString path = folder.path("tone.wav");
  testing::writeToneFile(path, 30.7, 8000, 1, testing::AudioFormat::Wav);
  const SourceRecord source = probed(path);
  const SampleSpan span{1001, 200003};
  session.play(source, span, span.first);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !positions.empty(); }, 10000));
  const int64_t target = 150017;
  session.seek(target);
  EXPECT_EQ(session.position(), target);
  positions.clear();
  ASSERT_TRUE(waitForEnd());
  ASSERT_FALSE(positions.empty());
  EXPECT_GE(positions.front(), target);
  EXPECT_EQ(positions.back(), span.end);
  // What was heard last is the file from the sought frame to the span's end.
  const std::vector<float> heard = player.recordedAudio();
  const int64_t after = span.end - target;
  ASSERT_GE(static_cast<int64_t>(heard.size()), after);
  const std::vector<float> file = testing::decodeFile(path);
  const std::vector<float> tail(heard.end() - after, heard.end());
  expectHeard(tail, file, 8000, 1, target);
}

TEST_F(PlaybackSessionTest, StopEndsEveryStateSilentlyAndPlayWorksAgain) {
  const QString path = folder.path("tone.wav");
  testing::writeToneFile(path, 20.3, 8000, 1, testing::AudioFormat::Wav);
  const SourceRecord source = probed(path);
  session.stop();  // idle: nothing happens
  // Stopped at once, while the feeder may still be opening the file.
  session.play(source, {0, source.frames}, 0);
  session.stop();
  // Stopped while playing.
  session.play(source, {0, source.frames}, 0);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !positions.empty(); }, 10000));
  session.stop();
  EXPECT_FALSE(session.isPlaying());
  EXPECT_FALSE(player.isPlaying());
  positions.clear();
  QTest::qWait(200);
  EXPECT_TRUE(positions.empty());
  EXPECT_EQ(ends, 0);
  EXPECT_TRUE(failures.isEmpty());

  session.play(source, {8000, 12000}, 8000);
  ASSERT_TRUE(waitForEnd());
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(static_cast<int64_t>(player.recordedAudio().size()), 4000);
}

}  // namespace
}  // namespace tarvex

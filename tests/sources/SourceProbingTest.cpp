#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <cstring>

#include "components/audio/AudioFile2.h"
#include "components/audio/XingHeader.h"
#include "sources/SourceProbing.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::AudioFormat;
using testing::TempFolder;

void appendBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write(bytes);
}

void cutBytes(const QString& path, qint64 bytes) {
  QFile file(path);
  ASSERT_TRUE(file.resize(file.size() - bytes));
}

int64_t decodedFrames(const QString& path) {
  AudioFile2 reader;
  reader.setActive(true);
  reader.OpenRead(path);
  const auto values = testing::readToEnd(reader);
  return static_cast<int64_t>(values.size()) / reader.Channels();
}

TEST(SourceProbing, RowsAndRefusalsArriveInListOrder) {
  TempFolder folder;
  const QString a = folder.path("a.mp3");
  const QString junk = folder.path("junk.mp3");
  const QString shortOne = folder.path("short.wav");
  const QString b = folder.path("b.wav");
  testing::writeToneFile(a, 3.0, 22050, 1, AudioFormat::Mp3);
  QFile junkFile(junk);
  ASSERT_TRUE(junkFile.open(QIODevice::WriteOnly));
  junkFile.write(QByteArray(4000, '\x5a'));
  junkFile.close();
  testing::writeToneFile(shortOne, 0.5, 22050, 1, AudioFormat::Wav);
  testing::writeToneFile(b, 2.0, 44100, 2, AudioFormat::Wav);

  std::vector<ProbeResult> delivered;
  bool finished = false;
  SourceProbing probing(
      {a, junk, shortOne, b}, false,
      [&](const ProbeResult& result) {
        EXPECT_FALSE(finished);
        delivered.push_back(result);
      },
      [&] { finished = true; });
  probing.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 60000));
  ASSERT_EQ(delivered.size(), 4u);
  EXPECT_EQ(delivered[0].outcome, ProbeResult::Outcome::Added);
  EXPECT_EQ(delivered[0].record.path, a);
  EXPECT_EQ(delivered[0].record.lengthSeconds, 3);
  EXPECT_EQ(delivered[0].record.frames, 3 * 22050);
  EXPECT_EQ(delivered[0].record.barMax, 1084) << "the Add File floor";
  EXPECT_EQ(delivered[1].outcome, ProbeResult::Outcome::NotSupported);
  EXPECT_EQ(delivered[1].fileName, "junk.mp3");
  EXPECT_EQ(delivered[2].outcome, ProbeResult::Outcome::ZeroLength);
  EXPECT_EQ(delivered[3].outcome, ProbeResult::Outcome::Added);
  EXPECT_EQ(delivered[3].record.sampleRate, 44100);
  EXPECT_EQ(delivered[3].record.channels, 2);
  EXPECT_EQ(delivered[3].record.ranges, (std::vector<MarkedRange>{{0, 2, RangeState::Pending}}));
}

TEST(SourceProbing, AFolderKeepsAShortFileWithItsOwnBarFloor) {
  TempFolder folder;
  const QString shortOne = folder.path("short.wav");
  testing::writeToneFile(shortOne, 0.5, 22050, 1, AudioFormat::Wav);
  const ProbeResult result = probeSource(shortOne, true);
  EXPECT_EQ(result.outcome, ProbeResult::Outcome::Added);
  EXPECT_EQ(result.record.lengthSeconds, 0);
  EXPECT_EQ(result.record.barMax, 1014);
}

TEST(ExactMp3Length, TheInfoHeaderIsTrustedOnlyWhenItsByteCountAgrees) {
  TempFolder folder;
  const QString whole = folder.path("whole.mp3");
  testing::writeToneFile(whole, 4.0, 44100, 2, AudioFormat::Mp3);
  EXPECT_TRUE(hasTrustworthyXingHeader(whole));
  EXPECT_EQ(probeSource(whole, false).record.frames, decodedFrames(whole));
  EXPECT_EQ(probeSource(whole, false).record.frames, 4 * 44100);

  // An ID3v1 tag after the audio is not counted by the header's writer.
  const QString tagged = folder.path("tagged.mp3");
  ASSERT_TRUE(QFile::copy(whole, tagged));
  appendBytes(tagged, QByteArray("TAG") + QByteArray(125, '\0'));
  EXPECT_TRUE(hasTrustworthyXingHeader(tagged));

  // Cut short after it was written: the header would claim the whole length.
  const QString cut = folder.path("cut.mp3");
  ASSERT_TRUE(QFile::copy(whole, cut));
  cutBytes(cut, QFile(cut).size() / 3);
  EXPECT_FALSE(hasTrustworthyXingHeader(cut));
  const int64_t cutFrames = probeSource(cut, false).record.frames;
  EXPECT_EQ(cutFrames, decodedFrames(cut));
  EXPECT_LT(cutFrames, 3 * 44100);

  // Grown by trailing bytes that are no tag.
  const QString grown = folder.path("grown.mp3");
  ASSERT_TRUE(QFile::copy(whole, grown));
  appendBytes(grown, QByteArray(1000, '\0'));
  EXPECT_FALSE(hasTrustworthyXingHeader(grown));
}

TEST(ExactMp3Length, HeadersThatAreNotInfoHeadersAreNotTrusted) {
  unsigned char frame[64] = {0xFF, 0xFB, 0x90, 0x64};  // MPEG-1 layer III, stereo
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 64, 1000, false)) << "no tag";
  std::memcpy(frame + 36, "Info", 4);
  frame[43] = 0x01;  // frames only, no byte count
  frame[47] = 10;
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 64, 1000, false));
  frame[43] = 0x03;
  frame[50] = 0x03;
  frame[51] = 0xE8;  // 1000 bytes
  EXPECT_TRUE(hasTrustworthyXingHeader(frame, 64, 1000, false));
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 64, 1001, false));
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 30, 1000, false)) << "too few bytes read";
  // A frame count damaged on disk: 1000 bytes cannot hold 2^31 frames.
  frame[44] = 0x7F;
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 64, 1000, false));
  frame[44] = 0x00;
  frame[1] = 0xFD;  // layer II
  EXPECT_FALSE(hasTrustworthyXingHeader(frame, 64, 1000, false));
}

}  // namespace
}  // namespace tarvex

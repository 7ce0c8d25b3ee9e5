#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "components/audio/AudioFile2.h"
#include "tags/AudioFileinfo.h"
#include "tags/ID3Tags.h"
#include "tags/OggComments.h"
#include "tags/OutputTags.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex {
namespace {

using testing::AudioFormat;
using testing::decodeFile;
using testing::writeToneFile;

// Tags written onto our own output leave its audio exactly as it was: the
// reader decodes the same frames, sample for sample, before and after.
class TaggedAudioDecodes : public ::testing::TestWithParam<AudioFormat> {
 protected:
  QTemporaryDir folder;
};

TEST_P(TaggedAudioDecodes, TheSameFramesBeforeAndAfterTheTag) {
  const AudioFormat format = GetParam();
  const char* extension = format == AudioFormat::Mp3   ? "piece.mp3"
                          : format == AudioFormat::Ogg ? "piece.ogg"
                                                       : "piece.wma";
  const QString path = folder.filePath(QLatin1String(extension));
  writeToneFile(path, 1.5, 44100, 2, format);
  const std::vector<float> before = decodeFile(path);
  ASSERT_FALSE(before.empty());

  AudioFileinfo info;
  info.title = QString::fromUtf8("Заголовок 標題 🎵");
  info.artist = QStringLiteral("Artist");
  info.album = QStringLiteral("Album");
  info.year = QStringLiteral("2026");
  info.genre = QStringLiteral("Ambient");
  WriteOutputTags(path, info);
  WriteOutputTags(path, info);  // a second write replaces the first

  EXPECT_EQ(decodeFile(path), before);
  AudioFile2 reader;
  reader.OpenRead(path, 0, 1);
  EXPECT_EQ(reader.Samples() * reader.Channels(), static_cast<int64_t>(before.size()));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QLatin1String(extension)})
      << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(OurOutputs, TaggedAudioDecodes,
                         ::testing::Values(AudioFormat::Mp3, AudioFormat::Ogg, AudioFormat::Wma));

TEST(TaggedAudioTitle, AnMp3TagWrittenByUsReadsBackInUnicode) {
  QTemporaryDir folder;
  const QString path = folder.filePath("t.mp3");
  writeToneFile(path, 0.5, 22050, 1, AudioFormat::Mp3);
  AudioFileinfo info;
  info.title = QString::fromUtf8("Заголовок 標題 🎵");
  WriteOutputTags(path, info);
  ID3Tags tags;
  tags.ReadID3V2Tag(path);
  EXPECT_EQ(tags.LastID3V2.title, info.title);
}

}  // namespace
}  // namespace tarvex

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"

namespace tarvex {
namespace {

using testing::AudioFormat;

// Opens a file and reads a few blocks; a damaged file may fail with an
// AudioError, never otherwise. Returns whether it opened.
bool openAndRead(AudioFile2& reader, const QString& path) {
  try {
    reader.OpenRead(path, 0, 1);
    for (int block = 0; block < 4; ++block) {
      if (reader.ReadBlock(4096).upperBound() < 1) break;
    }
    reader.Seek(reader.Samples() / 2, 3);
    reader.ReadBlock(4096);
    reader.Close();
    return true;
  } catch (const AudioError& error) {
    EXPECT_FALSE(error.message().isEmpty());
    if (reader.IsOpen()) reader.Close();
    return false;
  }
}

// Every format the reader takes, damaged in the ways files are found damaged:
// cut short at many lengths, and with bytes overwritten in the header area
// and in the data. Each copy goes through one reader, which must stay usable.
TEST(DamagedAudioOpening, CutAndScrambledFilesOfEveryFormatFailCleanly) {
  QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tarvex-damaged-XXXXXX"));
  const struct {
    const char* name;
    AudioFormat format;
  } kinds[] = {{"tone.mp3", AudioFormat::Mp3},
               {"tone.wav", AudioFormat::Wav},
               {"tone.ogg", AudioFormat::Ogg},
               {"tone.wma", AudioFormat::Wma}};
  AudioFile2 reader;
  QRandomGenerator random(20240611);
  for (const auto& kind : kinds) {
    const QString original = dir.path() + QLatin1Char('/') + kind.name;
    testing::writeToneFile(original, 1.0, 22050, 1, kind.format);
    const QByteArray bytes = testing::fileBytes(original);
    ASSERT_GT(bytes.size(), 1000) << kind.name;
    const QString damaged = dir.path() + QStringLiteral("/damaged.") + original.section('.', -1);
    for (int cut = 0; cut < 24; ++cut) {
      ASSERT_TRUE(testing::writeFileBytes(damaged, bytes.left(bytes.size() * cut / 24)));
      openAndRead(reader, damaged);
    }
    for (int round = 0; round < 40; ++round) {
      QByteArray scrambled = bytes;
      const int span = round < 20 ? std::min<int>(1024, static_cast<int>(scrambled.size()))
                                  : static_cast<int>(scrambled.size());
      for (int i = 0; i < 8; ++i) {
        scrambled[random.bounded(span)] = static_cast<char>(random.bounded(256));
      }
      ASSERT_TRUE(testing::writeFileBytes(damaged, scrambled));
      openAndRead(reader, damaged);
    }
    EXPECT_TRUE(openAndRead(reader, original)) << kind.name << ": the reader works after them";
  }
}

}  // namespace
}  // namespace tarvex

#include "AudioTestFolder.h"
#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "tests/support/GeneratedAudio.h"

#include <QFile>

#include <random>

namespace tarvex::testing {
namespace {

class BadInputTest : public AudioTest {
 protected:
  void writeBytes(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QString openErrorOf(const QString& file) {
    AudioFile2 reader;
    try {
      reader.OpenRead(file, 0, 1);
    } catch (const AudioError& error) {
      EXPECT_FALSE(reader.IsOpen());
      return error.message();
    }
    return QString();
  }
};

TEST_F(BadInputTest, MissingFileNamesTheFile) {
  for (const char* name : {"absent.mp3", "absent.wav"}) {
    const QString file = path(QString::fromLatin1(name));
    EXPECT_EQ(openErrorOf(file), QStringLiteral("Cannot open %1: file not found").arg(file));
  }
}

TEST_F(BadInputTest, EmptyFileIsRefused) {
  for (const char* name : {"empty.mp3", "empty.ogg"}) {
    const QString file = path(QString::fromLatin1(name));
    writeBytes(file, QByteArray());
    EXPECT_EQ(openErrorOf(file), QStringLiteral("Cannot open %1: the file is empty").arg(file));
  }
}

TEST_F(BadInputTest, RandomBytesAreNotAnAudioFile) {
  std::mt19937 generator(7);
  for (int round = 0; round < 5; ++round) {
    QByteArray bytes(20000 + round * 7000, '\0');
    for (auto& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
    for (const char* name : {"random.mp3", "random.wav", "random.wma"}) {
      const QString file = path(QStringLiteral("%1_%2").arg(round).arg(QString::fromLatin1(name)));
      writeBytes(file, bytes);
      EXPECT_EQ(openErrorOf(file), QStringLiteral("Cannot open %1: not an audio file").arg(file));
    }
  }
}

TEST_F(BadInputTest, TextFileNamedMp3IsNotAnAudioFile) {
  const QString file = path(QStringLiteral("notes.mp3"));
  writeBytes(file, QByteArray("These are my notes, not music.\n").repeated(200));
  EXPECT_EQ(openErrorOf(file), QStringLiteral("Cannot open %1: not an audio file").arg(file));
}

TEST_F(BadInputTest, TruncatedMp3GivesTheAudioThatIsThere) {
  const QString file = path(QStringLiteral("cut.mp3"));
  writeToneFile(file, 2.0, 44100, 2, AudioFormat::Mp3);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  const qint64 fullSize = f.size();
  f.resize(fullSize / 2 + 123);  // cut in the middle of a frame
  f.close();
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  const int64_t decoded = static_cast<int64_t>(readToEnd(reader).size()) / 2;
  EXPECT_EQ(reader.Samples(), decoded);
  EXPECT_NEAR(static_cast<double>(decoded), 44100.0, 3000.0);
}

TEST_F(BadInputTest, TruncatedOggAndWmaGiveTheAudioThatIsThere) {
  for (const auto format : {AudioFormat::Ogg, AudioFormat::Wma}) {
    const QString file = path(format == AudioFormat::Ogg ? "cut.ogg" : "cut.wma");
    writeNoiseFile(file, 2.0, 44100, 2, format);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    AudioFile2 reader;
    reader.OpenRead(file, 0, 1);
    const int64_t decoded = static_cast<int64_t>(readToEnd(reader).size()) / 2;
    EXPECT_EQ(reader.Samples(), decoded) << file.toStdString();
    EXPECT_GT(decoded, 20000) << file.toStdString();
    EXPECT_LT(decoded, 70000) << file.toStdString();
  }
}

TEST_F(BadInputTest, WavHeaderThatClaimsMoreThanTheFileHolds) {
  const QString file = path(QStringLiteral("liar.wav"));
  writeToneFile(file, 1.0, 44100, 2, AudioFormat::Wav);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  QByteArray bytes = f.readAll();
  const int dataAt = bytes.indexOf("data");
  ASSERT_GT(dataAt, 0);
  // Claim ten times the data, and the RIFF size to match.
  const quint32 claimed = 44100u * 4u * 10u;
  for (int i = 0; i < 4; ++i) bytes[dataAt + 4 + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
  const quint32 riff = claimed + static_cast<quint32>(dataAt) + 8 - 8;
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>((riff >> (8 * i)) & 0xFF);
  f.seek(0);
  f.write(bytes);
  f.close();
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  EXPECT_EQ(reader.Samples(), 44100);
  EXPECT_EQ(static_cast<int64_t>(readToEnd(reader).size()), 44100 * 2);
  reader.Seek(40000, 3);
  EXPECT_EQ(reader.ReadBlock(10000).upperBound(), 4100 * 2);
}

TEST_F(BadInputTest, WavHeaderThatClaimsLessKeepsToTheClaim) {
  const QString file = path(QStringLiteral("short.wav"));
  writeToneFile(file, 1.0, 8000, 1, AudioFormat::Wav);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  QByteArray bytes = f.readAll();
  const int dataAt = bytes.indexOf("data");
  const quint32 claimed = 3000u * 2u;
  for (int i = 0; i < 4; ++i) bytes[dataAt + 4 + i] = static_cast<char>((claimed >> (8 * i)) & 0xFF);
  f.seek(0);
  f.write(bytes);
  f.close();
  AudioFile2 reader;
  reader.OpenRead(file, 0, 1);
  EXPECT_EQ(reader.Samples(), static_cast<int64_t>(readToEnd(reader).size()));
}

TEST_F(BadInputTest, ReadingWithoutAnOpenFileIsAnError) {
  AudioFile2 reader;
  EXPECT_THROW(reader.ReadBlock(100), AudioError);
  EXPECT_THROW(reader.Seek(0, 3), AudioError);
  AudioFile2 writer;
  EXPECT_THROW(writer.WriteBlock(SampleBlock{{0.0f, 0.0f}}), AudioError);
  EXPECT_THROW(writer.CreateWrite(path(QStringLiteral("x.mp3")), 0), AudioError);  // no format yet
}

}  // namespace
}  // namespace tarvex::testing

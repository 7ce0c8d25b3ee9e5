// Every reader of MPEG files run over the committed corpus of odd files made
// by outside tools (tests/data/MANIFEST.txt says how each was made).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>

#include "components/audio/AudioError.h"
#include "components/audio/XingHeader.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "sources/SourceProbe.h"
#include "sources/analysis/Mp3GainScan.h"
#include "tags/SourceTagReader.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/QtPrinters.h"

namespace tarvex {
namespace {

enum class Copy { Copied, FreeFormat, NotMpeg };

struct CorpusFile {
  const char* name;
  Copy copy;
  bool infoTrusted;   // the Info/Xing header gives the length (mpeg25.mp3 has none)
  const char* title;  // the caption the tags give; empty: the file name
};

const CorpusFile kCorpus[] = {
    {"cbr-lame.mp3", Copy::Copied, true, ""},
    {"crc.mp3", Copy::Copied, true, ""},
    {"mpeg25.mp3", Copy::Copied, false, ""},
    {"tiny.mp3", Copy::Copied, true, ""},
    {"xing-lavc.mp3", Copy::Copied, true, ""},
    {"id3v24-footer.mp3", Copy::Copied, true, "Odd title"},
    {"id3v2-not-syncsafe.mp3", Copy::Copied, false, ""},
    {"ape.mp3", Copy::Copied, true, ""},
    {"id3v1.mp3", Copy::Copied, true, "V1 title"},
    {"leading-junk.mp3", Copy::Copied, false, ""},
    {"truncated.mp3", Copy::Copied, false, ""},
    {"lying-info.mp3", Copy::Copied, false, ""},
    {"vbri.mp3", Copy::Copied, false, ""},
    {"free-format.mp3", Copy::FreeFormat, true, ""},
    {"wave-named.mp3", Copy::NotMpeg, false, ""},
    {"text-named.mp3", Copy::NotMpeg, false, ""},
};

QString corpusPath(const char* name) {
  return QDir(QStringLiteral(TARVEX_TEST_DATA_DIR)).filePath(QString::fromLatin1(name));
}

class CorpusReaders : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(CorpusReaders, EveryReaderCopesAndTheyAgree) {
  const CorpusFile& file = GetParam();
  const QString path = corpusPath(file.name);
  ASSERT_TRUE(QFile::exists(path)) << path.toStdString();

  // Probing: never the absurd length a damaged header claims; every file is
  // shorter than a second.
  const ProbeResult probe = probeSource(path, false);
  if (probe.outcome != ProbeResult::Outcome::NotSupported) {
    EXPECT_GT(probe.record.frames, 0);
    EXPECT_LT(probe.record.frames, probe.record.sampleRate) << "longer than the file can be";
  }
  EXPECT_EQ(hasTrustworthyXingHeader(path), file.infoTrusted);

  // The frame index: copies what is MPEG, refuses the rest for the right reason.
  try {
    const mp3frames::Mp3FrameSource source(path);
    EXPECT_EQ(file.copy, Copy::Copied) << "indexed a file that is no copyable MPEG stream";
    ASSERT_NE(probe.outcome, ProbeResult::Outcome::NotSupported);
    // Both readers count the gapless samples; mpg123 decodes the same.
    EXPECT_NEAR(source.totalSamples(), probe.record.frames, 1152);
    const QByteArray decoded =
        testing::runOutsideToolBytes(QStringLiteral("mpg123"), {"-q", "-e", "s16", "-s", path});
    EXPECT_NEAR(source.totalSamples(), decoded.size() / 2 / source.channels(), 1152);
  } catch (const AudioError& error) {
    const QString message = error.message();
    EXPECT_NE(file.copy, Copy::Copied) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(file.name))) << message.toStdString();
    EXPECT_EQ(message.contains(QStringLiteral("free-format")), file.copy == Copy::FreeFormat)
        << message.toStdString();
  }

  // The waveform estimate draws every MPEG stream it can walk, and nothing else.
  const std::atomic<bool> stop{false};
  const WaveformPeaks peaks = scanMp3Gains(path, 40, stop);
  EXPECT_EQ(peaks.high.empty(), file.copy != Copy::Copied);

  const SourceTags tags = readSourceTags(path, false);
  EXPECT_EQ(tags.caption, QString::fromLatin1(file.title));
}

INSTANTIATE_TEST_SUITE_P(OddFiles, CorpusReaders, ::testing::ValuesIn(kCorpus),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (c == '-' || c == '.') c = '_';
                           return name;
                         });

TEST(CorpusManifest, SaysHowEveryFileWasMade) {
  QFile manifest(corpusPath("MANIFEST.txt"));
  ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(manifest.readAll());
  for (const CorpusFile& file : kCorpus)
    EXPECT_TRUE(text.contains(QLatin1String(file.name) + QLatin1String(": "))) << file.name;
}

}  // namespace
}  // namespace tarvex

namespace tarvex {
namespace {

// Audio whose last frame holds "TAG" 128 bytes before the file's end is no
// ID3v1 tag: every frame is still read.
TEST(CorpusFrames, AudioThatLooksLikeAnId3v1TagAtTheEndIsStillAudio) {
  QFile original(corpusPath("cbr-lame.mp3"));
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  QByteArray bytes = original.readAll();
  bytes.replace(bytes.size() - 128, 3, "TAG");
  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("tag-like.mp3"));
  QFile copy(path);
  ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
  copy.write(bytes);
  copy.close();
  const mp3frames::Mp3FrameSource whole(corpusPath("cbr-lame.mp3"));
  const mp3frames::Mp3FrameSource tagLike(path);
  EXPECT_EQ(tagLike.frames().size(), whole.frames().size());
  EXPECT_EQ(tagLike.totalSamples(), whole.totalSamples());
}

}  // namespace
}  // namespace tarvex

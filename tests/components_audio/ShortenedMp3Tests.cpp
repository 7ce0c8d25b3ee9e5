#include "components/audio/DecoderOpening.h"
#include "components/audio/XingHeader.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "tests/support/LameSources.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

namespace tarvex::testing {
namespace {

// An MP3 whose LAME header counts more frames than the file holds (a
// download broken off, a copy cut at a byte count) is read as ffmpeg reads
// it: from the first sample after the encoder's delay, to the end of the
// audio the file holds.
struct LameSource {
  const char* name;
  int sampleRate;
  int channels;
  QStringList lameOptions;
};

void PrintTo(const LameSource& source, std::ostream* out) {
  *out << source.name;
}

class ShortenedMp3 : public ::testing::TestWithParam<LameSource> {
 protected:
  QString makeSource() {
    const LameSource& param = GetParam();
    const QString path = makeLameMp3(folder_.path(), QString::fromLatin1(param.name), 3.2173,
                                     param.sampleRate, param.channels, param.lameOptions, 0.4f);
    if (path.isEmpty()) ADD_FAILURE() << "lame made no " << param.name;
    return path;
  }
  QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = folder_.path(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << name.toStdString();
    return path;
  }

  TempFolder folder_;
};

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<float> decodeToEnd(AudioDecoder& decoder) {
  std::vector<float> samples;
  std::vector<float> block(4096 * static_cast<size_t>(decoder.channels()));
  while (const int got = decoder.read(block.data(), 4096)) {
    samples.insert(samples.end(), block.begin(), block.begin() + got * decoder.channels());
  }
  return samples;
}

// ffmpeg's decode as floats: its 32-bit integers carry a float decode exactly
// enough for the comparison below.
std::vector<float> ffmpegDecode(const QString& path) {
  std::vector<float> samples;
  for (const int32_t value : ffmpegSamplesS32(path))
    samples.push_back(static_cast<float>(value) / 2147483648.0f);
  return samples;
}

// Two float MP3 decoders differ by rounding (a few millionths); a stream
// read from the wrong sample differs by the signal itself.
constexpr float kDecoderTolerance = 1.0f / 32768;

// The first half second of `ours` against `theirs`, frame for frame.
void expectSameStart(const std::vector<float>& ours, const std::vector<float>& theirs,
                     int sampleRate, int channels, const char* what) {
  const size_t values = static_cast<size_t>(sampleRate / 2 * channels);
  ASSERT_GE(ours.size(), values) << what;
  ASSERT_GE(theirs.size(), values) << what;
  for (size_t i = 0; i < values; ++i) {
    ASSERT_NEAR(ours[i], theirs[i], kDecoderTolerance)
        << what << ": first differing frame " << i / static_cast<size_t>(channels);
  }
}

TEST_P(ShortenedMp3, CutInsideAFrameReadsFromTheFirstSampleToTheLastFrameHeld) {
  const LameSource& param = GetParam();
  const QString whole = makeSource();
  ASSERT_FALSE(whole.isEmpty());
  const QByteArray bytes = contentsOf(whole);
  // Far from a frame boundary: frames here are hundreds of bytes long.
  const QString cut = writeFile(QStringLiteral("cut.mp3"), bytes.left(bytes.size() * 11 / 20 + 37));
  const std::vector<float> reference = ffmpegDecode(cut);
  const auto referenceFrames = static_cast<int64_t>(reference.size()) / param.channels;
  const int samplesPerFrame = mp3frames::Mp3FrameSource(whole).samplesPerFrame();

  // Measured by a scan, then reopened with that length as a source is.
  int64_t measured = 0;
  for (const bool reopened : {false, true}) {
    const char* what = reopened ? "reopened with its length" : "scanned";
    const auto decoder = openDecoder(cut, reopened ? measured : 0);
    const std::vector<float> ours = decodeToEnd(*decoder);
    const auto frames = static_cast<int64_t>(ours.size()) / param.channels;
    if (!reopened) measured = decoder->frameCount();
    EXPECT_EQ(decoder->frameCount(), frames) << what;
    EXPECT_NEAR(static_cast<double>(frames), static_cast<double>(referenceFrames), samplesPerFrame)
        << what;
    expectSameStart(ours, reference, param.sampleRate, param.channels, what);

    // A seek lands on the very sample ffmpeg has there.
    const int64_t at = frames / 3 + 17;
    decoder->seek(at);
    std::vector<float> block(777 * static_cast<size_t>(param.channels));
    ASSERT_EQ(decoder->read(block.data(), 777), 777) << what;
    for (size_t i = 0; i < block.size(); ++i) {
      ASSERT_NEAR(block[i], reference[static_cast<size_t>(at * param.channels) + i],
                  kDecoderTolerance)
          << what << ": after a seek to " << at;
    }
  }
}

TEST_P(ShortenedMp3, HeaderCountingMissingFramesButTheRightBytesEndsWhereTheAudioEnds) {
  const LameSource& param = GetParam();
  const QString whole = makeSource();
  ASSERT_FALSE(whole.isEmpty());
  QByteArray bytes = contentsOf(whole);
  // The last frames gone and the header's byte count made to agree: the
  // header looks whole and its frame count is believed without a scan.
  const mp3frames::Mp3FrameSource source(whole);
  const auto keep = static_cast<qsizetype>(source.frames()[source.frames().size() - 7].offset);
  bytes.truncate(keep);
  qsizetype tag = bytes.indexOf("Xing");
  if (tag < 0) tag = bytes.indexOf("Info");
  ASSERT_GE(tag, 0);
  ASSERT_LT(tag, 64);
  for (int i = 0; i < 4; ++i)
    bytes[tag + 12 + i] = static_cast<char>((static_cast<uint32_t>(keep) >> (24 - 8 * i)) & 0xff);
  const QString shortened = writeFile(QStringLiteral("shortened.mp3"), bytes);
  ASSERT_TRUE(hasTrustworthyXingHeader(shortened));
  const std::vector<float> reference = ffmpegDecode(shortened);

  const auto decoder = openDecoder(shortened);
  const std::vector<float> ours = decodeToEnd(*decoder);
  EXPECT_NEAR(static_cast<double>(ours.size() / param.channels),
              static_cast<double>(reference.size() / param.channels), source.samplesPerFrame());
  expectSameStart(ours, reference, param.sampleRate, param.channels, "trusted header");
  // Past the end the header promised, nothing more comes and nothing hangs.
  decoder->seek(decoder->frameCount());
  std::vector<float> block(64 * static_cast<size_t>(param.channels));
  EXPECT_EQ(decoder->read(block.data(), 64), 0);
}

INSTANTIATE_TEST_SUITE_P(
    LameEncodings, ShortenedMp3,
    ::testing::Values(LameSource{"vbr2_stereo_44k", 44100, 2, {"-V", "2"}},
                      LameSource{"cbr64_mono_22k", 22050, 1, {"-b", "64", "-m", "m"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvex::testing

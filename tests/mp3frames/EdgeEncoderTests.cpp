#include "OutsideDecoders.h"

#include "components/audio/mp3frames/EdgeEncoder.h"
#include "tests/support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace tarvex::testing {
namespace {

using mp3frames::EdgeEncoder;
using mp3frames::LooseFrame;
using mp3frames::MpegFrameHeader;

constexpr int kRate = 44100;

MpegFrameHeader stereoHeader() {
  // MPEG-1 layer III, 44.1 kHz, 128 kbit/s, joint stereo.
  return *MpegFrameHeader::decode(0xFFFB9044u);
}

// A 1 kHz tone swelling from silence to half scale over `frames` (a shift
// by any number of samples shows as a difference), or loud noise.
std::vector<float> swellingTone(int frames) {
  std::vector<float> samples;
  for (int i = 0; i < frames; ++i) {
    const auto value =
        static_cast<float>(0.5 * i / frames * std::sin(2 * std::numbers::pi * 1000.0 * i / kRate));
    samples.insert(samples.end(), {value, value});
  }
  return samples;
}

std::vector<float> loudNoise(int frames) {
  std::vector<float> samples;
  uint32_t state = 12345;
  for (int i = 0; i < 2 * frames; ++i) {
    state = state * 1664525u + 1013904223u;
    samples.push_back(0.9f * (static_cast<float>(state >> 8) / (1u << 24) * 2.0f - 1.0f));
  }
  return samples;
}

// The frames as a plain MP3 stream, decoded without gapless trimming: raw
// position r holds input sample r - kEdgeCodecDelay.
OutsideDecode decodeFrames(const std::vector<LooseFrame>& frames, const QString& path) {
  QByteArray bytes;
  for (const LooseFrame& frame : frames) {
    QByteArray one(frame.header.frameBytes(), '\0');
    auto* data = reinterpret_cast<unsigned char*>(one.data());
    mp3frames::writeBigEndian32(data, frame.header.encode());
    std::copy(frame.sideInfo.begin(), frame.sideInfo.end(), data + 4);
    std::copy(frame.mainData.begin(), frame.mainData.end(), data + frame.header.mainDataOffset());
    bytes += one;
  }
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  return decodeWithMpg123(path, 2, false);
}

double rmsDb(const std::vector<float>& samples, size_t from, size_t to) {
  double sum = 0.0;
  to = std::min(to, samples.size());
  for (size_t i = from; i < to; ++i) sum += double{samples[i]} * samples[i];
  return 10.0 *
         std::log10(std::max(sum / std::max<double>(1.0, static_cast<double>(to - from)), 1e-20));
}

// One encoder kept across calls gives frames that decode as a fresh
// encoder's do: in place to the sample, with nothing of what it was fed
// before, whichever bitrate each call asks for.
TEST(EdgeEncoder, AKeptEncoderGivesWhatAFreshOneGivesWithNothingOfEarlierCalls) {
  TempFolder folder;
  const MpegFrameHeader like = stereoHeader();
  const int frames = 4;
  const std::vector<float> tone = swellingTone((frames + 1) * 1152 + 333);
  const std::vector<LooseFrame> fresh =
      mp3frames::encodeLooseFrames(like, 160, tone, frames, QStringLiteral("fresh.mp3"));
  const OutsideDecode expected = decodeFrames(fresh, folder.path(QStringLiteral("fresh.mp3")));
  ASSERT_TRUE(expected.ran);
  ASSERT_EQ(expected.frames(), frames * 1152);

  EdgeEncoder encoder;
  for (const int kbps : {160, 192, 160}) {
    // Loud noise first, cut off mid-frame, then the tone.
    encoder.encode(like, kbps, loudNoise(4 * 1152 + 517), 2, QStringLiteral("noise.mp3"));
    const std::vector<LooseFrame> kept =
        encoder.encode(like, kbps, tone, frames, QStringLiteral("kept.mp3"));
    ASSERT_EQ(kept.size(), static_cast<size_t>(frames));
    for (const LooseFrame& frame : kept) EXPECT_EQ(frame.header.bitrateKbps(), kbps);
    const OutsideDecode decoded =
        decodeFrames(kept, folder.path(QStringLiteral("kept%1.mp3").arg(kbps)));
    ASSERT_EQ(decoded.frames(), expected.frames());
    // Before the tone (raw positions below the codec delay) both are silent.
    EXPECT_LT(rmsDb(decoded.samples, 0, 2 * 700), -60.0) << kbps;
    std::vector<float> difference(decoded.samples.size());
    for (size_t i = 0; i < difference.size(); ++i)
      difference[i] = decoded.samples[i] - expected.samples[i];
    const double level = rmsDb(expected.samples, 0, expected.samples.size());
    EXPECT_LT(rmsDb(difference, 0, difference.size()), level - 25.0) << kbps;
  }
}

// Frames the caller drops in front (a warm-up on the audio before) stand in
// for the silence: the frames after them still hold nothing fed before.
TEST(EdgeEncoder, WarmUpFramesKeepEarlierAudioFromTheFramesAfterThem) {
  TempFolder folder;
  const MpegFrameHeader like = stereoHeader();
  const int frames = 3;
  const int warmUp = 2;
  const std::vector<float> tone = swellingTone((warmUp + frames + 1) * 1152);
  std::vector<LooseFrame> fresh =
      mp3frames::encodeLooseFrames(like, 128, tone, warmUp + frames, QStringLiteral("f.mp3"));
  fresh.erase(fresh.begin(), fresh.begin() + warmUp);
  const OutsideDecode expected = decodeFrames(fresh, folder.path(QStringLiteral("f.mp3")));

  EdgeEncoder encoder;
  encoder.encode(like, 128, loudNoise(4 * 1152 + 517), 2, QStringLiteral("noise.mp3"));
  std::vector<LooseFrame> kept =
      encoder.encode(like, 128, tone, warmUp + frames, QStringLiteral("k.mp3"), warmUp);
  kept.erase(kept.begin(), kept.begin() + warmUp);
  const OutsideDecode decoded = decodeFrames(kept, folder.path(QStringLiteral("k.mp3")));
  ASSERT_EQ(decoded.frames(), expected.frames());
  std::vector<float> difference(decoded.samples.size());
  for (size_t i = 0; i < difference.size(); ++i)
    difference[i] = decoded.samples[i] - expected.samples[i];
  EXPECT_LT(rmsDb(difference, 0, difference.size()),
            rmsDb(expected.samples, 0, expected.samples.size()) - 25.0);
}

// Share of a signal's energy in its top octaves: the energy of its second
// difference against its own.
double topBandShare(const std::vector<float>& samples) {
  double top = 0.0;
  double all = 0.0;
  for (size_t i = 4; i < samples.size(); ++i) {
    const double curve = double{samples[i]} - 2.0 * samples[i - 2] + samples[i - 4];
    top += curve * curve;
    all += double{samples[i]} * samples[i];
  }
  return top / std::max(all, 1e-20);
}

// Asked to keep a source's band, the frames hold nothing above it; asked
// for long or short windows, every granule has them.
TEST(EdgeEncoder, KeepsTheBandAndTheWindowsAskedFor) {
  TempFolder folder;
  const MpegFrameHeader like = stereoHeader();
  const std::vector<float> noise = loudNoise(5 * 1152 + 211);
  EdgeEncoder encoder;
  const auto decodedShare = [&](mp3frames::EdgeBand band, const char* name) {
    const std::vector<LooseFrame> frames = encoder.encode(
        like, 320, noise, 4, QString::fromLatin1(name), 0, mp3frames::EdgeWindows::Free, band);
    return topBandShare(decodeFrames(frames, folder.path(QString::fromLatin1(name))).samples);
  };
  // 64 kbit/s keeps the band below about 11 kHz; 320 kbit/s up to 20 kHz.
  const double wide = decodedShare({}, "wide.mp3");
  EXPECT_LT(decodedShare({0, 64}, "narrow.mp3"), 0.5 * wide);
  // A lowpass a source's tag notes is kept to as it stands.
  EXPECT_LT(decodedShare({11000, 0}, "noted.mp3"), 0.5 * wide);

  for (const auto windows : {mp3frames::EdgeWindows::Long, mp3frames::EdgeWindows::Short}) {
    // A sudden loud start calls for short windows where the encoder chooses.
    std::vector<float> suddenly(2 * 1152 * 2, 0.0f);
    const std::vector<float> loud = loudNoise(3 * 1152);
    suddenly.insert(suddenly.end(), loud.begin(), loud.end());
    const std::vector<LooseFrame> frames =
        encoder.encode(like, 320, suddenly, 4, QStringLiteral("w.mp3"), 0, windows);
    const bool isShort = windows == mp3frames::EdgeWindows::Short;
    for (size_t frame = 0; frame < frames.size(); ++frame) {
      const mp3frames::Mp3SideInfo side = frames[frame].parsedSideInfo();
      for (int granule = 0; granule < 2; ++granule) {
        // An encoder's very first window rises from the long ones it
        // starts from.
        if (frame > 0 || granule > 0) {
          EXPECT_EQ(side.opensLong(like, granule), !isShort) << frame << " " << granule;
        }
        EXPECT_EQ(side.closesLong(like, granule), !isShort) << frame << " " << granule;
      }
    }
  }
}

// A short input is padded with silence until the frames asked for come out.
TEST(EdgeEncoder, AShortInputStillGivesEveryFrameAskedFor) {
  EdgeEncoder encoder;
  const MpegFrameHeader like = stereoHeader();
  EXPECT_EQ(encoder.encode(like, 128, swellingTone(100), 3, QStringLiteral("a.mp3")).size(), 3u);
  EXPECT_EQ(encoder.encode(like, 128, {}, 2, QStringLiteral("a.mp3")).size(), 2u);
  EXPECT_EQ(encoder.encode(like, 128, swellingTone(5000), 1, QStringLiteral("a.mp3")).size(), 1u);
}

// A damaged stream decodes to anything: values far past full scale, not a
// number, infinite. The encoder (which asserts on some of them) still gives
// its frames, the wild values as silence or full scale.
TEST(EdgeEncoder, WildSamplesFromADamagedStreamStillEncode) {
  std::vector<float> wild = swellingTone(4 * 1152);
  for (size_t i = 0; i < wild.size(); i += 3)
    wild[i] = i % 2 ? 3.0e38f
                    : (i % 5 ? std::numeric_limits<float>::quiet_NaN()
                             : -std::numeric_limits<float>::infinity());
  EdgeEncoder encoder;
  EXPECT_EQ(encoder.encode(stereoHeader(), 128, wild, 3, QStringLiteral("wild.mp3")).size(), 3u);
}

}  // namespace
}  // namespace tarvex::testing

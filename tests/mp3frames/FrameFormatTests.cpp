#include "tests/support/LameSources.h"

#include "components/audio/mp3frames/InfoFrame.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3SideInfo.h"
#include "components/audio/mp3frames/MpegCrc16.h"
#include "components/audio/mp3frames/SilentFrame.h"
#include "tags/ID3V2Writer.h"
#include "tests/support/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace tarvex::testing {
namespace {

using namespace mp3frames;

MpegFrameHeader headerOf(const unsigned char* frame) {
  return *MpegFrameHeader::decode(readBigEndian32(frame));
}

TEST(FrameFormat, HeadersOfEveryVersionRateAndBitrateRoundTrip) {
  for (const auto version : {MpegFrameHeader::Version::Mpeg1, MpegFrameHeader::Version::Mpeg2,
                             MpegFrameHeader::Version::Mpeg25}) {
    for (int rate = 0; rate < 3; ++rate) {
      for (int bitrate = 1; bitrate < 15; ++bitrate) {
        MpegFrameHeader header;
        header.version = version;
        header.sampleRateIndex = rate;
        header.bitrateIndex = bitrate;
        header.channelMode = bitrate % 4;
        header.crcProtected = bitrate % 2 == 0;
        header.padding = rate == 1;
        const auto back = MpegFrameHeader::decode(header.encode());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->encode(), header.encode());
        EXPECT_EQ(back->frameBytes(), header.frameBytes());
        EXPECT_EQ(back->sampleRate(), header.sampleRate());
      }
    }
  }
  EXPECT_FALSE(MpegFrameHeader::decode(0xFFFB0000u | (15u << 12)).has_value());  // bad bitrate
  EXPECT_FALSE(MpegFrameHeader::decode(0xFFFD9000u).has_value());                // layer II
  // 128 kbit/s at 44.1 kHz: 417 bytes, 418 with padding; 8 kHz MPEG-2.5 at 8 kbit/s: 72.
  const auto cbr = MpegFrameHeader::decode(0xFFFB9200u);
  ASSERT_TRUE(cbr.has_value());
  EXPECT_EQ(cbr->frameBytes(), 418);
  EXPECT_EQ(cbr->sampleRate(), 44100);
}

TEST(FrameFormat, CrcsAndTheLameTagMatchWhatLameWrote) {
  TempFolder folder;
  const QString mp3 = makeLameMp3(folder.path(), QStringLiteral("crc"), 0.5, 44100, 2,
                                  {"-b", "160", "-p", "--resample", "44.1"});
  ASSERT_FALSE(mp3.isEmpty());
  const Mp3FrameSource source(mp3);
  int checked = 0;
  for (const auto& frame : source.frames()) {
    const unsigned char* bytes = source.bytes() + frame.offset;
    const MpegFrameHeader header = headerOf(bytes);
    ASSERT_TRUE(header.crcProtected);
    EXPECT_EQ(frameCrc(bytes, header.sideInfoBytes()), (bytes[4] << 8) | bytes[5]);
    // The side information agrees with the reservoir walk: each frame's main
    // data fits in what came before and its own area.
    const Mp3SideInfo side = Mp3SideInfo::parse(header, bytes + 6);
    EXPECT_EQ(side.mainDataBegin, frame.mainDataBegin);
    EXPECT_LE(side.mainDataBytes(header), frame.mainDataBegin + frame.areaBytes());
    ++checked;
  }
  EXPECT_GT(checked, 10);

  // LAME's own tag CRC, over the header frame up to the CRC, both ways of
  // computing it (byte by byte and eight at a time) agree with it.
  ASSERT_TRUE(source.infoFrame() && source.infoFrame()->lame);
  const unsigned char* first = source.bytes();
  const int tagEnd = 4 + 32 + 154;
  const uint16_t stored = static_cast<uint16_t>((first[tagEnd] << 8) | first[tagEnd + 1]);
  EXPECT_EQ(lameCrc(first, tagEnd), stored);
  uint16_t byteByByte = 0;
  for (int i = 0; i < tagEnd; ++i) byteByByte = lameCrc(first + i, 1, byteByByte);
  EXPECT_EQ(byteByByte, stored);
  EXPECT_EQ(source.infoFrame()->lame->encoderDelay, 576);
}

TEST(FrameFormat, AHeaderFrameFitsAndReadsBackAtEveryRateAndMode) {
  for (const auto version : {MpegFrameHeader::Version::Mpeg1, MpegFrameHeader::Version::Mpeg2,
                             MpegFrameHeader::Version::Mpeg25}) {
    for (int rate = 0; rate < 3; ++rate) {
      for (const int mode : {1, 3}) {
        MpegFrameHeader stream;
        stream.version = version;
        stream.sampleRateIndex = rate;
        stream.channelMode = mode;
        stream.bitrateIndex = 1;  // the lowest bitrate: the tag does not fit at it
        InfoFrameContent content;
        content.audioFrames = 1234;
        content.audioBytes = 99999;
        content.lame = plainLameTag("LAME3.100", 4095, 1729);
        const std::vector<unsigned char> frame = buildInfoFrame(stream, 1, content);
        const MpegFrameHeader header = headerOf(frame.data());
        EXPECT_EQ(static_cast<int>(frame.size()), header.frameBytes());
        const auto info = readInfoFrame(header, frame.data(), static_cast<int>(frame.size()));
        ASSERT_TRUE(info && info->lame) << "rate " << header.sampleRate() << " mode " << mode;
        EXPECT_EQ(*info->frames, 1234u);
        EXPECT_EQ(*info->bytes, 99999u + frame.size());
        EXPECT_EQ(info->lame->encoderDelay, 4095);
        EXPECT_EQ(info->lame->padding, 1729);
        const int tagEnd = 4 + header.sideInfoBytes() + 154;
        EXPECT_EQ(lameCrc(frame.data(), static_cast<size_t>(tagEnd)),
                  (frame[tagEnd] << 8) | frame[tagEnd + 1]);
      }
    }
  }
}

TEST(FrameFormat, ASilentFrameCarriesTheReservoirAndAValidCrc) {
  MpegFrameHeader like;
  like.version = MpegFrameHeader::Version::Mpeg2;
  like.sampleRateIndex = 0;  // 22.05 kHz
  like.channelMode = 1;
  like.crcProtected = true;
  like.bitrateIndex = 2;  // 16 kbit/s: too small for 255 bytes
  const std::vector<unsigned char> reservoir(255, 0xA5);
  const std::vector<unsigned char> frame = makeSilentFrame(like, like.bitrateIndex, reservoir);
  ASSERT_FALSE(frame.empty());
  const MpegFrameHeader header = headerOf(frame.data());
  EXPECT_GE(header.frameBytes() - header.mainDataOffset(), 255);
  EXPECT_TRUE(std::equal(reservoir.begin(), reservoir.end(), frame.end() - 255));
  EXPECT_EQ(frameCrc(frame.data(), header.sideInfoBytes()), (frame[4] << 8) | frame[5]);
  const Mp3SideInfo side = Mp3SideInfo::parse(header, frame.data() + 6);
  EXPECT_EQ(side.mainDataBegin, 0);
  EXPECT_EQ(side.mainDataBytes(header), 0);
}

TEST(FrameFormat, ThePieceTagStandsInFrontOfTheAudioForOtherReaders) {
  TempFolder folder;
  const QString mp3 = makeLameMp3(folder.path(), QStringLiteral("src"), 1.0, 44100, 2,
                                  {"-b", "128", "--resample", "44.1"});
  ASSERT_FALSE(mp3.isEmpty());
  ID3StructV2 fields;
  fields.title = QStringLiteral("Piece Title");
  fields.artist = QStringLiteral("Someone");
  const QString piece = folder.path(QStringLiteral("piece.mp3"));
  ASSERT_TRUE(cutMp3Piece(mp3, 1000, 30000, piece, buildID3V23Tag(fields)));
  QProcess probe;
  probe.start(QStringLiteral("ffprobe"),
              {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
               QStringLiteral("format_tags=title,artist:stream=duration_ts"), QStringLiteral("-of"),
               QStringLiteral("default=nw=1"), piece});
  ASSERT_TRUE(probe.waitForFinished(30000));
  const QString out = QString::fromUtf8(probe.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QStringLiteral("TAG:title=Piece Title"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("TAG:artist=Someone"))) << out.toStdString();
  EXPECT_EQ(Mp3FrameSource(piece).totalSamples(), 29000);
}

}  // namespace
}  // namespace tarvex::testing

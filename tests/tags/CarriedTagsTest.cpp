// What a piece's tag carries from its source's tag, read back by mutagen,
// eyeD3 and ffprobe: pictures and every other item besides the fields, the
// track number replaced, the whole file's own items left out, and no empty
// frame for an untagged source.
#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/asftag.h>

#include <QBuffer>
#include <QFile>

#include "tags/FileTags.h"
#include "tags/ID3V2Reader.h"
#include "tags/ID3V2Writer.h"
#include "tags/OutputTags.h"
#include "tags/SourceTagReader.h"
#include "tests/support/CarriedTagFiles.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

using testing::mutagenTagLines;
using testing::runOutsideTool;

class CarriedTags : public ::testing::Test {
 protected:
  void SetUp() override { png_ = testing::smallPng(dir_.path()); }
  QString path(const char* name) const { return dir_.path(QString::fromLatin1(name)); }

  // A fresh MP3 piece tagged from `source` as the tag step tags piece 2 of 3.
  QString mp3PieceOf(const QString& source) const {
    AudioFileinfo info = readSourceTags(source, false).info;
    info.track = QStringLiteral("2/3");
    const QString piece = path("piece_2.mp3");
    testing::writeBytes(piece, testing::makeMp3Tone(0.37));
    WriteOutputTags(piece, info);
    return piece;
  }

  testing::TempFolder dir_;
  QByteArray png_;
};

TEST_F(CarriedTags, Mp3PiecesCarryEveryFrameOfVersions23And24ButTheWholeFilesOwn) {
  ASSERT_FALSE(png_.isEmpty());
  const QString v24 = path("v24.mp3");
  testing::writeBytes(v24, testing::makeMp3Tone(1.13));
  testing::tagRichMp3(v24, dir_.path("cover.png"));
  const QString v23 = path("v23.mp3");
  QFile::copy(v24, v23);
  runOutsideTool("eyeD3", {"--quiet", "--to-v2.3", v23});

  for (const QString& source : {v24, v23}) {
    SCOPED_TRACE(source.toStdString());
    const QStringList sourceLines = mutagenTagLines(source);
    ASSERT_TRUE(sourceLines.contains(QStringLiteral("TCOM=Dvořák")));
    const QString piece = mp3PieceOf(source);
    EXPECT_EQ(mutagenTagLines(piece), testing::expectedPieceLines(sourceLines, "2/3"));

    const QString eyed3 = runOutsideTool("eyeD3", {"--no-color", piece});
    EXPECT_TRUE(eyed3.contains("Liner note")) << eyed3.toStdString();
    EXPECT_TRUE(eyed3.contains("FRONT_COVER")) << eyed3.toStdString();
    EXPECT_TRUE(eyed3.contains("track: 2/3")) << eyed3.toStdString();
    const QString ffprobe = runOutsideTool(
        "ffprobe", {"-v", "error", "-show_entries", "format_tags", "-of", "default=nw=1", piece});
    EXPECT_TRUE(ffprobe.contains("TAG:composer=Dvořák")) << ffprobe.toStdString();
    EXPECT_TRUE(ffprobe.contains("TAG:comment=Liner note")) << ffprobe.toStdString();
    const QString streams = runOutsideTool(
        "ffprobe", {"-v", "error", "-show_entries",
                    "stream=codec_name:stream_disposition=attached_pic", "-of", "flat", piece});
    EXPECT_TRUE(streams.contains("codec_name=\"png\"")) << streams.toStdString();
  }
}

TEST_F(CarriedTags, OggPiecesCarryEveryCommentAndThePicture) {
  const QString source = path("source.ogg");
  testing::makeOggVorbis(source, testing::richVorbisComments(png_), false, 1.13);
  AudioFileinfo info = readSourceTags(source, false).info;
  info.track = QStringLiteral("3/3");
  const QString piece = path("piece_3.ogg");
  testing::makeOggVorbis(piece, {"ENCODER=someone else"}, false, 0.37);
  WriteOutputTags(piece, info);

  const QStringList sourceLines = mutagenTagLines(source);
  ASSERT_TRUE(sourceLines.filter("PICTURE:3=image/png").size() == 1);
  EXPECT_EQ(mutagenTagLines(piece), testing::expectedPieceLines(sourceLines, "3/3"));
  const QString ffprobe = testing::ffprobeTags(piece);
  EXPECT_EQ(testing::keyedValue(ffprobe, "composer"), "Dvořák");
}

TEST_F(CarriedTags, TheEditorsFieldsWinOverTheSourcesFrames) {
  const QString source = path("source.mp3");
  testing::writeBytes(source, testing::makeMp3Tone(1.13));
  testing::tagRichMp3(source, dir_.path("cover.png"));
  AudioFileinfo info = readSourceTags(source, false).info;
  info.comment = QStringLiteral("Edited note");
  info.title = QString();  // cleared in the editor
  info.track = QStringLiteral("1/3");
  const QString piece = path("piece.mp3");
  testing::writeBytes(piece, testing::makeMp3Tone(0.37));
  WriteOutputTags(piece, info);
  const QStringList lines = mutagenTagLines(piece);
  EXPECT_TRUE(lines.contains("COMM::eng=Edited note"));
  EXPECT_EQ(lines.filter("COMM").size(), 1);
  EXPECT_TRUE(lines.filter("TIT2").isEmpty());
  EXPECT_EQ(lines.filter("PICTURE").size(), 1);
}

TEST_F(CarriedTags, AnUntaggedSourceGivesPiecesWithoutEmptyFrames) {
  const QString source = path("plain.mp3");
  testing::writeBytes(source, testing::makeMp3Tone(1.13));
  AudioFileinfo info = readSourceTags(source, false).info;
  EXPECT_TRUE(buildID3V23Tag({}).isEmpty());

  const QString bare = path("bare.mp3");
  testing::writeBytes(bare, testing::makeMp3Tone(0.37));
  WriteOutputTags(bare, info);
  EXPECT_FALSE(testing::readBytes(bare).startsWith("ID3"));  // nothing to say, no tag

  const QString piece = mp3PieceOf(source);
  EXPECT_EQ(mutagenTagLines(piece), QStringList{"TRCK=2/3"});
  const QString mpg123 = runOutsideTool("sh", {"-c", "mpg123 -v -t \"$0\" 2>&1", piece});
  EXPECT_FALSE(mpg123.contains("No comment text")) << mpg123.toStdString();
  EXPECT_FALSE(mpg123.contains("Empty")) << mpg123.toStdString();
}

TEST_F(CarriedTags, EditingASourcesFieldsKeepsItsOtherFrames) {
  const QString source = path("source.mp3");
  testing::writeBytes(source, testing::makeMp3Tone(1.13));
  testing::tagRichMp3(source, dir_.path("cover.png"));
  const QStringList before = mutagenTagLines(source);
  AudioFileinfo info = readFileTags(source);
  info.title = QStringLiteral("Renamed");
  writeFileTags(source, info);
  QStringList expected = before;
  expected.replaceInStrings("TIT2=Whole Song", "TIT2=Renamed");
  expected.sort();
  EXPECT_EQ(mutagenTagLines(source), expected);  // the file's own length and gain stay too

  const QString ogg = path("source.ogg");
  testing::makeOggVorbis(ogg, testing::richVorbisComments(png_), false, 0.37);
  AudioFileinfo oggInfo = readFileTags(ogg);
  oggInfo.artist = QStringLiteral("Other");
  writeFileTags(ogg, oggInfo);
  const QStringList oggLines = mutagenTagLines(ogg);
  EXPECT_EQ(oggLines.filter("PICTURE").size(), 1);
  EXPECT_TRUE(oggLines.contains("REPLAYGAIN_TRACK_GAIN=-6.20 dB"));
  EXPECT_TRUE(oggLines.contains("ARTIST=Other"));
}

TEST_F(CarriedTags, WmaPiecesCarryAttributesAndPictures) {
  const QString source = path("source.wma");
  testing::makeWma(source, 0.63);
  {
    TagLib::ASF::File file(QFile::encodeName(source).constData());
    ASSERT_TRUE(file.isValid());
    TagLib::ASF::Tag* tag = file.tag();
    tag->setTitle("Whole Song");
    tag->setAttribute("WM/Composer", TagLib::ASF::Attribute(TagLib::String("Composer")));
    tag->setAttribute("WM/BeatsPerMinute", TagLib::ASF::Attribute(112u));
    tag->setAttribute("ReplayGain_Track_Gain", TagLib::ASF::Attribute(TagLib::String("-3 dB")));
    tag->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(7u));
    TagLib::ASF::Picture picture;
    picture.setMimeType("image/png");
    picture.setType(TagLib::ASF::Picture::FrontCover);
    picture.setPicture(TagLib::ByteVector(png_.constData(), static_cast<unsigned>(png_.size())));
    tag->setAttribute("WM/Picture", TagLib::ASF::Attribute(picture));
    ASSERT_TRUE(file.save());
  }
  AudioFileinfo info = readSourceTags(source, false).info;
  info.track = QStringLiteral("2/3");
  const QString piece = path("piece.wma");
  testing::makeWma(piece, 0.37);
  WriteOutputTags(piece, info);

  TagLib::ASF::File file(QFile::encodeName(piece).constData());
  ASSERT_TRUE(file.isValid());
  const TagLib::ASF::Tag* tag = file.tag();
  ASSERT_TRUE(tag->contains("WM/Composer"));
  EXPECT_EQ(tag->attribute("WM/Composer").front().toString(), "Composer");
  ASSERT_TRUE(tag->contains("WM/BeatsPerMinute"));
  EXPECT_EQ(tag->attribute("WM/BeatsPerMinute").front().toUInt(), 112u);
  EXPECT_FALSE(tag->contains("ReplayGain_Track_Gain"));
  EXPECT_EQ(tag->attribute("WM/TrackNumber").front().toUInt(), 2u);
  ASSERT_TRUE(tag->contains("WM/Picture"));
  const TagLib::ASF::Picture carried = tag->attribute("WM/Picture").front().toPicture();
  EXPECT_EQ(carried.mimeType(), "image/png");
  EXPECT_EQ(QByteArray(carried.picture().data(), carried.picture().size()), png_);
  EXPECT_EQ(testing::keyedValue(testing::ffprobeTags(piece), "composer"), "Composer");
}

// Version 2.2 tags name frames with three letters and pictures by image
// format; a piece's 2.3 tag names them as 2.3 does.
TEST_F(CarriedTags, Version22FramesBecomeTheir23Names) {
  const auto frame22 = [](const char* id, const QByteArray& content) {
    const auto size = static_cast<quint32>(content.size());
    return QByteArray(id) + static_cast<char>(size >> 16) + static_cast<char>((size >> 8) & 0xFF) +
           static_cast<char>(size & 0xFF) + content;
  };
  const QByteArray body = frame22("TT2", QByteArray("\0Song", 5)) +
                          frame22("TCM", QByteArray("\0Composer", 9)) +
                          frame22("PIC", QByteArray("\0PNG\x03\0", 6) + png_) +
                          frame22("TLE", QByteArray("\0"
                                                    "1234",
                                                    5)) +
                          frame22("ZZZ", "odd");
  QByteArray bytes("ID3\x02\x00\x00", 6);
  for (int shift = 21; shift >= 0; shift -= 7)
    bytes.append(static_cast<char>((body.size() >> shift) & 0x7F));
  bytes += body;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const ID3StructV2 read = parseID3V2Tag(buffer);
  EXPECT_EQ(read.title, "Song");
  const QString piece = path("piece.mp3");
  ID3StructV2 written = read;
  written.title = QStringLiteral("Piece");
  testing::writeBytes(piece, buildID3V23Tag(written) + testing::makeMp3Tone(0.37));
  const QStringList lines = mutagenTagLines(piece);
  EXPECT_TRUE(lines.contains("TCOM=Composer"));
  EXPECT_TRUE(lines.contains("TLEN=1234"));  // a source's own tag keeps it; pieces filter it
  EXPECT_EQ(lines.filter("PICTURE:3=image/png").size(), 1);
  EXPECT_EQ(lines.size(), 4);  // TIT2, TCOM, TLEN, APIC; the unknown frame is gone
}

// Version 2.4 frames hold UTF-8 and several values; damaged frames are
// left out rather than written on.
TEST_F(CarriedTags, Version24TextsAreReencodedAndDamagedFramesLeftOut) {
  const auto syncsafe = [](qsizetype value) {
    QByteArray out;
    for (int shift = 21; shift >= 0; shift -= 7)
      out.append(static_cast<char>((value >> shift) & 0x7F));
    return out;
  };
  const auto frame24 = [&](const char* id, const QByteArray& content) {
    return QByteArray(id) + syncsafe(content.size()) + QByteArray(2, '\0') + content;
  };
  const QByteArray body =
      frame24("TCOM", QByteArray("\3Dvo\xC5\x99\xC3\xA1k\0Suk", 13)) +
      frame24("TXXX", QByteArray("\3MOOD\0calm", 10)) + frame24("ab!c", "\0junk") +
      frame24("APIC", QByteArray("\0image/png\0", 11)) + frame24("COMM", QByteArray("\0en", 3)) +
      frame24("TPE2", QByteArray("\3", 1)) +
      frame24("TLEN", QByteArray("\0"
                                 "99",
                                 3));
  QByteArray bytes = QByteArray("ID3\x04\x00\x00", 6) + syncsafe(body.size()) + body;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  ID3StructV2 read = parseID3V2Tag(buffer);
  read.track = QStringLiteral("1/2");
  const QString piece = path("piece.mp3");
  testing::writeBytes(piece, buildID3V23Tag(read) + testing::makeMp3Tone(0.37));
  EXPECT_EQ(mutagenTagLines(piece),
            (QStringList{"TCOM=Dvořák/Suk", "TLEN=99", "TRCK=1/2", "TXXX:MOOD=calm"}));
}

}  // namespace
}  // namespace tarvex

#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/vorbisfile.h>

#include <QFile>
#include <QTemporaryDir>

#include "tags/CleanName.h"
#include "tags/ID3Tags.h"
#include "tags/OggComments.h"
#include "tags/OutputTags.h"
#include "tags/SourceTagReader.h"
#include "tags/TagError.h"
#include "tags/WmaAttributes.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

AudioFileinfo sampleInfo() {
  AudioFileinfo info;
  info.title = "Title";
  info.artist = "Artist";
  info.year = "2011";
  info.album = "Album";
  info.comment = "Liner note";
  info.genre = "Genre";
  return info;
}

TEST(CleanNameTest, RemovesTheNineForbiddenCharactersOnly) {
  EXPECT_EQ(CleanName(QStringLiteral("a*b?c|d:e\"f/g\\h<i>j  ")), "abcdefghij  ");
  EXPECT_EQ(CleanName(QString::fromUtf16(u"Жук: 1/2")), QString::fromUtf16(u"Жук 12"));
}

TEST(WriteOutputTagsTest, ChoosesTheWriterByTheLowerCasedExtension) {
  QTemporaryDir dir;
  const QString mp3 = dir.filePath("piece_1.MP3");
  const QByteArray audio = testing::makeMp3Tone(0.3);
  testing::writeBytes(mp3, audio);
  WriteOutputTags(mp3, sampleInfo());
  ID3Tags id3;
  id3.ReadID3V2Tag(mp3);
  EXPECT_EQ(id3.LastID3V2.title, "Title");
  EXPECT_EQ(id3.LastID3V2.year, "2011");
  EXPECT_EQ(id3.LastID3V2.genre, "Genre");
  EXPECT_EQ(id3.LastID3V2.comment, "Liner note");
  EXPECT_TRUE(id3.LastID3V2.track.isEmpty());
  EXPECT_EQ(testing::readBytes(mp3).right(audio.size()), audio);

  const QString ogg = dir.filePath("piece_1.ogg");
  testing::makeOggVorbis(ogg, {"COMMENT=old"});
  WriteOutputTags(ogg, sampleInfo());
  OGGTag tag;
  ReadOggComments(ogg, tag);
  EXPECT_EQ(tag.title, "Title");
  EXPECT_EQ(tag.date, "2011");
  EXPECT_EQ(tag.album, "Album");
  EXPECT_EQ(tag.comment, "Liner note");  // replaces the piece's old one

  const QString wma = dir.filePath("piece_1.wma");
  testing::makeWma(wma, 0.3);
  WriteOutputTags(wma, sampleInfo());
  WmaTagRecord record;
  ReadWmaAttributes(wma, record);
  EXPECT_EQ(record.title, "Title");
  EXPECT_EQ(record.year, "2011");
  EXPECT_EQ(record.genre, "Genre");
  EXPECT_EQ(record.description, "Liner note");

  const QString wav = dir.filePath("piece_1.wav");
  testing::writeBytes(wav, "RIFF....WAVE");
  WriteOutputTags(wav, sampleInfo());
  EXPECT_EQ(testing::readBytes(wav), "RIFF....WAVE");
}

TEST(WriteOutputTagsTest, WriterErrorsPassThrough) {
  QTemporaryDir dir;
  const QString ogg = dir.filePath("broken.ogg");
  testing::writeBytes(ogg, "not an ogg file at all");
  EXPECT_THROW(WriteOutputTags(ogg, sampleInfo()), TagError);
  EXPECT_THROW(WriteOutputTags(dir.filePath("gone.mp3"), sampleInfo()), TagError);
}

TEST(ReadSourceTagsTest, Mp3CaptionFromId3v1ThenId3v2) {
  QTemporaryDir dir;
  const QString path = dir.filePath("song.mp3");
  QByteArray v1(128, '\0');
  v1.replace(0, 3, "TAG");
  v1.replace(3, 13, " V1: <title> ");
  testing::writeBytes(path, testing::makeMp3Tone(0.2) + v1);

  SourceTags tags = readSourceTags(path, false);
  EXPECT_EQ(tags.caption, "V1 title");  // no ID3v2 tag yet

  ID3StructV2 fields;
  fields.title = "Rock/Roll: Live";
  fields.artist = "Band";
  fields.album = "Album";
  fields.year = "1970";
  fields.comment = "Note";
  fields.genre = "Rock";
  ID3Tags().WriteID3V2Tag(path, fields);
  tags = readSourceTags(path, false);
  EXPECT_EQ(tags.caption, "RockRoll Live");
  EXPECT_EQ(tags.info.title, "RockRoll Live");
  EXPECT_EQ(tags.info.artist, "Band");
  EXPECT_EQ(tags.info.album, "Album");
  EXPECT_EQ(tags.info.comment, "Note");
  EXPECT_EQ(tags.info.genre, "Rock");
  EXPECT_EQ(tags.info.year, "1970");

  const SourceTags fromFolder = readSourceTags(path, true);
  EXPECT_EQ(fromFolder.caption, "Rock/Roll: Live");
  EXPECT_EQ(fromFolder.info.title, "RockRoll Live");

  EXPECT_THROW(readSourceTags(dir.filePath("missing.mp3"), false), TagError);
  EXPECT_TRUE(readSourceTags(dir.filePath("missing.wav"), false).caption.isEmpty());
}

TEST(ReadSourceTagsTest, OggAndWmaSources) {
  QTemporaryDir dir;
  const QString ogg = dir.filePath("a.OGG");
  testing::makeOggVorbis(ogg, {"TITLE=What?", "ARTIST=Me", "COMMENT=c", "DATE=1999"});
  const SourceTags oggTags = readSourceTags(ogg, false);
  EXPECT_EQ(oggTags.caption, "What");
  EXPECT_EQ(oggTags.info.title, "What");
  EXPECT_EQ(oggTags.info.artist, "Me");
  EXPECT_EQ(oggTags.info.comment, "c");
  EXPECT_EQ(oggTags.info.year, "1999");

  const QString wma = dir.filePath("b.wma");
  testing::makeWma(wma, 0.3);
  WmaTagRecord record;
  record.title = "Who?";
  record.description = "Desc";
  WriteWmaAttributes(wma, record);
  const SourceTags wmaTags = readSourceTags(wma, false);
  EXPECT_EQ(wmaTags.caption, "Who");
  EXPECT_EQ(wmaTags.info.title, "Who?");
  EXPECT_EQ(wmaTags.info.comment, "Desc");
}

}  // namespace
}  // namespace tarvex

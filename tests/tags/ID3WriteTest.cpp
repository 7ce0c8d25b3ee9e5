#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tags/ID3Tags.h"
#include "tags/ID3V2Writer.h"
#include "tags/TagError.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

class ID3Write : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath("piece_1.mp3");
  QByteArray audio = testing::makeMp3Tone(0.5);
  ID3Tags id3;

  void SetUp() override { testing::writeBytes(path, audio); }
};

QByteArray hex(const char* text) {
  return QByteArray::fromHex(text);
}

TEST_F(ID3Write, EmptyFieldsGiveNoFrameAndNoTag) {
  ID3StructV2 titled;
  titled.title = "Old";
  id3.WriteID3V2Tag(path, titled);
  ASSERT_TRUE(testing::readBytes(path).startsWith("ID3"));
  // Clearing every field removes the tag: no frame is ever written empty.
  id3.WriteID3V2Tag(path, {});
  EXPECT_EQ(testing::readBytes(path), audio);

  ID3StructV2 onlyTrack;
  onlyTrack.track = "2/5";
  const QByteArray tag = buildID3V23Tag(onlyTrack);
  EXPECT_EQ(tag.left(10), hex("49443303000000 000018"));
  EXPECT_EQ(tag.mid(10), hex("5452434B 00000004 0000 00322F35") + QByteArray(10, '\0'));
}

TEST_F(ID3Write, AsciiTitleIsWrittenInIso88591) {
  ID3StructV2 fields;
  fields.title = "abc";
  id3.WriteID3V2Tag(path, fields);
  const QByteArray bytes = testing::readBytes(path);
  EXPECT_EQ(bytes.mid(10, 14), QByteArray("TIT2") + hex("00000004 0000 00") + "abc");
  EXPECT_EQ(bytes.mid(6, 4), hex("00000018"));  // one frame of 14 bytes, 10 of padding
}

TEST_F(ID3Write, NonLatin1TitleIsWrittenInUtf16AndReadBack) {
  ID3StructV2 fields;
  fields.title = QString::fromUtf16(u"Жук");
  fields.comment = QString::fromUtf16(u"снег");
  fields.artist = QString::fromUtf16(u"Café");
  id3.WriteID3V2Tag(path, fields);
  const QByteArray bytes = testing::readBytes(path);
  EXPECT_EQ(bytes.mid(10, 19), QByteArray("TIT2") + hex("00000009 0000 01 FFFE 1604 4304 3A04"));
  EXPECT_EQ(bytes.mid(29, 15), QByteArray("TPE1") + hex("00000005 0000 00 436166E9"));

  ID3Tags reader;
  reader.ReadID3V2Tag(path);
  EXPECT_EQ(reader.LastID3V2.title, fields.title);
  EXPECT_EQ(reader.LastID3V2.comment, fields.comment);
  EXPECT_EQ(reader.LastID3V2.artist, fields.artist);

  TagLib::MPEG::File file(QFile::encodeName(path).constData());
  ASSERT_TRUE(file.isValid());
  ASSERT_TRUE(file.ID3v2Tag());
  EXPECT_EQ(QString::fromStdWString(file.ID3v2Tag()->title().toWString()), fields.title);
  EXPECT_EQ(QString::fromStdWString(file.ID3v2Tag()->comment().toWString()), fields.comment);
}

TEST_F(ID3Write, LongTextsAreCutOnACharacterBoundary) {
  ID3StructV2 fields;
  fields.title = QString(300, 'a');
  fields.artist = QString::fromUtf16(u"😀").repeated(100);  // surrogate pairs
  fields.album = QString(300, QChar(0x416));
  id3.WriteID3V2Tag(path, fields);
  ID3Tags reader;
  reader.ReadID3V2Tag(path);
  EXPECT_EQ(reader.LastID3V2.title, QString(255, 'a'));
  EXPECT_EQ(reader.LastID3V2.album, QString(126, QChar(0x416)));  // BOM + 126 units = 254 bytes
  EXPECT_EQ(reader.LastID3V2.artist, QString::fromUtf16(u"😀").repeated(63));
  EXPECT_EQ(testing::readBytes(path).right(audio.size()), audio);
}

TEST_F(ID3Write, TagGoesInFrontOfUnchangedAudioAndReplacesAnOldTag) {
  ID3StructV2 first;
  first.title = "A much longer first title than the second";
  id3.WriteID3V2Tag(path, first);
  ID3StructV2 second;
  second.title = "Song";
  second.artist = "Band";
  second.album = "Record";
  second.year = "2024";
  second.genre = "Rock";
  id3.WriteID3V2Tag(path, second);

  const QByteArray bytes = testing::readBytes(path);
  // The header, five frames with their texts, and the padding.
  EXPECT_EQ(bytes.size(), 10 + 5 * 11 + 4 + 4 + 6 + 4 + 4 + 10 + audio.size());
  EXPECT_EQ(bytes.right(audio.size()), audio);
  EXPECT_EQ(bytes.count("ID3"), 1);

  TagLib::MPEG::File file(QFile::encodeName(path).constData());
  ASSERT_TRUE(file.isValid());
  TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->header()->majorVersion(), 3u);
  EXPECT_EQ(tag->title(), "Song");
  EXPECT_EQ(tag->artist(), "Band");
  EXPECT_EQ(tag->album(), "Record");
  EXPECT_EQ(tag->year(), 2024u);
  EXPECT_EQ(tag->genre(), "Rock");
  EXPECT_GT(file.audioProperties()->lengthInMilliseconds(), 400);
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.mp3"});
}

TEST_F(ID3Write, ReadOnlyOutputIsMadeWritableByItsOwner) {
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  ID3StructV2 fields;
  fields.title = "Locked";
  id3.WriteID3V2Tag(path, fields);
  EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
  EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::ReadGroup));
  ID3Tags reader;
  reader.ReadID3V2Tag(path);
  EXPECT_EQ(reader.LastID3V2.title, "Locked");
}

TEST_F(ID3Write, FailureLeavesTheFileAndFolderAsTheyWere) {
  EXPECT_THROW(id3.WriteID3V2Tag(dir.filePath("missing.mp3"), {}), TagError);
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.mp3"});
  if (geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
  QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  try {
    id3.WriteID3V2Tag(path, {});
    ADD_FAILURE() << "writing into a read-only folder succeeded";
  } catch (const TagError& error) {
    EXPECT_TRUE(error.message().contains(path));
  }
  QFile::setPermissions(dir.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(testing::readBytes(path), audio);
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.mp3"});
}

TEST(ID3V1Read, TakesOnlyAnUpperCaseTagBlock) {
  QTemporaryDir dir;
  const QString path = dir.filePath("v1.mp3");
  QByteArray block(128, '\0');
  block.replace(0, 3, "TAG");
  block.replace(3, 9, "Caf\xE9 Song");
  block.replace(33, 6, "Artist");
  block.replace(93, 4, "1999");
  testing::writeBytes(path, QByteArray(500, '\x11') + block);
  ID3Tags id3;
  id3.ReadID3V1Tag(path);
  EXPECT_TRUE(id3.LastID3V1.hasTag());
  EXPECT_EQ(id3.LastID3V1.title(), QString::fromUtf16(u"Café Song"));
  EXPECT_EQ(id3.LastID3V1.artist(), "Artist");
  EXPECT_EQ(id3.LastID3V1.year(), "1999");

  block.replace(0, 3, "tag");
  testing::writeBytes(path, QByteArray(500, '\x11') + block);
  id3.ReadID3V1Tag(path);
  EXPECT_FALSE(id3.LastID3V1.hasTag());
  EXPECT_TRUE(id3.LastID3V1.title().isEmpty());
}

TEST(ID3V1Read, FullWidthTitleAndShortFiles) {
  QTemporaryDir dir;
  const QString path = dir.filePath("v1.mp3");
  QByteArray block(128, '\0');
  block.replace(0, 3, "TAG");
  block.replace(3, 30, QByteArray(30, 'T'));
  block.replace(33, 30, QByteArray(30, 'A'));
  testing::writeBytes(path, block);
  ID3Tags id3;
  id3.ReadID3V1Tag(path);
  EXPECT_EQ(id3.LastID3V1.title(), QString(30, 'T'));

  testing::writeBytes(path, block.left(127));  // one byte short of a block
  id3.ReadID3V1Tag(path);
  EXPECT_FALSE(id3.LastID3V1.hasTag());
  EXPECT_TRUE(id3.LastID3V1.title().isEmpty());

  EXPECT_THROW(id3.ReadID3V1Tag(dir.filePath("missing.mp3")), TagError);
}

}  // namespace
}  // namespace tarvex

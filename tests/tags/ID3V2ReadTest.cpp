#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include "tags/ID3Tags.h"
#include "tags/ID3V2Reader.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

QByteArray bigEndian32(quint32 value) {
  QByteArray out;
  for (int shift = 24; shift >= 0; shift -= 8)
    out.append(static_cast<char>((value >> shift) & 0xFF));
  return out;
}

QByteArray syncsafe32(quint32 value) {
  QByteArray out;
  for (int shift = 21; shift >= 0; shift -= 7)
    out.append(static_cast<char>((value >> shift) & 0x7F));
  return out;
}

QByteArray frame(const char* id, const QByteArray& content, int version = 3,
                 QByteArray flags = QByteArray(2, '\0')) {
  return QByteArray(id) +
         (version == 4 ? syncsafe32(content.size()) : bigEndian32(content.size())) + flags +
         content;
}

QByteArray tag(const QByteArray& body, int version = 3, char flags = 0) {
  return QByteArray("ID3") + static_cast<char>(version) + '\0' + flags + syncsafe32(body.size()) +
         body;
}

ID3StructV2 parse(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return parseID3V2Tag(buffer);
}

const QByteArray kAudio = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(400, '\x55');

TEST(ID3V2Read, DecodesEveryTextEncoding) {
  const QByteArray latin1 = QByteArray(
      "\x00"
      "Caf\xE9",
      5);
  const QByteArray utf16le = QByteArray("\x01\xFF\xFE", 3) + QByteArray("\x16\x04\x30\x04", 4);
  const QByteArray utf16bomBe = QByteArray("\x01\xFE\xFF", 3) + QByteArray("\x04\x16\x04\x30", 4);
  const QByteArray utf16be = QByteArray("\x02", 1) + QByteArray("\x26\x03\x00\x41", 4);
  const QByteArray utf8 = QByteArray("\x03", 1) + QString::fromUtf16(u"日本").toUtf8();
  const ID3StructV2 read =
      parse(tag(frame("TIT2", latin1) + frame("TPE1", utf16le) + frame("TALB", utf16bomBe) +
                frame("TCON", utf16be) + frame("TYER", utf8)) +
            kAudio);
  EXPECT_EQ(read.title, QString::fromUtf16(u"Café"));
  EXPECT_EQ(read.artist, QString::fromUtf16(u"Жа"));
  EXPECT_EQ(read.album, QString::fromUtf16(u"Жа"));
  EXPECT_EQ(read.genre, QString::fromUtf16(u"☃A"));
  EXPECT_EQ(read.year, QString::fromUtf16(u"日本"));
}

TEST(ID3V2Read, TextEndsAtItsTerminatorAndIsTrimmed) {
  const QByteArray title = QByteArray("\x00  Song\x00\x00\x00", 10);
  const QByteArray wide = QByteArray(
      "\x01\xFF\xFE"
      "A\0B\0\0\0C\0",
      11);
  const ID3StructV2 read = parse(tag(frame("TIT2", title) + frame("TPE1", wide)));
  EXPECT_EQ(read.title, "Song");
  EXPECT_EQ(read.artist, "AB");
}

TEST(ID3V2Read, SecondFrameWithSameIdWins) {
  const ID3StructV2 read = parse(
      tag(frame("TIT2", QByteArray("\0First", 6)) + frame("TIT2", QByteArray("\0Second", 7))));
  EXPECT_EQ(read.title, "Second");
}

TEST(ID3V2Read, CommentIsTheTextWithOrWithoutDescription) {
  EXPECT_EQ(parse(tag(frame("COMM", QByteArray("\0eng\0Plain", 10)))).comment, "Plain");
  EXPECT_EQ(parse(tag(frame("COMM", QByteArray("\0engLabel\0The text", 18)))).comment, "The text");
  const QByteArray wide = QByteArray(
      "\x01"
      "eng"
      "\xFF\xFE"
      "D\0\0\0"
      "\xFF\xFE"
      "T\0x\0",
      16);
  EXPECT_EQ(parse(tag(frame("COMM", wide))).comment, "Tx");
}

TEST(ID3V2Read, IdsAreMatchedExactly) {
  const ID3StructV2 read =
      parse(tag(frame("tit2", QByteArray("\0lower", 6)) + frame("TXXX", QByteArray("\0other", 6)) +
                frame("TPE1", QByteArray("\0Artist", 7))));
  EXPECT_TRUE(read.title.isEmpty());
  EXPECT_EQ(read.artist, "Artist");
}

TEST(ID3V2Read, NoTagGivesEmptyTexts) {
  // Bytes 6..9 would make a plausible size, but there is no "ID3" magic.
  QByteArray noTag = QByteArray("XYZ\x03\x00\x00\x00\x00\x00\x20", 10) +
                     frame("TIT2", QByteArray("\0Fake", 5)) + kAudio;
  EXPECT_TRUE(parse(noTag).title.isEmpty());
  EXPECT_TRUE(parse(kAudio).title.isEmpty());
  EXPECT_TRUE(parse(QByteArray("ID3\x03", 4)).title.isEmpty());  // shorter than 10 bytes
  EXPECT_TRUE(parse(QByteArray()).title.isEmpty());
}

TEST(ID3V2Read, TagRunningPastTheFileEndIsNotRead) {
  QByteArray bytes = tag(frame("TIT2", QByteArray("\0Title", 6)));
  bytes.replace(6, 4, syncsafe32(5000));
  EXPECT_TRUE(parse(bytes).title.isEmpty());
  // Size bytes that are not syncsafe make no tag either.
  QByteArray notSyncsafe = tag(frame("TIT2", QByteArray("\0Title", 6))) + kAudio;
  notSyncsafe[9] = static_cast<char>(0x80 | notSyncsafe[9]);
  EXPECT_TRUE(parse(notSyncsafe).title.isEmpty());
}

TEST(ID3V2Read, LyingFrameSizeStopsTheWalk) {
  QByteArray lying = frame("TPE1", QByteArray("\0Artist", 7));
  lying.replace(4, 4, bigEndian32(100000));
  const ID3StructV2 read = parse(tag(frame("TIT2", QByteArray("\0Title", 6)) + lying +
                                     frame("TALB", QByteArray("\0Album", 6))) +
                                 kAudio);
  EXPECT_EQ(read.title, "Title");
  EXPECT_TRUE(read.artist.isEmpty());
  EXPECT_TRUE(read.album.isEmpty());
}

TEST(ID3V2Read, LongFramesAreSkippedByTheirSize) {
  const QByteArray longTitle = QByteArray(1, '\0') + QByteArray(600, 'x');
  const ID3StructV2 read =
      parse(tag(frame("APIC", QByteArray(3000, '\xFF')) + frame("TIT2", longTitle) +
                frame("TPE1", QByteArray("\0After", 6))));
  EXPECT_EQ(read.title, QString(600, 'x'));
  EXPECT_EQ(read.artist, "After");
}

TEST(ID3V2Read, Version4FrameSizesAreSyncsafe) {
  // 200 bytes: syncsafe 00 00 01 48, which read as a plain number would be 328.
  const QByteArray title = QByteArray(1, '\x03') + QByteArray(199, 'y');
  const ID3StructV2 read = parse(tag(frame("TIT2", title, 4) + frame("TPE1",
                                                                     QByteArray("\x03"
                                                                                "Four",
                                                                                5),
                                                                     4),
                                     4) +
                                 kAudio);
  EXPECT_EQ(read.title, QString(199, 'y'));
  EXPECT_EQ(read.artist, "Four");
}

TEST(ID3V2Read, UnsynchronisationIsUndone) {
  const QByteArray synced = QByteArray(
      "\x00"
      "A\xFF\x00"
      "B",
      5);  // 0xFF 0x00 stands for 0xFF
  const ID3StructV2 v3 = parse(tag(frame("TIT2", QByteArray("\0A\xFF"
                                                            "B",
                                                            4))
                                       .replace(QByteArray("\xFF", 1), QByteArray("\xFF\x00", 2)),
                                   3, '\x80'));
  EXPECT_EQ(v3.title, QString::fromLatin1("A\xFF"
                                          "B"));
  const ID3StructV2 v4 = parse(tag(frame("TIT2", synced, 4, QByteArray("\x00\x02", 2)), 4));
  EXPECT_EQ(v4.title, QString::fromLatin1("A\xFF"
                                          "B"));
}

TEST(ID3V2Read, ExtendedHeaderIsSkippedAndBadOneSkipsTheTag) {
  const QByteArray extended3 = bigEndian32(6) + QByteArray(6, '\0');
  EXPECT_EQ(parse(tag(extended3 + frame("TIT2", QByteArray("\0Ext", 4)), 3, '\x40')).title, "Ext");
  const QByteArray extended4 = syncsafe32(6) + QByteArray("\x01\x00", 2);
  EXPECT_EQ(parse(tag(extended4 + frame("TIT2",
                                        QByteArray("\x03"
                                                   "Ext4",
                                                   5),
                                        4),
                      4, '\x40'))
                .title,
            "Ext4");
  const QByteArray broken = bigEndian32(9999) + frame("TIT2", QByteArray("\0Ext", 4));
  EXPECT_TRUE(parse(tag(broken, 3, '\x40')).title.isEmpty());
}

TEST(ID3V2Read, CompressedAndEncryptedFramesAreNotMisread) {
  const ID3StructV2 read =
      parse(tag(frame("TIT2", QByteArray("\0zzzz", 5), 3, QByteArray("\x00\x80", 2)) +
                frame("TPE1", QByteArray("\0secret", 7), 3, QByteArray("\x00\x40", 2)) +
                frame("TALB", QByteArray("\0Plain", 6))));
  EXPECT_TRUE(read.title.isEmpty());
  EXPECT_TRUE(read.artist.isEmpty());
  EXPECT_EQ(read.album, "Plain");
}

// Version 2.2 frame: three-letter id, 24-bit size, no flags.
QByteArray frame22(const char* id, const QByteArray& content) {
  return QByteArray(id) + bigEndian32(static_cast<quint32>(content.size())).mid(1) + content;
}

TEST(ID3V2Read, Version22TagsAreReadByTheirThreeLetterIds) {
  const QByteArray comment = QByteArray("\0eng\0Liner notes", 16);
  const ID3StructV2 read =
      parse(tag(frame22("TT2", QByteArray("\0Old Song", 9)) +
                    frame22("TP1", QByteArray("\x01\xFF\xFE\x16\x04\x30\x04", 7)) +
                    frame22("TAL", QByteArray("\0Album", 6)) +
                    frame22("TCO", QByteArray("\0(17)", 5)) + frame22("COM", comment) +
                    frame22("TYE", QByteArray("\0"
                                              "1999",
                                              5)) +
                    QByteArray(20, '\0'),
                2) +
            kAudio);
  EXPECT_EQ(read.title, "Old Song");
  EXPECT_EQ(read.artist, QString::fromUtf16(u"Жа"));
  EXPECT_EQ(read.album, "Album");
  EXPECT_EQ(read.genre, "Rock");  // genre 17 by number
  EXPECT_EQ(read.comment, "Liner notes");
  EXPECT_EQ(read.year, "1999");

  // Four-letter ids mean nothing in a 2.2 tag, nor three-letter ones in 2.3.
  EXPECT_TRUE(parse(tag(frame("TIT2", QByteArray("\0Four", 5)), 2)).title.isEmpty());
  EXPECT_TRUE(parse(tag(frame22("TT2", QByteArray("\0Three", 6)), 3)).title.isEmpty());
  // A size running past the tag ends the walk; what came before stays.
  const ID3StructV2 cut = parse(
      tag(frame22("TT2", QByteArray("\0Kept", 5)) + QByteArray("TP1\x00\xFF\xFF\0Lost", 11), 2));
  EXPECT_EQ(cut.title, "Kept");
  EXPECT_TRUE(cut.artist.isEmpty());
  // A compressed 2.2 tag (flag 0x40) cannot be read and is not misread.
  EXPECT_TRUE(parse(tag(frame22("TT2", QByteArray("\0Packed", 7)), 2, 0x40)).title.isEmpty());
  // Unsynchronisation applies to the whole 2.2 tag; the frame's size counts
  // the bytes once the stuffing is taken out.
  const ID3StructV2 unsynced =
      parse(tag(QByteArray("TT2\0\0\x04\0A\xFF\0B", 11), 2, static_cast<char>(0x80)));
  EXPECT_EQ(unsynced.title, QString::fromLatin1("A\xFF"
                                                "B"));
}

TEST(ID3V2Read, ReadingLeavesTheFileAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath("song.mp3");
  const QByteArray bytes = tag(frame("TIT2", QByteArray("\0Kept", 5))) + kAudio;
  testing::writeBytes(path, bytes);
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  const QFileDevice::Permissions permissions = QFile::permissions(path);
  const QDateTime modified = QFileInfo(path).lastModified();

  ID3Tags id3;
  id3.LastID3V2.artist = "stale";
  id3.ReadID3V2Tag(path);
  EXPECT_EQ(id3.LastID3V2.title, "Kept");
  EXPECT_TRUE(id3.LastID3V2.artist.isEmpty());
  EXPECT_EQ(QFile::permissions(path), permissions);
  EXPECT_FALSE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
  EXPECT_EQ(QFileInfo(path).lastModified(), modified);
  EXPECT_EQ(testing::readBytes(path), bytes);

  id3.ReadID3V2Tag(dir.filePath("missing.mp3"));
  EXPECT_TRUE(id3.LastID3V2.title.isEmpty());
}

}  // namespace
}  // namespace tarvex

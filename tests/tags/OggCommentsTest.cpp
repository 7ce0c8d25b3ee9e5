#include <gtest/gtest.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "tags/OggComments.h"
#include "tags/TagError.h"
#include "tags/VorbisCommentEditor.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

// The raw comments of a file, in order.
QList<QByteArray> rawComments(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  VorbisCommentEditor editor;
  EXPECT_TRUE(editor.open(file)) << editor.lastError().toStdString();
  QList<QByteArray> result;
  const vorbis_comment& block = editor.comments();
  for (int i = 0; i < block.comments; ++i) {
    result.append(QByteArray(block.user_comments[i], block.comment_lengths[i]));
  }
  return result;
}

class OggComments : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath("piece_1.ogg");
};

TEST_F(OggComments, KeysAreMatchedInAnyCaseAndTheFirstValueCounts) {
  testing::makeOggVorbis(path, {"TITLE=  Loud Title ", "aRtIsT=First", "artist=Second", "Album=Rec",
                                "DATE=2001", "tracknumber=7", "GENRE=Jazz", "comment=Note", "album",
                                "Al\x01"
                                "bum=Bad",
                                "COMPOSER=Someone"});
  OGGTag tag;
  tag.title = "stale";
  ReadOggComments(path, tag);
  EXPECT_EQ(tag.title, "Loud Title");
  EXPECT_EQ(tag.artist, "First");
  EXPECT_EQ(tag.album, "Rec");
  EXPECT_EQ(tag.date, "2001");
  EXPECT_EQ(tag.trackNumber, "7");
  EXPECT_EQ(tag.genre, "Jazz");
  EXPECT_EQ(tag.comment, "Note");
}

TEST_F(OggComments, NameValueRule) {
  const TStrComment plain = splitComment("TITLE=a=b");
  EXPECT_EQ(plain.name, "TITLE");
  EXPECT_EQ(plain.value, "a=b");
  EXPECT_EQ(plain.text, "TITLE=a=b");
  const TStrComment noEquals = splitComment("just text");
  EXPECT_TRUE(noEquals.name.isEmpty());
  EXPECT_EQ(noEquals.value, "just text");
  const TStrComment braceInName = splitComment("ti~tle=x");  // 0x7E is outside the range
  EXPECT_TRUE(braceInName.name.isEmpty());
  EXPECT_EQ(braceInName.value, "ti~tle=x");
  const TStrComment utf8 = splitComment(QString::fromUtf16(u"ARTIST=Ünï ☃").toUtf8());
  EXPECT_EQ(utf8.value, QString::fromUtf16(u"Ünï ☃"));
}

TEST_F(OggComments, WritesOnlyGivenFieldsInOrderAndKeepsAudioPackets) {
  testing::makeOggVorbis(path, {"ARTIST=Old", "COMPOSER=Gone", "TITLE=Old title"});
  const testing::OggPackets before = testing::readOggPackets(path);
  ASSERT_TRUE(before.pagesIntact);
  ASSERT_GT(before.packets.size(), 10);

  OGGTag tag;
  tag.date = "1987";
  tag.title = QString::fromUtf16(u"Nöel ☃");
  EXPECT_TRUE(WriteOggComments(path, tag));
  EXPECT_EQ(rawComments(path),
            (QList<QByteArray>{QString::fromUtf16(u"Title=Nöel ☃").toUtf8(), "Date=1987"}));

  const testing::OggPackets after = testing::readOggPackets(path);
  EXPECT_TRUE(after.pagesIntact);
  ASSERT_EQ(after.packets.size(), before.packets.size());
  EXPECT_EQ(after.packets[0], before.packets[0]);
  EXPECT_EQ(after.packets[2], before.packets[2]);
  EXPECT_EQ(after.packets.mid(3), before.packets.mid(3));
  EXPECT_EQ(after.granules.mid(3), before.granules.mid(3));

  TagLib::Ogg::Vorbis::File file(QFile::encodeName(path).constData());
  ASSERT_TRUE(file.isValid());
  EXPECT_EQ(QString::fromStdWString(file.tag()->title().toWString()), tag.title);
  EXPECT_EQ(file.tag()->year(), 1987u);
  EXPECT_TRUE(file.tag()->artist().isEmpty());
  EXPECT_GT(file.audioProperties()->lengthInMilliseconds(), 900);
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.ogg"});
}

TEST_F(OggComments, EveryWrittenKeyInItsOrderAndReadBack) {
  testing::makeOggVorbis(path, {});
  OGGTag tag{"Album", "Title", "Artist", "Comment", "Genre", "2020", "3", {"COMPOSER=Someone"}};
  WriteOggComments(path, tag);
  EXPECT_EQ(rawComments(path),
            (QList<QByteArray>{"Title=Title", "Artist=Artist", "Album=Album", "TrackNumber=3",
                               "Date=2020", "Genre=Genre", "Comment=Comment", "COMPOSER=Someone"}));
  OGGTag read;
  ReadOggComments(path, read);
  EXPECT_EQ(read.album, tag.album);
  EXPECT_EQ(read.trackNumber, tag.trackNumber);
  EXPECT_EQ(read.comment, tag.comment);
}

TEST_F(OggComments, HeaderGrowingOverSeveralPagesRenumbersLaterPages) {
  testing::makeOggVorbis(path, {"TITLE=short"});
  const testing::OggPackets before = testing::readOggPackets(path);
  OGGTag tag;
  tag.comment = QString(40000, 'c');
  tag.album = QString(40000, 'a');
  WriteOggComments(path, tag);
  const testing::OggPackets grown = testing::readOggPackets(path);
  EXPECT_TRUE(grown.pagesIntact);
  EXPECT_GT(grown.headerPages, before.headerPages);
  EXPECT_EQ(grown.packets.mid(3), before.packets.mid(3));

  WriteOggComments(path, {});  // and shrinking back
  const testing::OggPackets shrunk = testing::readOggPackets(path);
  EXPECT_TRUE(shrunk.pagesIntact);
  EXPECT_EQ(shrunk.packets.mid(3), before.packets.mid(3));
  EXPECT_TRUE(rawComments(path).isEmpty());
}

TEST_F(OggComments, AudioSharingThePageWithTheSetupHeaderIsKept) {
  testing::makeOggVorbis(path, {"TITLE=mixed"}, true);
  const testing::OggPackets before = testing::readOggPackets(path);
  ASSERT_TRUE(before.pagesIntact);
  OGGTag tag;
  tag.title = "Separated";
  WriteOggComments(path, tag);
  const testing::OggPackets after = testing::readOggPackets(path);
  EXPECT_TRUE(after.pagesIntact);
  EXPECT_EQ(after.packets.mid(3), before.packets.mid(3));
  EXPECT_EQ(after.granules.mid(3), before.granules.mid(3));
  TagLib::Ogg::Vorbis::File file(QFile::encodeName(path).constData());
  ASSERT_TRUE(file.isValid());
  EXPECT_EQ(file.tag()->title(), "Separated");
}

TEST_F(OggComments, ExistingTempNamedFileIsLeftAlone) {
  testing::makeOggVorbis(path, {});
  const QString bystander = dir.filePath("piece_1.temp");
  testing::writeBytes(bystander, "not ours");
  OGGTag tag;
  tag.title = "T";
  WriteOggComments(path, tag);
  EXPECT_EQ(testing::readBytes(bystander), "not ours");
  EXPECT_EQ(testing::folderEntries(dir.path()), (QStringList{"piece_1.ogg", "piece_1.temp"}));
}

TEST_F(OggComments, BadFilesGiveReadableErrorsAndStayUnchanged) {
  testing::writeBytes(path, QByteArray(5000, 'x'));
  OGGTag tag;
  try {
    ReadOggComments(path, tag);
    ADD_FAILURE() << "no error";
  } catch (const TagError& error) {
    EXPECT_TRUE(error.message().startsWith("Cannot open " + path + ": "));
  }
  EXPECT_THROW(WriteOggComments(path, tag), TagError);
  EXPECT_EQ(testing::readBytes(path), QByteArray(5000, 'x'));

  // Cut inside the headers.
  testing::makeOggVorbis(path, {"TITLE=x"});
  const QByteArray whole = testing::readBytes(path);
  testing::writeBytes(path, whole.left(200));
  EXPECT_THROW(ReadOggComments(path, tag), TagError);
  EXPECT_THROW(WriteOggComments(path, tag), TagError);
  EXPECT_EQ(testing::readBytes(path), whole.left(200));

  EXPECT_THROW(ReadOggComments(dir.filePath("missing.ogg"), tag), TagError);
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.ogg"});
}

TEST_F(OggComments, EditorReportsWriteFailures) {
  testing::makeOggVorbis(path, {});
  QFile input(path);
  ASSERT_TRUE(input.open(QIODevice::ReadOnly));
  VorbisCommentEditor editor;
  ASSERT_TRUE(editor.open(input));
  QBuffer closed;  // not open: every write fails
  EXPECT_FALSE(editor.write(closed));
  EXPECT_FALSE(editor.lastError().isEmpty());
}

}  // namespace
}  // namespace tarvex

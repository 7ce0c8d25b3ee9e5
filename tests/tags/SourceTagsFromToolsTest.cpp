// Sources tagged by the tools users have, read by us, and the pieces we tag
// from them read back by those tools.
#include <gtest/gtest.h>

#include <QFile>

#include "tags/GenreNames.h"
#include "tags/OutputTags.h"
#include "tags/SourceTagReader.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

using testing::ffprobeTags;
using testing::keyedValue;
using testing::runOutsideTool;

class SourceTagsFromToolsTest : public ::testing::Test {
 protected:
  // An untagged MP3 (LAME-encoded); the tools under test add the tags.
  QString untaggedMp3(const QString& name) {
    const QString mp3 = folder_.path(name);
    testing::writeBytes(mp3, testing::makeMp3Tone(0.2));
    return mp3;
  }

  // A piece as the split runner leaves it, tagged from `info`.
  QString tagPiece(const QString& name, const AudioFileinfo& info) {
    const QString path = folder_.path(name);
    if (name.endsWith(".mp3")) {
      testing::writeBytes(path, testing::makeMp3Tone(0.2));
    } else if (name.endsWith(".ogg")) {
      testing::makeOggVorbis(path, {}, false, 0.2);
    } else {
      testing::makeWma(path, 0.2);
    }
    WriteOutputTags(path, info);
    return path;
  }

  QString mid3v2List(const QString& path) { return runOutsideTool("mid3v2", {"-l", path}); }
  QString vorbiscommentList(const QString& path) {
    return runOutsideTool("vorbiscomment", {"-l", path});
  }

  testing::TempFolder folder_;
};

TEST_F(SourceTagsFromToolsTest, YearReachesPiecesOfEveryFormat) {
  const QString v23 = untaggedMp3("v23.mp3");
  runOutsideTool("id3v2", {"-2", "-y", "1987", v23});
  const AudioFileinfo fromV23 = readSourceTags(v23, false).info;
  EXPECT_EQ(fromV23.year, "1987");
  EXPECT_EQ(keyedValue(mid3v2List(tagPiece("a.mp3", fromV23)), "TYER"), "1987");
  EXPECT_EQ(keyedValue(vorbiscommentList(tagPiece("a.ogg", fromV23)), "DATE"), "1987");
  EXPECT_EQ(keyedValue(ffprobeTags(tagPiece("a.wma", fromV23)), "wm_year"), "1987");

  // A 2.4 recording time: the whole date carries to Ogg, its year to TYER.
  const QString v24 = untaggedMp3("v24.mp3");
  runOutsideTool("mid3v2", {"-y", "2021-05-03", v24});
  ASSERT_EQ(keyedValue(mid3v2List(v24), "TDRC"), "2021-05-03");
  const AudioFileinfo fromV24 = readSourceTags(v24, false).info;
  EXPECT_EQ(fromV24.year, "2021-05-03");
  const QString mp3Piece = tagPiece("b.mp3", fromV24);
  EXPECT_EQ(keyedValue(mid3v2List(mp3Piece), "TYER"), "2021");
  EXPECT_EQ(keyedValue(ffprobeTags(mp3Piece), "date"), "2021");
  EXPECT_EQ(keyedValue(vorbiscommentList(tagPiece("b.ogg", fromV24)), "DATE"), "2021-05-03");

  const QString ogg = folder_.path("src.ogg");
  testing::makeOggVorbis(ogg, {}, false, 0.2);
  runOutsideTool("vorbiscomment", {"-w", "-t", "DATE=1999", "-t", "TITLE=T", ogg});
  const AudioFileinfo fromOgg = readSourceTags(ogg, false).info;
  EXPECT_EQ(fromOgg.year, "1999");
  EXPECT_EQ(keyedValue(mid3v2List(tagPiece("c.mp3", fromOgg)), "TYER"), "1999");

  const QString wma = folder_.path("src.wma");
  runOutsideTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=d=0.2", "-metadata",
                            "WM/Year=2003", "-c:a", "wmav2", wma});
  ASSERT_EQ(keyedValue(ffprobeTags(wma), "wm_year"), "2003");
  const AudioFileinfo fromWma = readSourceTags(wma, false).info;
  EXPECT_EQ(fromWma.year, "2003");
  EXPECT_EQ(keyedValue(mid3v2List(tagPiece("d.mp3", fromWma)), "TYER"), "2003");
}

TEST_F(SourceTagsFromToolsTest, Id3v1FieldsFillWhatTheId3v2TagLacks) {
  const QString path = untaggedMp3("v1.mp3");
  runOutsideTool("id3v2", {"-1", "-t", "V1 Title", "-a", "V1 Artist", "-A", "Album", "-y", "1999",
                           "-g", "17", path});
  const QString outside = runOutsideTool("id3v2", {"-l", path});
  ASSERT_TRUE(outside.contains("V1 Artist") && outside.contains("Rock")) << outside.toStdString();

  SourceTags tags = readSourceTags(path, false);
  EXPECT_EQ(tags.caption, "V1 Title");
  EXPECT_EQ(tags.info.title, "V1 Title");
  EXPECT_EQ(tags.info.artist, "V1 Artist");
  EXPECT_EQ(tags.info.album, "Album");
  EXPECT_EQ(tags.info.year, "1999");
  EXPECT_EQ(tags.info.genre, "Rock");
  const QString piece = mid3v2List(tagPiece("p.mp3", tags.info));
  EXPECT_EQ(keyedValue(piece, "TPE1"), "V1 Artist");
  EXPECT_EQ(keyedValue(piece, "TCON"), "Rock");
  EXPECT_EQ(keyedValue(piece, "TYER"), "1999");

  // Once an ID3v2 tag names title and artist, those win; the rest stays ID3v1's.
  runOutsideTool("mid3v2", {"-t", "V2 Title", "-a", "V2 Artist", path});
  tags = readSourceTags(path, false);
  EXPECT_EQ(tags.info.title, "V2 Title");
  EXPECT_EQ(tags.info.artist, "V2 Artist");
  EXPECT_EQ(tags.info.album, "Album");
  EXPECT_EQ(tags.info.year, "1999");

  // From a folder the caption comes from ID3v2 alone, the fields as above.
  const SourceTags fromFolder = readSourceTags(path, true);
  EXPECT_EQ(fromFolder.caption, "V2 Title");
  EXPECT_EQ(fromFolder.info.album, "Album");
}

TEST_F(SourceTagsFromToolsTest, NumericGenresBecomeNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"(17)", "Rock"}, {"17", "Rock"}, {"(17)Rock", "Rock"}, {"(RX)", "Remix"}, {"(CR)", "Cover"}};
  for (const auto& [written, name] : cases) {
    const QString path = untaggedMp3(QStringLiteral("g%1.mp3").arg(QString(written).size()));
    runOutsideTool("mid3v2", {"-g", written, path});
    ASSERT_EQ(keyedValue(mid3v2List(path), "TCON"), name) << written;
    const AudioFileinfo info = readSourceTags(path, false).info;
    EXPECT_EQ(info.genre, name) << written;
    EXPECT_EQ(keyedValue(vorbiscommentList(tagPiece("g.ogg", info)), "GENRE"), name) << written;
    QFile::remove(path);
  }

  const QString eyed3 = untaggedMp3("e.mp3");
  runOutsideTool("eyeD3", {"-Q", "--to-v2.3", "-G", "17", eyed3});
  EXPECT_EQ(readSourceTags(eyed3, false).info.genre, "Rock");
}

TEST(GenreFromID3TextTest, ReferencesRefinementsAndPlainText) {
  EXPECT_EQ(genreFromID3Text("(9)(17)"), "Metal");
  EXPECT_EQ(genreFromID3Text("(17)Heavy Rock"), "Heavy Rock");
  EXPECT_EQ(genreFromID3Text("((Bracketed)"), "(Bracketed)");
  EXPECT_EQ(genreFromID3Text("(200)"), "(200)");
  EXPECT_EQ(genreFromID3Text("200"), "200");
  EXPECT_EQ(genreFromID3Text("147"), "SynthPop");
  EXPECT_EQ(genreFromID3Text("Rock (live)"), "Rock (live)");
  EXPECT_EQ(genreFromID3Text(""), "");
}

TEST_F(SourceTagsFromToolsTest, TheCommentUsersWroteIsChosen) {
  // mutagen puts the undescribed comment first, id3v2 after the iTunes block.
  const QString mutagen = untaggedMp3("m.mp3");
  runOutsideTool("mid3v2", {"-c", "iTunNORM:00000123 00000456:eng", mutagen});
  runOutsideTool("mid3v2", {"-c", "Real comment", mutagen});
  EXPECT_EQ(keyedValue(ffprobeTags(mutagen), "comment"), "Real comment");
  EXPECT_EQ(readSourceTags(mutagen, false).info.comment, "Real comment");

  const QString id3v2 = untaggedMp3("i.mp3");
  runOutsideTool("id3v2", {"-2", "-c", "iTunNORM:00000123 00000456:eng", id3v2});
  runOutsideTool("id3v2", {"-2", "-c", "Plain text", id3v2});
  EXPECT_EQ(readSourceTags(id3v2, false).info.comment, "Plain text");

  // Only a described comment: it is still the file's comment.
  const QString described = untaggedMp3("d.mp3");
  runOutsideTool("mid3v2", {"-c", "Notes:Described:eng", described});
  EXPECT_EQ(readSourceTags(described, false).info.comment, "Described");

  const QString ogg = folder_.path("twice.ogg");
  testing::makeOggVorbis(ogg, {}, false, 0.2);
  runOutsideTool("vorbiscomment",
                 {"-w", "-t", "TITLE=First", "-t", "TITLE=Second", "-t", "GENRE=Jazz", ogg});
  ASSERT_TRUE(vorbiscommentList(ogg).contains("TITLE=Second"));
  const SourceTags oggTags = readSourceTags(ogg, false);
  EXPECT_EQ(oggTags.info.title, "First");
  EXPECT_EQ(oggTags.caption, "First");
  EXPECT_EQ(oggTags.info.genre, "Jazz");

  const QString wma = folder_.path("ffmpeg.wma");
  runOutsideTool("ffmpeg",
                 {"-v", "error", "-f", "lavfi", "-i", "sine=d=0.2", "-metadata",
                  "comment=Hello there", "-metadata", "title=Named", "-c:a", "wmav2", wma});
  ASSERT_EQ(keyedValue(ffprobeTags(wma), "comment"), "Hello there");
  const SourceTags wmaTags = readSourceTags(wma, false);
  EXPECT_EQ(wmaTags.info.comment, "Hello there");
  EXPECT_EQ(wmaTags.info.title, "Named");
}

}  // namespace
}  // namespace tarvex

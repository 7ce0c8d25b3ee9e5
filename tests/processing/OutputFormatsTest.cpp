#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

#include "components/skin/SkinWidget.h"
#include "processing/ConversionProgress.h"
#include "processing/EncoderProfile.h"
#include "processing/JoinRunner.h"
#include "processing/SplitRunner.h"
#include "tags/ID3Tags.h"
#include "tests/processing/JobMedia.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::decodeFrames;
using testing::JobMedia;
using testing::MainWindowHarness;

QString text(const TagLib::String& s) {
  return QString::fromStdString(s.to8Bit(true));
}

// The runners built over the real window's parts, with the format index
// given here (the window's selector lists MP3 alone).
class OutputFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.show();
    Tfm_main& window = harness.window();
    parts.window = &window;
    parts.state = &window.state();
    parts.platform = &harness.platform();
    parts.lv = &window.lv();
    parts.lv_time = &window.lv_time();
    parts.sm = &window.sm();
    parts.skin.pbpos = window.Skin1().findObject("pbpos");
    parts.sources = &window.sources();
    tagged = harness.mediaPath("tagged.mp3");
    ASSERT_TRUE(QFile::copy(JobMedia::get().b7, tagged));
    ID3Tags().WriteID3V2Tag(tagged, testing::songTags());
    harness.state().splitFunction = SplitFunction::EveryNSeconds;
    harness.state().pieceSeconds = 4;
    harness.addFiles({tagged});
    harness.window().sources().at(0).tags.year = "2019";  // as the tag editor sets it
  }

  JobServices services() {
    return JobServices{parts,
                       harness.window().segmentList(),
                       harness.window().AudioFileRead(),
                       harness.window().AudioFile2write(),
                       harness.window().mp3Encoder(),
                       harness.window().transform(),
                       harness.window().settings(),
                       bar,
                       harness.platform(),
                       {},
                       [this] { return formatIndex; },
                       {},
                       {},
                       {}};
  }
  QString out(const QString& name) const { return harness.outputDir() + name; }

  MainWindowHarness harness;
  WindowParts parts;
  ConversionProgress bar{nullptr};
  QString tagged;
  int formatIndex = 0;
};

TEST_F(OutputFormats, WavPiecesCarryNoTags) {
  formatIndex = kFormatWav;
  EXPECT_EQ(SplitRunner(services()).TimeAudioSplitter(), JobOutcome::Completed);
  ASSERT_EQ(QDir(harness.outputDir()).entryList(QDir::Files),
            QStringList({"Morning Song_1.wav", "Morning Song_2.wav"}));
  const testing::Decoded first = decodeFrames(out("Morning Song_1.wav"));
  EXPECT_EQ(first.sampleRate, 44100) << "the WAV profile's CD quality";
  EXPECT_NEAR(static_cast<double>(first.frames), 4.0 * 44100, 64.0);
  TagLib::RIFF::WAV::File file(QFile::encodeName(out("Morning Song_1.wav")).constData());
  ASSERT_TRUE(file.isValid());
  EXPECT_FALSE(file.hasID3v2Tag());
  EXPECT_FALSE(file.hasInfoTag());
}

TEST_F(OutputFormats, WmaPiecesCarryTheSourcesTagsAsAttributes) {
  formatIndex = kFormatWma;
  EXPECT_EQ(SplitRunner(services()).TimeAudioSplitter(), JobOutcome::Completed);
  const QString piece = out("Morning Song_2.wma");
  ASSERT_TRUE(QFile::exists(piece));
  TagLib::ASF::File file(QFile::encodeName(piece).constData());
  ASSERT_TRUE(file.isValid());
  EXPECT_EQ(text(file.tag()->title()), "Morning Song");
  EXPECT_EQ(text(file.tag()->artist()), "Quiet Band");
  EXPECT_EQ(text(file.tag()->album()), "First Light");
  EXPECT_NEAR(static_cast<double>(decodeFrames(piece).frames) / decodeFrames(piece).sampleRate, 3.0,
              0.1);
}

TEST_F(OutputFormats, OggPiecesCarryTheSourcesTagsAsComments) {
  formatIndex = kFormatOgg;
  EXPECT_EQ(SplitRunner(services()).TimeAudioSplitter(), JobOutcome::Completed);
  const QString piece = out("Morning Song_1.ogg");
  TagLib::Ogg::Vorbis::File file(QFile::encodeName(piece).constData());
  ASSERT_TRUE(file.isValid());
  EXPECT_EQ(text(file.tag()->title()), "Morning Song");
  EXPECT_EQ(text(file.tag()->genre()), "Ambient");
  EXPECT_EQ(file.tag()->year(), 2019u);
  const testing::Decoded decoded = decodeFrames(piece);
  EXPECT_NEAR(static_cast<double>(decoded.frames) / decoded.sampleRate, 4.0, 0.01);
}

TEST_F(OutputFormats, AJoinWritesTheFormatOfTheChosenFilter) {
  JoinOutput output{out("joined.wav"), kFormatWav};
  EXPECT_EQ(JoinRunner(services()).WholeAudioJoiner(output), JobOutcome::Completed);
  const testing::Decoded joined = decodeFrames(out("joined.wav"));
  EXPECT_EQ(joined.sampleRate, 44100);
  EXPECT_NEAR(static_cast<double>(joined.frames), 7.0 * 44100, 64.0);
  EXPECT_FALSE(harness.state().jobRunning);
}

TEST_F(OutputFormats, AnIndexOutsideTheFunctionsRunsNothing) {
  EXPECT_EQ(SplitRunner(services()).runFor(7), JobOutcome::NothingRan);
  EXPECT_EQ(JoinRunner(services()).runFor(-1, JoinOutput{out("x.mp3"), 0}), JobOutcome::NothingRan);
  EXPECT_TRUE(QDir(harness.outputDir()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace tarvex

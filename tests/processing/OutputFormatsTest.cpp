#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <QDir>
#include <QFile>

#include <QSignalSpy>

#include "config/SettingsFile.h"
#include "processing/EncoderProfile.h"
#include "processing/JobExecutor.h"
#include "processing/JobPlanning.h"
#include "sources/SourceProbe.h"
#include "tags/ID3Tags.h"
#include "tests/processing/JobMedia.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::decodeFrames;
using testing::JobMedia;

QString text(const TagLib::String& s) {
  return QString::fromStdString(s.to8Bit(true));
}

// Split and join plans in the formats the selector could offer, run by the
// executor without a window.
class OutputFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    tagged = folder.path("tagged.mp3");
    ASSERT_TRUE(QFile::copy(JobMedia::get().b7, tagged));
    ID3Tags().WriteID3V2Tag(tagged, testing::songTags());
    ProbeResult probed = probeSource(tagged, false);
    ASSERT_EQ(probed.outcome, ProbeResult::Outcome::Added);
    probed.record.tags.year = "2019";  // as the tag editor sets it
    sources.push_back(probed.record);
    QDir().mkpath(folder.path("out"));
    settings.function = SplitFunction::EveryNSeconds;
    settings.pieceSeconds = 4;
    settings.outputDir = folder.path("out") + QLatin1Char('/');
  }

  EncoderProfile profile() const {
    return LoadEncoderProfile(SettingsFile(folder.path("Quillmere.ini")), formatIndex, QString());
  }
  template <typename Plan>
  JobExecutor::JobResult run(Plan plan) {
    JobExecutor executor;
    QSignalSpy finished(&executor, &JobExecutor::jobFinished);
    EXPECT_TRUE(executor.start(std::move(plan), JobExecutor::Options{}));
    EXPECT_TRUE(finished.wait(120000));
    return finished.at(0).at(0).value<JobExecutor::JobResult>();
  }
  JobExecutor::JobResult split() { return run(planSplit(sources, settings, profile())); }
  QString out(const QString& name) const { return settings.outputDir + name; }
  QStringList outputFiles() const { return QDir(settings.outputDir).entryList(QDir::Files); }

  testing::TempFolder folder;
  QString tagged;
  std::vector<SourceRecord> sources;
  JobSettings settings;
  int formatIndex = kFormatMp3;
};

TEST_F(OutputFormats, WavPiecesCarryNoTags) {
  formatIndex = kFormatWav;
  EXPECT_EQ(split(), JobExecutor::JobResult::Completed);
  ASSERT_EQ(outputFiles(), QStringList({"Morning Song_1.wav", "Morning Song_2.wav"}));
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
  EXPECT_EQ(split(), JobExecutor::JobResult::Completed);
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
  EXPECT_EQ(split(), JobExecutor::JobResult::Completed);
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
  formatIndex = kFormatWav;
  EXPECT_EQ(run(planJoin(sources, settings, profile(), out("joined.wav"))),
            JobExecutor::JobResult::Completed);
  const testing::Decoded joined = decodeFrames(out("joined.wav"));
  EXPECT_EQ(joined.sampleRate, 44100);
  EXPECT_NEAR(static_cast<double>(joined.frames), 7.0 * 44100, 64.0);
}

}  // namespace
}  // namespace tarvex

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "tests/cli/CliProgram.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

// Chapters as a podcast tool writes them, through mutagen (ID3v2.4): the
// table of contents lists them out of time order, "Opening" runs 1.104 s
// into "Middle", and "Marker" has no length.
constexpr const char* kChapterScript = R"(
import sys
from mutagen.id3 import ID3, CHAP, CTOC, CTOCFlags, TIT2
tags = ID3()
tags.add(TIT2(encoding=3, text=['Talk']))
tags.add(CTOC(element_id='toc', flags=CTOCFlags.TOP_LEVEL | CTOCFlags.ORDERED,
              child_element_ids=['mid', 'open', 'mark'], sub_frames=[]))
tags.add(CHAP(element_id='open', start_time=0, end_time=4321,
              sub_frames=[TIT2(encoding=3, text=['Opening'])]))
tags.add(CHAP(element_id='mid', start_time=3217, end_time=7789,
              sub_frames=[TIT2(encoding=3, text=['Middle'])]))
tags.add(CHAP(element_id='mark', start_time=5000, end_time=5000,
              sub_frames=[TIT2(encoding=3, text=['Marker'])]))
tags.save(sys.argv[1], v2_version=4)
)";

int64_t sampleAt(int64_t ms, int rate) {
  return std::llround(static_cast<double>(ms) / 1000.0 * rate);
}

class Chapters : public ::testing::Test {
 protected:
  TempFolder media_;
  TempFolder out_;
};

TEST_F(Chapters, SplitCutsEachChapterWithALengthAtItsExactSamples) {
  const QString source = media_.path("talk.mp3");
  const int64_t frames = writeToneFile(source, 9.4321, 44100, 1, AudioFormat::Mp3);
  ASSERT_GT(frames, 0);
  ASSERT_TRUE(runTool("/usr/bin/python3", {"-c", kChapterScript, source}).has_value());

  const CliRun plan = runCli({"split", "--chapters", source, "--dry-run", "--json"});
  ASSERT_EQ(plan.exitCode, 0) << plan.err.toStdString();
  const QJsonArray pieces = QJsonDocument::fromJson(plan.out.toUtf8())["outputs"].toArray();
  // The overlapping chapter ends where the next begins; the marker is skipped.
  ASSERT_EQ(pieces.size(), 2);
  EXPECT_EQ(pieces[0]["title"].toString(), "Opening");
  EXPECT_EQ(pieces[0]["firstSample"].toInteger(), 0);
  EXPECT_EQ(pieces[0]["endSample"].toInteger(), sampleAt(3217, 44100));
  EXPECT_EQ(pieces[1]["title"].toString(), "Middle");
  EXPECT_EQ(pieces[1]["firstSample"].toInteger(), sampleAt(3217, 44100));
  EXPECT_EQ(pieces[1]["endSample"].toInteger(), sampleAt(7789, 44100));

  const CliRun wav = runCli({"split", "--chapters", source, "--format", "wav", "--name",
                             "{n:02} {title} {start}", "-q", "-o", out_.path()});
  ASSERT_EQ(wav.exitCode, 0) << wav.err.toStdString();
  const QStringList written = QDir(out_.path()).entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(written, (QStringList{"01 Opening 0.00.wav", "02 Middle 0.03.wav"}));
  // WAV pieces are CD quality: the mono source's frames in two channels.
  EXPECT_EQ(static_cast<int64_t>(ffmpegSamplesS32(out_.path(written[0])).size()),
            sampleAt(3217, 44100) * 2);
  EXPECT_EQ(static_cast<int64_t>(ffmpegSamplesS32(out_.path(written[1])).size()),
            (sampleAt(7789, 44100) - sampleAt(3217, 44100)) * 2);

  // A file without chapters is refused, with its name.
  const QString plain = media_.path("plain.wav");
  ASSERT_GT(writeToneFile(plain, 2.5, 44100, 1, AudioFormat::Wav), 0);
  const CliRun none = runCli({"split", "--chapters", plain, "--dry-run"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.err.contains("plain.wav")) << none.err.toStdString();
}

TEST_F(Chapters, JoinWritesOneChapterPerFileAtTheCumulativeExactLengths) {
  const QStringList names{"first.wav", "second.wav", "third.wav"};
  const std::vector<double> seconds{1.2345, 2.0503, 0.8766};
  QStringList arguments{"join"};
  std::vector<int64_t> starts{0};
  for (size_t i = 0; i < seconds.size(); ++i) {
    const QString path = media_.path(names[static_cast<qsizetype>(i)]);
    const int64_t frames = writeToneFile(path, seconds[i], 44100, 2, AudioFormat::Wav);
    ASSERT_GT(frames, 0);
    starts.push_back(starts.back() + frames);
    arguments << path;
  }
  const QString joined = out_.path("all.mp3");
  const CliRun run = runCli(arguments + QStringList{"-q", "-o", joined});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  const QString listing = runOutsideTool("ffprobe", {"-v", "error", "-show_chapters", "-of", "json",
                                                     QDir::toNativeSeparators(joined)});
  const QJsonArray chapters = QJsonDocument::fromJson(listing.toUtf8())["chapters"].toArray();
  ASSERT_EQ(chapters.size(), 3) << listing.toStdString();
  for (qsizetype i = 0; i < chapters.size(); ++i) {
    SCOPED_TRACE(i);
    const QJsonObject chapter = chapters[i].toObject();
    EXPECT_NEAR(chapter["start_time"].toString().toDouble(),
                static_cast<double>(starts[static_cast<size_t>(i)]) / 44100, 0.001);
    EXPECT_NEAR(chapter["end_time"].toString().toDouble(),
                static_cast<double>(starts[static_cast<size_t>(i) + 1]) / 44100, 0.001);
    EXPECT_TRUE(chapter["tags"]["title"].toString().startsWith(QFileInfo(names[i]).baseName()))
        << chapter["tags"]["title"].toString().toStdString();
  }
}

}  // namespace
}  // namespace tarvex::testing

// Piece names from a template, planned as both front ends plan them.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "cli/CliArguments.h"
#include "cli/UsageError.h"
#include "platform/Error.h"
#include "processing/JobPlanning.h"
#include "processing/NameTemplate.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::TempFolder;

NameFields fields() {
  NameFields f;
  f.n = 7;
  f.N = 12;
  f.title = QStringLiteral("Intro: Part 1/2");
  f.artist = QStringLiteral("Band");
  f.album = QStringLiteral("Live");
  f.year = QStringLiteral("1999");
  f.source = QStringLiteral("concert");
  f.startSeconds = 3725.4996;  // 1 h 2 min 5.4996 s
  return f;
}

TEST(NameTemplate, FieldsFillInAndTheNameIsSafe) {
  const NameFields f = fields();
  EXPECT_EQ(expandNameTemplate("{n:02} {title}", f), "07 Intro Part 12");
  EXPECT_EQ(expandNameTemplate("#{n:3}-{N} {artist} - {album} ({year}) {source}", f),
            "#  7-12 Band - Live (1999) concert");
  EXPECT_EQ(expandNameTemplate("{source} @{start} {start:ms}", f), "concert @1.02.05 3725500");
  NameFields early = f;
  early.startSeconds = 65.25;
  EXPECT_EQ(expandNameTemplate("{start}", early), "1.05");
  EXPECT_EQ(expandNameTemplate("{{{n}}}", f), "{7}");
  // Path tricks, control characters and names of dots come to nothing harmful.
  NameFields hostile = f;
  hostile.title = QStringLiteral("../../etc/passwd\t\x01\n");
  EXPECT_EQ(expandNameTemplate("{title}", hostile), "etcpasswd");
  hostile.title = QStringLiteral("..");
  EXPECT_EQ(expandNameTemplate("{title}", hostile), "");
  hostile.title = QStringLiteral("C:\\Windows\\x");
  EXPECT_EQ(expandNameTemplate("{title}", hostile), "CWindowsx");
}

TEST(NameTemplate, BadTemplatesAreRefusedWhenParsed) {
  for (const char* bad : {"{track}", "{n:0}", "{n:x}", "{n:10}", "{title:3}", "{start:s}", "{n"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(checkNameTemplate(QString::fromLatin1(bad)), Error);
    EXPECT_THROW(cli::parseCliArguments({"split", "a.mp3", "--every", "10", "--name", bad}),
                 cli::UsageError);
  }
  EXPECT_EQ(
      cli::parseCliArguments({"split", "a.mp3", "--every", "10", "--name", "{n} x"}).nameTemplate,
      "{n} x");
}

SourceRecord titledSource(const QString& folder) {
  SourceRecord record;
  record.path = folder + QStringLiteral("/show.mp3");
  record.caption = QStringLiteral("Show");
  record.sampleRate = 22050;
  record.channels = 1;
  record.frames = 30 * 22050 + 1234;
  record.durationMs = 30056;
  record.lengthSeconds = 30;
  record.tags.title = QStringLiteral("Show");
  MarkedRange one(0, 10, RangeState::Confirmed, QStringLiteral("Same"));
  MarkedRange two(10, 20, RangeState::Confirmed, QStringLiteral("Same"));
  MarkedRange three(20, 30, RangeState::Confirmed);  // no title of its own
  record.replaceMarks({one, two, three});
  return record;
}

TEST(NameTemplate, PlannedNamesNeverMeetAnExistingFileOrEachOther) {
  TempFolder out;
  const QString dir = out.path() + QLatin1Char('/');
  {
    QFile taken(dir + "01 Same.mp3");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
  }
  EncoderProfile mp3;
  JobSettings settings;
  settings.function = SplitFunction::Custom;
  settings.outputDir = dir;
  settings.nameTemplate = QStringLiteral("{n:02} {title}");
  const SplitPlan plan = planSplit({titledSource(out.path())}, settings, mp3);
  ASSERT_EQ(plan.pieces.size(), 3u);
  EXPECT_EQ(QFileInfo(plan.pieces[0].outputPath).fileName(), "01 Same_2.mp3");
  EXPECT_EQ(QFileInfo(plan.pieces[1].outputPath).fileName(), "02 Same.mp3");
  EXPECT_EQ(QFileInfo(plan.pieces[2].outputPath).fileName(), "03 Show.mp3")
      << "an untitled range takes the source's title";

  // Named by title (the window's option): only titled ranges; the others
  // keep the numbered names, counted from 1.
  settings.nameTemplate.clear();
  settings.namePiecesByTitle = true;
  const SplitPlan byTitle = planSplit({titledSource(out.path())}, settings, mp3);
  EXPECT_EQ(QFileInfo(byTitle.pieces[0].outputPath).fileName(), "01 Same_2.mp3");
  EXPECT_EQ(QFileInfo(byTitle.pieces[2].outputPath).fileName(), "Show_1.mp3");

  // A template that leaves nothing falls back to the numbered name.
  settings.nameTemplate = QStringLiteral("{album}");
  settings.namePiecesByTitle = false;
  const SplitPlan empty = planSplit({titledSource(out.path())}, settings, mp3);
  EXPECT_EQ(QFileInfo(empty.pieces[0].outputPath).fileName(), "Show_1.mp3");
}

}  // namespace
}  // namespace tarvex

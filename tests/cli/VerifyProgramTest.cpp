#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/cli/CliProgram.h"
#include "tests/support/LameSources.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

namespace tarvex::testing {
namespace {

// Pieces the program copied from an MP3 are judged exact; the same pieces
// given in the wrong order are not.
TEST(VerifyProgram, CopiedPiecesMatchTheirPlanAndSwappedPiecesDoNot) {
  TempFolder folder;
  const QString source =
      makeLameMp3(folder.path(), QStringLiteral("src"), 4.61, 44100, 2, {"-V", "4"});
  ASSERT_FALSE(source.isEmpty());
  const QStringList plan{source, "--every", "1.77", "--format", "mp3-copy"};
  const CliRun split =
      runCli(QStringList{"split"} + plan + QStringList{"-q", "-o", "out"}, folder.path());
  ASSERT_EQ(split.exitCode, 0) << split.err.toStdString();
  const QStringList pieces{"out/src_1.mp3", "out/src_2.mp3", "out/src_3.mp3"};

  const CliRun verify =
      runCli(QStringList{"verify", "split"} + plan + QStringList{"--json", "--outputs"} + pieces,
             folder.path());
  EXPECT_EQ(verify.exitCode, 0) << verify.out.toStdString() << verify.err.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(verify.out.toUtf8()).object();
  EXPECT_TRUE(report.value("passed").toBool());
  const QJsonArray outputs = report.value("outputs").toArray();
  ASSERT_EQ(outputs.size(), 3);
  for (const QJsonValue& output : outputs) {
    const QJsonObject part = output.toObject().value("parts").toArray().first().toObject();
    EXPECT_EQ(part.value("startOffset").toInt(-1), 0);
    EXPECT_LE(part.value("largestDifference").toDouble(-1), 1e-6);
    EXPECT_GE(part.value("largestDifference").toDouble(-1), 0.0);
    EXPECT_EQ(output.toObject().value("decodedLength"), output.toObject().value("plannedLength"));
  }

  const CliRun swapped = runCli(QStringList{"verify", "split"} + plan +
                                    QStringList{"--outputs", pieces[1], pieces[0], pieces[2]},
                                folder.path());
  EXPECT_EQ(swapped.exitCode, 1) << swapped.out.toStdString();
  EXPECT_TRUE(swapped.out.contains("does not match"));

  const CliRun tooFew = runCli(
      QStringList{"verify", "split"} + plan + QStringList{"--outputs", pieces[0]}, folder.path());
  EXPECT_EQ(tooFew.exitCode, 2);
  EXPECT_TRUE(tooFew.err.contains("3 pieces"));
}

// Split and join judge what they have just written when asked; the samples
// under a fade are left out and counted, so a faded piece is judged on the
// rest, and judging it as if unfaded finds the fade.
TEST(VerifyProgram, JobsVerifyWhatTheyWroteLeavingOutTheFadedSamples) {
  TempFolder folder;
  const QString source =
      makeLameMp3(folder.path(), QStringLiteral("src"), 5.07, 44100, 2, {"-b", "128"});
  ASSERT_FALSE(source.isEmpty());
  const QStringList copyPlan{source, "--every", "1.9", "--format", "mp3-copy", "--fade-in", "1"};
  const CliRun copied = runCli(
      QStringList{"split"} + copyPlan + QStringList{"-q", "-o", "copied", "--verify", "--json"},
      folder.path());
  ASSERT_EQ(copied.exitCode, 0) << copied.out.toStdString() << copied.err.toStdString();
  const QJsonObject report = QJsonDocument::fromJson(copied.out.toUtf8()).object();
  EXPECT_TRUE(report.value("passed").toBool());
  const QJsonArray outputs = report.value("outputs").toArray();
  ASSERT_EQ(outputs.size(), 3);
  for (const QJsonValue& output : outputs) {
    const QJsonObject check = output.toObject();
    EXPECT_EQ(check.value("fadedStart").toInteger(), 44100 + 441 + 1);
    EXPECT_EQ(check.value("fadedEnd").toInteger(), 0);
    EXPECT_EQ(check.value("decodedLength"), check.value("plannedLength"));
    const QJsonObject part = check.value("parts").toArray().first().toObject();
    EXPECT_EQ(part.value("startOffset").toInt(-1), 0);
    EXPECT_GT(part.value("comparedSamples").toInteger(), 0);
  }

  const QStringList wavPlan{source, "--every", "1.9", "--format", "wav", "--fade-out", "1"};
  const CliRun wav = runCli(
      QStringList{"split"} + wavPlan + QStringList{"-q", "-o", "wav", "--verify"}, folder.path());
  EXPECT_EQ(wav.exitCode, 0) << wav.out.toStdString() << wav.err.toStdString();
  EXPECT_EQ(wav.out.count("matches the plan"), 3) << wav.out.toStdString();
  EXPECT_TRUE(wav.out.contains("under fades, not compared: the first 0 and the last 44542 samples"))
      << wav.out.toStdString();
  const QStringList pieces{"wav/src_1.wav", "wav/src_2.wav", "wav/src_3.wav"};
  const CliRun unfaded = runCli(
      QStringList{"verify", "split", source, "--every", "1.9", "--format", "wav", "--outputs"} +
          pieces,
      folder.path());
  EXPECT_EQ(unfaded.exitCode, 1) << unfaded.out.toStdString();
  EXPECT_TRUE(unfaded.out.contains("differs from its source")) << unfaded.out.toStdString();

  const CliRun join =
      runCli({"join", pieces[0], pieces[1], "-o", "both.wav", "-q", "--verify"}, folder.path());
  EXPECT_EQ(join.exitCode, 0) << join.out.toStdString() << join.err.toStdString();
  EXPECT_TRUE(join.out.contains("matches the plan")) << join.out.toStdString();
  EXPECT_TRUE(join.out.contains("seam at output sample")) << join.out.toStdString();
}

}  // namespace
}  // namespace tarvex::testing

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

}  // namespace
}  // namespace tarvex::testing

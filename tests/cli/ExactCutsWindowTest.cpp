// The window cuts where the command line does: a source of no whole number
// of milliseconds split every 7 s, into 3 and by fractional ranges (from a
// label file) gives pieces from round(t × rate), re-encoded and copied.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>

#include "tests/support/ExactCuts.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/OutsideTool.h"
#include "tests/support/TempFolder.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex::testing {
namespace {

class ExactCutsWindow : public ::testing::TestWithParam<ExactCase> {
 protected:
  void SetUp() override {
    const ExactCase& exact = GetParam();
    source_ = harness_.mediaPath("src.mp3");
    ASSERT_TRUE(QDir().mkpath(harness_.mediaPath("")));
    ASSERT_EQ(writeAudioFile(source_, Signal::Noise, exact.frames, exact.rate, 2, {}),
              exact.frames);
    harness_.show();
  }

  // Marks the source as the case cuts it, through the window's own controls.
  void markTheCut() {
    const ExactCase& exact = GetParam();
    if (exact.labels.isEmpty()) {
      const bool every = QString(exact.name) == "every";
      harness_.mainSettings().splitFunction =
          every ? SplitFunction::EveryNSeconds : SplitFunction::EqualPieces;
      harness_.mainSettings().pieceSeconds = 7;
      harness_.mainSettings().pieceCount = 3;
      harness_.addFiles({source_});
      return;
    }
    harness_.addFiles({source_});
    const QString labels = harness_.mediaPath("src.txt");
    writeText(labels, exact.labels);
    harness_.platform().openAnswers.push_back({labels});
    harness_.triggerMenuItem("LoadMarks1");
    // The lists show the whole seconds the exact edges lie in.
    ASSERT_EQ(harness_.segmentRows(),
              QStringList({"00:00:01 - 00:00:05|00:00:04|OK", "00:00:07 - 00:00:11|00:00:04|OK",
                           "00:00:00 - 00:00:11|00:00:11|Uncertain"}));
  }

  // Splits into format row `format`; returns the pieces, in order.
  QStringList split(int format) {
    for (const QString& name : QDir(harness_.outputDir()).entryList(QDir::Files))
      QFile::remove(harness_.outputDir() + name);
    harness_.window().cb_format().setCurrentIndex(format);
    harness_.clickSkin("Split");
    QStringList pieces;
    for (size_t index = 0; index < GetParam().firsts.size(); ++index)
      pieces << harness_.outputDir() + QStringLiteral("src_%1.mp3").arg(index + 1);
    EXPECT_EQ(QDir(harness_.outputDir()).entryList(QDir::Files).size(), pieces.size());
    EXPECT_TRUE(harness_.platform().errors.isEmpty())
        << harness_.platform().errors.join('\n').toStdString();
    return pieces;
  }

  MainWindowHarness harness_;
  QString source_;
};

TEST_P(ExactCutsWindow, PiecesStartAtRoundTTimesRateReencodedAndCopied) {
  const ExactCase& exact = GetParam();
  ASSERT_NO_FATAL_FAILURE(markTheCut());

  // Re-encoded: mpg123 counts exactly the samples planned.
  const QStringList encoded = split(0);
  for (size_t index = 0; index < exact.firsts.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(mpg123Frames(encoded[static_cast<qsizetype>(index)], exact.rate),
              exact.endSample(index) - exact.firstSample(index));
  }

  // Copied frames: ffmpeg decodes each piece to its exact length and, between
  // the few frames encoded anew at each edge (with the granule and the
  // synthesis memory beside them), to the source's own samples at the
  // planned place.
  ASSERT_EQ(harness_.window().cb_format().itemText(4), "MP3 (no re-encode)");
  const QStringList copied = split(4);
  const std::vector<int32_t> whole = ffmpegSamplesS32(source_);
  ASSERT_EQ(static_cast<int64_t>(whole.size()), exact.frames * 2);
  const int64_t frameSamples = exact.rate >= 32000 ? 1152 : 576;
  const int64_t edge = 4 * frameSamples + 480;
  for (size_t index = 0; index < exact.firsts.size(); ++index) {
    SCOPED_TRACE(index);
    const int64_t first = exact.firstSample(index);
    const int64_t length = exact.endSample(index) - first;
    const std::vector<int32_t> samples = ffmpegSamplesS32(copied[static_cast<qsizetype>(index)]);
    ASSERT_EQ(static_cast<int64_t>(samples.size()), length * 2);
    ASSERT_GT(length, 2 * edge);
    EXPECT_TRUE(std::equal(samples.begin() + edge * 2, samples.end() - edge * 2,
                           whole.begin() + (first + edge) * 2))
        << "the piece is not the source's samples from " << first;
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, ExactCutsWindow, ::testing::ValuesIn(exactCases()),
                         [](const auto& info) { return exactCaseName(info.param); });

}  // namespace
}  // namespace tarvex::testing

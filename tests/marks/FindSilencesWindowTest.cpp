// Find silences in the window: the dialog's settings go to the settings file,
// the search runs on a worker and the pauses become the gaps between ranges.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QPushButton>

#include <QSpinBox>
#include "app/MarkCommands.h"
#include "app/dialogs/Tfm_silence.h"
#include "tests/support/ProgrammeAudio.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::Signal;
using testing::Stretch;

class FindSilencesWindow : public ::testing::Test {
 protected:
  void SetUp() override { harness.show(); }

  // Answers the next Find silences dialog with these values, or Cancel.
  void answerDialog(int thresholdDb, double seconds, bool ok = true) {
    harness.whenDialogOpens([this, thresholdDb, seconds, ok] {
      Tfm_silence& dialog = harness.window().markCommands().fm_silence();
      dialog.edt_threshold->setValue(thresholdDb);
      dialog.edt_length->setValue(seconds);
      (ok ? dialog.btn_ok : dialog.btn_cancel)->click();
    });
  }

  MainWindowHarness harness;
};

TEST_F(FindSilencesWindow, PausesBecomeTheGapsBetweenCustomRanges) {
  // Tone 2 s, pause 2 s, tone 2 s, pause 1.5 s, tone 2.5 s.
  const QString path = harness.mediaPath("talk.wav");
  testing::writeProgramme(path,
                          {{Signal::Tone, 2.0},
                           {Signal::Silence, 2.0},
                           {Signal::Tone, 2.0},
                           {Signal::Silence, 1.5},
                           {Signal::Tone, 2.5}},
                          testing::AudioFormat::Wav, 22050, 1);
  harness.addFiles({path});
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;

  answerDialog(-35, 1.2);
  harness.triggerMenuItem("FindSilences1");
  EXPECT_EQ(harness.mainSettings().splitFunction, SplitFunction::Custom);
  // Ranges are widened to whole seconds: 7.5 s starts at 7.
  EXPECT_EQ(
      harness.segmentRows(),
      QStringList({"00:00:00 - 00:00:02|00:00:02|OK", "00:00:04 - 00:00:06|00:00:02|OK",
                   "00:00:07 - 00:00:10|00:00:03|OK", "00:00:00 - 00:00:10|00:00:10|Uncertain"}));
  const QString stored = testing::readText(harness.settingsPath());
  EXPECT_TRUE(stored.contains("[Silence]\nThreshold=-35\nLength=1200\n")) << stored.toStdString();

  // A longer minimum leaves the 1.5-second pause inside a range.
  answerDialog(-35, 1.8);
  harness.triggerMenuItem("FindSilences1");
  EXPECT_EQ(harness.segmentRows(),
            QStringList({"00:00:00 - 00:00:02|00:00:02|OK", "00:00:04 - 00:00:10|00:00:06|OK",
                         "00:00:00 - 00:00:10|00:00:10|Uncertain"}));

  // Cancel runs nothing and keeps the stored settings.
  answerDialog(-20, 5.0, false);
  harness.triggerMenuItem("FindSilences1");
  EXPECT_EQ(harness.segmentRows().size(), 3);
  EXPECT_TRUE(testing::readText(harness.settingsPath()).contains("Length=1800"));
  EXPECT_TRUE(harness.platform().messages().isEmpty())
      << harness.platform().messages().join("; ").toStdString();
}

TEST_F(FindSilencesWindow, NoSourceOrNoPauseIsToldAndChangesNothing) {
  harness.triggerMenuItem("FindSilences1");
  EXPECT_EQ(harness.platform().informations, QStringList{kNoSourceForMarksMessage});

  harness.addFiles({testing::makeMp3Source(harness.mediaPath("tone.mp3"), 4.0)});
  const QStringList before = harness.segmentRows();
  answerDialog(-40, 1.0);
  harness.triggerMenuItem("FindSilences1");
  ASSERT_EQ(harness.platform().informations.size(), 2);
  EXPECT_TRUE(harness.platform().informations[1].contains("No pause"))
      << harness.platform().informations[1].toStdString();
  EXPECT_EQ(harness.segmentRows(), before);
}

}  // namespace
}  // namespace tarvex

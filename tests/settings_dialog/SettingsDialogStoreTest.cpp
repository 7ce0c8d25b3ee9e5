#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/dialogs/RadioGroup.h"
#include "app/dialogs/SpinEdit.h"
#include "app/dialogs/UpDown.h"
#include "tests/settings_dialog/SettingsDialogFixture.h"

namespace tarvex::testing {
namespace {

const QString kOggMessage = QStringLiteral(
    "This OGG format is not supported. \nYou have set too high frequency and too low bitrate or "
    "otherwise. \nPlease adjust the frequency or bitrate.");
const QString kMp3Message = QStringLiteral(
    "This MP3 format is not supported. \nYou have set too high frequency and too low bitrate or "
    "otherwise. \nPlease adjust the frequency or bitrate.");

TEST_F(SettingsDialogTest, OkWritesEveryKeyInOrderIntoANewFile) {
  open();
  Tfm_set& d = *dialog;
  d.edt_dir->setText("/music/out");
  d.cb_mp3_bitrate->setCurrentIndex(11);
  d.cb_mp3_channel->setCurrentIndex(3);
  d.cb_mp3_frequency->setCurrentIndex(5);
  d.ud_mp3_quality->setPosition(2);
  d.cb_mp3vbrcm->setCurrentIndex(2);
  d.cb_mp3_vbr->setCurrentIndex(12);
  d.ud_mp3_vbr->stepBy(3);  // 4 + 3
  d.ck_mp3_VBR->setChecked(false);
  d.ck_mp3_semb->setChecked(true);
  d.chHFilt->setChecked(true);
  d.udHFiltF->setValue(100);
  d.udHFiltW->setValue(6);
  d.udLFiltF->setValue(16000);
  d.udLFiltW->setValue(800);
  d.ck_bit->setChecked(false);
  d.ck_allow->setChecked(true);
  d.ck_crc->setChecked(true);
  d.cb_ath->setCurrentIndex(3);
  d.cb_de->setCurrentIndex(2);
  d.ck_preset->setChecked(true);
  d.rg_prest->setItemIndex(4);
  d.rg_alt->setItemIndex(1);
  d.rb_cdmode->setItemIndex(2);
  d.cb_wav_bit->setCurrentIndex(0);
  d.cb_wav_channel->setCurrentIndex(0);
  d.cb_wav_frequency->setCurrentIndex(3);
  d.cb_wma->setCurrentIndex(40);
  d.cb_ogg_channel->setCurrentIndex(0);
  d.cb_ogg_fre->setCurrentIndex(4);
  d.cb_ogg_bitrate->setCurrentIndex(6);
  d.cb_ogg_maxbit->setCurrentIndex(10);
  d.cb_ogg_minbit->setCurrentIndex(2);
  d.ck_oggquality->setChecked(true);
  d.edt_ogg_quality->setText("555");

  QTest::mouseClick(d.Ok, Qt::LeftButton);

  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(iniText(),
            "[Main]\nPath=/music/out\n"
            "[mp3]\nbitrate=11\nchannel=3\nfrequency=5\nquality=2\n"
            "[MP3VBR]\nCoding Method=2\nvbr bitrate=12\nvbr quality=7\nvbrck=0\nsemb=1\n"
            "[MP3Filt]\nchHFilt=1\nchLFilt=0\nudHFiltF=100\nudHFiltW=6\nudLFiltF=16000\n"
            "udLFiltW=800\n"
            "[MP3Expert]\nBit=0\nshort=1\nallow=1\ncomply=0\ncrc=1\nath=3\nde=2\n"
            "[MP3Prest]\npreset=1\nalt=0\nrg_prest=4\nrg_alt=1\n"
            "[wav]\nmode=2\nbit=0\nchannel=0\nfrequency=3\n"
            "[wma]\nformat=40\n"
            "[ogg]\nchannel=0\nfrequency=4\nbitrate=6\nmax bitrate=10\nmin bitrate=2\n"
            "quality=555\noggvbr=0\noggquality=1\n");
  EXPECT_EQ(state.outputDir, "/music/out/");
  EXPECT_EQ(replans, 1) << "the selected source is planned again";
  EXPECT_TRUE(oggChecks.empty()) << "the Ogg check is skipped in quality mode";
  ASSERT_EQ(mp3Checks.size(), 1u) << "the MP3 check runs with a preset chosen";
  EXPECT_EQ(mp3Checks[0].rate, 24000);
  EXPECT_EQ(mp3Checks[0].kbps, 192);
  EXPECT_EQ(mp3Checks[0].channelMode, 4);
}

TEST_F(SettingsDialogTest, OkTakesTheGeneralPageIntoTheState) {
  open();
  Tfm_set& d = *dialog;
  QTest::mouseClick(d.rb_time, Qt::LeftButton, {}, QPoint(6, 6));
  d.edt_time->setText("45");
  d.edt_count->setText("3");
  d.cb_fadein->setChecked(true);
  d.cb_fadeintime->setCurrentIndex(19);
  d.cb_fadeouttime->setCurrentIndex(0);
  EXPECT_FALSE(d.cb_titlenames->isChecked()) << "pieces keep their numbered names by default";
  d.cb_titlenames->setChecked(true);
  ASSERT_TRUE(d.OkClick());
  EXPECT_TRUE(state.namePiecesByTitle);
  EXPECT_EQ(state.splitFunction, SplitFunction::EveryNSeconds);
  EXPECT_EQ(state.pieceSeconds, 45);
  EXPECT_EQ(state.pieceCount, 3);
  EXPECT_TRUE(state.fadeIn);
  EXPECT_FALSE(state.fadeOut);
  EXPECT_EQ(state.fadeInSeconds, 20);
  EXPECT_EQ(state.fadeOutSeconds, 1);
  EXPECT_EQ(settings.GetText("Main", "Path", "?"), state.outputDir) << "already ends with '/'";
  EXPECT_FALSE(iniText().contains("Function")) << "the main window writes its own keys";
}

TEST_F(SettingsDialogTest, RefusedOggFormatStopsOkWithEditsInPlace) {
  oggSupported = false;
  open();
  Tfm_set& d = *dialog;
  d.cb_ogg_fre->setCurrentIndex(8);
  d.cb_ogg_bitrate->setCurrentIndex(0);
  d.cb_ogg_channel->setCurrentIndex(0);
  d.edt_time->setText("30");
  QTest::mouseClick(d.Ok, Qt::LeftButton);
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], kOggMessage);
  ASSERT_EQ(oggChecks.size(), 1u);
  EXPECT_EQ(oggChecks[0].rate, 48000);
  EXPECT_EQ(oggChecks[0].channels, 1);
  EXPECT_EQ(oggChecks[0].kbps, 8);
  EXPECT_EQ(oggChecks[0].minKbps, 128);
  EXPECT_TRUE(mp3Checks.empty());
  EXPECT_EQ(state.pieceSeconds, 60);
  EXPECT_EQ(d.edt_time->text(), "30");
  EXPECT_FALSE(QFile::exists(iniPath()));
  EXPECT_EQ(replans, 0);

  d.ck_oggquality->setChecked(true);
  mp3Supported = false;
  QTest::mouseClick(d.Ok, Qt::LeftButton);
  EXPECT_EQ(oggChecks.size(), 1u) << "skipped with \"Quality\" checked";
  ASSERT_EQ(platform.informations.size(), 2);
  EXPECT_EQ(platform.informations[1], kMp3Message);
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialogTest, UnusableCommandLineIsNamedAndStopsOk) {
  open();
  dialog->txtCommLine->setPlainText("-V 2 --bogus");
  EXPECT_FALSE(dialog->OkClick());
  EXPECT_EQ(validatedCommandLines, QStringList{"-V 2 --bogus"});
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_TRUE(platform.informations[0].contains("--bogus"));
  EXPECT_FALSE(QFile::exists(iniPath()));

  dialog->txtCommLine->setPlainText("-V 2");
  EXPECT_TRUE(dialog->OkClick());
  EXPECT_EQ(dialog->commandLineText(), "-V 2");
  open();
  EXPECT_EQ(dialog->commandLineText(), "-V 2") << "never reloaded";
  dialog->txtCommLine->clear();
  EXPECT_TRUE(dialog->OkClick());
  EXPECT_EQ(validatedCommandLines.size(), 2) << "an empty text is not checked";
}

TEST_F(SettingsDialogTest, NumberTooLargeIsRefusedAtOkAfterTakingTheFolder) {
  open();
  Tfm_set& d = *dialog;
  d.edt_dir->setText("/elsewhere");
  d.edt_count->setText("4294967296");
  EXPECT_FALSE(d.OkClick());
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], "'4294967296' is not a valid integer value");
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(state.outputDir, "/elsewhere/") << "what came before the refusal stays";
  EXPECT_EQ(state.pieceCount, 6);
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialogTest, EmptyFolderTextKeepsTheOutputFolder) {
  const QString before = state.outputDir;
  open();
  dialog->edt_dir->clear();
  dialog->edt_time->clear();  // OK by Enter leaves no field: the minimum rule still holds
  ASSERT_TRUE(dialog->OkClick());
  EXPECT_EQ(state.outputDir, before);
  EXPECT_EQ(state.pieceSeconds, 60);
  EXPECT_EQ(settings.GetText("Main", "Path", "?"), "");
}

TEST_F(SettingsDialogTest, SettingsFileThatCannotBeWrittenIsReported) {
  // A folder where the file should be makes every write fail.
  ASSERT_TRUE(QDir().mkpath(iniPath()));
  open();
  QTest::mouseClick(dialog->Ok, Qt::LeftButton);
  ASSERT_EQ(platform.errors.size(), 1);
  EXPECT_TRUE(platform.errors[0].contains("Unable to write to"));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(replans, 0);
}

}  // namespace
}  // namespace tarvex::testing

#include <QDir>
#include <QFile>

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
  SettingsDialogDriver& u = *ui;
  u.replaceText("edt_dir", "/music/out");
  u.chooseRow("cb_mp3_bitrate", 11);
  u.chooseRow("cb_mp3_channel", 3);
  u.chooseRow("cb_mp3_frequency", 5);
  u.step("ud_mp3_quality", -2);  // 4 - 2
  u.chooseRow("cb_mp3vbrcm", 2);
  u.chooseRow("cb_mp3_vbr", 12);
  u.step("ud_mp3_vbr", 3);  // 4 + 3
  u.tick("ck_mp3_VBR", false);
  u.tick("ck_mp3_semb");
  // A filter's fields take input while its box is ticked.
  u.tick("chLFilt");
  u.replaceText("udLFiltF", "16000");
  u.replaceText("udLFiltW", "800");
  u.tick("chLFilt", false);
  u.tick("chHFilt");
  u.replaceText("udHFiltF", "100");
  u.replaceText("udHFiltW", "6");
  u.tick("ck_bit", false);
  u.tick("ck_allow");
  u.tick("ck_crc");
  u.chooseRow("cb_ath", 3);
  u.chooseRow("cb_de", 2);
  // Each preset row is chosen while its box is ticked; the alternative's row stays when
  // its box is cleared.
  u.tick("ck_alt");
  u.chooseRow("rg_alt", 1);
  u.tick("ck_alt", false);
  u.tick("ck_preset");
  u.chooseRow("rg_prest", 4);
  u.chooseRow("rb_cdmode", 2);
  u.chooseRow("cb_wav_bit", 0);
  u.chooseRow("cb_wav_channel", 0);
  u.chooseRow("cb_wav_frequency", 3);
  u.chooseRow("cb_wma", 40);
  u.chooseRow("cb_ogg_channel", 0);
  u.chooseRow("cb_ogg_fre", 4);
  u.chooseRow("cb_ogg_bitrate", 6);
  u.tick("ck_oggvbr");
  u.chooseRow("cb_ogg_maxbit", 10);
  u.chooseRow("cb_ogg_minbit", 2);
  u.tick("ck_oggvbr", false);
  u.tick("ck_oggquality");
  u.replaceText("edt_ogg_quality", "555");

  EXPECT_TRUE(u.clickOk());

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
  SettingsDialogDriver& u = *ui;
  u.choose("rb_time");
  u.replaceText("edt_time", "45");
  u.replaceText("edt_count", "3");
  u.tick("cb_fadein");
  u.chooseRow("cb_fadeintime", 19);
  u.chooseRow("cb_fadeouttime", 0);
  EXPECT_FALSE(u.checked("cb_titlenames")) << "pieces keep their numbered names by default";
  u.tick("cb_titlenames");
  ASSERT_TRUE(u.pressEnter());
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
  SettingsDialogDriver& u = *ui;
  u.chooseRow("cb_ogg_fre", 8);
  u.chooseRow("cb_ogg_bitrate", 0);
  u.chooseRow("cb_ogg_channel", 0);
  u.replaceText("edt_time", "30");
  EXPECT_FALSE(u.clickOk());
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], kOggMessage);
  ASSERT_EQ(oggChecks.size(), 1u);
  EXPECT_EQ(oggChecks[0].rate, 48000);
  EXPECT_EQ(oggChecks[0].channels, 1);
  EXPECT_EQ(oggChecks[0].kbps, 8);
  EXPECT_EQ(oggChecks[0].minKbps, 128);
  EXPECT_TRUE(mp3Checks.empty());
  EXPECT_EQ(state.pieceSeconds, 60);
  EXPECT_EQ(u.text("edt_time"), "30");
  EXPECT_FALSE(QFile::exists(iniPath()));
  EXPECT_EQ(replans, 0);

  u.tick("ck_oggquality");
  mp3Supported = false;
  EXPECT_FALSE(u.clickOk());
  EXPECT_EQ(oggChecks.size(), 1u) << "skipped with \"Quality\" checked";
  ASSERT_EQ(platform.informations.size(), 2);
  EXPECT_EQ(platform.informations[1], kMp3Message);
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialogTest, UnusableCommandLineIsNamedAndStopsOk) {
  open();
  SettingsDialogDriver& u = *ui;
  u.replaceText("txtCommLine", "-V 2 --bogus");
  EXPECT_FALSE(u.clickOk());
  EXPECT_EQ(validatedCommandLines, QStringList{"-V 2 --bogus"});
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_TRUE(platform.informations[0].contains("--bogus"));
  EXPECT_FALSE(QFile::exists(iniPath()));

  u.replaceText("txtCommLine", "-V 2");
  EXPECT_TRUE(u.clickOk());
  EXPECT_EQ(dialog->commandLineText(), "-V 2");
  open();
  EXPECT_EQ(dialog->commandLineText(), "-V 2") << "never reloaded";
  EXPECT_EQ(u.text("txtCommLine"), "-V 2");
  u.replaceText("txtCommLine", "");
  EXPECT_TRUE(u.clickOk());
  EXPECT_EQ(dialog->commandLineText(), "");
  EXPECT_EQ(validatedCommandLines.size(), 2) << "an empty text is not checked";
}

TEST_F(SettingsDialogTest, NumberTooLargeIsRefusedAtOkAfterTakingTheFolder) {
  open();
  SettingsDialogDriver& u = *ui;
  u.replaceText("edt_dir", "/elsewhere");
  u.replaceText("edt_count", "4294967296");
  EXPECT_FALSE(u.pressEnter());
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], "'4294967296' is not a valid integer value");
  EXPECT_EQ(state.outputDir, "/elsewhere/") << "what came before the refusal stays";
  EXPECT_EQ(state.pieceCount, 6);
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsDialogTest, EmptyFolderTextKeepsTheOutputFolder) {
  const QString before = state.outputDir;
  open();
  SettingsDialogDriver& u = *ui;
  u.replaceText("edt_dir", "");
  u.replaceText("edt_time", "");  // OK by Enter leaves no field: the minimum rule still holds
  ASSERT_TRUE(u.pressEnter());
  EXPECT_EQ(state.outputDir, before);
  EXPECT_EQ(state.pieceSeconds, 60);
  EXPECT_EQ(settings.GetText("Main", "Path", "?"), "");
}

TEST_F(SettingsDialogTest, SettingsFileThatCannotBeWrittenIsReported) {
  // A folder where the file should be makes every write fail.
  ASSERT_TRUE(QDir().mkpath(iniPath()));
  open();
  EXPECT_FALSE(ui->clickOk());
  ASSERT_EQ(platform.errors.size(), 1);
  EXPECT_TRUE(platform.errors[0].contains("Unable to write to"));
  EXPECT_EQ(replans, 0);
}

}  // namespace
}  // namespace tarvex::testing

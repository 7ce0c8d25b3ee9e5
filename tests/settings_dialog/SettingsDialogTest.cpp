#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <tuple>

#include "tests/settings_dialog/SettingsDialogFixture.h"

namespace tarvex::testing {
namespace {

TEST_F(SettingsDialogTest, FirstOpeningWithoutFileShowsEveryDefault) {
  open();
  SettingsDialogDriver& u = *ui;
  EXPECT_EQ(dialog->windowTitle(), "Settings");
  EXPECT_EQ(dialog->objectName(), "fm_set");
  EXPECT_EQ(dialog->size(), QSize(383, 311));
  EXPECT_EQ(u.pageTitle(), "Set General");
  EXPECT_TRUE(u.checked("rb_custom"));
  EXPECT_EQ(u.text("edt_time"), "60");
  EXPECT_EQ(u.text("edt_count"), "6");
  EXPECT_EQ(u.text("edt_dir"), state.outputDir);
  EXPECT_FALSE(u.checked("cb_fadein"));
  EXPECT_FALSE(u.checked("cb_fadeout"));
  EXPECT_EQ(u.text("cb_fadeintime"), "5s");
  EXPECT_EQ(u.text("cb_fadeouttime"), "5s");

  EXPECT_EQ(u.text("cb_mp3_bitrate"), "128 Kbps");
  EXPECT_EQ(u.text("cb_mp3_channel"), "Stereo");
  EXPECT_EQ(u.text("cb_mp3_frequency"), "44100 Hz");
  EXPECT_EQ(u.text("edt_mp3_quality"), "4");
  EXPECT_EQ(u.text("cb_mp3vbrcm"), "None");
  EXPECT_EQ(u.text("cb_mp3_vbr"), "128 Kbps");
  EXPECT_EQ(u.text("edt_mp3_vbr"), "4");
  EXPECT_TRUE(u.checked("ck_mp3_VBR"));
  EXPECT_FALSE(u.checked("ck_mp3_semb"));

  EXPECT_FALSE(u.checked("chHFilt"));
  EXPECT_FALSE(u.checked("chLFilt"));
  EXPECT_EQ(u.text("udHFiltF"), "30");
  EXPECT_EQ(u.text("udHFiltW"), "5");
  EXPECT_EQ(u.text("udLFiltF"), "15160");
  EXPECT_EQ(u.text("udLFiltW"), "750");
  EXPECT_TRUE(u.checked("ck_bit"));
  EXPECT_TRUE(u.checked("ck_short"));
  EXPECT_FALSE(u.checked("ck_allow"));
  EXPECT_FALSE(u.checked("ck_comply"));
  EXPECT_FALSE(u.checked("ck_crc"));
  EXPECT_EQ(u.text("cb_ath"), "default");
  EXPECT_EQ(u.text("cb_de"), "default");
  EXPECT_FALSE(u.checked("ck_preset"));
  EXPECT_FALSE(u.checked("ck_alt"));
  EXPECT_EQ(u.row("rg_prest"), 0);
  EXPECT_EQ(u.row("rg_alt"), 0);

  EXPECT_EQ(u.row("rb_cdmode"), 0);
  EXPECT_EQ(u.text("cb_wav_bit"), "16 bps");
  EXPECT_EQ(u.text("cb_wav_channel"), "Stereo");
  EXPECT_EQ(u.text("cb_wav_frequency"), "44100 Hz");
  EXPECT_EQ(u.rowCount("cb_wma"), 47);
  EXPECT_EQ(u.text("cb_wma"), "WMA9 44KHz, 128Kbps, Stereo, CBR");
  EXPECT_EQ(u.rowText("cb_wma", 34), "WMA9 8KHz,  12Kbps, Stereo, CBR");
  EXPECT_EQ(u.rowText("cb_wma", 20), u.rowText("cb_wma", 22));
  EXPECT_EQ(u.rowText("cb_wma", 46), "WMA9 44KHz, Stereo, Lossless");
  EXPECT_EQ(u.text("cb_ogg_channel"), "Stereo");
  EXPECT_EQ(u.text("cb_ogg_fre"), "44100 Hz");
  EXPECT_EQ(u.text("cb_ogg_bitrate"), "128 Kbps");
  EXPECT_EQ(u.text("cb_ogg_minbit"), "128 Kbps");
  EXPECT_EQ(u.text("cb_ogg_maxbit"), "128 Kbps");
  EXPECT_EQ(u.text("edt_ogg_quality"), "300");
  EXPECT_FALSE(u.checked("ck_oggvbr"));
  EXPECT_FALSE(u.checked("ck_oggquality"));
  EXPECT_TRUE(u.text("txtCommLine").isEmpty());

  EXPECT_FALSE(QFile::exists(iniPath())) << "opening the dialog writes nothing";
}

TEST_F(SettingsDialogTest, OpeningReadsTheStateAndTheFile) {
  writeText(iniPath(),
            "[mp3]\nbitrate=14\nchannel=2\nfrequency=8\nquality=0\n[MP3Prest]\nalt=1\nrg_alt=3\n"
            "[wav]\nmode=2\n[ogg]\nquality=1500\noggquality=1\n");
  state.splitFunction = SplitFunction::EqualPieces;
  state.pieceCount = 9;
  state.fadeOut = true;
  state.fadeOutSeconds = 20;
  open();
  SettingsDialogDriver& u = *ui;
  EXPECT_TRUE(u.checked("rb_count"));
  EXPECT_EQ(u.text("edt_count"), "9");
  EXPECT_TRUE(u.checked("cb_fadeout"));
  EXPECT_EQ(u.text("cb_fadeouttime"), "20s");
  EXPECT_EQ(u.text("cb_mp3_bitrate"), "320 Kbps");
  EXPECT_EQ(u.text("cb_mp3_channel"), "Joint Stereo");
  EXPECT_EQ(u.text("cb_mp3_frequency"), "48000 Hz");
  EXPECT_EQ(u.text("edt_mp3_quality"), "0");
  EXPECT_TRUE(u.checked("ck_alt"));
  EXPECT_EQ(u.row("rg_alt"), 3);
  EXPECT_TRUE(u.enabled("rg_alt"));
  EXPECT_FALSE(u.enabled("ck_preset"));
  EXPECT_TRUE(u.enabled("cb_wav_frequency")) << "custom WAV mode";
  EXPECT_EQ(u.text("edt_ogg_quality"), "1000") << "held to the arrows' range";
  EXPECT_TRUE(u.enabled("edt_ogg_quality"));
  EXPECT_FALSE(u.enabled("ck_oggvbr"));

  // Only a hand-edited file gives 7; it reads as Custom.
  state.splitFunction = splitFunctionFromIni(7);
  u.clickCancel();
  open();
  EXPECT_TRUE(u.checked("rb_custom"));
  for (const char* choice : {"rb_time", "rb_count", "rb_unification"}) {
    EXPECT_FALSE(u.checked(choice)) << choice;
  }
}

TEST_F(SettingsDialogTest, StoredPositionsOutsideTheirListsShowNoRow) {
  writeText(iniPath(),
            "[mp3]\nbitrate=20\nfrequency=-1\nchannel=9\n[MP3Prest]\nrg_prest=15\nrg_alt=-4\n"
            "[wav]\nmode=-3\n[wma]\nformat=47\n[ogg]\nfrequency=99\n");
  open();
  SettingsDialogDriver& u = *ui;
  EXPECT_EQ(u.row("cb_mp3_bitrate"), -1);
  EXPECT_EQ(u.row("cb_mp3_frequency"), -1);
  EXPECT_EQ(u.row("cb_mp3_channel"), -1);
  EXPECT_EQ(u.row("rg_prest"), 10) << "a radio group takes its last row";
  EXPECT_EQ(u.row("rg_alt"), -1);
  EXPECT_EQ(u.row("rb_cdmode"), -1);
  EXPECT_EQ(u.row("cb_wma"), -1);

  ASSERT_TRUE(u.pressEnter());
  ASSERT_EQ(mp3Checks.size(), 1u);
  EXPECT_EQ(mp3Checks[0].rate, 44100) << "the checks use the key's default";
  EXPECT_EQ(mp3Checks[0].kbps, 128);
  EXPECT_EQ(mp3Checks[0].channelMode, 2);
  ASSERT_EQ(oggChecks.size(), 1u);
  EXPECT_EQ(oggChecks[0].rate, 44100);
  EXPECT_EQ(settings.GetInt("mp3", "bitrate", 0), -1);
  EXPECT_EQ(settings.GetInt("mp3", "frequency", 0), -1);
  EXPECT_EQ(settings.GetInt("MP3Prest", "rg_prest", 0), 10);
  EXPECT_EQ(settings.GetInt("MP3Prest", "rg_alt", 0), -1);
  EXPECT_EQ(settings.GetInt("wav", "mode", 0), -1);
  EXPECT_EQ(settings.GetInt("wma", "format", 0), -1);
}

TEST_F(SettingsDialogTest, DefaultResetsTheEncoderControlsOnly) {
  writeText(
      iniPath(),
      "[mp3]\nbitrate=2\nchannel=0\nquality=8\n[MP3VBR]\nCoding Method=3\nvbrck=0\n"
      "[MP3Filt]\nchHFilt=1\nudHFiltF=900\n[MP3Expert]\ncrc=1\nath=2\n[MP3Prest]\npreset=1\n"
      "rg_prest=6\n[wav]\nmode=2\nfrequency=1\n[wma]\nformat=40\n[ogg]\noggvbr=1\nbitrate=3\n");
  state.splitFunction = SplitFunction::Unification;
  state.pieceSeconds = 17;
  state.fadeIn = true;
  open();
  SettingsDialogDriver& u = *ui;
  u.replaceText("txtCommLine", "--abr 100");
  u.replaceText("edt_dir", "/typed/folder");
  const QString before = iniText();

  u.clickDefault();

  EXPECT_EQ(u.text("cb_mp3_bitrate"), "128 Kbps");
  EXPECT_EQ(u.text("cb_mp3_channel"), "Stereo");
  EXPECT_EQ(u.text("edt_mp3_quality"), "5");
  EXPECT_EQ(u.text("edt_mp3_vbr"), "5");
  EXPECT_EQ(u.text("cb_mp3vbrcm"), "None");
  EXPECT_FALSE(u.enabled("cb_mp3_vbr"));
  EXPECT_TRUE(u.checked("ck_mp3_VBR"));
  EXPECT_FALSE(u.checked("chHFilt"));
  EXPECT_FALSE(u.enabled("udHFiltF"));
  EXPECT_EQ(u.text("udHFiltF"), "30");
  EXPECT_FALSE(u.checked("ck_crc"));
  EXPECT_EQ(u.row("cb_ath"), 0);
  EXPECT_FALSE(u.checked("ck_preset"));
  EXPECT_FALSE(u.enabled("rg_prest"));
  EXPECT_EQ(u.row("rg_prest"), 0);
  EXPECT_TRUE(u.enabled("ck_alt"));
  EXPECT_EQ(u.row("rb_cdmode"), 0);
  EXPECT_EQ(u.text("cb_wav_frequency"), "48000 Hz");
  EXPECT_FALSE(u.enabled("cb_wav_frequency"));
  EXPECT_EQ(u.row("cb_wma"), 9);
  EXPECT_FALSE(u.checked("ck_oggvbr"));
  EXPECT_FALSE(u.enabled("cb_ogg_minbit"));
  EXPECT_EQ(u.text("cb_ogg_bitrate"), "128 Kbps");
  EXPECT_EQ(u.text("edt_ogg_quality"), "300");

  EXPECT_TRUE(u.checked("rb_unification"));
  EXPECT_EQ(u.text("edt_time"), "17");
  EXPECT_TRUE(u.checked("cb_fadein"));
  EXPECT_EQ(u.text("edt_dir"), "/typed/folder");
  EXPECT_EQ(u.text("txtCommLine"), "--abr 100");
  EXPECT_EQ(iniText(), before) << "Default writes nothing";
}

TEST_F(SettingsDialogTest, EnableRulesFollowEachControl) {
  open();
  SettingsDialogDriver& u = *ui;
  EXPECT_FALSE(u.enabled("cb_mp3_vbr"));
  EXPECT_FALSE(u.enabled("ud_mp3_vbr"));
  EXPECT_FALSE(u.enabled("edt_mp3_vbr"));
  u.chooseRow("cb_mp3vbrcm", 4);
  for (const char* name :
       {"cb_mp3_vbr", "edt_mp3_vbr", "ud_mp3_vbr", "ck_mp3_VBR", "ck_mp3_semb"}) {
    EXPECT_TRUE(u.enabled(name)) << name;
  }
  u.chooseRow("cb_mp3vbrcm", 0);
  EXPECT_FALSE(u.enabled("ck_mp3_semb"));

  EXPECT_FALSE(u.enabled("cb_wav_bit"));
  u.chooseRow("rb_cdmode", 2);
  EXPECT_TRUE(u.enabled("cb_wav_bit"));
  EXPECT_TRUE(u.enabled("cb_wav_channel"));
  EXPECT_TRUE(u.enabled("cb_wav_frequency"));
  u.chooseRow("rb_cdmode", 1);
  EXPECT_FALSE(u.enabled("cb_wav_frequency"));

  EXPECT_FALSE(u.enabled("lbHFiltW"));
  u.tick("chHFilt");
  EXPECT_TRUE(u.enabled("udHFiltF"));
  EXPECT_TRUE(u.enabled("udHFiltW"));
  EXPECT_TRUE(u.enabled("lbHFiltW"));
  EXPECT_FALSE(u.enabled("udLFiltF")) << "the other filter keeps its state";
  u.tick("chLFilt");
  EXPECT_TRUE(u.enabled("lbLFiltW"));
  u.tick("chHFilt", false);
  EXPECT_FALSE(u.enabled("udHFiltW"));

  u.tick("ck_preset");
  EXPECT_TRUE(u.enabled("rg_prest"));
  EXPECT_FALSE(u.enabled("ck_alt"));
  EXPECT_FALSE(u.enabled("rg_alt"));
  u.tick("ck_preset", false);
  EXPECT_FALSE(u.enabled("rg_prest"));
  EXPECT_TRUE(u.enabled("ck_alt"));
  u.tick("ck_alt");
  EXPECT_TRUE(u.enabled("rg_alt"));
  EXPECT_FALSE(u.enabled("ck_preset"));
  EXPECT_FALSE(u.enabled("rg_prest"));

  EXPECT_FALSE(u.enabled("cb_ogg_minbit"));
  EXPECT_FALSE(u.enabled("edt_ogg_quality"));
  u.tick("ck_oggvbr");
  EXPECT_TRUE(u.enabled("cb_ogg_minbit"));
  EXPECT_TRUE(u.enabled("cb_ogg_maxbit"));
  EXPECT_FALSE(u.enabled("ck_oggquality"));
  u.tick("ck_oggvbr", false);
  u.tick("ck_oggquality");
  EXPECT_TRUE(u.enabled("edt_ogg_quality"));
  EXPECT_TRUE(u.enabled("ud_ogg_quality"));
  EXPECT_FALSE(u.enabled("ck_oggvbr"));
  EXPECT_FALSE(u.enabled("cb_ogg_minbit"));
}

TEST_F(SettingsDialogTest, DigitFilterAndMinimumRules) {
  open();
  SettingsDialogDriver& u = *ui;
  u.replaceText("edt_time", "12a");
  EXPECT_EQ(u.text("edt_time"), "1") << "a non-digit acts as Backspace";
  u.typeKeys("edt_time", "x");
  EXPECT_EQ(u.text("edt_time"), "");
  u.typeKeys("edt_time", "123");
  u.pressKey("edt_time", Qt::Key_Home);
  u.pressKey("edt_time", Qt::Key_Delete);
  EXPECT_EQ(u.text("edt_time"), "23") << "Delete still removes the character after the caret";
  u.replaceText("edt_time", "0");
  u.leave("edt_time");
  EXPECT_EQ(u.text("edt_time"), "60");
  u.replaceText("edt_time", "");
  u.leave("edt_time");
  EXPECT_EQ(u.text("edt_time"), "60");

  u.replaceText("edt_count", "0");
  u.leave("edt_count");
  EXPECT_EQ(u.text("edt_count"), "1");
  u.replaceText("edt_count", "");
  u.leave("edt_count");
  EXPECT_EQ(u.text("edt_count"), "1");

  u.tick("ck_oggquality");
  u.replaceText("edt_ogg_quality", "5-0000");
  EXPECT_EQ(u.text("edt_ogg_quality"), "0000") << "at most five characters, '-' removed one";
  u.replaceText("edt_ogg_quality", "5000");
  u.leave("edt_ogg_quality");
  EXPECT_EQ(u.text("edt_ogg_quality"), "1000");

  EXPECT_TRUE(platform.informations.isEmpty());
  u.replaceText("edt_time", "99999999999");
  u.leave("edt_time");
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], "'99999999999' is not a valid integer value");
}

TEST_F(SettingsDialogTest, LeavingTheFieldAppliesTheMinimumRule) {
  open();
  ui->replaceText("edt_count", "0");
  QTest::mouseClick(&ui->control<QWidget>("edt_time"), Qt::LeftButton);
  EXPECT_TRUE(ui->control<QWidget>("edt_time").hasFocus());
  EXPECT_EQ(ui->text("edt_count"), "1");
}

TEST_F(SettingsDialogTest, TreeNodesShowTheirPages) {
  open();
  SettingsDialogDriver& u = *ui;
  u.choosePage("Expert", "MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 Expert");
  EXPECT_TRUE(u.visible("gb_expert"));
  u.choosePage("MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 General");
  EXPECT_TRUE(u.node("MP3")->isExpanded());
  u.choosePage("Command Line", "MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 Command Line");
  u.choosePage("Filtering", "MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 Filter");
  u.choosePage("Presets", "MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 Presets");
  u.choosePage("VBR", "MP3");
  EXPECT_EQ(u.pageTitle(), "Set MP3 VBR");

  // Moving the tree's cursor alone leaves the page.
  u.pressTreeKey(Qt::Key_Home);
  EXPECT_EQ(u.tree().currentItem(), u.node("General"));
  EXPECT_EQ(u.pageTitle(), "Set MP3 VBR");

  u.choosePage("Expert", "MP3");
  u.clickCancel();
  open();
  EXPECT_EQ(u.pageTitle(), "Set MP3 Expert") << "a reopened dialog keeps its page";
}

// Every format of the main window's list has a page, and the one without
// settings of its own explains itself in full within the page.
TEST_F(SettingsDialogTest, EveryOutputFormatHasItsPage) {
  open();
  SettingsDialogDriver& u = *ui;
  QTreeWidget& tree = u.tree();
  const QFontMetrics treeFont(tree.font());
  for (const auto& [caption, parent, title] :
       {std::tuple{"WAV", "", "Set WAV Format"}, std::tuple{"WMA", "", "Set WMA Format"},
        std::tuple{"OGG", "", "Set OGG Format"},
        std::tuple{"No re-encode", "MP3", "Set MP3 (no re-encode)"}}) {
    QTreeWidgetItem* item = u.node(caption, parent);
    ASSERT_NE(item, nullptr) << caption;
    u.choosePage(caption, parent);
    EXPECT_EQ(u.pageTitle(), title);
    EXPECT_LE(tree.visualItemRect(item).left() + treeFont.horizontalAdvance(caption),
              tree.viewport()->width())
        << caption << " is cut off in the tree";
  }
  const auto& explanation = u.control<QLabel>("lb_mp3copy");
  const QString text = explanation.text();
  EXPECT_TRUE(text.contains("differ in sample rate")) << "it says when it encodes instead";
  EXPECT_TRUE(text.contains("MP3 settings"));
  EXPECT_LE(explanation.heightForWidth(explanation.width()),
            u.control<QGroupBox>("gb_mp3copy").contentsRect().height())
      << "the explanation runs past the page";
}

TEST_F(SettingsDialogTest, FunctionChoiceChangesAtTheClickAndSurvivesCancel) {
  open();
  // A radio button takes clicks on its mark and caption.
  ui->choose("rb_unification");
  EXPECT_EQ(state.splitFunction, SplitFunction::Unification);
  ui->clickCancel();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(state.splitFunction, SplitFunction::Unification);
  EXPECT_FALSE(QFile::exists(iniPath()));
  EXPECT_EQ(replans, 0);
}

TEST_F(SettingsDialogTest, DialogsOpenOnTheMainWindowsCorner) {
  mainWindow.setGeometry(140, 90, 500, 400);
  mainWindow.show();
  open();
  EXPECT_EQ(dialog->frameGeometry().topLeft(), mainWindow.frameGeometry().topLeft());
}

}  // namespace
}  // namespace tarvex::testing

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <tuple>

#include "app/dialogs/RadioGroup.h"
#include "app/dialogs/SpinEdit.h"
#include "app/dialogs/UpDown.h"
#include "tests/settings_dialog/SettingsDialogFixture.h"

namespace tarvex::testing {
namespace {

TEST_F(SettingsDialogTest, FirstOpeningWithoutFileShowsEveryDefault) {
  open();
  Tfm_set& d = *dialog;
  EXPECT_EQ(d.windowTitle(), "Settings");
  EXPECT_EQ(d.objectName(), "fm_set");
  EXPECT_EQ(d.size(), QSize(383, 311));
  EXPECT_EQ(d.currentPageTitle(), "Set General");
  EXPECT_TRUE(d.rb_custom->isChecked());
  EXPECT_EQ(d.edt_time->text(), "60");
  EXPECT_EQ(d.edt_count->text(), "6");
  EXPECT_EQ(d.edt_dir->text(), state.outputDir);
  EXPECT_FALSE(d.cb_fadein->isChecked());
  EXPECT_FALSE(d.cb_fadeout->isChecked());
  EXPECT_EQ(shown(d.cb_fadeintime), "5s");
  EXPECT_EQ(shown(d.cb_fadeouttime), "5s");

  EXPECT_EQ(shown(d.cb_mp3_bitrate), "128 Kbps");
  EXPECT_EQ(shown(d.cb_mp3_channel), "Stereo");
  EXPECT_EQ(shown(d.cb_mp3_frequency), "44100 Hz");
  EXPECT_EQ(d.edt_mp3_quality->text(), "4");
  EXPECT_EQ(shown(d.cb_mp3vbrcm), "None");
  EXPECT_EQ(shown(d.cb_mp3_vbr), "128 Kbps");
  EXPECT_EQ(d.edt_mp3_vbr->text(), "4");
  EXPECT_TRUE(d.ck_mp3_VBR->isChecked());
  EXPECT_FALSE(d.ck_mp3_semb->isChecked());

  EXPECT_FALSE(d.chHFilt->isChecked());
  EXPECT_FALSE(d.chLFilt->isChecked());
  EXPECT_EQ(d.udHFiltF->value(), 30);
  EXPECT_EQ(d.udHFiltW->value(), 5);
  EXPECT_EQ(d.udLFiltF->value(), 15160);
  EXPECT_EQ(d.udLFiltW->value(), 750);
  EXPECT_TRUE(d.ck_bit->isChecked());
  EXPECT_TRUE(d.ck_short->isChecked());
  EXPECT_FALSE(d.ck_allow->isChecked());
  EXPECT_FALSE(d.ck_comply->isChecked());
  EXPECT_FALSE(d.ck_crc->isChecked());
  EXPECT_EQ(shown(d.cb_ath), "default");
  EXPECT_EQ(shown(d.cb_de), "default");
  EXPECT_FALSE(d.ck_preset->isChecked());
  EXPECT_FALSE(d.ck_alt->isChecked());
  EXPECT_EQ(d.rg_prest->itemIndex(), 0);
  EXPECT_EQ(d.rg_alt->itemIndex(), 0);

  EXPECT_EQ(d.rb_cdmode->itemIndex(), 0);
  EXPECT_EQ(shown(d.cb_wav_bit), "16 bps");
  EXPECT_EQ(shown(d.cb_wav_channel), "Stereo");
  EXPECT_EQ(shown(d.cb_wav_frequency), "44100 Hz");
  EXPECT_EQ(d.cb_wma->count(), 47);
  EXPECT_EQ(shown(d.cb_wma), "WMA9 44KHz, 128Kbps, Stereo, CBR");
  EXPECT_EQ(d.cb_wma->itemText(34), "WMA9 8KHz,  12Kbps, Stereo, CBR");
  EXPECT_EQ(d.cb_wma->itemText(20), d.cb_wma->itemText(22));
  EXPECT_EQ(d.cb_wma->itemText(46), "WMA9 44KHz, Stereo, Lossless");
  EXPECT_EQ(shown(d.cb_ogg_channel), "Stereo");
  EXPECT_EQ(shown(d.cb_ogg_fre), "44100 Hz");
  EXPECT_EQ(shown(d.cb_ogg_bitrate), "128 Kbps");
  EXPECT_EQ(shown(d.cb_ogg_minbit), "128 Kbps");
  EXPECT_EQ(shown(d.cb_ogg_maxbit), "128 Kbps");
  EXPECT_EQ(d.edt_ogg_quality->text(), "300");
  EXPECT_FALSE(d.ck_oggvbr->isChecked());
  EXPECT_FALSE(d.ck_oggquality->isChecked());
  EXPECT_TRUE(d.txtCommLine->toPlainText().isEmpty());

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
  Tfm_set& d = *dialog;
  EXPECT_TRUE(d.rb_count->isChecked());
  EXPECT_EQ(d.edt_count->text(), "9");
  EXPECT_TRUE(d.cb_fadeout->isChecked());
  EXPECT_EQ(shown(d.cb_fadeouttime), "20s");
  EXPECT_EQ(shown(d.cb_mp3_bitrate), "320 Kbps");
  EXPECT_EQ(shown(d.cb_mp3_channel), "Joint Stereo");
  EXPECT_EQ(shown(d.cb_mp3_frequency), "48000 Hz");
  EXPECT_EQ(d.edt_mp3_quality->text(), "0");
  EXPECT_TRUE(d.ck_alt->isChecked());
  EXPECT_EQ(d.rg_alt->itemIndex(), 3);
  EXPECT_TRUE(d.rg_alt->isEnabled());
  EXPECT_FALSE(d.ck_preset->isEnabled());
  EXPECT_TRUE(d.cb_wav_frequency->isEnabled()) << "custom WAV mode";
  EXPECT_EQ(d.edt_ogg_quality->text(), "1000") << "held to the arrows' range";
  EXPECT_TRUE(d.edt_ogg_quality->isEnabled());
  EXPECT_FALSE(d.ck_oggvbr->isEnabled());

  // Only a hand-edited file gives 7; it reads as Custom.
  state.splitFunction = splitFunctionFromIni(7);
  d.hide();
  open();
  EXPECT_TRUE(d.rb_custom->isChecked());
  for (QRadioButton* choice : {d.rb_time, d.rb_count, d.rb_unification}) {
    EXPECT_FALSE(choice->isChecked()) << choice->objectName().toStdString();
  }
}

TEST_F(SettingsDialogTest, StoredPositionsOutsideTheirListsShowNoRow) {
  writeText(iniPath(),
            "[mp3]\nbitrate=20\nfrequency=-1\nchannel=9\n[MP3Prest]\nrg_prest=15\nrg_alt=-4\n"
            "[wav]\nmode=-3\n[wma]\nformat=47\n[ogg]\nfrequency=99\n");
  open();
  Tfm_set& d = *dialog;
  EXPECT_EQ(d.cb_mp3_bitrate->currentIndex(), -1);
  EXPECT_EQ(d.cb_mp3_frequency->currentIndex(), -1);
  EXPECT_EQ(d.cb_mp3_channel->currentIndex(), -1);
  EXPECT_EQ(d.rg_prest->itemIndex(), 10) << "a radio group takes its last row";
  EXPECT_EQ(d.rg_alt->itemIndex(), -1);
  EXPECT_EQ(d.rb_cdmode->itemIndex(), -1);
  EXPECT_EQ(d.cb_wma->currentIndex(), -1);

  ASSERT_TRUE(d.OkClick());
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
  Tfm_set& d = *dialog;
  d.txtCommLine->setPlainText("--abr 100");
  d.edt_dir->setText("/typed/folder");
  const QString before = iniText();

  QTest::mouseClick(d.Button2, Qt::LeftButton);

  EXPECT_EQ(shown(d.cb_mp3_bitrate), "128 Kbps");
  EXPECT_EQ(shown(d.cb_mp3_channel), "Stereo");
  EXPECT_EQ(d.edt_mp3_quality->text(), "5");
  EXPECT_EQ(d.edt_mp3_vbr->text(), "5");
  EXPECT_EQ(shown(d.cb_mp3vbrcm), "None");
  EXPECT_FALSE(d.cb_mp3_vbr->isEnabled());
  EXPECT_TRUE(d.ck_mp3_VBR->isChecked());
  EXPECT_FALSE(d.chHFilt->isChecked());
  EXPECT_FALSE(d.udHFiltF->isEnabled());
  EXPECT_EQ(d.udHFiltF->value(), 30);
  EXPECT_FALSE(d.ck_crc->isChecked());
  EXPECT_EQ(d.cb_ath->currentIndex(), 0);
  EXPECT_FALSE(d.ck_preset->isChecked());
  EXPECT_FALSE(d.rg_prest->isEnabled());
  EXPECT_EQ(d.rg_prest->itemIndex(), 0);
  EXPECT_TRUE(d.ck_alt->isEnabled());
  EXPECT_EQ(d.rb_cdmode->itemIndex(), 0);
  EXPECT_EQ(shown(d.cb_wav_frequency), "48000 Hz");
  EXPECT_FALSE(d.cb_wav_frequency->isEnabled());
  EXPECT_EQ(d.cb_wma->currentIndex(), 9);
  EXPECT_FALSE(d.ck_oggvbr->isChecked());
  EXPECT_FALSE(d.cb_ogg_minbit->isEnabled());
  EXPECT_EQ(shown(d.cb_ogg_bitrate), "128 Kbps");
  EXPECT_EQ(d.edt_ogg_quality->text(), "300");

  EXPECT_TRUE(d.rb_unification->isChecked());
  EXPECT_EQ(d.edt_time->text(), "17");
  EXPECT_TRUE(d.cb_fadein->isChecked());
  EXPECT_EQ(d.edt_dir->text(), "/typed/folder");
  EXPECT_EQ(d.txtCommLine->toPlainText(), "--abr 100");
  EXPECT_EQ(iniText(), before) << "Default writes nothing";
}

TEST_F(SettingsDialogTest, EnableRulesFollowEachControl) {
  open();
  Tfm_set& d = *dialog;
  EXPECT_FALSE(d.cb_mp3_vbr->isEnabled());
  EXPECT_FALSE(d.ud_mp3_vbr->isEnabled());
  EXPECT_FALSE(d.edt_mp3_vbr->isEnabled());
  d.cb_mp3vbrcm->setCurrentIndex(4);
  for (QWidget* w : std::initializer_list<QWidget*>{d.cb_mp3_vbr, d.edt_mp3_vbr, d.ud_mp3_vbr,
                                                    d.ck_mp3_VBR, d.ck_mp3_semb}) {
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  }
  d.cb_mp3vbrcm->setCurrentIndex(0);
  EXPECT_FALSE(d.ck_mp3_semb->isEnabled());

  EXPECT_FALSE(d.cb_wav_bit->isEnabled());
  QTest::mouseClick(d.rb_cdmode->button(2), Qt::LeftButton);
  EXPECT_TRUE(d.cb_wav_bit->isEnabled());
  EXPECT_TRUE(d.cb_wav_channel->isEnabled());
  EXPECT_TRUE(d.cb_wav_frequency->isEnabled());
  QTest::mouseClick(d.rb_cdmode->button(1), Qt::LeftButton);
  EXPECT_FALSE(d.cb_wav_frequency->isEnabled());

  EXPECT_FALSE(d.lbHFiltW->isEnabled());
  d.chHFilt->click();
  EXPECT_TRUE(d.udHFiltF->isEnabled());
  EXPECT_TRUE(d.udHFiltW->isEnabled());
  EXPECT_TRUE(d.lbHFiltW->isEnabled());
  EXPECT_FALSE(d.udLFiltF->isEnabled()) << "the other filter keeps its state";
  d.chLFilt->click();
  EXPECT_TRUE(d.lbLFiltW->isEnabled());
  d.chHFilt->click();
  EXPECT_FALSE(d.udHFiltW->isEnabled());

  d.ck_preset->click();
  EXPECT_TRUE(d.rg_prest->isEnabled());
  EXPECT_FALSE(d.ck_alt->isEnabled());
  EXPECT_FALSE(d.rg_alt->isEnabled());
  d.ck_preset->click();
  EXPECT_FALSE(d.rg_prest->isEnabled());
  EXPECT_TRUE(d.ck_alt->isEnabled());
  d.ck_alt->click();
  EXPECT_TRUE(d.rg_alt->isEnabled());
  EXPECT_FALSE(d.ck_preset->isEnabled());
  EXPECT_FALSE(d.rg_prest->isEnabled());

  EXPECT_FALSE(d.cb_ogg_minbit->isEnabled());
  EXPECT_FALSE(d.edt_ogg_quality->isEnabled());
  d.ck_oggvbr->click();
  EXPECT_TRUE(d.cb_ogg_minbit->isEnabled());
  EXPECT_TRUE(d.cb_ogg_maxbit->isEnabled());
  EXPECT_FALSE(d.ck_oggquality->isEnabled());
  d.ck_oggvbr->click();
  d.ck_oggquality->click();
  EXPECT_TRUE(d.edt_ogg_quality->isEnabled());
  EXPECT_TRUE(d.ud_ogg_quality->isEnabled());
  EXPECT_FALSE(d.ck_oggvbr->isEnabled());
  EXPECT_FALSE(d.cb_ogg_minbit->isEnabled());
}

TEST_F(SettingsDialogTest, DigitFilterAndMinimumRules) {
  open();
  Tfm_set& d = *dialog;
  d.edt_time->clear();
  d.edt_time->setFocus();
  QTest::keyClicks(d.edt_time, "12a");
  EXPECT_EQ(d.edt_time->text(), "1") << "a non-digit acts as Backspace";
  QTest::keyClicks(d.edt_time, "x");
  EXPECT_EQ(d.edt_time->text(), "");
  QTest::keyClicks(d.edt_time, "123");
  QTest::keyClick(d.edt_time, Qt::Key_Home);
  QTest::keyClick(d.edt_time, Qt::Key_Delete);
  EXPECT_EQ(d.edt_time->text(), "23") << "Delete still removes the character after the caret";
  d.edt_time->clear();
  QTest::keyClicks(d.edt_time, "0");
  d.edt_timeExit();
  EXPECT_EQ(d.edt_time->text(), "60");
  d.edt_time->clear();
  d.edt_timeExit();
  EXPECT_EQ(d.edt_time->text(), "60");

  d.edt_count->clear();
  QTest::keyClicks(d.edt_count, "0");
  d.edt_countExit();
  EXPECT_EQ(d.edt_count->text(), "1");
  d.edt_count->clear();
  d.edt_countExit();
  EXPECT_EQ(d.edt_count->text(), "1");

  d.ck_oggquality->click();
  d.edt_ogg_quality->clear();
  QTest::keyClicks(d.edt_ogg_quality, "5-0000");
  EXPECT_EQ(d.edt_ogg_quality->text(), "0000") << "at most five characters, '-' removed one";
  d.edt_ogg_quality->setText("5000");
  d.edt_ogg_qualityExit();
  EXPECT_EQ(d.edt_ogg_quality->text(), "1000");

  EXPECT_TRUE(platform.informations.isEmpty());
  d.edt_time->setText("99999999999");
  d.edt_timeExit();
  ASSERT_EQ(platform.informations.size(), 1);
  EXPECT_EQ(platform.informations[0], "'99999999999' is not a valid integer value");
}

TEST_F(SettingsDialogTest, LeavingTheFieldAppliesTheMinimumRule) {
  open();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  dialog->edt_count->setFocus();
  dialog->edt_count->setText("0");
  QTest::mouseClick(dialog->edt_time, Qt::LeftButton);
  EXPECT_TRUE(dialog->edt_time->hasFocus());
  EXPECT_EQ(dialog->edt_count->text(), "1");
}

TEST_F(SettingsDialogTest, TreeNodesShowTheirPages) {
  open();
  Tfm_set& d = *dialog;
  auto click = [&](QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    d.TreeView1->setCurrentItem(item);
    d.TreeView1Click();
  };
  click(node("Expert", "MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 Expert");
  EXPECT_EQ(d.pages->currentWidget(), d.gb_expert);
  click(node("MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 General");
  EXPECT_TRUE(node("MP3")->isExpanded());
  click(node("Command Line", "MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 Command Line");
  click(node("Filtering", "MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 Filter");
  click(node("Presets", "MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 Presets");
  click(node("VBR", "MP3"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 VBR");

  // Moving the selection alone leaves the page.
  d.TreeView1->setCurrentItem(node("General"));
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 VBR");

  click(node("Expert", "MP3"));
  d.CancelClick();
  open();
  EXPECT_EQ(d.currentPageTitle(), "Set MP3 Expert") << "a reopened dialog keeps its page";
}

// Every format of the main window's list has a page, and the one without
// settings of its own explains itself in full within the page.
TEST_F(SettingsDialogTest, EveryOutputFormatHasItsPage) {
  open();
  Tfm_set& d = *dialog;
  const QFontMetrics treeFont(d.TreeView1->font());
  for (const auto& [caption, parent, title] :
       {std::tuple{"WAV", "", "Set WAV Format"}, std::tuple{"WMA", "", "Set WMA Format"},
        std::tuple{"OGG", "", "Set OGG Format"},
        std::tuple{"No re-encode", "MP3", "Set MP3 (no re-encode)"}}) {
    QTreeWidgetItem* item = node(caption, parent);
    ASSERT_NE(item, nullptr) << caption;
    d.TreeView1->setCurrentItem(item);
    d.TreeView1Click();
    EXPECT_EQ(d.currentPageTitle(), title);
    EXPECT_LE(d.TreeView1->visualItemRect(item).left() + treeFont.horizontalAdvance(caption),
              d.TreeView1->viewport()->width())
        << caption << " is cut off in the tree";
  }
  const QString text = d.lb_mp3copy->text();
  EXPECT_TRUE(text.contains("fades")) << "it says when it encodes instead";
  EXPECT_TRUE(text.contains("MP3 settings"));
  EXPECT_LE(d.lb_mp3copy->heightForWidth(d.lb_mp3copy->width()),
            d.gb_mp3copy->contentsRect().height())
      << "the explanation runs past the page";
}

TEST_F(SettingsDialogTest, FunctionChoiceChangesAtTheClickAndSurvivesCancel) {
  open();
  // A radio button takes clicks on its mark and caption.
  QTest::mouseClick(dialog->rb_unification, Qt::LeftButton, {}, QPoint(6, 6));
  EXPECT_EQ(state.splitFunction, SplitFunction::Unification);
  QTest::mouseClick(dialog->Cancel, Qt::LeftButton);
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

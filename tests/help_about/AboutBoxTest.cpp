#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/Tfm_about.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

class AboutBoxWindow : public ::testing::Test {
 protected:
  void SetUp() override { harness.show(); }

  // Clicks the middle of a link's text, as the user would.
  static void clickLink(QLabel* link) {
    ASSERT_TRUE(link->isVisible());
    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
  }

  MainWindowHarness harness;
};

TEST_F(AboutBoxWindow, ShowsTheProgramItsVersionAndWhatItDoes) {
  bool opened = false;
  harness.whenDialogOpens([&] {
    opened = true;
    Tfm_about& about = harness.window().fm_about();
    EXPECT_EQ(about.windowTitle(), "About Tarvex MP3 Splitter Joiner");
    EXPECT_EQ(about.size(), QSize(257, 272));
    EXPECT_EQ(about.pos(), harness.window().frameGeometry().topLeft());
    EXPECT_EQ(about.lbl_title->text(), "Tarvex MP3 Splitter Joiner");
    EXPECT_TRUE(about.lbl_title->font().bold());
    EXPECT_EQ(about.lbl_title->font().pixelSize(), 13);
    EXPECT_EQ(about.lbl_version->text(), "Version: 1.70");
    EXPECT_EQ(about.lbl_line1->text(), "Cut a new small file from a large mp3 file. ");
    EXPECT_EQ(about.lbl_line2->text(), "Marge multiple mp3 files to a large new one");
    EXPECT_EQ(about.Image1->pixmap().size(), QSize(36, 36));
    EXPECT_EQ(about.findChild<QLabel*>("lbl_website")->text(), "Website:  ");
    EXPECT_EQ(about.findChild<QLabel*>("lbl_email")->text(), "E-mail:  ");
    // Every element lies inside the box, none cut off at its edge.
    for (QLabel* label : about.GroupBox1->findChildren<QLabel*>()) {
      const QRect inBox(label->mapTo(about.GroupBox1, QPoint(0, 0)), label->size());
      EXPECT_TRUE(about.GroupBox1->rect().contains(inBox)) << label->objectName().toStdString();
      if (label->wordWrap()) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width()))
            << label->objectName().toStdString();
      } else {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
      }
    }
    about.btn_ok->click();
  });
  harness.triggerMenuItem("About1");
  EXPECT_TRUE(opened);
  EXPECT_FALSE(harness.window().fm_about().isVisible());
  EXPECT_TRUE(harness.platform().openedUrls.isEmpty());
}

TEST_F(AboutBoxWindow, TheLinksOpenTheWebSiteAndNewMails) {
  harness.whenDialogOpens([&] {
    Tfm_about& about = harness.window().fm_about();
    EXPECT_TRUE(about.lbl_web->text().contains("https://tarvex.example/"));
    EXPECT_TRUE(about.lbl_sales->text().contains("sales@tarvex.example"));
    EXPECT_TRUE(about.lbl_support->text().contains("support@tarvex.example"));
    clickLink(about.lbl_web);
    clickLink(about.lbl_sales);
    clickLink(about.lbl_support);
    about.close();
  });
  harness.triggerMenuItem("About1");
  EXPECT_EQ(harness.platform().openedUrls,
            QStringList({"https://tarvex.example/", "mailto:sales@tarvex.example",
                         "mailto:support@tarvex.example"}));
  EXPECT_FALSE(harness.window().fm_about().isVisible());
}

TEST_F(AboutBoxWindow, ALinkNoProgramCanOpenIsNamedInAMessage) {
  harness.platform().launchesSucceed = false;
  harness.whenDialogOpens([&] {
    Tfm_about& about = harness.window().fm_about();
    clickLink(about.lbl_support);
    clickLink(about.lbl_web);
    EXPECT_TRUE(about.isVisible()) << "the about box stays open";
    about.close();
  });
  harness.triggerMenuItem("About1");
  const QStringList errors = harness.platform().errors;
  ASSERT_EQ(errors.size(), 2);
  EXPECT_TRUE(errors[0].contains("support@tarvex.example")) << errors[0].toStdString();
  EXPECT_FALSE(errors[0].contains("mailto:")) << "the address, as the user knows it";
  EXPECT_TRUE(errors[1].contains("https://tarvex.example/")) << errors[1].toStdString();
}

TEST_F(AboutBoxWindow, OpensAgainAfterEscapeWhileAJobRuns) {
  harness.holdJob();
  int openings = 0;
  for (int i = 0; i < 2; ++i) {
    harness.whenDialogOpens([&] {
      ++openings;
      QTest::keyClick(&harness.window().fm_about(), Qt::Key_Escape);
    });
    harness.triggerMenuItem("About1");
  }
  EXPECT_EQ(openings, 2);
  EXPECT_TRUE(harness.window().jobRunning()) << "the about box leaves the job alone";
  harness.window().StopJob();
}

}  // namespace
}  // namespace tarvex

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "app/HelpCommands.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

TEST(HelpCommands, OpenTheDocumentBesideTheProgramAndTheWebSite) {
  MainWindowHarness harness;
  harness.show();
  const QString expected = harness.folder().path("program") + QStringLiteral("/help/Dorvane.html");
  harness.clickSkin("helpfile");
  harness.triggerMenuItem("Content1");
  EXPECT_EQ(harness.platform().openedDocuments, QStringList({expected, expected}));
  harness.triggerMenuItem("HomePage1");
  EXPECT_EQ(harness.platform().openedUrls, QStringList{"https://tarvex.example/"});
  EXPECT_TRUE(harness.platform().messages().isEmpty()) << "a missing document is the viewer's";
}

TEST(HelpCommands, SayWhenNoProgramCanOpenTheDocumentOrTheSite) {
  MainWindowHarness harness;
  harness.show();
  harness.platform().launchesSucceed = false;
  harness.clickSkin("helpfile");
  harness.triggerMenuItem("HomePage1");
  const QStringList errors = harness.platform().errors;
  ASSERT_EQ(errors.size(), 2);
  EXPECT_TRUE(errors[0].contains(harness.platform().openedDocuments.value(0)))
      << errors[0].toStdString();
  EXPECT_TRUE(errors[1].contains("https://tarvex.example/")) << errors[1].toStdString();
  EXPECT_NE(errors[0], errors[1]);
}

TEST(HelpCommands, WorkWhileAJobRuns) {
  MainWindowHarness harness;
  harness.show();
  harness.holdJob();
  harness.clickSkin("helpfile");
  harness.triggerMenuItem("HomePage1");
  EXPECT_EQ(harness.platform().openedDocuments.size(), 1);
  EXPECT_EQ(harness.platform().openedUrls.size(), 1);
  EXPECT_TRUE(harness.window().jobRunning());
  harness.window().StopJob();
}

// The user guide: every page it links to is there, every picture it shows
// exists, and the topics of the program are covered.
TEST(HelpDocument, PagesAndPicturesItLinksToExist) {
  const QDir help(QStringLiteral(TARVEX_SOURCE_DIR "/docs/help"));
  ASSERT_TRUE(QFileInfo::exists(help.filePath("Dorvane.html")));
  const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#]*)(#[^\"]*)?\""));
  int pages = 0;
  QString allText;
  for (const QString& name : help.entryList({QStringLiteral("*.html")}, QDir::Files)) {
    ++pages;
    QFile page(help.filePath(name));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    allText += text;
    EXPECT_TRUE(text.contains(QStringLiteral("<title>"))) << name.toStdString();
    for (auto match = reference.globalMatch(text); match.hasNext();) {
      const QString target = match.next().captured(1);
      if (target.isEmpty() || QUrl(target).scheme().size() > 1) continue;  // anchors, web, mail
      EXPECT_TRUE(QFileInfo::exists(help.filePath(target)))
          << name.toStdString() << " links to missing " << target.toStdString();
    }
  }
  EXPECT_GE(pages, 1);
  for (const char* topic : {"Add File", "Begin", "End", "Ok", "Split", "Join", "ID3 info",
                            "Settings", "Unification", "Custom", "Stop"}) {
    EXPECT_TRUE(allText.contains(QLatin1String(topic))) << topic;
  }
  EXPECT_FALSE(allText.contains(QStringLiteral("http://"))) << "only the placeholder site";
}

}  // namespace
}  // namespace tarvex

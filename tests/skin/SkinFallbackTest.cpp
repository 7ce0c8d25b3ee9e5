// Loading skin files: a missing one silently gives the built-in skin, a
// broken one gives it too and says which file and what is wrong.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "components/skin/SkinParser.h"
#include "components/skin/SkinWidget.h"
#include "tests/skin/SkinTestSupport.h"

namespace tarvex::skin {
namespace {

using testing::writeSkinFile;

const QByteArray kTinySkin =
    "tarvex-skin 1\n"
    "title \"Tiny\"\n"
    "color widget-base #123456\n"
    "layout Plaskett 300 200\n"
    "  slider pb 10 10 200 12\n"
    "  button play 10 40 30 20\n"
    "end\n"
    "layout Compact 100 50\n"
    "  button play 0 0 20 20\n"
    "end\n";

bool showsBuiltInSkin(const SkinWidget& skin) {
  return skin.layoutSize() == QSize(547, 421) && skin.findObject(QStringLiteral("convertpb")) &&
         skin.findObject(QStringLiteral("helpfile"));
}

class SkinFiles : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  SkinWidget skin;
};

TEST_F(SkinFiles, MissingFileGivesTheBuiltInSkinSilently) {
  EXPECT_EQ(skin.loadSkinFile(folder.filePath(QStringLiteral("mp3enc.dll"))), QString());
  EXPECT_TRUE(showsBuiltInSkin(skin));
  EXPECT_TRUE(skin.selectLayout(QStringLiteral("Plaskett")));
  EXPECT_EQ(skin.loadSkinFile(QString()), QString());
  EXPECT_TRUE(showsBuiltInSkin(skin));
}

TEST_F(SkinFiles, GoodFileIsUsed) {
  const QString path = writeSkinFile(folder, QStringLiteral("mp3enc.dll"), kTinySkin);
  EXPECT_EQ(skin.loadSkinFile(path), QString());
  EXPECT_EQ(skin.skinTitle(), QStringLiteral("Tiny"));
  EXPECT_TRUE(skin.selectLayout(QStringLiteral("Plaskett")));
  EXPECT_EQ(skin.layoutSize(), QSize(300, 200));
  EXPECT_NE(skin.findObject(QStringLiteral("pb")), nullptr);
  EXPECT_EQ(skin.findObject(QStringLiteral("convertpb")), nullptr);
  EXPECT_TRUE(skin.widgetStyleSheet().contains(QStringLiteral("#123456")));
}

TEST_F(SkinFiles, BrokenFileGivesTheBuiltInSkinAndAMessageNamingFileAndLine) {
  QByteArray broken = kTinySkin;
  broken.replace("button play 10 40 30 20", "button play 10 forty 30 20");
  const QString path = writeSkinFile(folder, QStringLiteral("mp3enc.dll"), broken);
  const QString message = skin.loadSkinFile(path);
  EXPECT_TRUE(message.contains(path)) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("line 6"))) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("\"forty\""))) << message.toStdString();
  EXPECT_TRUE(showsBuiltInSkin(skin));
  EXPECT_TRUE(skin.selectLayout(QStringLiteral("Plaskett")));
}

TEST_F(SkinFiles, UnreadableKindsOfFileAreReportedNotFatal) {
  QByteArray binary("MZ\x90\x00\x03\x00\x00\x00", 8);
  const QString binaryPath = writeSkinFile(folder, QStringLiteral("binary.dll"), binary);
  EXPECT_TRUE(skin.loadSkinFile(binaryPath).contains(QStringLiteral("binary")));
  EXPECT_TRUE(showsBuiltInSkin(skin));

  EXPECT_TRUE(skin.loadSkinFile(folder.path()).contains(QStringLiteral("folder")));
  EXPECT_TRUE(showsBuiltInSkin(skin));

  const QString hugePath =
      writeSkinFile(folder, QStringLiteral("huge.dll"), QByteArray(kMaxSkinFileBytes + 10, '#'));
  EXPECT_TRUE(skin.loadSkinFile(hugePath).contains(QStringLiteral("too large")));
  EXPECT_TRUE(showsBuiltInSkin(skin));

  const QString empty = writeSkinFile(folder, QStringLiteral("empty.dll"), QByteArray());
  EXPECT_TRUE(skin.loadSkinFile(empty).contains(QStringLiteral("line 1")));
}

TEST_F(SkinFiles, UnreadableFileIsReported) {
  const QString path = writeSkinFile(folder, QStringLiteral("locked.dll"), kTinySkin);
  QFile::setPermissions(path, QFileDevice::Permissions());
  QFile probe(path);
  if (probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that read any file";
  EXPECT_TRUE(skin.loadSkinFile(path).contains(QStringLiteral("cannot be read")));
  EXPECT_TRUE(showsBuiltInSkin(skin));
}

TEST_F(SkinFiles, FileLackingARequiredObjectCountsAsBroken) {
  skin.setRequiredObjects(QStringLiteral("Plaskett"), testing::programObjectNames());
  const QString path = writeSkinFile(folder, QStringLiteral("mp3enc.dll"), kTinySkin);
  const QString message = skin.loadSkinFile(path);
  EXPECT_TRUE(message.contains(QStringLiteral("\"convertpb\""))) << message.toStdString();
  EXPECT_FALSE(message.contains(QStringLiteral("\"pb\""))) << message.toStdString();
  EXPECT_TRUE(showsBuiltInSkin(skin));

  QByteArray renamed = kTinySkin;
  renamed.replace("layout Plaskett", "layout Other");
  const QString noLayout = writeSkinFile(folder, QStringLiteral("other.dll"), renamed);
  EXPECT_TRUE(skin.loadSkinFile(noLayout).contains(QStringLiteral("no layout \"Plaskett\"")));

  // The built-in skin itself passes the same check.
  EXPECT_EQ(skin.loadSkinFile(QString()), QString());
}

TEST_F(SkinFiles, LayoutsAreSelectedByExactNameAndAReloadKeepsTheChoice) {
  const QString path = writeSkinFile(folder, QStringLiteral("mp3enc.dll"), kTinySkin);
  skin.loadSkinFile(path);
  EXPECT_FALSE(skin.selectLayout(QStringLiteral("plaskett")));
  EXPECT_FALSE(skin.selectLayout(QStringLiteral("Missing")));
  EXPECT_EQ(skin.layoutName(), QStringLiteral("Plaskett"));
  EXPECT_TRUE(skin.selectLayout(QStringLiteral("Compact")));
  EXPECT_EQ(skin.layoutSize(), QSize(100, 50));
  EXPECT_EQ(skin.findObject(QStringLiteral("pb")), nullptr);
  skin.loadSkinFile(path);
  EXPECT_EQ(skin.layoutName(), QStringLiteral("Compact"));
}

TEST_F(SkinFiles, ReloadGivesFreshObjectsWithTheSkinsStartingValues) {
  skin.findObject(QStringLiteral("timecaption"))->setText(QStringLiteral("01:02:03"));
  skin.loadSkinFile(QString());
  EXPECT_EQ(skin.findObject(QStringLiteral("timecaption"))->text(), QStringLiteral("00:00:00"));
}

TEST_F(SkinFiles, WidgetStyleSheetDressesEveryKindOfWidgetPlacedOverTheSkin) {
  const QString sheet = skin.widgetStyleSheet();
  for (const char* selector : {"QTreeWidget", "QHeaderView::section", "QComboBox", "QPlainTextEdit",
                               "QScrollBar:vertical", "QScrollBar::handle"}) {
    EXPECT_TRUE(sheet.contains(QLatin1String(selector))) << selector;
  }
  EXPECT_EQ(sheet.count(QLatin1Char('{')), sheet.count(QLatin1Char('}')));
}

}  // namespace
}  // namespace tarvex::skin

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails with EFBIG, as on a full disk, instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
  bool active_ = false;
};

constexpr rlim_t kFullDiskBytes = 60 * 1024;

class WriteFaultsWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-faults-XXXXXX"));
    testing::makeMp3Source(media("long20.mp3"), 20);
    testing::makeMp3Source(media("short3.mp3"), 3);
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override { harness.show(); }

  QStringList outputs() const { return testing::folderEntries(harness.outputDir()); }
  QStringList statuses() const {
    QStringList result;
    for (const QString& row : harness.segmentRows()) result << row.section('|', 2);
    return result;
  }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* WriteFaultsWindow::media_ = nullptr;

TEST_F(WriteFaultsWindow, AnOutputFolderThatCannotExistEndsTheSplitWithOneMessage) {
  // A folder below a regular file cannot be made, not even by root.
  const QString blocker = harness.folder().path("blocker");
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  harness.mainSettings().outputDir = blocker + "/pieces/";
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 2;
  harness.addFiles({media("short3.mp3")});

  harness.clickSkin("Split");
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.platform().errors[0].isEmpty());
  EXPECT_FALSE(harness.window().jobRunning());
  // Pieces run side by side: the row the error is shown on depends on which
  // worker met it first.
  EXPECT_TRUE(statuses().contains("Error")) << statuses().join(",").toStdString();
  EXPECT_EQ(QFileInfo(blocker).size(), 0) << "the blocking file is untouched";

  harness.platform().saveAnswers.push_back(
      PlatformServices::SaveChoice{blocker + "/joined.mp3", 1});
  harness.clickSkin("Join");
  EXPECT_EQ(harness.platform().errors.size(), 2);
  EXPECT_FALSE(harness.window().jobRunning());

  // With a usable folder the same window splits again.
  harness.mainSettings().outputDir = harness.outputDir();
  harness.clickSkin("Split");
  EXPECT_EQ(harness.platform().errors.size(), 2);
  EXPECT_EQ(outputs(), QStringList({"short3_1.mp3", "short3_2.mp3"}));
}

TEST_F(WriteFaultsWindow, ADiskThatFillsMidPieceLeavesNoPieceLookingComplete) {
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 10;
  harness.addFiles({media("long20.mp3"), media("short3.mp3")});
  {
    FileSizeLimit full(kFullDiskBytes);
    ASSERT_TRUE(full.active());
    harness.clickSkin("Split");
  }
  ASSERT_EQ(harness.platform().errors.size(), 1)
      << harness.platform().errors.join('\n').toStdString();
  EXPECT_FALSE(harness.window().jobRunning());
  // Pieces run side by side: the row the error is shown on depends on which
  // worker met it first.
  EXPECT_TRUE(statuses().contains("Error")) << statuses().join(",").toStdString();
  // 10 s at 128 kbit/s is far more than the limit: the cut-off piece is gone.
  EXPECT_TRUE(outputs().isEmpty()) << outputs().join(',').toStdString();

  harness.clickSkin("Split");
  EXPECT_EQ(harness.platform().errors.size(), 1);
  EXPECT_EQ(outputs(), QStringList({"long20_1.mp3", "long20_2.mp3", "short3_1.mp3"}));
}

TEST_F(WriteFaultsWindow, ADiskThatFillsDuringAJoinRemovesTheCutOffOutput) {
  harness.addFiles({media("long20.mp3"), media("short3.mp3")});
  harness.platform().saveAnswers.push_back(
      PlatformServices::SaveChoice{harness.outputDir() + "joined.mp3", 1});
  {
    FileSizeLimit full(kFullDiskBytes);
    ASSERT_TRUE(full.active());
    harness.clickSkin("Join");
  }
  ASSERT_EQ(harness.platform().errors.size(), 1);
  EXPECT_FALSE(harness.window().jobRunning());
  EXPECT_TRUE(outputs().isEmpty()) << outputs().join(',').toStdString();
  EXPECT_TRUE(harness.platform().openedFolders.isEmpty());
}

TEST_F(WriteFaultsWindow, AReadOnlySettingsFileIsReportedAtCloseAndLeftAsItWas) {
  MainWindowHarness window(QStringLiteral("[Function]\nChoice=1\n"));
  window.show();
  const QByteArray before = testing::fileChecksum(window.settingsPath());
  ASSERT_TRUE(QFile::setPermissions(window.settingsPath(), QFile::ReadOwner | QFile::ReadGroup));
  window.mainSettings().pieceSeconds = 77;
  window.close();
  ASSERT_EQ(window.platform().errors.size(), 1);
  EXPECT_EQ(window.platform().errors[0], "Unable to write to Quillmere.ini");
  EXPECT_EQ(testing::fileChecksum(window.settingsPath()), before);
}

TEST_F(WriteFaultsWindow, ASettingsFolderInPlaceOfTheFileGivesDefaultsAndOneMessage) {
  MainWindowHarness window;
  ASSERT_TRUE(QDir().mkpath(window.settingsPath()));
  window.show();
  EXPECT_EQ(window.mainSettings().splitFunction, SplitFunction::Custom);
  EXPECT_EQ(window.mainSettings().pieceSeconds, 60);
  window.addFiles({media("short3.mp3")});
  EXPECT_EQ(window.sourceCaptions(), QStringList{"short3.mp3"});
  window.close();
  ASSERT_EQ(window.platform().errors.size(), 1);
  EXPECT_EQ(window.platform().errors[0], "Unable to write to Quillmere.ini");
  EXPECT_TRUE(QFileInfo(window.settingsPath()).isDir());
}

}  // namespace
}  // namespace tarvex

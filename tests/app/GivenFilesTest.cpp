#include <gtest/gtest.h>
#include <QTest>
#include <QTreeWidget>

#include "app/GivenFiles.h"
#include "app/Tfm_main.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

TEST(GivenFiles, RelativeNamesAreTheCallersAndOptionsAreSkipped) {
  const QStringList files = givenFiles({"/usr/bin/tarvex", "a.mp3", "-platform", "../music/b.wav",
                                        "/abs/c.ogg", "file:///tmp/d%20e.mp3", "--", "-odd.mp3"},
                                       "/home/ann/work");
  EXPECT_EQ(files, QStringList({"/home/ann/work/a.mp3", "/home/ann/music/b.wav", "/abs/c.ogg",
                                "/tmp/d e.mp3", "/home/ann/work/-odd.mp3"}));
  EXPECT_TRUE(givenFiles({"tarvex"}, "/home/ann").isEmpty());
}

TEST(GivenFiles, TheWindowAddsGivenFilesAsAddFileDoes) {
  testing::MainWindowHarness harness;
  harness.show();
  const QString song = harness.mediaPath("given.wav");
  testing::makeWavSource(song, 3);
  harness.window().openGivenFiles({song, harness.mediaPath("missing.mp3")});
  QTRY_COMPARE_WITH_TIMEOUT(harness.window().lv().topLevelItemCount(), 1, 10000);
  harness.waitUntilIdle();
  EXPECT_EQ(harness.window().sources().at(0).path, song);
  // A file that cannot be added is refused with Add File's own message.
  EXPECT_EQ(harness.platform().informations,
            QStringList({"missing.mp3 this File is not supported."}));
}

}  // namespace
}  // namespace tarvex

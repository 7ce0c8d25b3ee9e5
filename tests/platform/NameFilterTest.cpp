#include <gtest/gtest.h>

#include "platform/window/QtPlatformServices.h"

namespace tarvex {
namespace {

TEST(NameFilter, SemicolonListsBecomeQtPatterns) {
  EXPECT_EQ(toQtNameFilter("MP3 Files(*.mp3;*.mp2)"), "MP3 Files (*.mp3 *.mp2)");
  EXPECT_EQ(toQtNameFilter("MP3 Files(*.mp3)"), "MP3 Files (*.mp3)");
  EXPECT_EQ(toQtNameFilter("Audio Files (*.wav *.ogg)"), "Audio Files (*.wav *.ogg)");
  EXPECT_EQ(toQtNameFilter("no patterns"), "no patterns");
}

}  // namespace
}  // namespace tarvex

#pragma once

#include <gtest/gtest.h>
#include <QApplication>

namespace tarvex::testing {

// The body of every test executable's main(): a headless Qt application (the
// real widgets, drawn offscreen), no sound device, then all tests.
inline int runAllTests(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("TARVEX_AUDIO_OUTPUT")) qputenv("TARVEX_AUDIO_OUTPUT", "null");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace tarvex::testing

#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvex::testing {

// A fixture with a fresh temporary folder for the files a test writes.
class AudioTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return folder_.filePath(name); }

  QTemporaryDir folder_;
};

}  // namespace tarvex::testing

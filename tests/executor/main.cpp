#include <gtest/gtest.h>

#include <QCoreApplication>

// The executor needs an event loop for its reports, and nothing of a window.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

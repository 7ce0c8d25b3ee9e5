#include <gtest/gtest.h>
#include <QCoreApplication>

// The command line's tests need no window: a core application is enough.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

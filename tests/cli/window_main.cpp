// The window tests of the cuts the command line makes run a real application.
#include "tests/support/QtTestMain.h"

int main(int argc, char** argv) {
  return tarvex::testing::runAllTests(argc, argv);
}

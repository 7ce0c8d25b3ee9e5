#include "tests/support/QtTestMain.h"

int main(int argc, char** argv) {
  return tarvex::testing::runAllTests(argc, argv);
}

// The command line's progress lines in a log (not a terminal): counts stay
// within their totals and every line names its file.
#include <gtest/gtest.h>

#include <QString>
#include <QTextStream>

#include "cli/ProgressDisplay.h"

namespace tarvex::cli {
namespace {

TEST(ProgressDisplay, AJoinCountsItsOneOutputNotItsParts) {
  QString text;
  QTextStream err(&text);
  ProgressDisplay display(err, false, false, 1, 3000, 3);
  for (int part = 0; part < 3; ++part) {
    display.started(part, QStringLiteral("/out/joined.mp3"));
    display.progress(part, (part + 1) * 1000);
    display.finished(part, QStringLiteral("/out/joined.mp3"), QStringLiteral("done"));
  }
  err.flush();
  EXPECT_EQ(text, QStringLiteral("[1/1] /out/joined.mp3: writing\n[1/1] /out/joined.mp3: done\n"));
}

TEST(ProgressDisplay, AJoinCutOffMidwaySaysSoOnce) {
  QString text;
  QTextStream err(&text);
  ProgressDisplay display(err, false, false, 1, 3000, 3);
  display.started(0, QStringLiteral("/out/joined.mp3"));
  display.finished(0, QStringLiteral("/out/joined.mp3"), QStringLiteral("done"));
  display.started(1, QStringLiteral("/out/joined.mp3"));
  display.finished(1, QString(), QStringLiteral("cut off, removed"));
  err.flush();
  EXPECT_EQ(text, QStringLiteral("[1/1] /out/joined.mp3: writing\n"
                                 "[1/1] /out/joined.mp3: cut off, removed\n"));
}

TEST(ProgressDisplay, ARemovedPieceIsNamedByThePathItStartedAs) {
  QString text;
  QTextStream err(&text);
  ProgressDisplay display(err, false, false, 3, 0);
  display.started(1, QStringLiteral("/out/b.mp3"));
  display.finished(1, QString(), QStringLiteral("cut off, removed"));
  err.flush();
  EXPECT_EQ(text,
            QStringLiteral("[2/3] /out/b.mp3: writing\n[2/3] /out/b.mp3: cut off, removed\n"));
}

}  // namespace
}  // namespace tarvex::cli

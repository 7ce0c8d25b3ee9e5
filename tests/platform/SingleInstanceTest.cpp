#include <gtest/gtest.h>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QUuid>

#include "platform/SingleInstance.h"

namespace tarvex {
namespace {

QString uniqueTitle() {
  return QStringLiteral("Tarvex test %1").arg(QUuid::createUuid().toString());
}

TEST(SingleInstance, ASecondInstanceWithTheSameTitleIsRefused) {
  const QString title = uniqueTitle();
  SingleInstance first(title);
  ASSERT_TRUE(first.tryAcquire());
  SingleInstance second(title);
  EXPECT_FALSE(second.tryAcquire());
  SingleInstance other(uniqueTitle());
  EXPECT_TRUE(other.tryAcquire());
}

TEST(SingleInstance, TheTitleIsFreeAgainOnceTheFirstEnds) {
  const QString title = uniqueTitle();
  {
    SingleInstance first(title);
    ASSERT_TRUE(first.tryAcquire());
  }
  SingleInstance next(title);
  EXPECT_TRUE(next.tryAcquire());
}

TEST(SingleInstance, ASocketLeftByACrashedInstanceDoesNotBlock) {
  const QString title = uniqueTitle();
  SingleInstance probe(title);
  // A crashed instance leaves its socket file behind with nobody listening.
  QString socketPath;
  {
    QLocalServer stale;
    ASSERT_TRUE(stale.listen(probe.serverName()));
    socketPath = stale.fullServerName();
    stale.setSocketOptions(QLocalServer::NoOptions);
  }
  QFile leftover(socketPath);
  if (!leftover.exists()) {
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));  // a plain file where the socket was
    leftover.close();
  }
  SingleInstance next(title);
  EXPECT_TRUE(next.tryAcquire());
}

TEST(SingleInstance, ALaterStartHandsItsFilesToTheRunningOne) {
  const QString title = uniqueTitle();
  SingleInstance running(title);
  QList<QStringList> received;
  running.setFilesReceived([&received](const QStringList& files) { received << files; });
  ASSERT_TRUE(running.tryAcquire());

  const QStringList files{"/music/a.mp3", "/music/b c.wav",
                          QString::fromUtf8("/music/\xc3\xa9t\xc3\xa9.ogg")};
  SingleInstance later(title);
  EXPECT_FALSE(later.tryAcquire(files));
  QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
  EXPECT_EQ(received.front(), files);

  // A start without files only asks, and a garbled message is dropped.
  SingleInstance plain(title);
  EXPECT_FALSE(plain.tryAcquire());
  QLocalSocket stranger;
  stranger.connectToServer(running.serverName());
  ASSERT_TRUE(stranger.waitForConnected(2000));
  stranger.write("not a file list");
  stranger.waitForBytesWritten(2000);
  stranger.disconnectFromServer();
  QTest::qWait(300);
  EXPECT_EQ(received.size(), 1);
}

}  // namespace
}  // namespace tarvex

#include <gtest/gtest.h>
#include <QFile>
#include <QLocalServer>
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

}  // namespace
}  // namespace tarvex

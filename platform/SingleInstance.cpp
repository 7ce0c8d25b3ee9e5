#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace tarvex {

SingleInstance::SingleInstance(const QString& applicationTitle) {
  const QByteArray digest =
      QCryptographicHash::hash(applicationTitle.toUtf8(), QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  serverName_ = QStringLiteral("tarvex-%1-%2")
                    .arg(QString::fromLatin1(digest))
                    .arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire() {
  if (server_) return true;
  QLocalSocket probe;
  probe.connectToServer(serverName_);
  if (probe.waitForConnected(500)) {
    probe.disconnectFromServer();
    return false;
  }
  // Nobody answers: any socket file left is from an instance that ended.
  QLocalServer::removeServer(serverName_);
  auto server = std::make_unique<QLocalServer>();
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(serverName_)) {
    // Another instance started between our probe and listen().
    return false;
  }
  server_ = std::move(server);
  return true;
}

}  // namespace tarvex

#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>

#include <optional>

#include <unistd.h>

namespace tarvex {

namespace {

constexpr int kHandOverWaitMs = 3000;
// Far more than any list of paths; a peer sending more is cut off.
constexpr qsizetype kLargestMessage = 16 * 1024 * 1024;

// A handed-over message is the file list in QDataStream form; the sender
// closes the connection when it is written.
QByteArray encodeFiles(const QStringList& files) {
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << files;
  return message;
}

std::optional<QStringList> decodeFiles(const QByteArray& message) {
  QDataStream in(message);
  QStringList files;
  in >> files;
  if (in.status() != QDataStream::Ok || !in.atEnd()) return std::nullopt;
  return files;
}

}  // namespace

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

bool SingleInstance::tryAcquire(const QStringList& filesToHandOver) {
  if (server_) return true;
  QLocalSocket probe;
  probe.connectToServer(serverName_);
  if (probe.waitForConnected(500)) {
    if (!filesToHandOver.isEmpty()) {
      probe.write(encodeFiles(filesToHandOver));
      while (probe.bytesToWrite() > 0 && probe.waitForBytesWritten(kHandOverWaitMs)) {
      }
    }
    probe.disconnectFromServer();
    if (probe.state() != QLocalSocket::UnconnectedState) {
      probe.waitForDisconnected(kHandOverWaitMs);
    }
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
  QLocalServer* listening = server.get();
  QObject::connect(listening, &QLocalServer::newConnection, listening, [this, listening] {
    while (QLocalSocket* peer = listening->nextPendingConnection()) {
      auto received = std::make_shared<QByteArray>();
      QObject::connect(peer, &QLocalSocket::readyRead, peer, [peer, received] {
        received->append(peer->readAll());
        if (received->size() > kLargestMessage) {
          received->clear();
          peer->abort();
        }
      });
      QObject::connect(peer, &QLocalSocket::disconnected, peer, [this, peer, received] {
        if (received->size() <= kLargestMessage) received->append(peer->readAll());
        peer->deleteLater();
        // A plain probe sends nothing; a garbled message is dropped.
        const std::optional<QStringList> files = decodeFiles(*received);
        if (files && !files->isEmpty() && filesReceived_) filesReceived_(*files);
      });
    }
  });
  server_ = std::move(server);
  return true;
}

}  // namespace tarvex

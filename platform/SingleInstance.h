#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

namespace tarvex {

// Keeps a second copy of the program from starting. The first copy holds a
// local server named after the application title (and the user); a later copy
// that can connect to it knows another instance runs. A server left behind by
// a crashed instance accepts no connection and is replaced. A later copy given
// files hands them to the running one over the same channel before it ends.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& applicationTitle);
  ~SingleInstance();

  // True when this process is now the only instance; false when another runs,
  // which then receives `filesToHandOver` (absolute paths) when there are any.
  bool tryAcquire(const QStringList& filesToHandOver = {});

  // Called on this (the running) instance's thread with the files a later
  // copy handed over. Set it before the event loop runs.
  void setFilesReceived(std::function<void(const QStringList&)> handler) {
    filesReceived_ = std::move(handler);
  }

  const QString& serverName() const { return serverName_; }

 private:
  QString serverName_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void(const QStringList&)> filesReceived_;
};

}  // namespace tarvex

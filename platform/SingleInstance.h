#pragma once

#include <QString>
#include <memory>

class QLocalServer;

namespace tarvex {

// Keeps a second copy of the program from starting. The first copy holds a
// local server named after the application title (and the user); a later copy
// that can connect to it knows another instance runs. A server left behind by
// a crashed instance accepts no connection and is replaced.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& applicationTitle);
  ~SingleInstance();

  // True when this process is now the only instance; false when another runs.
  bool tryAcquire();

  const QString& serverName() const { return serverName_; }

 private:
  QString serverName_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace tarvex

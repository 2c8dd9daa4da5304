// One window per user and display: the running window listens on a local
// socket private to the user, and a second start hands its query over
// there (message format: core/handover.h) instead of opening a window.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/handover.h"

class QLocalServer;
class QLocalSocket;

// The socket of this user and display (see handover::SocketPath) from the
// environment; "" when there is none.
std::string HandOverSocketPath();

// Sends request to the window listening at path; true once that window has
// taken it.  False when no window listens there (no socket, or one left by
// a window that ended).
bool HandOverToRunning(const std::string& path, const handover::TRequest& request);

class THandOverServer : public QObject {
  Q_OBJECT

 public:
  using THandler = std::function<void(const handover::TRequest&)>;
  THandOverServer(QObject* parent, THandler handler);

  // Listens at path, replacing a socket of this user that no window listens
  // on any more (left by one that crashed); the socket file is the user's
  // alone.  False when another window listens there or it cannot listen
  // (this window then works alone).
  bool Listen(const std::string& path);

  // A connection that has not sent a whole message by then is dropped.
  static constexpr int kReadTimeoutMs = 2000;

 private:
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* FServer;
  THandler FHandler;
};

#include "ui/handover.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cstdlib>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
constexpr char kTaken = '1';  // the window's answer: the request was taken

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Whether the process at the other end runs as this user.
bool PeerIsThisUser(const QLocalSocket* socket) {
  struct ucred credentials {};
  socklen_t size = sizeof credentials;
  const auto descriptor = static_cast<int>(socket->socketDescriptor());
  return getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == getuid();
}

}  // namespace

std::string HandOverSocketPath() {
  return handover::SocketPath(Environment("XDG_RUNTIME_DIR"), Environment("WAYLAND_DISPLAY"), Environment("DISPLAY"));
}

bool HandOverToRunning(const std::string& path, const handover::TRequest& request) {
  QLocalSocket socket;
  socket.connectToServer(QString::fromLocal8Bit(path.c_str()));
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  if (!PeerIsThisUser(&socket)) return false;
  const std::string message = handover::Encode(request);
  socket.write(message.data(), static_cast<qint64>(message.size()));
  if (!socket.waitForBytesWritten(kAnswerTimeoutMs)) return false;
  char answer = 0;
  return socket.waitForReadyRead(kAnswerTimeoutMs) && socket.read(&answer, 1) == 1 && answer == kTaken;
}

THandOverServer::THandOverServer(QObject* parent, THandler handler)
    : QObject(parent), FServer(new QLocalServer(this)), FHandler(std::move(handler)) {
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  connect(FServer, &QLocalServer::newConnection, this, &THandOverServer::Accept);
}

bool THandOverServer::Listen(const std::string& path) {
  const QString name = QString::fromLocal8Bit(path.c_str());
  // Only a socket is replaced, never a file of another kind.
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode) || st.st_uid != getuid()) return false;
    // A window that listens there keeps its socket.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;
    QLocalServer::removeServer(name);
  }
  if (!FServer->listen(name)) return false;
  chmod(path.c_str(), S_IRUSR | S_IWUSR);
  return true;
}

void THandOverServer::Accept() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    if (!PeerIsThisUser(socket)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    socket->setReadBufferSize(static_cast<qint64>(handover::kMaxMessageBytes) + 1);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
    Read(socket);
  }
}

void THandOverServer::Read(QLocalSocket* socket) {
  // What has come so far waits in the socket's buffer, within the bound.
  const QByteArray bytes = socket->peek(static_cast<qint64>(handover::kMaxMessageBytes) + 1);
  handover::TRequest request;
  switch (handover::Decode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), request)) {
    case handover::TDecoded::Incomplete:
      if (bytes.size() <= static_cast<qsizetype>(handover::kMaxMessageBytes)) return;
      [[fallthrough]];
    case handover::TDecoded::Malformed:
      socket->abort();
      return;
    case handover::TDecoded::Complete:
      socket->readAll();
      socket->write(&kTaken, 1);
      socket->flush();
      socket->disconnectFromServer();
      FHandler(request);
      return;
  }
}

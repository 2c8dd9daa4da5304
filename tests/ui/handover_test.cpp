// One window per user and display: this test's window listens as a running
// window does, and the built program, started as a second process, hands
// its query over and ends.  A socket left by a window that ended is
// replaced; a malformed or too long message changes nothing; a bad command
// line ends with status 2 without a display.
#include "ui/handover.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QComboBox>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "ui/hitview.h"
#include "ui/mainform.h"

class THandOverTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(Dir.isValid() && QDir(Dir.path()).mkdir("run") && QDir::setCurrent(Dir.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Dir.filePath("run")));
    qputenv("DISPLAY", ":77");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Dir.filePath("data")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(Dir.filePath("data-dirs")));
    QFile dictionary(Dir.filePath("KOVA5.TXT"));
    QVERIFY(dictionary.open(QIODevice::WriteOnly) && dictionary.write("cat\r\ndog\r\n") > 0);
    Path = HandOverSocketPath();
    QCOMPARE(QString::fromStdString(Path), Dir.filePath("run/kovalex-_77"));
  }

  void secondStartHandsOverToTheRunningWindow() {
    // A socket whose window has ended: nobody listens, the file stays.
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", Path.c_str());
    QVERIFY(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    close(stale);
    QVERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY(!HandOverToRunning(Path, {"cat", "", ""}));

    TMainForm form;
    form.SetSettingsPath(QFile::encodeName(Dir.filePath("kovalex.ini")).toStdString());  // none: all selected
    form.FormCreate();
    form.show();
    THandOverServer server(&form, [&form](const handover::TRequest& request) { form.HandedOver(request); });
    QVERIFY(server.Listen(Path));
    struct stat st {};
    QVERIFY(lstat(Path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && (st.st_mode & 0777) == 0600);
    // A window that listens keeps its socket.
    THandOverServer other(nullptr, [](const handover::TRequest&) {});
    QVERIFY(!other.Listen(Path));

    QComboBox* query = form.findChild<QComboBox*>("ComboBox1");
    const auto lines = [&form] { return form.RichEdit1()->toPlainText().split('\n', Qt::SkipEmptyParts); };
    for (const auto& [arguments, input, expected] : {std::tuple{QStringList{"--search", "cat"}, QByteArray(), "cat"},
                                                     {QStringList{"-s", "-"}, QByteArray("dog\nmore\n"), "dog"}}) {
      QProcess second;
      second.start(KOVALEX_PATH, arguments);
      QVERIFY(second.waitForStarted());
      second.write(input);
      second.closeWriteChannel();
      // The window answers from its event loop.
      QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
      QCOMPARE(second.exitStatus(), QProcess::NormalExit);
      QCOMPARE(second.exitCode(), 0);
      QTRY_COMPARE(lines(), (QStringList{"-----KOVA辞書第5版-----", expected}));
      QCOMPARE(query->currentText(), QString(expected));
    }
    QCOMPARE(query->count(), 2);

    // Malformed and too long messages are dropped; the window stays as it was.
    const std::string tooLong = "KVLX" + std::string("\x00\x00\xff\xff", 4);
    for (const std::string& message :
         {std::string("GET / HTTP/1.1\r\n\r\n"), tooLong, handover::Encode({"cat", "", ""}) + "x"}) {
      QLocalSocket client;
      client.connectToServer(QString::fromStdString(Path));
      QVERIFY(client.waitForConnected(5000));
      client.write(message.data(), qint64(message.size()));
      QTRY_VERIFY(client.state() == QLocalSocket::UnconnectedState);
      QCOMPARE(client.bytesAvailable(), qint64(0));
    }
    QCOMPARE(lines(), (QStringList{"-----KOVA辞書第5版-----", "dog"}));
  }

  void badArgumentsNeedNoDisplay() {
    QProcess start;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    start.setProcessEnvironment(environment);
    for (const QStringList& arguments : {QStringList{"a", "b"}, QStringList{"--search"}, QStringList{"--search", ""},
                                         QStringList{"--bogus"}, QStringList{"-s", "x", "--search-clipboard"}}) {
      start.start(KOVALEX_PATH, arguments);
      QVERIFY(start.waitForFinished(20000));
      QVERIFY2(start.exitStatus() == QProcess::NormalExit && start.exitCode() == 2, qPrintable(arguments.join(' ')));
      QVERIFY(start.readAllStandardError().contains("--help"));
    }
  }

 private:
  QTemporaryDir Dir;
  std::string Path;
};

QTEST_MAIN(THandOverTest)
#include "handover_test.moc"

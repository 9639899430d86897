#include "app_test_support.h"

#include <sys/prctl.h>

#include <csignal>

#include <QStandardPaths>
#include <QTest>
#include <cstdlib>

namespace sorrelix::testing {

namespace {
QString& busAddress() {
    static QString address;
    return address;
}

// Where no private bus runs, Qt must still never find the desktop's own bus.
constexpr const char* kNoBus = "unix:path=/nonexistent/sorrelix-test-bus";
}  // namespace

bool waitUntil(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 60'000);
}

PrivateSessionBus::PrivateSessionBus() {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", kNoBus, 1);
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return;
    daemon_ = std::make_unique<QProcess>();
    // A test that crashes must not leave its bus running.
    daemon_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon_->start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--print-address"),
                    QStringLiteral("--nofork")});
    if (!daemon_->waitForStarted(30'000)) return;
    QByteArray output;
    while (!output.contains('\n') && daemon_->waitForReadyRead(30'000)) {
        output += daemon_->readAllStandardOutput();
    }
    busAddress() = QString::fromUtf8(output).trimmed();
    if (!busAddress().isEmpty()) {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", busAddress().toUtf8().constData(), 1);
    }
}

PrivateSessionBus::~PrivateSessionBus() {
    if (!daemon_) return;
    daemon_->terminate();
    daemon_->waitForFinished(30'000);
}

const QString& PrivateSessionBus::address() {
    return busAddress();
}

}  // namespace sorrelix::testing

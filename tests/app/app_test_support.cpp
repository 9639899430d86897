#include "app_test_support.h"

#include <sys/prctl.h>

#include <csignal>

#include <QStandardPaths>
#include <QTest>
#include <cstdlib>

#include "apfs_engine.h"
#include "file_manager_reveal.h"
#include "file_tree.h"
#include "folder_chooser.h"
#include "sandbox_helper.h"
#include "session_history.h"

namespace sorrelix::testing {

namespace {
// Where no private bus runs, Qt must still never find the desktop's own bus.
constexpr const char* kNoBus = "unix:path=/nonexistent/sorrelix-test-bus";
}  // namespace

QString fileUri(const std::string& path) {
    return QString::fromLatin1("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

bool waitUntil(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 60'000);
}

bool waitUntilIdle(const app::AppState& state) {
    return waitUntil(
        [&] { return !state.isAnalyzing() && !state.isMerging() && !state.isUndoing(); });
}

bool analyzePair(app::AppState& state, const std::string& source, const std::string& target) {
    state.setSource(urlOf(source));
    state.setTarget(urlOf(target));
    state.startAnalysis(false);
    return waitUntil([&] { return !state.isAnalyzing(); });
}

engine::MergeSessionRecord mergeNow(const FileTree& from, const FileTree& into,
                                    engine::MergeOutcome outcome) {
    auto& engine = engine::APFSEngine::shared();
    engine::MergeSessionRecord record = engine.executeMergeNow(
        from.root(), into.root(), engine.analyzeNow(from.root(), into.root()), {});
    if (outcome == engine::MergeOutcome::completed) return record;
    record.outcome = outcome;
    engine::SessionHistory::replace(record);
    return record;
}

PrivateSessionBus::PrivateSessionBus() {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", kNoBus, 1);
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return;
    daemon_ = std::make_unique<QProcess>();
    // A test that crashes must not leave its bus running.
    daemon_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon_->start("dbus-daemon", {"--session", "--print-address", "--nofork"});
    if (!daemon_->waitForStarted(30'000)) return;
    QByteArray output;
    while (!output.contains('\n') && daemon_->waitForReadyRead(30'000)) {
        output += daemon_->readAllStandardOutput();
    }
    address_ = QString::fromUtf8(output).trimmed();
    if (!address_.isEmpty()) {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8().constData(), 1);
    }
}

PrivateSessionBus::~PrivateSessionBus() {
    if (!daemon_) return;
    daemon_->terminate();
    daemon_->waitForFinished(30'000);
}

FakeFileManager::FakeFileManager()
    : bus_(QDBusConnection::connectToBus(PrivateSessionBus::address(),
                                         QStringLiteral("fake-file-manager"))) {
    registered = bus_.registerObject(app::FileManagerReveal::kObjectPath, this,
                                     QDBusConnection::ExportAllSlots) &&
                 bus_.registerService(app::FileManagerReveal::kService);
}

FakeFileManager::~FakeFileManager() {
    bus_.unregisterService(app::FileManagerReveal::kService);
    QDBusConnection::disconnectFromBus(bus_.name());
}

namespace {
struct ScriptAnswers : app::FolderChooser {
    explicit ScriptAnswers(ScriptedChooser& script) : script(script) {}
    std::optional<QUrl> chooseFolder(const QString& prompt, bool mayCreate) override {
        script.asked << prompt + (mayCreate ? "+create" : "");
        const std::optional<QUrl> answer = script.answers.front();
        script.answers.pop_front();
        return answer;
    }
    ScriptedChooser& script;
};
}  // namespace

ScriptedChooser::ScriptedChooser(std::deque<std::optional<QUrl>> answers)
    : answers(std::move(answers)) {
    app::SandboxHelper::shared().setFolderChooser(std::make_unique<ScriptAnswers>(*this));
}

ScriptedChooser::~ScriptedChooser() {
    app::SandboxHelper::shared().setFolderChooser(nullptr);
}

}  // namespace sorrelix::testing

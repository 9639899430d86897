// Takes the pictures of docs/screenshots: drives the real workflow state and the real window
// through every state worth showing, on real folders, and saves each as a PNG.
//   sorrelix-screenshots OUTPUT_DIR [WIDTHxHEIGHT]   (960x660 unless given)
// SORRELIX_TINY_DIR names a small file system (a few MiB) for the disk-space picture; without
// it that picture is left out. Settings go to a private configuration folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>

#include "app_language.h"
#include "app_state.h"
#include "exclude_rules_dialog.h"
#include "language_manager.h"
#include "main_window.h"
#include "merge_history_model.h"
#include "merge_history_window.h"
#include "session_history.h"
#include "tour_folders.h"
#include "window_camera.h"

namespace sorrelix::tools {
namespace {

using app::AppState;
using text::AppLanguage;
using text::LanguageManager;

constexpr QSize kWindowSize(960, 660);
constexpr int kSettleMs = 250;
constexpr int kStateTimeoutMs = 180'000;
// Large enough that copying it takes a visible while on any disk, and no file system can
// clone it away when it is copied within one (the tour folder is not meant for reflink).
constexpr std::int64_t kVideoBytes = 512LL << 20;
constexpr std::int64_t kScanBytes = 9LL << 20;

QUrl folderUrl(const QString& path) {
    return QUrl::fromLocalFile(path);
}

class ScreenshotTour {
public:
    ScreenshotTour(const QString& workDir, const QString& outputDir, QSize windowSize)
        : folders_(workDir),
          window_(state_),
          camera_(window_, outputDir),
          windowSize_(windowSize) {}
    ~ScreenshotTour() { folders_.removeScansTarget(); }
    ScreenshotTour(const ScreenshotTour&) = delete;
    ScreenshotTour& operator=(const ScreenshotTour&) = delete;

    void run(const QString& smallVolume) {
        folders_.buildHolidayPair(kVideoBytes);
        LanguageManager::shared().setLanguage(AppLanguage::en);
        window_.resize(windowSize_);
        window_.show();
        waitFor("the window to be exposed", [this] { return window_.isVisible(); });

        showFolderChoices();
        showAnalysis();
        if (smallVolume.isEmpty()) {
            std::fprintf(stderr, "screenshots: SORRELIX_TINY_DIR unset, no 07-disk-space\n");
        } else {
            showDiskSpaceWarning(smallVolume);
        }
        showMerge();
        showUndoAndLanguages();
        showStoppedAndInterrupted();
        showHistoryAndKeptFiles();
        showExcludeRules();
    }

private:
    void showFolderChoices() {
        shootSettled("01-empty");
        state_.setSource(folderUrl(folders_.holidaySource()));
        shootSettled("02-one-folder");
        state_.setTarget(folderUrl(folders_.holidaySource()));
        shootSettled("03-same-folder");
        state_.setTarget(folderUrl(folders_.archiveTarget()));
        shootSettled("04-ready");
    }

    void showAnalysis() {
        state_.startAnalysis(false);
        // Only layout work may run before the picture: the result must not arrive first.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (!state_.isAnalyzing()) throw std::runtime_error("the analysis did not start");
        camera_.shoot(QStringLiteral("05-scanning"));
        waitForAnalysis();
        shootSettled("06-differences");
    }

    void showDiskSpaceWarning(const QString& smallVolume) {
        folders_.buildScansPair(smallVolume, kScanBytes);
        state_.setSource(folderUrl(folders_.scansSource()));
        state_.setTarget(folderUrl(folders_.scansTarget()));
        state_.startAnalysis(false);
        waitForAnalysis();
        if (!state_.isTargetDiskSpaceInsufficient()) {
            std::fprintf(stderr, "screenshots: %s has room for the scans; no disk-space warning\n",
                         qPrintable(smallVolume));
        }
        shootSettled("07-disk-space");
        state_.setSource(std::nullopt);
        state_.setTarget(std::nullopt);
        folders_.removeScansTarget();
    }

    void showMerge() {
        state_.setSource(folderUrl(folders_.holidaySource()));
        state_.setTarget(folderUrl(folders_.archiveTarget()));
        state_.startAnalysis(false);
        waitForAnalysis();
        state_.startMerge();
        // The dock redraws its progress in batches: wait for the bar itself.
        waitFor("the progress bar to show the first file",
                [this] { return progressBarShowsAFile() || !state_.isMerging(); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (!state_.isMerging()) {
            std::fprintf(stderr,
                         "screenshots: the merge ended before its picture (reflink copies in "
                         "%s?); 08-merging shows no progress\n",
                         qPrintable(QDir::tempPath()));
        }
        std::printf("merging: %lld of %lld\n", static_cast<long long>(state_.progressCurrent()),
                    static_cast<long long>(state_.progressTotal()));
        camera_.shoot(QStringLiteral("08-merging"));

        waitFor("the merge and the analysis after it", [this] {
            return !state_.isMerging() && !state_.isAnalyzing() && state_.isAnalyzed();
        });
        failOnAlert("the merge");
        shootSettled("09-success-banner");
        state_.startAnalysis(false);
        waitForAnalysis();
        shootSettled("10-in-sync");
    }

    void showUndoAndLanguages() {
        state_.undoLastMerge();
        waitFor("the undo and the analysis after it", [this] {
            return !state_.isUndoing() && !state_.isAnalyzing() && state_.isAnalyzed();
        });
        // Undo announces its success as the window's alert; any notice will do for the picture.
        if (!state_.alertMessage()) state_.setAlertMessage(QStringLiteral("Sorrelix"));
        waitFor("the alert", [this] { return camera_.openDialog() != nullptr; });
        shootSettled("11-alert");
        state_.setAlertMessage(std::nullopt);
        waitFor("the alert to close", [this] { return camera_.openDialog() == nullptr; });

        LanguageManager::shared().setLanguage(AppLanguage::de);
        shootSettled("12-german");
        LanguageManager::shared().setLanguage(AppLanguage::ja);
        shootSettled("13-japanese");
        LanguageManager::shared().setLanguage(AppLanguage::en);
    }

    // A merge stopped after its first file (the video), then the same merge as a crash would
    // have left it: its record still marked interrupted, which the target offers to undo.
    void showStoppedAndInterrupted() {
        state_.startMerge();
        waitFor("the progress bar to show the first file",
                [this] { return progressBarShowsAFile() || !state_.isMerging(); });
        state_.stopMerge();
        waitFor("the stopped merge and the analysis after it", [this] {
            return !state_.isMerging() && !state_.isAnalyzing() && state_.isAnalyzed();
        });
        failOnAlert("the stopped merge");
        shootSettled("14-stopped-banner");

        engine::MergeSessionRecord crashed = *state_.lastSession();
        crashed.outcome = engine::MergeOutcome::interrupted;
        engine::SessionHistory::replace(crashed);
        state_.setTarget(folderUrl(folders_.archiveTarget()));
        waitFor("the interrupted merge", [this] { return state_.interruptedMerge().has_value(); });
        state_.startAnalysis(false);
        waitForAnalysis();
        shootSettled("15-interrupted-strip");
    }

    // The rest merged on top, the history of all three merges, then an undo that finds a
    // merged file changed since and keeps it.
    void showHistoryAndKeptFiles() {
        state_.startMerge();
        waitFor("the merge and the analysis after it", [this] {
            return !state_.isMerging() && !state_.isAnalyzing() && state_.isAnalyzed();
        });
        failOnAlert("the merge");
        window_.showHistory();
        ui::MergeHistoryWindow& history = *window_.historyWindow();
        waitFor("the history", [&history] { return history.model().rowCount() >= 3; });
        // Drawn over the window it belongs to, with a title bar, as the desktop shows it.
        shootSettled("16-history");
        history.close();

        QFile notes(folders_.archiveTarget() + QStringLiteral("/Notes/Café recommendations.md"));
        if (!notes.open(QIODevice::Append) || notes.write("- Time Out Market\n") < 0) {
            throw std::runtime_error("cannot edit the merged notes");
        }
        notes.close();
        state_.undoLastMerge();
        waitFor("the undo", [this] { return !state_.isUndoing() && state_.alertMessage(); });
        waitFor("the alert", [this] { return camera_.openDialog() != nullptr; });
        shootSettled("17-kept-files-alert");
        state_.setAlertMessage(std::nullopt);
    }

    // The exclude rules with a line that is not a pattern, marked; then the list saved without
    // it, and the comparison it starts, whose header counts what the rules left out.
    void showExcludeRules() {
        waitForAnalysis();
        window_.showExcludeRules();
        ui::ExcludeRulesDialog& rules = *window_.excludeRulesDialog();
        const QString kept = QStringLiteral("# Phone clutter\n*.HEIC\nMusic/\n");
        rules.editor().setPlainText(kept + QStringLiteral("Thumbs[.db\n"));
        waitFor("the wrong rule to be marked",
                [&rules] { return !rules.saveButton().isEnabled(); });
        shootSettled("18-exclude-rules");
        rules.editor().setPlainText(kept);
        waitFor("the rules to be accepted", [&rules] { return rules.saveButton().isEnabled(); });
        rules.saveButton().click();
        waitForAnalysis();
        if (state_.mergeSummary()->excludedCount == 0) {
            throw std::runtime_error("the saved rules left nothing out");
        }
        shootSettled("19-excluded-count");
    }

    bool progressBarShowsAFile() const {
        const auto bars = window_.findChildren<QProgressBar*>();
        return std::any_of(bars.begin(), bars.end(), [](const QProgressBar* bar) {
            return bar->isVisible() && bar->maximum() > 0 && bar->value() >= 1;
        });
    }

    void shootSettled(const char* name) {
        QTest::qWait(kSettleMs);
        camera_.shoot(QString::fromLatin1(name));
    }

    void waitForAnalysis() {
        waitFor("the analysis", [this] { return !state_.isAnalyzing() && state_.isAnalyzed(); });
        failOnAlert("the analysis");
    }

    void failOnAlert(const char* step) const {
        if (const auto& alert = state_.alertMessage()) {
            throw std::runtime_error(std::string(step) + " failed: " + alert->toStdString());
        }
    }

    static void waitFor(const char* what, const std::function<bool()>& done) {
        if (!QTest::qWaitFor(done, kStateTimeoutMs)) {
            throw std::runtime_error(std::string("timed out waiting for ") + what);
        }
    }

    TourFolders folders_;
    AppState& state_ = AppState::shared();
    ui::MainWindow window_;
    WindowCamera camera_;
    QSize windowSize_;
};

// "WIDTHxHEIGHT", e.g. "720x520" to check the layouts at the window's smallest size.
QSize parseSize(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    bool widthOk = false;
    bool heightOk = false;
    const QSize size =
        parts.size() == 2 ? QSize(parts[0].toInt(&widthOk), parts[1].toInt(&heightOk)) : QSize();
    return widthOk && heightOk && !size.isEmpty() ? size : QSize();
}

void setDefault(const char* name, const QByteArray& value) {
    if (!qEnvironmentVariableIsSet(name)) qputenv(name, value);
}

}  // namespace
}  // namespace sorrelix::tools

int main(int argc, char** argv) {
    const QSize windowSize = argc == 3 ? sorrelix::tools::parseSize(QString::fromLocal8Bit(argv[2]))
                                       : sorrelix::tools::kWindowSize;
    if (argc < 2 || argc > 3 || !windowSize.isValid()) {
        std::fprintf(stderr, "usage: sorrelix-screenshots OUTPUT_DIR [WIDTHxHEIGHT]\n");
        return 2;
    }
    const QString outputDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QTemporaryDir workDir(QDir::tempPath() + QStringLiteral("/sorrelix-tour-XXXXXX"));
    if (!workDir.isValid()) {
        std::fprintf(stderr, "screenshots: cannot create a temporary folder\n");
        return 1;
    }
    // The tour's settings, history and language choice never reach the user's own.
    const QString configHome = workDir.filePath(QStringLiteral("config"));
    const QString stateHome = workDir.filePath(QStringLiteral("state"));
    QDir().mkpath(configHome);
    QDir().mkpath(stateHome);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
    sorrelix::tools::setDefault("QT_QPA_PLATFORM", "offscreen");
    sorrelix::tools::setDefault("QT_SCALE_FACTOR", "2");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorrelix"));
    QApplication::setOrganizationName(QStringLiteral("Sorrelix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/sorrelix.svg")));
    try {
        sorrelix::tools::ScreenshotTour tour(workDir.filePath(QStringLiteral("folders")), outputDir,
                                             windowSize);
        tour.run(qEnvironmentVariable("SORRELIX_TINY_DIR"));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshots: %s\n", error.what());
        return 1;
    }
    return 0;
}

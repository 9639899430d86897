#include "app_state.h"

#include <QException>
#include <QFile>
#include <QLocale>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <variant>

#include "apfs_engine.h"
#include "engine_error.h"
#include "exclude_rule_store.h"
#include "file_manager_reveal.h"
#include "folder_location.h"
#include "language_manager.h"
#include "loc.h"
#include "sandbox_helper.h"
#include "undo_merge.h"
#include "volume_info.h"
#include "when_finished.h"

namespace sorrelix::app {

using engine::APFSEngine;
using text::loc;

namespace {

// The record of a merge that failed after it had begun, which undo can take back.
std::optional<AppState::Session> failedMergeOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const engine::EngineError& engineError) {
        if (engineError.failedMerge()) return *engineError.failedMerge();
    } catch (const QUnhandledException& unhandled) {
        if (unhandled.exception()) return failedMergeOf(unhandled.exception());
    } catch (...) {
    }
    return std::nullopt;
}

QString descriptionOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const engine::EngineError& engineError) {
        return engineError.description();
    } catch (const QUnhandledException& unhandled) {
        if (unhandled.exception()) return descriptionOf(unhandled.exception());
    } catch (const std::exception& other) {
        return QString::fromLocal8Bit(other.what());
    } catch (...) {
    }
    return QStringLiteral("Unknown error");
}

// Runs on a worker thread: the merge between the starts and the stops of the two folders'
// access, stopped in the order they were started, whichever way the engine ends.
AppState::Session mergeWithAccess(const QUrl& source, const QUrl& target,
                                  const AppState::Summary& summary,
                                  const engine::ProgressCallback& onProgress,
                                  const std::shared_ptr<const std::atomic<bool>>& stopRequested) {
    SandboxHelper& sandbox = SandboxHelper::shared();
    const bool sourceStarted = sandbox.startAccessingSecurityScopedResource(source);
    const bool targetStarted = sandbox.startAccessingSecurityScopedResource(target);
    const auto stopAccess = [&] {
        if (sourceStarted) sandbox.stopAccessingSecurityScopedResource(source);
        if (targetStarted) sandbox.stopAccessingSecurityScopedResource(target);
    };
    try {
        AppState::Session session = APFSEngine::shared()
                                        .executeMerge(enginePath(source), enginePath(target),
                                                      summary, onProgress, stopRequested)
                                        .result();
        stopAccess();
        return session;
    } catch (...) {
        stopAccess();
        throw;
    }
}

// The stored exclude rules, compiled; or, when a stored line is not a pattern (the list is
// also written by hand and by the command-line tool), the alert that names each such line.
std::variant<engine::ExcludeRules, QString> storedExcludeRules() {
    try {
        return engine::ExcludeRules::compile(engine::ExcludeRuleStore::load());
    } catch (const engine::ExcludeRulesError& error) {
        QString message = loc("alert_exclude_rules_invalid");
        for (const engine::ExcludeRuleError& line : error.errors()) {
            message += QStringLiteral("\n") +
                       loc("alert_exclude_rule_item",
                           QFile::decodeName(QByteArray::fromStdString(line.line)), line.reason());
        }
        return message;
    }
}

}  // namespace

AppState& AppState::shared() {
    // Never destroyed: queued progress and results may still arrive while the process exits.
    static auto* instance = new AppState();
    return *instance;
}

AppState::AppState(QObject* parent) : QObject(parent), analysisProgressTimer_(new QTimer(this)) {
    // A few updates a second read as live and cost the GUI thread nothing.
    analysisProgressTimer_->setInterval(250);
    connect(analysisProgressTimer_, &QTimer::timeout, this, &AppState::sampleAnalysisProgress);
}

template <typename T>
void AppState::assign(T& field, const T& value, void (AppState::*changed)()) {
    if (field == value) return;
    field = value;
    emit(this->*changed)();
    emit stateChanged();
}

void AppState::setMergeSummary(const std::optional<Summary>& summary) {
    // Summaries are not compared: any write of one announces a change, none over none does not.
    if (!mergeSummary_ && !summary) return;
    mergeSummary_ = summary;
    emit mergeSummaryChanged();
    emit stateChanged();
}

void AppState::setLastSession(const std::optional<Session>& session) {
    if (!lastSession_ && !session) return;
    lastSession_ = session;
    emit lastSessionChanged();
    emit stateChanged();
}

void AppState::setAlertMessage(const std::optional<QString>& message) {
    // Set before the message that names it (finishUndo), and gone with any other message.
    assign(alertKeptFolder_, std::optional<QUrl>(), &AppState::alertKeptFolderChanged);
    assign(alertMessage_, message, &AppState::alertMessageChanged);
}

bool AppState::isSameFolder() const {
    return sourceURL_ && targetURL_ &&
           standardizedFolderPath(*sourceURL_) == standardizedFolderPath(*targetURL_);
}

bool AppState::isReadyToAnalyze() const {
    return sourceURL_ && targetURL_ && folderPath(*sourceURL_) != folderPath(*targetURL_) &&
           !isAnalyzing_ && !isMerging_ && !isSameFolder();
}

std::optional<std::int64_t> AppState::targetAvailableBytes() const {
    if (!targetURL_) return std::nullopt;
    return VolumeInfo::availableBytes(folderPath(*targetURL_));
}

bool AppState::isTargetDiskSpaceInsufficient() const {
    return mergeSummary_ &&
           isDiskSpaceInsufficient(targetAvailableBytes(), mergeSummary_->bytesToTransfer);
}

bool AppState::isDiskSpaceInsufficient(std::optional<std::int64_t> availableBytes,
                                       std::int64_t bytesToTransfer) {
    // An unknown or zero capacity says nothing reliable, so it never warns.
    return availableBytes && *availableBytes > 0 && *availableBytes < bytesToTransfer;
}

void AppState::setFolder(std::optional<QUrl>& field, const std::optional<QUrl>& folder,
                         void (AppState::*changed)()) {
    const std::optional<QUrl> location =
        folder && !folder->isEmpty() ? folder : std::optional<QUrl>();
    assign(field, location, changed);
    dropResult();
}

void AppState::dropResult() {
    setMergeSummary(std::nullopt);
    assign(isAnalyzed_, false, &AppState::isAnalyzedChanged);
    hideBanners();
}

void AppState::hideBanners() {
    assign(showSuccessBanner_, false, &AppState::showSuccessBannerChanged);
    assign(stoppedMerge_, std::optional<StoppedMerge>(), &AppState::stoppedMergeChanged);
}

void AppState::setSource(const std::optional<QUrl>& folder) {
    setFolder(sourceURL_, folder, &AppState::sourceURLChanged);
}

void AppState::setTarget(const std::optional<QUrl>& folder) {
    setFolder(targetURL_, folder, &AppState::targetURLChanged);
    refreshInterruptedMerge();
}

void AppState::swapFolders() {
    if (isAnalyzing_ || isMerging_) return;
    const std::optional<QUrl> oldSource = sourceURL_;
    const std::optional<QUrl> oldTarget = targetURL_;
    assign(sourceURL_, oldTarget, &AppState::sourceURLChanged);
    assign(targetURL_, oldSource, &AppState::targetURLChanged);
    dropResult();
    refreshInterruptedMerge();
}

void AppState::startAnalysis(bool keepSuccessBanner) {
    if (!sourceURL_ || !targetURL_) return;
    if (isSameFolder()) {
        setAlertMessage(loc("alert_same_folder"));
        return;
    }
    // Leaving out less than the user asked for would go unnoticed, so a bad rule stops it.
    auto rules = storedExcludeRules();
    if (const QString* problem = std::get_if<QString>(&rules)) {
        assign(isAnalyzed_, false, &AppState::isAnalyzedChanged);
        setAlertMessage(*problem);
        return;
    }
    cancelAnalysis();
    assign(isAnalyzing_, true, &AppState::isAnalyzingChanged);
    assign(isAnalyzed_, false, &AppState::isAnalyzedChanged);
    if (!keepSuccessBanner) hideBanners();
    const std::uint64_t task = ++analysesStarted_;
    analyzeTask_ = task;
    analysisProgress_ = std::make_shared<engine::AnalysisProgress>();
    setAnalysisProgress(0, 0);
    analysisProgressTimer_->start();
    whenFinished(APFSEngine::shared().analyze(enginePath(*sourceURL_), enginePath(*targetURL_),
                                              analysisProgress_,
                                              std::get<engine::ExcludeRules>(std::move(rules))),
                 this, [this, task](const QFuture<Summary>& analysis) {
                     try {
                         finishAnalysis(task, analysis.result());
                     } catch (...) {
                         // The engine reports failures in the summary; this is a last resort.
                         finishAnalysis(task,
                                        Summary::failure(descriptionOf(std::current_exception())));
                     }
                 });
}

void AppState::cancelAnalysis() {
    // The walk stops at its next entry; its summary is dropped when it arrives.
    if (analysisProgress_) analysisProgress_->requestCancel();
    releaseAnalysisProgress();
    analyzeTask_.reset();
    if (!isAnalyzing_) return;
    assign(isAnalyzing_, false, &AppState::isAnalyzingChanged);
    setAlertMessage(loc("alert_cancel_analysis"));
}

void AppState::finishAnalysis(std::uint64_t task, const Summary& summary) {
    if (analyzeTask_ != task) {
        emit cancelledAnalysisDropped();
        return;
    }
    sampleAnalysisProgress();  // the final counts, all of the walk's work being done
    releaseAnalysisProgress();
    if (summary.errorMessage) {
        assign(isAnalyzing_, false, &AppState::isAnalyzingChanged);
        assign(isAnalyzed_, false, &AppState::isAnalyzedChanged);
        setAlertMessage(summary.errorMessage);
        return;
    }
    setMergeSummary(summary);
    assign(isAnalyzing_, false, &AppState::isAnalyzingChanged);
    assign(isAnalyzed_, true, &AppState::isAnalyzedChanged);
}

void AppState::sampleAnalysisProgress() {
    if (!analysisProgress_) return;
    setAnalysisProgress(analysisProgress_->filesCompared.load(std::memory_order_relaxed),
                        analysisProgress_->bytesRead.load(std::memory_order_relaxed));
}

void AppState::releaseAnalysisProgress() {
    analysisProgressTimer_->stop();
    analysisProgress_.reset();
}

void AppState::setAnalysisProgress(std::int64_t filesCompared, std::int64_t bytesRead) {
    if (filesCompared == analysisFilesCompared_ && bytesRead == analysisBytesRead_) return;
    analysisFilesCompared_ = filesCompared;
    analysisBytesRead_ = bytesRead;
    emit analysisProgressChanged();
    emit stateChanged();
}

void AppState::startMerge() {
    if (!sourceURL_ || !targetURL_ || !mergeSummary_ || !mergeSummary_->hasChanges()) return;
    if (isMerging_ || isUndoing_) return;
    assign(isMerging_, true, &AppState::isMergingChanged);
    assign<std::int64_t>(progressCurrent_, 0, &AppState::progressCurrentChanged);
    assign(progressTotal_, mergeSummary_->addedCount + mergeSummary_->updatedCount,
           &AppState::progressTotalChanged);
    assign(progressFileName_, QString(), &AppState::progressFileNameChanged);
    // Each report crosses to the GUI thread as its own queued call; queued calls from one
    // thread arrive in order, and all of them before the merge's result.
    engine::ProgressCallback onProgress = [this](std::int64_t current, std::int64_t total,
                                                 const std::string& relativePath) {
        QMetaObject::invokeMethod(
            this,
            [this, current, total,
             name = QFile::decodeName(QByteArray::fromStdString(relativePath))] {
                applyProgress(current, total, name);
            },
            Qt::QueuedConnection);
    };
    mergeStop_ = std::make_shared<std::atomic<bool>>(false);
    whenFinished(QtConcurrent::run(mergeWithAccess, *sourceURL_, *targetURL_, *mergeSummary_,
                                   std::move(onProgress), mergeStop_),
                 this, [this](const QFuture<Session>& merge) {
                     std::optional<Session> session;
                     try {
                         session = merge.result();
                     } catch (...) {
                         failMerge(std::current_exception());
                         return;
                     }
                     finishMerge(*session);
                 });
}

void AppState::stopMerge() {
    if (isMerging_ && mergeStop_) mergeStop_->store(true);
}

void AppState::applyProgress(std::int64_t current, std::int64_t total, const QString& fileName) {
    assign(progressCurrent_, current, &AppState::progressCurrentChanged);
    assign(progressTotal_, total, &AppState::progressTotalChanged);
    assign(progressFileName_, fileName, &AppState::progressFileNameChanged);
}

void AppState::finishMerge(const Session& session) {
    mergeStop_.reset();
    setLastSession(session);
    assign(isMerging_, false, &AppState::isMergingChanged);
    const bool completed = session.outcome == engine::MergeOutcome::completed;
    assign(showSuccessBanner_, completed, &AppState::showSuccessBannerChanged);
    // Every report arrived before the result: the last one names the last file copied.
    const bool stopped = session.outcome == engine::MergeOutcome::stopped;
    if (stopped) {
        assign(stoppedMerge_, std::optional(StoppedMerge{progressCurrent_, progressTotal_}),
               &AppState::stoppedMergeChanged);
    }
    startAnalysis(completed || stopped);
    refreshInterruptedMerge();
}

// What the merge copied before it failed stays undoable: its record becomes the last merge.
void AppState::failMerge(const std::exception_ptr& error) {
    mergeStop_.reset();
    const std::optional<Session> session = failedMergeOf(error);
    if (session) setLastSession(*session);
    assign(isMerging_, false, &AppState::isMergingChanged);
    QString message = loc("alert_merge_failed", descriptionOf(error));
    if (session) message += QStringLiteral("\n\n") + loc("alert_merge_failed_undo");
    setAlertMessage(message);
    refreshInterruptedMerge();
}

void AppState::undoLastMerge() {
    if (lastSession_) undoMerge(*lastSession_);
}

void AppState::undoMerge(const Session& record) {
    if (isMerging_ || isUndoing_) return;
    assign(isUndoing_, true, &AppState::isUndoingChanged);
    whenFinished(APFSEngine::shared().undoMerge(record), this,
                 [this, record](const QFuture<engine::UndoResult>& undo) {
                     std::optional<engine::UndoResult> result;
                     try {
                         result = undo.result();
                     } catch (...) {
                         failUndo(descriptionOf(std::current_exception()));
                         return;
                     }
                     finishUndo(record, *result);
                 });
}

void AppState::finishUndo(const Session& undone, const engine::UndoResult& result) {
    // An older merge undone from the history leaves the last merge standing.
    if (lastSession_ && lastSession_->id == undone.id) setLastSession(std::nullopt);
    hideBanners();
    assign(isUndoing_, false, &AppState::isUndoingChanged);
    QString message = loc("alert_undo_success");
    std::optional<QUrl> keptFolder;
    if (!result.keptFiles.empty()) {
        const QString folder =
            QFile::decodeName(QByteArray::fromStdString(engine::UndoMerge::keptFolderOf(undone)));
        message +=
            QStringLiteral("\n\n") +
            loc("alert_undo_kept_files", static_cast<qint64>(result.keptFiles.size()), folder);
        keptFolder = QUrl::fromLocalFile(folder);
    }
    // The folder first, so that the alert finds its button's folder when the message arrives.
    assign(alertKeptFolder_, keptFolder, &AppState::alertKeptFolderChanged);
    assign(alertMessage_, std::optional(message), &AppState::alertMessageChanged);
    startAnalysis(false);
    refreshInterruptedMerge();
}

void AppState::failUndo(const QString& description) {
    assign(isUndoing_, false, &AppState::isUndoingChanged);
    setAlertMessage(loc("alert_undo_failed", description));
    refreshInterruptedMerge();
}

void AppState::refreshInterruptedMerge() {
    const std::uint64_t lookup = ++interruptedLookups_;
    const auto setMerge = [this](const std::optional<Session>& merge) {
        if (!interruptedMerge_ && !merge) return;
        interruptedMerge_ = merge;
        emit interruptedMergeChanged();
        emit stateChanged();
    };
    const std::string target = targetURL_ ? enginePath(*targetURL_) : std::string();
    // A merge into another folder goes at once; one into this folder stays until the answer.
    if (!targetURL_ || (interruptedMerge_ &&
                        interruptedMerge_->targetPath != engine::normalizedFolderPath(target))) {
        setMerge(std::nullopt);
    }
    if (!targetURL_) return;
    const auto newestInterrupted = [](const std::string& folder) -> std::optional<Session> {
        const auto merges = APFSEngine::shared().interruptedMerges(folder);
        return merges.empty() ? std::nullopt : std::optional(merges.front());
    };
    whenFinished(QtConcurrent::run(newestInterrupted, target), this,
                 [this, lookup, setMerge](const QFuture<std::optional<Session>>& found) {
                     // A later look-up (another target, a later merge) has the newer answer.
                     if (lookup != interruptedLookups_) return;
                     try {
                         setMerge(found.result());
                     } catch (...) {
                         setMerge(std::nullopt);  // an unreadable target offers nothing
                     }
                 });
}

QString AppState::formatBytes(std::int64_t byteCount) const {
    const QLocale locale(text::LanguageManager::shared().currentTableCode());
    return locale.formattedDataSize(byteCount, 1, QLocale::DataSizeSIFormat);
}

QString AppState::volumeDescription(const std::optional<QUrl>& folder) const {
    const auto volume = folder ? VolumeInfo::forPath(folderPath(*folder)) : std::nullopt;
    if (!volume) return loc("volume_local");
    const QString name = volume->name.isEmpty() ? QStringLiteral("Disk") : volume->name;
    return loc(volume->isExternal ? "volume_external" : "volume_internal", name);
}

void AppState::openInFinder(const QUrl& folder) const {
    FileManagerReveal::shared().showFolder(folderPath(folder));
}

}  // namespace sorrelix::app

#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "analysis_progress.h"
#include "merge_session_record.h"
#include "merge_summary.h"
#include "undo_result.h"

class QTimer;

namespace sorrelix::app {

// The folder-merge workflow of the window: the chosen folders, the analysis and its result,
// the merge and its progress, the merge that undo would revert, the success banner and the
// pending alert. It alone calls the engine. It lives on the GUI thread: every operation is
// called there and returns at once, engine work runs on worker threads, and every outcome is
// written back on the GUI thread, each change announced by its property's signal and then by
// stateChanged().
class AppState : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isAnalyzing READ isAnalyzing NOTIFY isAnalyzingChanged)
    Q_PROPERTY(bool isAnalyzed READ isAnalyzed NOTIFY isAnalyzedChanged)
    Q_PROPERTY(
        qint64 analysisFilesCompared READ analysisFilesCompared NOTIFY analysisProgressChanged)
    Q_PROPERTY(qint64 analysisBytesRead READ analysisBytesRead NOTIFY analysisProgressChanged)
    Q_PROPERTY(bool isMerging READ isMerging NOTIFY isMergingChanged)
    Q_PROPERTY(qint64 progressCurrent READ progressCurrent NOTIFY progressCurrentChanged)
    Q_PROPERTY(qint64 progressTotal READ progressTotal NOTIFY progressTotalChanged)
    Q_PROPERTY(QString progressFileName READ progressFileName NOTIFY progressFileNameChanged)
    Q_PROPERTY(bool isUndoing READ isUndoing NOTIFY isUndoingChanged)
    Q_PROPERTY(bool showSuccessBanner READ showSuccessBanner NOTIFY showSuccessBannerChanged)

public:
    using Summary = engine::MergeSummary;
    using Session = engine::MergeSessionRecord;
    // A merge stopped on request: how many of its files it copied.
    struct StoppedMerge {
        std::int64_t copied = 0;
        std::int64_t total = 0;
        friend bool operator==(const StoppedMerge&, const StoppedMerge&) = default;
    };

    // The window's instance, created on first use (on the GUI thread) and never destroyed.
    static AppState& shared();
    // Separate instances are for tests; one must outlive the work it started.
    explicit AppState(QObject* parent = nullptr);

    const std::optional<QUrl>& sourceURL() const { return sourceURL_; }
    const std::optional<QUrl>& targetURL() const { return targetURL_; }
    bool isAnalyzing() const { return isAnalyzing_; }
    bool isAnalyzed() const { return isAnalyzed_; }
    // How far the running analysis has come: read from its walk a few times a second while
    // it runs, its final counts once it ends, kept after a cancel, 0 when the next one starts.
    // The bytes are those read on both sides to compare contents.
    std::int64_t analysisFilesCompared() const { return analysisFilesCompared_; }
    std::int64_t analysisBytesRead() const { return analysisBytesRead_; }
    const std::optional<Summary>& mergeSummary() const { return mergeSummary_; }
    bool isMerging() const { return isMerging_; }
    std::int64_t progressCurrent() const { return progressCurrent_; }
    std::int64_t progressTotal() const { return progressTotal_; }
    const QString& progressFileName() const { return progressFileName_; }
    const std::optional<Session>& lastSession() const { return lastSession_; }
    bool isUndoing() const { return isUndoing_; }
    bool showSuccessBanner() const { return showSuccessBanner_; }
    const std::optional<QString>& alertMessage() const { return alertMessage_; }
    // The workspace writes none back when the user dismisses the alert.
    void setAlertMessage(const std::optional<QString>& message);
    // Where the undo that raised the alert put the files it kept; none for any other alert.
    const std::optional<QUrl>& alertKeptFolder() const { return alertKeptFolder_; }
    // The merge stopped on request whose banner shows in the success banner's place.
    const std::optional<StoppedMerge>& stoppedMerge() const { return stoppedMerge_; }
    // The newest merge into the target that never ended (a crash, a power cut), looked up off
    // the GUI thread whenever the target changes and after every merge and undo.
    const std::optional<Session>& interruptedMerge() const { return interruptedMerge_; }

    // Derived values, computed on every read.
    bool isSameFolder() const;
    bool isReadyToAnalyze() const;
    std::optional<std::int64_t> targetAvailableBytes() const;
    bool isTargetDiskSpaceInsufficient() const;
    // The warning rule: a known, non-zero capacity below what the merge would write.
    static bool isDiskSpaceInsufficient(std::optional<std::int64_t> availableBytes,
                                        std::int64_t bytesToTransfer);

    // Folder changes drop the result; none (or an empty URL) clears the folder.
    void setSource(const std::optional<QUrl>& folder);
    void setTarget(const std::optional<QUrl>& folder);
    void swapFolders();
    // Compares with the stored exclude rules, read afresh each time; when a stored line is
    // not a pattern, it compares nothing and the alert names each such line.
    void startAnalysis(bool keepSuccessBanner);
    void cancelAnalysis();
    // Both refuse while a merge or an undo runs, so one can never start on top of another.
    void startMerge();
    // Asks the running merge to stop after the file at hand; it is then recorded as stopped
    // and becomes the last merge, so undo takes back what it copied.
    void stopMerge();
    void undoLastMerge();
    // Reverts any stored merge (the history, an interrupted merge) as undoLastMerge does.
    void undoMerge(const Session& record);

    // Decimal units suited to the size, in the number format of the interface language.
    QString formatBytes(std::int64_t byteCount) const;
    QString volumeDescription(const std::optional<QUrl>& folder) const;
    void openInFinder(const QUrl& folder) const;

signals:
    void sourceURLChanged();
    void targetURLChanged();
    void isAnalyzingChanged();
    void isAnalyzedChanged();
    void analysisProgressChanged();
    void mergeSummaryChanged();
    void isMergingChanged();
    void progressCurrentChanged();
    void progressTotalChanged();
    void progressFileNameChanged();
    void lastSessionChanged();
    void isUndoingChanged();
    void showSuccessBannerChanged();
    void alertMessageChanged();
    void alertKeptFolderChanged();
    void stoppedMergeChanged();
    void interruptedMergeChanged();
    // After any one of the signals above.
    void stateChanged();
    // The summary of a cancelled analysis arrived and was dropped (diagnostics and tests).
    void cancelledAnalysisDropped();

private:
    template <typename T>
    void assign(T& field, const T& value, void (AppState::*changed)());
    void setMergeSummary(const std::optional<Summary>& summary);
    void setLastSession(const std::optional<Session>& session);
    void setFolder(std::optional<QUrl>& field, const std::optional<QUrl>& folder,
                   void (AppState::*changed)());
    void dropResult();

    void finishAnalysis(std::uint64_t task, const Summary& summary);
    void sampleAnalysisProgress();
    void releaseAnalysisProgress();
    void setAnalysisProgress(std::int64_t filesCompared, std::int64_t bytesRead);
    void applyProgress(std::int64_t current, std::int64_t total, const QString& fileName);
    void finishMerge(const Session& session);
    void failMerge(const std::exception_ptr& error);
    void finishUndo(const Session& undone, const engine::UndoResult& result);
    void failUndo(const QString& description);
    void hideBanners();
    void refreshInterruptedMerge();

    std::optional<QUrl> sourceURL_;
    std::optional<QUrl> targetURL_;
    bool isAnalyzing_ = false;
    bool isAnalyzed_ = false;
    std::optional<Summary> mergeSummary_;
    bool isMerging_ = false;
    std::int64_t progressCurrent_ = 0;
    std::int64_t progressTotal_ = 0;
    QString progressFileName_;
    std::optional<Session> lastSession_;
    bool isUndoing_ = false;
    bool showSuccessBanner_ = false;
    std::optional<QString> alertMessage_;
    std::optional<QUrl> alertKeptFolder_;
    std::optional<StoppedMerge> stoppedMerge_;
    std::optional<Session> interruptedMerge_;
    // The number of the latest interrupted-merge look-up; earlier answers are dropped.
    std::uint64_t interruptedLookups_ = 0;

    // The handle of the latest analysis: its number, none once cancelled. Every earlier
    // analysis was cancelled when the next one started, so a result whose number is not
    // this one's belongs to a cancelled analysis.
    std::optional<std::uint64_t> analyzeTask_;
    // The counts and the cancel flag shared with the latest analysis's walk, while it runs;
    // the timer reads the counts, so the walk never waits for the GUI thread nor it for them.
    std::shared_ptr<engine::AnalysisProgress> analysisProgress_;
    QTimer* analysisProgressTimer_;
    std::int64_t analysisFilesCompared_ = 0;
    std::int64_t analysisBytesRead_ = 0;
    // The stop flag of the running merge, shared with its worker thread.
    std::shared_ptr<std::atomic<bool>> mergeStop_;
    std::uint64_t analysesStarted_ = 0;
};

}  // namespace sorrelix::app

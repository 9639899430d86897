#include "session_history.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QSettings>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <thread>

#include "apfs_engine.h"
#include "app_settings.h"
#include "file_tree.h"
#include "record_json.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::FileTree;
using sorrelix::testing::ScopedConfigHome;

// Every id has the same length, so that every stored list of 30 has the same size too.
std::string idFor(char series, int number) {
    std::string digits = std::to_string(number);
    return std::string(1, series) + std::string(7 - digits.size(), '0') + digits;
}

MergeSessionRecord recordWithId(const std::string& id) {
    return {id,
            Date::fromSecondsSince1970(1'700'000'000.5),
            "/home/user/source",
            "/home/user/target",
            1,
            0,
            "/home/user/target/.sorrelix/backups/" + id,
            std::vector<std::string>{"docs/new.txt"}};
}

std::vector<std::string> storedIds() {
    std::vector<std::string> ids;
    for (const auto& record : SessionHistory::load()) ids.push_back(record.id);
    return ids;
}

void saveSeries(char series, int count) {
    for (int i = 0; i < count; ++i) SessionHistory::save(recordWithId(idFor(series, i)));
}

QByteArray readFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray storedValue() {
    return readFile(SessionHistory::storeFile());
}

void storeValue(const QByteArray& value) {
    std::filesystem::create_directories(SessionHistory::storeFolder());
    QFile file(QString::fromStdString(SessionHistory::storeFile()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(value);
}

// The files beside the store that keep what a save could not read.
std::vector<std::string> unreadableSideFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(SessionHistory::storeFolder())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("SorrelixSessions.unreadable-")) files.push_back(entry.path());
    }
    return files;
}

// Saves `count` records of one series in a child process once the pipe `go` closes.
pid_t saveSeriesInChild(char series, int count, const int (&go)[2]) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    ::close(go[1]);
    char byte;
    while (::read(go[0], &byte, 1) > 0) {
    }
    saveSeries(series, count);
    ::_exit(0);
}

class SessionHistoryTest : public ::testing::Test {
protected:
    ScopedConfigHome config;
};

TEST_F(SessionHistoryTest, AnEmptyStoreGivesAnEmptyList) {
    EXPECT_TRUE(SessionHistory::load().empty());
    EXPECT_TRUE(APFSEngine::shared().loadSessionRecords().empty());
}

TEST_F(SessionHistoryTest, SavesPrependAndStoreTheRawCompactArray) {
    SessionHistory::save(recordWithId("00000001"));
    SessionHistory::save(recordWithId("00000002"));
    EXPECT_EQ(storedIds(), (std::vector<std::string>{"00000002", "00000001"}));
    const auto records = SessionHistory::load();
    EXPECT_EQ(storedValue(), encodeJson(records));
    EXPECT_TRUE(storedValue().startsWith(R"([{"id":"00000002",)"));
    // A file of its own in the state folder: the settings file stays small.
    EXPECT_EQ(SessionHistory::storeFile(), config.historyFile());
    EXPECT_FALSE(text::openAppSettings()->contains(SessionHistory::kStorageKey));
}

TEST_F(SessionHistoryTest, KeepsOnlyTheNewestThirty) {
    saveSeries('a', 31);
    const auto ids = storedIds();
    ASSERT_EQ(ids.size(), 30U);
    EXPECT_EQ(ids.front(), idFor('a', 30));
    EXPECT_EQ(ids.back(), idFor('a', 1));
    EXPECT_EQ(std::count(ids.begin(), ids.end(), idFor('a', 0)), 0);
    for (std::size_t i = 1; i < ids.size(); ++i) EXPECT_GT(ids[i - 1], ids[i]);
}

TEST_F(SessionHistoryTest, RecordsSurviveTheStoreByteForByte) {
    MergeSessionRecord record = recordWithId("0a1b2c3d");
    record.sourcePath = "/media/caf\xe9/source";
    record.targetPath = "/media/\xff\xfe target";
    record.backupDir = record.targetPath + "/.sorrelix/backups/0a1b2c3d";
    record.addedRelativePaths = std::vector<std::string>{"\x80\x81.txt", "ok/\xe2\x82", ""};
    SessionHistory::save(record);
    const auto loaded = SessionHistory::load();
    ASSERT_EQ(loaded.size(), 1U);
    EXPECT_EQ(loaded[0].sourcePath, record.sourcePath);
    EXPECT_EQ(loaded[0].targetPath, record.targetPath);
    EXPECT_EQ(loaded[0].backupDir, record.backupDir);
    EXPECT_EQ(loaded[0].addedRelativePaths, record.addedRelativePaths);
    EXPECT_EQ(loaded[0].timestamp, record.timestamp);
}

TEST_F(SessionHistoryTest, ARecordFromAnOlderVersionLoadsWithoutAddedPaths) {
    storeValue(R"([{"id":"0a1b2c3d","timestamp":721692800,"sourcePath":"\/s",)"
               R"("targetPath":"\/t","addedCount":0,"updatedCount":2,)"
               R"("backupDir":"\/t\/.sorrelix\/backups\/0a1b2c3d"}])");
    const auto loaded = SessionHistory::load();
    ASSERT_EQ(loaded.size(), 1U);
    EXPECT_FALSE(loaded[0].addedRelativePaths.has_value());
    EXPECT_EQ(loaded[0].targetPath, "/t");
}

// An unreadable history is never "repaired" by a load. The next save starts afresh, but keeps
// the unreadable bytes in a side file first, so that no record is destroyed unseen.
TEST_F(SessionHistoryTest, AnUnreadableValueGivesAnEmptyListAndTheNextSaveKeepsItAside) {
    const QByteArray broken[] = {
        "not json at all {",
        R"({"id":"0a1b2c3d"})",                            // an object, not an array
        R"([{"id":"0a1b2c3d","timestamp":"yesterday"}])",  // wrong type, missing keys
        QByteArray("[\xff\xfe]", 4),
        "",
    };
    for (const QByteArray& value : broken) {
        storeValue(value);
        EXPECT_TRUE(SessionHistory::load().empty()) << value.toStdString();
        EXPECT_EQ(storedValue(), value) << "a load changed the stored value";
        SessionHistory::save(recordWithId("0000fefe"));
        EXPECT_EQ(storedIds(), std::vector<std::string>{"0000fefe"}) << value.toStdString();
        const auto sideFiles = unreadableSideFiles();
        ASSERT_EQ(sideFiles.size(), value.isEmpty() ? 0U : 1U) << value.toStdString();
        for (const auto& file : sideFiles) {
            EXPECT_EQ(readFile(file), value);
            std::filesystem::remove(file);
        }
    }
}

// Earlier versions kept the history in the settings file: it moves to the store file once,
// and the settings file no longer holds it.
TEST_F(SessionHistoryTest, AHistoryInTheSettingsFileMovesToTheStoreOnce) {
    const QByteArray old = encodeJson(std::vector<MergeSessionRecord>{recordWithId("0000000a")});
    {
        auto settings = text::openAppSettings();
        settings->setValue(SessionHistory::kStorageKey, old);
        settings->setValue("selected_app_language", "de");
    }
    EXPECT_EQ(storedIds(), std::vector<std::string>{"0000000a"});
    EXPECT_EQ(storedValue(), old);
    auto settings = text::openAppSettings();
    EXPECT_FALSE(settings->contains(SessionHistory::kStorageKey));
    EXPECT_EQ(settings->value("selected_app_language").toString(), "de");
    SessionHistory::save(recordWithId("0000000b"));
    EXPECT_EQ(storedIds(), (std::vector<std::string>{"0000000b", "0000000a"}));
}

TEST_F(SessionHistoryTest, ACorruptSettingsFileStillLoadsAndSaves) {
    std::filesystem::create_directories(std::filesystem::path(config.settingsFile()).parent_path());
    {
        QFile file(QString::fromStdString(config.settingsFile()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        static constexpr char kGarbage[] = "\x00\x01[[[=\n\xff\xfeSorrelixSessions=@ByteArray(\n";
        file.write(kGarbage, sizeof kGarbage - 1);
    }
    EXPECT_TRUE(SessionHistory::load().empty());
    SessionHistory::save(recordWithId("00000001"));
    EXPECT_EQ(storedIds(), std::vector<std::string>{"00000001"});
}

// A store that cannot be written loses the record but never fails or blocks the merge.
TEST_F(SessionHistoryTest, AStoreThatCannotBeWrittenIsNoFailure) {
    std::filesystem::create_directories(SessionHistory::storeFile());  // a folder where it goes
    EXPECT_NO_THROW(SessionHistory::save(recordWithId("00000001")));
    EXPECT_TRUE(SessionHistory::load().empty());
}

TEST_F(SessionHistoryTest, AMergeSavesItsRecordAtTheHead) {
    SessionHistory::save(recordWithId("00000001"));
    FileTree source;
    FileTree target;
    source.file("new.txt", "n");
    auto& engine = APFSEngine::shared();
    const auto summary = engine.analyzeNow(source.root(), target.root());
    const auto record = engine.executeMergeNow(source.root(), target.root(), summary, {});
    const auto loaded = engine.loadSessionRecords();
    ASSERT_EQ(loaded.size(), 2U);
    EXPECT_EQ(encodeJson(loaded[0]), encodeJson(record));
    EXPECT_EQ(loaded[1].id, "00000001");
}

// 30 older records first, so every list written has the same length; a save that worked from
// a stale list would leave one of them in place of a new record.
TEST_F(SessionHistoryTest, SavesFromManyThreadsAreNeverLost) {
    saveSeries('o', 30);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] { saveSeries(static_cast<char>('a' + t), 10); });
    }
    for (auto& thread : threads) thread.join();
    const auto ids = storedIds();
    ASSERT_EQ(ids.size(), 30U);
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 30U);
    for (const auto& id : ids) EXPECT_NE(id.front(), 'o') << "an older record survived: " << id;
}

class SessionHistoryProcessTest : public SessionHistoryTest,
                                  public ::testing::WithParamInterface<int> {};

// Two programs saving at the same time (the window and the command-line tool): each child
// saves 15, so all 30 new records must be there, each series in its own order.
TEST_P(SessionHistoryProcessTest, SavesFromTwoProcessesAreAllKept) {
    saveSeries('o', GetParam());
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t first = saveSeriesInChild('a', 15, go);
    const pid_t second = saveSeriesInChild('b', 15, go);
    ::close(go[0]);
    ::close(go[1]);  // both start now
    for (const pid_t child : {first, second}) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto ids = storedIds();
    std::set<std::string> expected;
    for (int i = 0; i < 15; ++i) {
        expected.insert(idFor('a', i));
        expected.insert(idFor('b', i));
    }
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()), expected);
    for (const char series : {'a', 'b'}) {
        std::vector<std::string> ofSeries;
        std::copy_if(ids.begin(), ids.end(), std::back_inserter(ofSeries),
                     [series](const std::string& id) { return id.front() == series; });
        EXPECT_TRUE(std::is_sorted(ofSeries.rbegin(), ofSeries.rend())) << series;
    }
}

INSTANTIATE_TEST_SUITE_P(FromEmptyAndFromFull, SessionHistoryProcessTest, ::testing::Values(0, 30));

}  // namespace
}  // namespace sorrelix::engine

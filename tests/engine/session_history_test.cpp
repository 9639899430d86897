#include "session_history.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "app_settings.h"
#include "file_tree.h"
#include "record_json.h"

namespace sorrelix::engine {
namespace {

using sorrelix::testing::ScopedConfigHome;

// Every id has the same length, so that every stored list of 30 has the same size too.
std::string idFor(char series, int number) {
    std::string digits = std::to_string(number);
    return std::string(1, series) + std::string(7 - digits.size(), '0') + digits;
}

MergeSessionRecord recordWithId(const std::string& id) {
    return {id, {}, "/s", "/t", 1, 0, "/t/.sorrelix/backups/" + id, std::vector<std::string>{}};
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
    std::ofstream(SessionHistory::storeFile(), std::ios::binary) << value.toStdString();
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

// Saves `count` records of `series` and as many of the series two letters on, each from a
// thread of its own, in a child process once the pipe `go` closes.
pid_t saveSeriesInChild(char series, int count, const int (&go)[2]) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    ::close(go[1]);
    char byte;
    while (::read(go[0], &byte, 1) > 0) {
    }
    std::thread other([&] { saveSeries(static_cast<char>(series + 2), count); });
    saveSeries(series, count);
    other.join();
    ::_exit(0);
}

class SessionHistoryTest : public ::testing::Test {
protected:
    ScopedConfigHome config;
};

// Saves go first in the list, which keeps the newest thirty, stored as the compact array.
TEST_F(SessionHistoryTest, SavesPrependAndOnlyTheNewestThirtyAreKept) {
    EXPECT_TRUE(SessionHistory::load().empty());
    saveSeries('a', 31);
    std::vector<std::string> expected;
    for (int i = 30; i > 0; --i) expected.push_back(idFor('a', i));
    EXPECT_EQ(storedIds(), expected);
    EXPECT_EQ(storedValue(), encodeJson(SessionHistory::load()));
    // A file of its own in the state folder: the settings file stays small.
    EXPECT_EQ(SessionHistory::storeFile(), config.historyFile());
    EXPECT_FALSE(text::openAppSettings()->contains(SessionHistory::kStorageKey));
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

// Neither a corrupt settings file nor a store that cannot be written fails a load or a save:
// the latter loses the record, but never fails or blocks the merge.
TEST_F(SessionHistoryTest, ABrokenSettingsFileOrStoreIsNoFailure) {
    std::filesystem::create_directories(std::filesystem::path(config.settingsFile()).parent_path());
    const char garbage[] = "\x00\x01[[[=\n\xff\xfeSorrelixSessions=@ByteArray(\n";
    std::ofstream(config.settingsFile(), std::ios::binary).write(garbage, sizeof garbage - 1);
    EXPECT_TRUE(SessionHistory::load().empty());
    SessionHistory::save(recordWithId("00000001"));
    EXPECT_EQ(storedIds(), std::vector<std::string>{"00000001"});
    std::filesystem::remove(SessionHistory::storeFile());
    std::filesystem::create_directories(SessionHistory::storeFile());  // a folder where it goes
    EXPECT_NO_THROW(SessionHistory::save(recordWithId("00000002")));
    EXPECT_TRUE(SessionHistory::load().empty());
}

class SessionHistoryProcessTest : public SessionHistoryTest,
                                  public ::testing::WithParamInterface<int> {};

// Two programs saving at the same time (the window and the command-line tool), each from two
// threads: all 28 new records must be there, each series in its own order, and of older ones
// only the newest two.
TEST_P(SessionHistoryProcessTest, SavesFromTwoProcessesAreAllKept) {
    saveSeries('o', GetParam());
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t first = saveSeriesInChild('a', 7, go);
    const pid_t second = saveSeriesInChild('b', 7, go);
    ::close(go[0]);
    ::close(go[1]);  // both start now
    for (const pid_t child : {first, second}) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto ids = storedIds();
    std::set<std::string> expected;
    for (const char series : {'a', 'b', 'c', 'd'}) {
        for (int i = 0; i < 7; ++i) expected.insert(idFor(series, i));
    }
    if (GetParam() == 30) expected.insert({idFor('o', 29), idFor('o', 28)});
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()), expected);
    std::map<char, std::string> newerOfSeries;  // newest first: each series' ids go down
    for (const auto& id : ids) {
        std::string& newer = newerOfSeries[id.front()];
        EXPECT_TRUE(newer.empty() || id < newer) << id;
        newer = id;
    }
}

INSTANTIATE_TEST_SUITE_P(FromEmptyAndFromFull, SessionHistoryProcessTest, ::testing::Values(0, 30));

}  // namespace
}  // namespace sorrelix::engine

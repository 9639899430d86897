#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

#include "app_state.h"
#include "sorrelix_app.h"

namespace sorrelix::app {
namespace {

std::optional<QString> pathOf(const std::optional<QUrl>& folder) {
    if (!folder) return std::nullopt;
    return folder->toLocalFile();
}

TEST(CommandLineFolders, TakesTheFolderAfterTheFirstOfEachOption) {
    const QString cwd = QDir::currentPath();
    struct Case {
        const char* name;
        QStringList arguments;
        std::optional<QString> source;
        std::optional<QString> target;
    };
    const std::vector<Case> cases = {
        {"both", {"sorrelix", "--source", "/a", "--target", "/b"}, "/a", "/b"},
        {"target first on the line", {"sorrelix", "--target", "/b", "--source", "/a"}, "/a", "/b"},
        {"source twice", {"sorrelix", "--source", "/a", "--source", "/c"}, "/a", std::nullopt},
        {"source last", {"sorrelix", "--source"}, std::nullopt, std::nullopt},
        {"target only", {"sorrelix", "--target", "/b"}, std::nullopt, "/b"},
        {"relative", {"sorrelix", "--source", "sub/dir"}, cwd + "/sub/dir", std::nullopt},
        {"empty path", {"sorrelix", "--source", ""}, std::nullopt, std::nullopt},
        {"options compared whole",
         {"sorrelix", "--Source", "/a", "--source=/b"},
         std::nullopt,
         std::nullopt},
        {"odd names", {"sorrelix", "--source", "/tmp/a b/é#?%"}, "/tmp/a b/é#?%", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        SorrelixApp::applyCommandLineFolders(c.arguments, state);
        EXPECT_EQ(pathOf(state.sourceURL()), c.source);
        EXPECT_EQ(pathOf(state.targetURL()), c.target);
    }
}

TEST(CommandLineFolders, SetsTheSourceBeforeTheTarget) {
    AppState state;
    QStringList order;
    QObject::connect(&state, &AppState::sourceURLChanged, [&] { order << "source"; });
    QObject::connect(&state, &AppState::targetURLChanged, [&] { order << "target"; });
    SorrelixApp::applyCommandLineFolders({"sorrelix", "--target", "/b", "--source", "/a"}, state);
    EXPECT_EQ(order, QStringList({"source", "target"}));
}

}  // namespace
}  // namespace sorrelix::app

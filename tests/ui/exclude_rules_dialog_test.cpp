#include "exclude_rules_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "app_test_support.h"
#include "exclude_pattern_fault.h"
#include "exclude_rule_store.h"
#include "file_tree.h"
#include "language_manager.h"
#include "loc.h"

namespace sorrelix::ui {
namespace {

using engine::ExcludePatternFault;
using engine::ExcludeRuleStore;
using testing::waitUntil;
using text::loc;
using Lines = std::vector<std::string>;

QString lineError(int line, ExcludePatternFault fault) {
    return loc("exclude_rules_line_error", line, engine::excludePatternFaultText(fault));
}

// The dialog on a stored list of the test's own, in English, over a real state.
class ExcludeRulesDialogTest : public ::testing::Test {
protected:
    void SetUp() override { languages.setSelectedLanguage(QStringLiteral("en")); }
    void TearDown() override {
        EXPECT_TRUE(waitUntil([this] { return !state.isAnalyzing(); }));
        languages.setSelectedLanguage(previousLanguage);
    }

    ExcludeRulesDialog& open() {
        dialog = std::make_unique<ExcludeRulesDialog>(state);
        dialog->show();
        dialog->activateWindow();  // for its shortcuts
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }
    // Waits out the pause after typing.
    bool settlesWithSave(bool enabled) {
        return waitUntil([&] { return dialog->saveButton().isEnabled() == enabled; });
    }

    text::LanguageManager& languages = text::LanguageManager::shared();
    const QString previousLanguage = languages.selectedLanguage();
    testing::ScopedConfigHome configHome;
    app::AppState state;
    std::unique_ptr<ExcludeRulesDialog> dialog;
};

TEST_F(ExcludeRulesDialogTest, ABadPatternIsMarkedWithItsReasonAndNeverSaved) {
    ExcludeRulesDialog& rules = open();
    const struct {
        QString text;
        int line;
        ExcludePatternFault fault;
    } cases[] = {
        {"*.tmp\n[z-a]", 2, ExcludePatternFault::reversedRange},
        {"# comment\n\n cache", 3, ExcludePatternFault::outerSpace},
        {"build/**x\n", 1, ExcludePatternFault::partialGlobstar},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        rules.editor().setPlainText(c.text);
        ASSERT_TRUE(settlesWithSave(false));
        EXPECT_EQ(rules.problemList().text(), lineError(c.line, c.fault));
        EXPECT_TRUE(rules.problemList().isVisible());
        EXPECT_EQ(rules.editor().extraSelections().size(), 1);
        rules.editor().setPlainText("*.tmp");
        ASSERT_TRUE(settlesWithSave(true));
        EXPECT_FALSE(rules.problemList().isVisible());
    }
    // Shift+Return breaks the line: what shows as a second line is checked as one. Ctrl+S,
    // pressed before the pause ends, refuses all the same.
    rules.editor().moveCursor(QTextCursor::End);
    QTest::keyClick(&rules.editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&rules.editor(), QStringLiteral("!b"));
    QTest::keyClick(&rules.editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rules.problemList().text(), lineError(2, ExcludePatternFault::negation));
    EXPECT_TRUE(rules.isVisible());
    EXPECT_EQ(ExcludeRuleStore::load(), Lines{});
}

// A stored line that is not UTF-8 keeps its bytes while unchanged, and is refused once
// edited; saving compares the analysed pair again under the new rules; Escape discards.
TEST_F(ExcludeRulesDialogTest, SavingStoresTheLinesAndComparesAgain) {
    const testing::FileTree source, target;
    source.file("keep.txt", "k");
    source.file("a.tmp", "x");
    ASSERT_TRUE(ExcludeRuleStore::save({"caf\xe9/", "# note"}));
    ASSERT_TRUE(testing::analyzePair(state, source.root(), target.root()));

    ExcludeRulesDialog& rules = open();
    EXPECT_EQ(rules.keptBytesNote().text(), loc("exclude_rules_kept_bytes", 1));
    EXPECT_TRUE(rules.keptBytesNote().isVisible());
    rules.editor().moveCursor(QTextCursor::End);
    QTest::keyClick(&rules.editor(), Qt::Key_Return);
    QTest::keyClicks(&rules.editor(), QStringLiteral("*.tmp"));
    QTest::mouseClick(&rules.saveButton(), Qt::LeftButton);
    EXPECT_FALSE(rules.isVisible());
    const Lines saved = {"caf\xe9/", "# note", "*.tmp"};
    EXPECT_EQ(ExcludeRuleStore::load(), saved);
    ASSERT_TRUE(state.isAnalyzing());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    EXPECT_EQ(state.mergeSummary()->excludedCount, 1);

    ExcludeRulesDialog& again = open();
    again.editor().moveCursor(QTextCursor::Start);
    again.editor().moveCursor(QTextCursor::EndOfLine);
    QTest::keyClicks(&again.editor(), QStringLiteral("x"));
    ASSERT_TRUE(settlesWithSave(false));
    EXPECT_EQ(again.problemList().text(),
              loc("exclude_rules_line_error", 1, loc("exclude_rules_not_text")));
    QTest::keyClick(&again.editor(), Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(ExcludeRuleStore::load(), saved);
}

}  // namespace
}  // namespace sorrelix::ui

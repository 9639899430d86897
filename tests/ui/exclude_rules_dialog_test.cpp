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
using testing::FileTree;
using testing::urlOf;
using testing::waitUntil;
using text::loc;
using Lines = std::vector<std::string>;

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
    FileTree source, target;
    app::AppState state;
    std::unique_ptr<ExcludeRulesDialog> dialog;
};

TEST_F(ExcludeRulesDialogTest, ABadPatternIsMarkedWithItsReasonAndNeverSaved) {
    ExcludeRulesDialog& rules = open();
    struct Case {
        QString text;
        int line;
        ExcludePatternFault fault;
    };
    const std::vector<Case> cases = {
        {"*.tmp\n[z-a]", 2, ExcludePatternFault::reversedRange},
        {"# comment\n\n cache", 3, ExcludePatternFault::outerSpace},
        {"build/**x\n", 1, ExcludePatternFault::partialGlobstar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        rules.editor().setPlainText(c.text);
        ASSERT_TRUE(settlesWithSave(false));
        EXPECT_EQ(rules.problemList().text(), loc("exclude_rules_line_error", c.line,
                                                  engine::excludePatternFaultText(c.fault)));
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
    EXPECT_EQ(rules.problemList().text(),
              loc("exclude_rules_line_error", 2,
                  engine::excludePatternFaultText(ExcludePatternFault::negation)));
    EXPECT_TRUE(rules.isVisible());
    EXPECT_EQ(ExcludeRuleStore::load(), Lines{});
}

// A stored line that is not UTF-8 keeps its bytes while unchanged, and is refused once
// edited; saving compares the analysed pair again under the new rules; Escape discards.
TEST_F(ExcludeRulesDialogTest, SavingStoresTheLinesAndComparesAgain) {
    source.file("keep.txt", "k");
    source.file("a.tmp", "x");
    ASSERT_TRUE(ExcludeRuleStore::save({"caf\xe9/", "# note"}));
    state.setSource(urlOf(source.root()));
    state.setTarget(urlOf(target.root()));
    state.startAnalysis(false);
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));

    ExcludeRulesDialog& rules = open();
    EXPECT_TRUE(rules.keptBytesNote().isVisible());
    EXPECT_EQ(rules.keptBytesNote().text(), loc("exclude_rules_kept_bytes", 1));
    rules.editor().moveCursor(QTextCursor::End);
    QTest::keyClick(&rules.editor(), Qt::Key_Return);
    QTest::keyClicks(&rules.editor(), QStringLiteral("*.tmp"));
    QTest::mouseClick(&rules.saveButton(), Qt::LeftButton);
    EXPECT_FALSE(rules.isVisible());
    EXPECT_EQ(ExcludeRuleStore::load(), (Lines{"caf\xe9/", "# note", "*.tmp"}));
    ASSERT_TRUE(state.isAnalyzing());
    ASSERT_TRUE(waitUntil([this] { return state.isAnalyzed(); }));
    EXPECT_EQ(state.mergeSummary()->excludedCount, 1);

    open();
    dialog->editor().moveCursor(QTextCursor::Start);
    dialog->editor().moveCursor(QTextCursor::EndOfLine);
    QTest::keyClicks(&dialog->editor(), QStringLiteral("x"));
    ASSERT_TRUE(settlesWithSave(false));
    EXPECT_EQ(dialog->problemList().text(),
              loc("exclude_rules_line_error", 1, loc("exclude_rules_not_text")));
    QTest::keyClick(&dialog->editor(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ExcludeRuleStore::load(), (Lines{"caf\xe9/", "# note", "*.tmp"}));
}

}  // namespace
}  // namespace sorrelix::ui

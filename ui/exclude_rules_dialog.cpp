#include "exclude_rules_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "app_state.h"
#include "exclude_rule_store.h"
#include "exclude_rules.h"
#include "language_manager.h"
#include "loc.h"
#include "style.h"
#include "styled_label.h"

namespace sorrelix::ui {

using engine::ExcludeRules;
using engine::ExcludeRuleStore;
using text::loc;

namespace {

// Long enough not to flag a pattern half typed, short enough to read as immediate.
constexpr int kTypingPauseMs = 300;
constexpr QChar kReplacement(0xFFFD);

// One line of the editor and where it starts in the document. Shift+Return breaks a line
// inside a block, so such a break ends a line too: what looks like two lines is two rules.
struct EditorLine {
    QString text;
    int position;
};

std::vector<EditorLine> editorLines(const QTextDocument& document) {
    std::vector<EditorLine> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        qsizetype start = 0;
        for (qsizetype end = text.indexOf(QChar::LineSeparator); end >= 0;
             end = text.indexOf(QChar::LineSeparator, start)) {
            lines.push_back({text.mid(start, end - start), block.position() + int(start)});
            start = end + 1;
        }
        lines.push_back({text.mid(start), block.position() + int(start)});
    }
    // An editor's habit of ending with a line break adds no rule.
    while (!lines.empty() && lines.back().text.isEmpty()) lines.pop_back();
    return lines;
}

QString shownText(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QTextEdit::ExtraSelection lineMark(QTextDocument* document, const EditorLine& line,
                                   const QColor& background, bool underlined) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(document);
    mark.cursor.setPosition(line.position);
    mark.cursor.setPosition(line.position + int(line.text.size()), QTextCursor::KeepAnchor);
    mark.format.setBackground(background);
    if (underlined) {
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(style::red());
    }
    return mark;
}

}  // namespace

// The editor's lines as they would be stored, and what stands in the way of storing them.
struct ExcludeRulesDialog::Draft {
    struct Problem {
        std::size_t line;  // index into lines
        QString reason;
    };
    std::vector<EditorLine> editorLines;
    std::vector<std::string> lines;
    std::vector<Problem> problems;
    std::vector<std::size_t> keptBytes;
};

ExcludeRulesDialog::ExcludeRulesDialog(app::AppState& state, QWidget* parent)
    : QDialog(parent),
      state_(state),
      stored_(ExcludeRuleStore::load()),
      editor_(new QPlainTextEdit(this)),
      problems_(styledLabel(QString(), font(), this)),
      keptNote_(styledLabel(QString(), font(), this)),
      pause_(new QTimer(this)) {
    setObjectName(QStringLiteral("excludeRulesDialog"));
    setWindowTitle(loc("exclude_rules_title"));
    setWindowModality(Qt::WindowModal);
    resize(560, 420);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(16, 14, 16, 12);
    stack->setSpacing(10);

    QLabel* help = styledLabel(loc("exclude_rules_help"), font(), this);
    help->setWordWrap(true);
    tintText(*help, style::secondaryText(help->palette()));
    stack->addWidget(help);

    editor_->setObjectName(QStringLiteral("excludeRulesEditor"));
    editor_->setAccessibleName(loc("exclude_rules_title"));
    editor_->setAccessibleDescription(help->text());
    editor_->setFont(style::monospacedFont(13));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab must reach the buttons; a tab in a rule would be refused anyway.
    editor_->setTabChangesFocus(true);
    QStringList texts;
    for (const std::string& line : stored_) {
        texts << shownText(line);
        if (texts.last().contains(kReplacement)) unreadable_.push_back({texts.last(), line});
    }
    editor_->setPlainText(texts.join(QLatin1Char('\n')));
    stack->addWidget(editor_, 1);

    problems_->setObjectName(QStringLiteral("excludeRulesProblems"));
    tintText(*problems_, style::red());
    keptNote_->setObjectName(QStringLiteral("excludeRulesKeptBytes"));
    tintText(*keptNote_, style::secondaryText(keptNote_->palette()));
    for (QLabel* label : {problems_, keptNote_}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        stack->addWidget(label);
    }
    buildButtons();

    pause_->setSingleShot(true);
    pause_->setInterval(kTypingPauseMs);
    connect(pause_, &QTimer::timeout, this, &ExcludeRulesDialog::check);
    connect(editor_, &QPlainTextEdit::textChanged, pause_, qOverload<>(&QTimer::start));
    check();
}

void ExcludeRulesDialog::buildButtons() {
    auto* buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(loc("exclude_rules_save"), QDialogButtonBox::AcceptRole);
    save_->setObjectName(QStringLiteral("excludeRulesSave"));
    QPushButton* cancel = buttons->addButton(loc("cancel"), QDialogButtonBox::RejectRole);
    for (QPushButton* button : {save_, cancel}) button->setAccessibleName(button->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &ExcludeRulesDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Return belongs to the editor, so saving from the keyboard has its own keys.
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &ExcludeRulesDialog::save);
    layout()->addWidget(buttons);
}

ExcludeRulesDialog::Draft ExcludeRulesDialog::draft() const {
    Draft draft;
    draft.editorLines = editorLines(*editor_->document());
    std::vector<bool> used(unreadable_.size(), false);
    for (std::size_t index = 0; index < draft.editorLines.size(); ++index) {
        const QString& text = draft.editorLines[index].text;
        if (!text.contains(kReplacement)) {
            draft.lines.push_back(text.toStdString());
            continue;
        }
        // "�" stands for bytes the editor cannot show: only a stored line left as it was
        // says which ones.
        std::size_t match = 0;
        while (match < unreadable_.size() && (used[match] || unreadable_[match].shown != text)) {
            ++match;
        }
        if (match == unreadable_.size()) {
            draft.lines.push_back(text.toStdString());
            draft.problems.push_back({index, loc("exclude_rules_not_text")});
            continue;
        }
        used[match] = true;
        draft.lines.push_back(unreadable_[match].bytes);
        if (draft.lines.back() != text.toStdString()) draft.keptBytes.push_back(index);
    }
    for (const engine::ExcludeRuleError& error : ExcludeRules::validate(draft.lines)) {
        draft.problems.push_back({error.lineNumber - 1, error.reason()});
    }
    std::stable_sort(draft.problems.begin(), draft.problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return draft;
}

void ExcludeRulesDialog::check() {
    pause_->stop();
    const Draft current = draft();
    const QLocale locale(text::LanguageManager::shared().currentTableCode());
    QStringList problems;
    for (const Draft::Problem& problem : current.problems) {
        problems << loc("exclude_rules_line_error", locale.toString(qulonglong(problem.line + 1)),
                        problem.reason);
    }
    problems_->setText(problems.join(QLatin1Char('\n')));
    problems_->setVisible(!problems.isEmpty());
    QStringList kept;
    for (const std::size_t line : current.keptBytes) kept << locale.toString(qulonglong(line + 1));
    keptNote_->setText(loc("exclude_rules_kept_bytes", kept.join(QStringLiteral(", "))));
    keptNote_->setVisible(!kept.isEmpty());
    editor_->setAccessibleDescription(problems.isEmpty() ? loc("exclude_rules_help")
                                                         : problems_->text());
    save_->setEnabled(problems.isEmpty());
    markLines(current);
}

void ExcludeRulesDialog::markLines(const Draft& draft) {
    QList<QTextEdit::ExtraSelection> marks;
    QTextDocument* document = editor_->document();
    for (const std::size_t line : draft.keptBytes) {
        marks << lineMark(document, draft.editorLines[line], style::withAlpha(style::gray(), 0.2),
                          false);
    }
    for (const Draft::Problem& problem : draft.problems) {
        marks << lineMark(document, draft.editorLines[problem.line],
                          style::withAlpha(style::red(), 0.15), true);
    }
    editor_->setExtraSelections(marks);
}

void ExcludeRulesDialog::save() {
    // The last check may be older than the last key press.
    check();
    if (!save_->isEnabled()) return;
    const std::vector<std::string> lines = draft().lines;
    if (lines == stored_) {
        accept();
        return;
    }
    if (!ExcludeRuleStore::save(lines)) {
        problems_->setText(loc("exclude_rules_save_failed"));
        problems_->show();
        return;
    }
    accept();
    // A summary on show was made with the old rules.
    if (state_.mergeSummary() && state_.isReadyToAnalyze()) state_.startAnalysis(true);
}

}  // namespace sorrelix::ui

#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <memory>
#include <optional>

#include "app_test_support.h"
#include "folder_chooser.h"
#include "sandbox_helper.h"

namespace sorrelix::testing {

// Catches, while it lives, the addresses of one scheme that the code asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(const QString& scheme) : scheme_(scheme) {
        QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(scheme_); }

    // The next address asked for; empty when none comes.
    QUrl next() {
        if (!waitUntil([this] { return opened.size() > taken_; })) return {};
        return opened[taken_++];
    }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }

private:
    QString scheme_;
    qsizetype taken_ = 0;
};

// Answers the folder chooser from a script while it lives, and notes each prompt, with
// "+create" where the chooser may create folders.
class ScriptedChooser {
public:
    explicit ScriptedChooser(std::deque<std::optional<QUrl>> answers)
        : answers_(std::move(answers)) {
        app::SandboxHelper::shared().setFolderChooser(std::make_unique<Answers>(*this));
    }
    ~ScriptedChooser() { app::SandboxHelper::shared().setFolderChooser(nullptr); }
    ScriptedChooser(const ScriptedChooser&) = delete;
    ScriptedChooser& operator=(const ScriptedChooser&) = delete;

    QStringList asked;

private:
    struct Answers : app::FolderChooser {
        explicit Answers(ScriptedChooser& script) : script(script) {}
        std::optional<QUrl> chooseFolder(const QString& prompt, bool mayCreate) override {
            script.asked << prompt + (mayCreate ? "+create" : "");
            const std::optional<QUrl> answer = script.answers_.front();
            script.answers_.pop_front();
            return answer;
        }
        ScriptedChooser& script;
    };

    std::deque<std::optional<QUrl>> answers_;
};

}  // namespace sorrelix::testing

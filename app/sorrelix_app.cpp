#include "sorrelix_app.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSemaphore>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app_state.h"
#include "self_check.h"
#include "sorrelix_version.h"

namespace sorrelix::app {

SorrelixApp::SorrelixApp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) arguments_ << QString::fromLocal8Bit(argv[i]);
    if (wantsSelfCheck(arguments_)) runSelfCheckAndExit();
    answerInformationOptions(argc, argv, arguments_);
}

namespace {
// The parser's name of an option: the option without its two dashes.
QString nameOf(const char* option) {
    return QString::fromLatin1(option).mid(2);
}

// The folder after the option's first occurrence, made absolute; none without one.
std::optional<QUrl> folderAfter(const QStringList& arguments, const char* option) {
    const qsizetype at = arguments.indexOf(QLatin1String(option));
    if (at < 0 || at + 1 >= arguments.size()) return std::nullopt;
    const QString& path = arguments.at(at + 1);
    if (path.isEmpty()) return std::nullopt;
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(path));
}

// The options of the interactive start-up and the self-check, for the help text; they are
// acted on by their own code, not through the parser.
void addStartOptions(QCommandLineParser& parser) {
    parser.addOption({nameOf(SorrelixApp::kSourceOption),
                      QStringLiteral("Open the window with DIR chosen as the source folder."),
                      QStringLiteral("DIR")});
    parser.addOption({nameOf(SorrelixApp::kTargetOption),
                      QStringLiteral("Open the window with DIR chosen as the target folder."),
                      QStringLiteral("DIR")});
    parser.addOption({nameOf(SorrelixApp::kSelfCheckOption),
                      QStringLiteral("Run the engine's self-check on a scratch folder pair in the "
                                     "temporary directory, without a window, and exit.")});
}

// The usage line names the program as it was called, which the parser takes from a core
// application; no window system is needed for it.
QByteArray helpTextOf(const QCommandLineParser& parser, int argc, char** argv) {
    int count = argc;
    const QCoreApplication core(count, argv);
    return parser.helpText().toLocal8Bit();
}

}  // namespace

void SorrelixApp::applyCommandLineFolders(const QStringList& arguments, AppState& state) {
    const std::optional<QUrl> source = folderAfter(arguments, kSourceOption);
    const std::optional<QUrl> target = folderAfter(arguments, kTargetOption);
    if (source) state.setSource(source);
    if (target) state.setTarget(target);
}

bool SorrelixApp::wantsSelfCheck(const QStringList& arguments) {
    return arguments.contains(QLatin1String(kSelfCheckOption), Qt::CaseSensitive);
}

void SorrelixApp::runSelfTests() {
    SelfCheck().run();
}

void SorrelixApp::answerInformationOptions(int argc, char** argv, const QStringList& arguments) {
    QCommandLineParser parser;
    // Whole words after one dash, so that toolkit options such as "-reverse" or "-stylesheet"
    // are not read as runs of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Sorrelix merges one folder tree into another, with backups and undo."));
    const QCommandLineOption help({"h", "help"}, QStringLiteral("Print this help and exit."));
    const QCommandLineOption version({"v", "version"},
                                     QStringLiteral("Print the version and exit."));
    parser.addOptions({help, version});
    addStartOptions(parser);
    // Unknown options and stray words are ignored, as the folder options always did; the
    // parser only tells whether the version or the help was asked for.
    parser.parse(arguments);
    if (parser.isSet(version)) {
        std::fputs("sorrelix " SORRELIX_VERSION "\n", stdout);
        std::exit(0);
    }
    if (parser.isSet(help)) {
        std::fputs(helpTextOf(parser, argc, argv).constData(), stdout);
        std::exit(0);
    }
}

void SorrelixApp::runSelfCheckAndExit() {
    // The check runs on its own thread so that nothing it awaits can depend on this one.
    QSemaphore finished(0);
    std::thread([&finished] {
        runSelfTests();
        finished.release();
    }).detach();
    finished.acquire();
    std::exit(0);
}

}  // namespace sorrelix::app

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include "app_language.h"
#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using test_support::settingsFileText;
using test_support::storedSelection;

// Counts the manager's announcements and records what an observer sees when it hears one.
class Observer {
public:
    explicit Observer(LanguageManager& manager) {
        connections_ << QObject::connect(&manager, &LanguageManager::selectedLanguageChanged,
                                         [this, &manager](const QString& code) {
                                             announcedCodes << code;
                                             tableSeenOnChange = manager.currentTableCode();
                                             cancelSeenOnChange = loc("cancel");
                                         });
        connections_ << QObject::connect(&manager, &LanguageManager::currentBundleChanged,
                                         [this] { ++bundleChanges; });
    }
    ~Observer() {
        for (const auto& connection : connections_) QObject::disconnect(connection);
    }
    int announcements() const { return announcedCodes.size() + bundleChanges; }

    QStringList announcedCodes;
    int bundleChanges = 0;
    QString tableSeenOnChange;
    QString cancelSeenOnChange;

private:
    QList<QMetaObject::Connection> connections_;
};

class LanguageSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.setSelectedLanguage("en");
        test_support::clearConfigHome();
    }
    void TearDown() override { manager.setSelectedLanguage("en"); }

    LanguageManager& manager = LanguageManager::shared();
};

TEST_F(LanguageSelectionTest, SelectingGermanStoresItAndSwitchesTheTexts) {
    Observer observer(manager);
    manager.setLanguage(AppLanguage::de);

    EXPECT_EQ(manager.selectedLanguage(), "de");
    EXPECT_EQ(storedSelection(), "de");
    EXPECT_TRUE(settingsFileText().contains("selected_app_language=de"));
    EXPECT_EQ(manager.currentTableCode(), "de");
    EXPECT_EQ(loc("cancel"), "Abbrechen");
    EXPECT_EQ(loc("menu_language"), "Sprache");

    EXPECT_EQ(observer.announcedCodes, QStringList{"de"});
    EXPECT_EQ(observer.bundleChanges, 1);
    // Observers redraw on the announcement, so the new table must already be in place.
    EXPECT_EQ(observer.tableSeenOnChange, "de");
    EXPECT_EQ(observer.cancelSeenOnChange, "Abbrechen");
}

TEST_F(LanguageSelectionTest, SelectingTheCurrentLanguageWritesAndAnnouncesNothing) {
    manager.setLanguage(AppLanguage::de);
    ASSERT_EQ(storedSelection(), "de");
    test_support::clearConfigHome();
    Observer observer(manager);

    manager.setLanguage(AppLanguage::de);

    EXPECT_EQ(observer.announcements(), 0);
    EXPECT_TRUE(test_support::filesUnder(qEnvironmentVariable("XDG_CONFIG_HOME")).isEmpty());
    EXPECT_EQ(manager.selectedLanguage(), "de");
    EXPECT_EQ(loc("cancel"), "Abbrechen");
}

TEST_F(LanguageSelectionTest, AssigningTheSelectionAlwaysStoresAndAnnounces) {
    manager.setSelectedLanguage("fr");
    test_support::clearConfigHome();
    Observer observer(manager);

    manager.setSelectedLanguage("fr");

    EXPECT_EQ(storedSelection(), "fr");
    EXPECT_EQ(observer.announcedCodes, QStringList{"fr"});
    EXPECT_EQ(observer.bundleChanges, 1);
}

TEST_F(LanguageSelectionTest, SystemDerivesTheTableFromPreferredLanguages) {
    manager.setLanguage(AppLanguage::de);
    Observer observer(manager);

    manager.setLanguage(AppLanguage::system);

    EXPECT_EQ(manager.selectedLanguage(), "system");
    EXPECT_EQ(storedSelection(), "system");
    EXPECT_EQ(manager.currentTableCode(),
              LanguageManager::bestSupportedCode(QLocale::system().uiLanguages()));
    EXPECT_EQ(manager.currentTableCode(), test_support::kProcessSystemLanguage);
    EXPECT_EQ(loc("cancel"), "キャンセル");
    EXPECT_EQ(observer.announcedCodes, QStringList{"system"});
}

TEST_F(LanguageSelectionTest, UnknownCodeStaysSelectedAndTextsComeFromEnglish) {
    manager.setLanguage(AppLanguage::de);
    Observer observer(manager);

    manager.setSelectedLanguage("xx");

    EXPECT_EQ(manager.selectedLanguage(), "xx");
    EXPECT_EQ(storedSelection(), "xx");
    EXPECT_EQ(appLanguageFromRawValue(manager.selectedLanguage()), std::nullopt);
    EXPECT_EQ(manager.currentTableCode(), "en");
    EXPECT_EQ(loc("cancel"), "Cancel");
    EXPECT_EQ(observer.announcedCodes, QStringList{"xx"});
    EXPECT_EQ(observer.bundleChanges, 1);

    // From an unknown code, every menu language is a change again.
    manager.setLanguage(AppLanguage::en);
    EXPECT_EQ(storedSelection(), "en");
}

TEST_F(LanguageSelectionTest, CodesThatOnlyResembleATableGetEnglish) {
    // Table names are matched exactly: no case folding, no stripping of a region or suffix,
    // no paths.
    const QStringList oddCodes = {"DE",
                                  "de_CH",
                                  "de-CH",
                                  "de.x",
                                  "zh",
                                  "zh-Hans-CN",
                                  "",
                                  " de",
                                  "../de",
                                  "i18n/sorrelix_de",
                                  "de/../de",
                                  "sorrelix_de",
                                  "de.qm",
                                  QString::fromUtf8("d\xff"
                                                    "e")};
    for (const QString& code : oddCodes) {
        manager.setSelectedLanguage(code);
        EXPECT_EQ(manager.selectedLanguage(), code);
        EXPECT_EQ(storedSelection(), code) << code.toStdString();
        EXPECT_EQ(manager.currentTableCode(), "en") << code.toStdString();
        EXPECT_EQ(loc("cancel"), "Cancel") << code.toStdString();
    }
}

}  // namespace
}  // namespace sorrelix::text

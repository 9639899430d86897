#include "web_pages.h"

#include <QDesktopServices>

namespace sorrelix::ui {

namespace {
QString pagePath(WebPage page) {
    switch (page) {
        case WebPage::home:
            return {};
        case WebPage::support:
            return QStringLiteral("/support.html");
        case WebPage::privacy:
            return QStringLiteral("/privacy.html");
    }
    return {};
}
}  // namespace

QUrl webPageAddress(WebPage page) {
    return QUrl(QString::fromLatin1(kWebsiteAddress) + pagePath(page), QUrl::StrictMode);
}

void openWebPage(WebPage page) {
    const QUrl address = webPageAddress(page);
    if (!address.isValid()) return;
    QDesktopServices::openUrl(address);
}

}  // namespace sorrelix::ui

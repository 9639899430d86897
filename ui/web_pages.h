#pragma once

#include <QString>
#include <QUrl>

namespace sorrelix::ui {

// The product web site's pages, opened in the user's browser.
enum class WebPage { home, support, privacy };

inline constexpr const char* kWebsiteAddress = "https://sorrelix.app";

// The page's address; invalid when the text does not parse as one.
QUrl webPageAddress(WebPage page);
// Opens the page; an address that does not parse is ignored.
void openWebPage(WebPage page);

}  // namespace sorrelix::ui

#pragma once

#include <QSettings>
#include <memory>

namespace sorrelix::text {

// The application's settings store: INI under $XDG_CONFIG_HOME/Sorrelix/Sorrelix.ini,
// shared by the window, the command-line tool and the self-check.
std::unique_ptr<QSettings> openAppSettings();

}  // namespace sorrelix::text

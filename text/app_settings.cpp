#include "app_settings.h"

namespace sorrelix::text {

std::unique_ptr<QSettings> openAppSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Sorrelix"), QStringLiteral("Sorrelix"));
}

}  // namespace sorrelix::text

#include "loc.h"

#include "language_manager.h"

namespace sorrelix::text {

QString loc(const char* key) {
    return LanguageManager::shared().lookUp(key);
}

}  // namespace sorrelix::text

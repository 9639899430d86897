#include "relative_path.h"

namespace sorrelix::engine {

SplitPath splitParent(std::string_view relativePath) {
    const auto slash = relativePath.rfind('/');
    if (slash == std::string_view::npos) return {{}, relativePath};
    return {relativePath.substr(0, slash), relativePath.substr(slash + 1)};
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string joined;
    joined.reserve(folder.size() + name.size() + 1);
    joined.append(folder);
    if (!folder.empty() && folder.back() != '/') joined.push_back('/');
    joined.append(name);
    return joined;
}

bool isSafeRelativePath(std::string_view relativePath) {
    if (relativePath.empty() || relativePath.front() == '/') return false;
    // As a C string the path would end at the NUL and name another file.
    if (relativePath.find('\0') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start <= relativePath.size()) {
        auto end = relativePath.find('/', start);
        if (end == std::string_view::npos) end = relativePath.size();
        const auto component = relativePath.substr(start, end - start);
        if (component.empty() || component == "." || component == "..") return false;
        start = end + 1;
    }
    return true;
}

QString displayPath(std::string_view path) {
    return QStringLiteral("“%1”").arg(
        QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace sorrelix::engine

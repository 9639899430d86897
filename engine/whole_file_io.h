#pragma once

#include <QByteArray>

namespace sorrelix::engine {

// Writes all bytes to a descriptor, going on after interruptions and short writes.
bool writeAll(int fd, const QByteArray& bytes);
// Reads a descriptor to its end.
QByteArray readAll(int fd);

}  // namespace sorrelix::engine

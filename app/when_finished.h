#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <utility>

namespace sorrelix::app {

// Calls `callback(future)` in the context object's thread once the future has finished.
// The call is always queued, even for a future that has already finished, so an operation
// that starts work returns before any of its outcome is written.
template <typename T, typename Callback>
void whenFinished(QFuture<T> future, QObject* context, Callback callback) {
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, callback = std::move(callback)]() mutable {
                         watcher->deleteLater();
                         callback(watcher->future());
                     });
    watcher->setFuture(std::move(future));
}

}  // namespace sorrelix::app

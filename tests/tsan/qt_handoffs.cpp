// Makes Qt's hand-off of a task to a pool thread visible to the thread sanitizer. Qt is not
// instrumented, so the mutex of QThreadPool's queue, which orders everything the caller did
// before QThreadPool::start before the task's run, is invisible, and every argument handed to
// a task looks raced. These two definitions take the place of Qt's (the program's own
// definition wins over the shared library's) and model that queue mutex: a release when a
// task is queued, an acquire when a task begins (QtConcurrent's run() first asks whether the
// task was cancelled). Linked into the thread-sanitizer test programs only.

#include <dlfcn.h>

#include <QFutureInterfaceBase>
#include <QThreadPool>
#include <cstdio>
#include <cstdlib>

extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);

namespace {

char poolQueue;

template <typename Function>
Function realQtFunction(const char* mangledName) {
    void* symbol = ::dlsym(RTLD_NEXT, mangledName);
    if (symbol == nullptr) {
        std::fprintf(stderr, "qt_handoffs: %s not found in Qt\n", mangledName);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

}  // namespace

void QThreadPool::start(QRunnable* runnable, int priority) {
    using Start = void (*)(QThreadPool*, QRunnable*, int);
    static const Start real = realQtFunction<Start>("_ZN11QThreadPool5startEP9QRunnablei");
    __tsan_release(&poolQueue);
    real(this, runnable, priority);
}

bool QFutureInterfaceBase::isCanceled() const {
    using IsCanceled = bool (*)(const QFutureInterfaceBase*);
    static const IsCanceled real =
        realQtFunction<IsCanceled>("_ZNK20QFutureInterfaceBase10isCanceledEv");
    __tsan_acquire(&poolQueue);
    return real(this);
}

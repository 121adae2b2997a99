#include "app/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

LoweredPriority lowerThreadPriority() {
    sched_param param{};
    param.sched_priority = 0; // the only priority of the idle class
    if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) == 0) {
        return LoweredPriority::Idle;
    }
    // On Linux a thread has a niceness of its own, set through its thread id; the process's
    // other threads keep theirs.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    if (setpriority(PRIO_PROCESS, thread, 19) == 0) {
        return LoweredPriority::Nice;
    }
    return LoweredPriority::Unchanged;
}

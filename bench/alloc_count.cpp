// Counts the heap allocations made on the game's own thread (C and C++),
// so the frame benchmark can tell how many a steady-state frame makes.
// The audio thread's synthesiser is not the frame's business.
#include <cstddef>
#include <new>
#include <execinfo.h>
#include <pthread.h>
#include <cstdlib>

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void __libc_free(void*);

long AllocCount;
// When set, the next counted allocation prints where it came from (once).
bool AllocReport;
static pthread_t sMain = pthread_self();
static bool sReporting;

static inline void Count() {
    if (!pthread_equal(pthread_self(), sMain)) return;
    AllocCount++;
    if (AllocReport && !sReporting && getenv("QS_ALLOC_WHERE")) {
        sReporting = true;
        AllocReport = false;
        void* frames[24];
        int n = backtrace(frames, 24);
        backtrace_symbols_fd(frames, n, 2);
        sReporting = false;
    }
}

extern "C" void* malloc(size_t n) {
    Count();
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t a, size_t b) {
    Count();
    return __libc_calloc(a, b);
}
extern "C" void* realloc(void* p, size_t n) {
    Count();
    return __libc_realloc(p, n);
}
extern "C" void free(void* p) { __libc_free(p); }

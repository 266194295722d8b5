#include "app/window_ops.h"

#include <cstdio>
#include <cstdlib>

namespace tallaro {

namespace {
WindowOps* g_ops = nullptr;
}

void install_window_ops(WindowOps* ops) { g_ops = ops; }

WindowOps& window_ops() {
    if (!g_ops) {
        // A programming error, not a user situation: nothing can be shown.
        std::fputs("tallaro: no window operations installed\n", stderr);
        std::abort();
    }
    return *g_ops;
}

void exit_program() { end_program(0); }

}  // namespace tallaro

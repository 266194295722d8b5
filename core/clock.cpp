#include "core/clock.h"

#include <ctime>

namespace tallaro {

namespace {

class SystemClock final : public Clock {
public:
    LocalTime now() const override {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                         tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
};

const Clock* g_clock = nullptr;

}  // namespace

const Clock& system_clock() {
    static const SystemClock clock;
    return clock;
}

void install_clock(const Clock* clock) { g_clock = clock; }

const Clock& installed_clock() { return g_clock ? *g_clock : system_clock(); }

}  // namespace tallaro

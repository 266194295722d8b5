#pragma once
// The clock that current_date_time() reads: the local wall-clock time to the
// second. Tests install a fixed clock; by default the system clock is used.

namespace tallaro {

struct LocalTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

// The system's local time.
const Clock& system_clock();

// Installs the clock that current_date_time() reads; nullptr restores the
// system clock. The clock must outlive its installation.
void install_clock(const Clock* clock);
const Clock& installed_clock();

}  // namespace tallaro

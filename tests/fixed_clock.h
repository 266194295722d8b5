#pragma once
// A clock stopped at one local time, installed while it lives.

#include "core/clock.h"

namespace tallaro::support {

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime at) : at_(at) { install_clock(this); }
    ~FixedClock() override { install_clock(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
    LocalTime now() const override { return at_; }

private:
    LocalTime at_;
};

}  // namespace tallaro::support

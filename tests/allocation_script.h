#pragma once
// Scripts the text allocations of a run: counts them, records the byte count
// each one asked for, and makes the n-th one fail. Installed while it lives.

#include <cstddef>
#include <vector>

#include "core/text.h"

namespace tallaro::support {

class AllocationScript {
public:
    // fail_at: the allocation that fails, counting from 1; 0 fails none.
    explicit AllocationScript(std::size_t fail_at = 0) : fail_at_(fail_at) {
        set_text_allocation_hook(&AllocationScript::ask, this);
    }
    ~AllocationScript() { set_text_allocation_hook(nullptr, nullptr); }
    AllocationScript(const AllocationScript&) = delete;
    AllocationScript& operator=(const AllocationScript&) = delete;

    // The byte counts asked for so far, in order (the failed one included).
    const std::vector<std::size_t>& requests() const { return requests_; }

private:
    static bool ask(std::size_t bytes, void* self) {
        auto* script = static_cast<AllocationScript*>(self);
        script->requests_.push_back(bytes);
        return script->requests_.size() != script->fail_at_;
    }

    std::size_t fail_at_;
    std::vector<std::size_t> requests_;
};

}  // namespace tallaro::support

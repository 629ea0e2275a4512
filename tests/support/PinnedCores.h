#pragma once

#include <algorithm>
#include <sched.h>
#include <vector>

// The test process run on fewer of its cores for a while, as on a school's small PC. All of them
// are given back when it goes, also when a check ends the test half way.
class PinnedCores
{
public:
    PinnedCores()
    {
        CPU_ZERO(&all_);
        if (sched_getaffinity(0, sizeof all_, &all_) != 0)
            return;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &all_))
                cores_.push_back(cpu);
    }
    ~PinnedCores() { giveBack(); }
    PinnedCores(const PinnedCores &) = delete;
    PinnedCores &operator=(const PinnedCores &) = delete;

    // How many cores the process could run on when it was made.
    int count() const { return int(cores_.size()); }
    // Up to two: the cores of the small PCs tried.
    int fewest() const { return std::min(count(), 2); }

    // Runs on the first `count` of them; false when the system refuses.
    bool pinTo(int count)
    {
        cpu_set_t some;
        CPU_ZERO(&some);
        for (int i = 0; i < count && i < int(cores_.size()); ++i)
            CPU_SET(cores_[size_t(i)], &some);
        return sched_setaffinity(0, sizeof some, &some) == 0;
    }
    bool giveBack() { return cores_.empty() || sched_setaffinity(0, sizeof all_, &all_) == 0; }

private:
    cpu_set_t all_;
    std::vector<int> cores_;
};

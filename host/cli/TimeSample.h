// The median time of one evaluation in constant memory: exact up to kCapacity
// evaluations, beyond that the median of a uniform random sample of kCapacity
// of them (reservoir sampling).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corehost {

class TimeSample {
public:
    static constexpr std::size_t kCapacity = 4096;

    void add(long long nanoseconds);
    long long median();

private:
    std::uint64_t next(); // xorshift64: cheap and good enough to pick slots

    std::vector<long long> m_Times;
    std::uint64_t m_Count = 0;
    std::uint64_t m_State = 0x9E3779B97F4A7C15ull;
};

} // namespace corehost

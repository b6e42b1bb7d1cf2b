// Reservoir sampling of evaluation times.
#include "cli/TimeSample.h"

#include <algorithm>

namespace corehost {

void TimeSample::add(long long nanoseconds) {
    ++m_Count;
    if (m_Times.size() < kCapacity) {
        m_Times.push_back(nanoseconds);
        return;
    }
    const std::uint64_t slot = next() % m_Count;
    if (slot < kCapacity)
        m_Times[slot] = nanoseconds;
}

long long TimeSample::median() {
    if (m_Times.empty())
        return 0;
    const auto middle = m_Times.begin() + static_cast<std::ptrdiff_t>(m_Times.size() / 2);
    std::nth_element(m_Times.begin(), middle, m_Times.end());
    return *middle;
}

std::uint64_t TimeSample::next() {
    m_State ^= m_State << 13;
    m_State ^= m_State >> 7;
    m_State ^= m_State << 17;
    return m_State;
}

} // namespace corehost

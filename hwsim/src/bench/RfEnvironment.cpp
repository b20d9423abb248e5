#include "hwsim/bench/RfEnvironment.h"

#include <algorithm>
#include <cstdlib>

namespace hwsim {

RfEnvironment::RfEnvironment(std::vector<Station> stations) : m_stations(std::move(stations)) {}

void RfEnvironment::AddStation(const Station& station) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_stations.push_back(station);
}

void RfEnvironment::RemoveStation(long frequencyKHz) {
    std::lock_guard<std::mutex> lock(m_lock);
    std::erase_if(m_stations, [&](const Station& s) { return s.frequencyKHz == frequencyKHz; });
}

std::vector<Station> RfEnvironment::Stations() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_stations;
}

std::optional<Station> RfEnvironment::StationNear(long frequencyKHz, long windowKHz) const {
    std::lock_guard<std::mutex> lock(m_lock);
    const Station* best = nullptr;
    for (const Station& station : m_stations) {
        const long distance = std::labs(station.frequencyKHz - frequencyKHz);
        if (distance > windowKHz) continue;
        if (!best || distance < std::labs(best->frequencyKHz - frequencyKHz)) best = &station;
    }
    if (!best) return std::nullopt;
    return *best;
}

}  // namespace hwsim

// What is on air around one bench.
#include "hwsim/bench/RfEnvironment.h"

#include <algorithm>
#include <cstdlib>

namespace hwsim {

namespace {

std::optional<Station> Nearest(const std::vector<Station>& stations, long frequencyKHz, long windowKHz) {
    const Station* best = nullptr;
    for (const Station& station : stations) {
        const long distance = std::labs(station.frequencyKHz - frequencyKHz);
        if (distance > windowKHz) continue;
        if (!best || distance < std::labs(best->frequencyKHz - frequencyKHz)) best = &station;
    }
    if (!best) return std::nullopt;
    return *best;
}

}  // namespace

RfEnvironment::RfEnvironment(std::vector<Station> stations, std::vector<Station> fmStations)
    : m_stations(std::move(stations)), m_fmStations(std::move(fmStations)) {}

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
    return Nearest(m_stations, frequencyKHz, windowKHz);
}

void RfEnvironment::AddFmStation(const Station& station) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_fmStations.push_back(station);
}

std::vector<Station> RfEnvironment::FmStations() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_fmStations;
}

std::optional<Station> RfEnvironment::FmStationNear(long frequencyKHz, long windowKHz) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return Nearest(m_fmStations, frequencyKHz, windowKHz);
}

}  // namespace hwsim

// What is on air around one bench: the frequencies that carry a TV station, and those that
// carry an FM radio station. Tuners ask it whether a station lies within their capture window
// of the frequency they are tuned to.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hwsim {

struct Station {
    long frequencyKHz = 0;  // picture carrier (an FM station: its carrier)
    std::string name;
    int lines = 625;        // lines per frame of a TV station: 625 or 525
};

class RfEnvironment {
public:
    RfEnvironment() = default;
    explicit RfEnvironment(std::vector<Station> stations, std::vector<Station> fmStations = {});

    void AddStation(const Station& station);
    void RemoveStation(long frequencyKHz);
    std::vector<Station> Stations() const;

    // The station nearest to `frequencyKHz` within +-windowKHz (inclusive), if any.
    std::optional<Station> StationNear(long frequencyKHz, long windowKHz) const;

    // ---- FM radio ----
    void AddFmStation(const Station& station);
    std::vector<Station> FmStations() const;
    std::optional<Station> FmStationNear(long frequencyKHz, long windowKHz) const;

private:
    mutable std::mutex m_lock;
    std::vector<Station> m_stations;
    std::vector<Station> m_fmStations;
};

}  // namespace hwsim

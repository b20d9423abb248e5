// What is on air around one bench: the frequencies that carry a station. Tuners ask it
// whether a station lies within their capture window of the frequency they are tuned to.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace hwsim {

struct Station {
    long frequencyKHz = 0;  // picture carrier
    std::string name;
};

class RfEnvironment {
public:
    RfEnvironment() = default;
    explicit RfEnvironment(std::vector<Station> stations);

    void AddStation(const Station& station);
    void RemoveStation(long frequencyKHz);
    std::vector<Station> Stations() const;

    // The station nearest to `frequencyKHz` within +-windowKHz (inclusive), if any.
    std::optional<Station> StationNear(long frequencyKHz, long windowKHz) const;

private:
    mutable std::mutex m_lock;
    std::vector<Station> m_stations;
};

}  // namespace hwsim

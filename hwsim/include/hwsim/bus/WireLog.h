// What a simulated driver was asked, request by request: the property set and id, the verb,
// the buffers as they came in, the driver's reading of them and its answer. Tests read it to
// check an access class's traffic against the driver protocol.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/winerror.h"

namespace hwsim {

struct WireRequest {
    enum class Verb { Get, Set, QuerySupported };

    Verb verb = Verb::Get;
    GUID set = GUID_NULL;
    std::string setName;  // the driver's short name of the set, "SAA", "I2C", "REG"
    DWORD id = 0;
    DWORD instanceLength = 0;
    DWORD dataLength = 0;
    std::vector<BYTE> instance;  // the instance bytes as they came in
    std::vector<BYTE> data;      // the property bytes as they came in
    std::string what;            // the driver's reading, "i2c A0 sub 41 write 5A"; empty when refused early
    HRESULT result = S_OK;

    // "Set SAA.2 [32/56] i2c A0 sub 05 write 12 -> S_OK", "Get REG.0 [8/4] reg 1B4 -> 80070057".
    std::string Text() const;
};

class WireLog {
public:
    // Requests kept; older ones are dropped.
    static constexpr size_t kLimit = 8192;

    void Append(WireRequest request);
    std::vector<WireRequest> Requests() const;
    std::vector<std::string> Lines() const;  // Text() of each request
    std::string Text() const;                // one request per line
    size_t Size() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::deque<WireRequest> m_requests;
};

}  // namespace hwsim

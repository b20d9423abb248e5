// A simulated card driver that answers the private KS property sets its capture filter
// publishes (IKsPropertySet Get, Set and QuerySupported). The base does what every such
// driver does before it looks at a request: a card that has been unplugged answers kDeviceGone;
// an unknown set E_PROP_SET_UNSUPPORTED; an unknown id, or a verb the property does not take,
// E_PROP_ID_UNSUPPORTED; a missing buffer or count pointer E_POINTER (a property without
// instance data takes a null instance of length 0). The protocol's driver
// then checks every length and field and refuses a malformed request (E_INVALIDARG, or
// E_POINTER for a null pointer inside a record) before it touches the bus or a register.
// Every request, refused or answered, goes into the wire log.
//
// Unplugging waits for the requests in flight; once Card::Unplug has returned, no request of
// this driver reaches the card's bus or registers.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "hwsim/boards/Card.h"
#include "hwsim/bus/I2CDevice.h"
#include "hwsim/bus/WireLog.h"
#include "platform/guid.h"
#include "platform/winerror.h"
#include "unknwn.h"

namespace hwsim {

// What a driver answers for an I2C transfer the bus did not carry.
inline constexpr HRESULT kI2CNoAck = E_FAIL;                                  // a byte was not acknowledged
inline constexpr HRESULT kI2CBusStuck = HRESULT_FROM_WIN32(ERROR_TIMEOUT);  // the bus is held low
HRESULT I2CResultToHresult(I2CResult result);

// "12 34 56": bytes in hexadecimal, separated by spaces.
std::string HexBytes(const BYTE* bytes, size_t count);
// A driver's reading of a request, printf-formatted.
std::string WireText(const char* format, ...) __attribute__((format(printf, 1, 2)));

class KsDriver {
public:
    // Support bits as QuerySupported answers them.
    static constexpr DWORD kSupportGet = 1;
    static constexpr DWORD kSupportSet = 2;

    explicit KsDriver(Card& card);
    virtual ~KsDriver();
    KsDriver(const KsDriver&) = delete;
    KsDriver& operator=(const KsDriver&) = delete;

    HRESULT Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength,
                DWORD* returned);
    HRESULT Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength);
    HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support);

    // The property sets the driver publishes.
    virtual std::vector<GUID> Sets() const = 0;
    // Whether the filters that publish the driver give it a kernel handle, so that its
    // requests also come as IOCTL_KS_PROPERTY through KsSynchronousDeviceControl.
    virtual bool HasKernelHandle() const { return false; }

    // The driver's private COM interfaces, beside its property sets: `filter` (the identity of
    // the filter that publishes the driver) was asked for `riid`. E_NOINTERFACE when it has none.
    virtual HRESULT QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) {
        (void)filter;
        (void)riid;
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    Card& GetCard() const { return m_card; }
    WireLog& Log() { return m_log; }

    // Called with each request (its buffers as they came in, no answer yet) before the driver
    // looks at it, on the requesting thread. Tests use it to hold a request while another
    // thread tries one. An empty hook removes it.
    typedef std::function<void(const WireRequest&)> RequestHook;
    void SetRequestHook(RequestHook hook);

    // From now on QuerySupported answers `bits` for property `id` of `set` (0: no such id), and
    // a verb whose bit is missing is refused, as a driver that lacks it would answer. Bits the
    // driver does not have are answered but not carried out.
    void OverrideSupport(REFGUID set, DWORD id, DWORD bits);

protected:
    // One request as the protocol's driver sees it: buffers checked for null.
    struct Request {
        WireRequest::Verb verb;
        DWORD id;
        BYTE* instance;
        DWORD instanceLength;
        BYTE* data;
        DWORD dataLength;
        DWORD returned = 0;  // Get: bytes answered
        std::string what;    // the driver's reading, for the wire log

        bool IsGet() const { return verb == WireRequest::Verb::Get; }
        template <class T>
        static T At(const BYTE* buffer, size_t offset) {
            T value;
            std::memcpy(&value, buffer + offset, sizeof(T));
            return value;
        }
        template <class T>
        static void Put(BYTE* buffer, size_t offset, T value) {
            std::memcpy(buffer + offset, &value, sizeof(T));
        }
    };

    // The driver's short name of `set`, or null when it does not publish that set.
    virtual const char* SetName(REFGUID set) const = 0;
    // kSupportGet and kSupportSet bits of property `id` of a published set; 0: no such id.
    virtual DWORD Support(REFGUID set, DWORD id) const = 0;
    // Checks and answers a request of a published set and id, with a verb the id takes.
    virtual HRESULT Answer(REFGUID set, Request& request) = 0;

    // The work of the checked requests, each with its reading in request.what. A Get answers
    // into the caller's buffer, a Set sends from it. The address names the device: the driver
    // sets its direction bit for the transfer it carries out, whichever form the request gave
    // (callers pass the write form, and some tuner modules keep an odd write or an even read
    // address), so the bus gets the form its direction needs; the wire log shows the request's.
    // I2C: S addr sub data... P (Set), S addr sub Sr addr+1 data... P (Get): "i2c A0 sub 41 write 5A".
    HRESULT SubAddressed(Request& request, BYTE address, BYTE subAddress, BYTE* data, size_t count);
    // The same with a sub-address of several bytes, sent as they stand: "i2c A0 sub 01 12 write 5A".
    HRESULT SubAddressed(Request& request, BYTE address, const BYTE* sub, size_t subCount, BYTE* data, size_t count);
    // I2C: S addr data... P: "raw C3 read 5A".
    HRESULT Raw(Request& request, BYTE address, BYTE* data, size_t count);
    // The same two with the direction given, for a driver whose Set carries reads as well.
    HRESULT SubAddressed(Request& request, bool read, BYTE address, BYTE subAddress, BYTE* data, size_t count);
    HRESULT Raw(Request& request, bool read, BYTE address, BYTE* data, size_t count);
    // A 32-bit bridge register (below Saa713x::kRegisterSpace, else E_INVALIDARG): "reg 1B0 write 00003000".
    HRESULT BridgeRegister(Request& request, DWORD address, BYTE* value);

private:
    HRESULT Handle(WireRequest::Verb verb, REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data,
                   DWORD dataLength, DWORD* returned);
    void CallHook(const WireRequest& request);
    DWORD SupportNow(REFGUID set, DWORD id) const;

    Card& m_card;
    WireLog m_log;
    int m_unplugHook = 0;
    // Requests hold it shared; unplugging takes it once, so it waits for the requests in flight.
    std::shared_mutex m_inFlight;
    std::mutex m_hookLock;
    std::shared_ptr<const RequestHook> m_hook;
    struct SupportOverride {
        GUID set;
        DWORD id;
        DWORD bits;
    };
    mutable std::mutex m_overridesLock;
    std::vector<SupportOverride> m_overrides;
};

}  // namespace hwsim

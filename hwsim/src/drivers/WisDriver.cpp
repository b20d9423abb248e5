// The driver of the USB encoder boxes on the WIS GO7007SB.
#include "hwsim/drivers/WisDriver.h"

#include "hwsim/drivers/DriverInterface.h"
#include "wisdriver.h"

namespace hwsim {

namespace {

class WisInterface : public DriverInterface<IWisI2C> {
public:
    WisInterface(IUnknown* filter, WisDriver& driver) : DriverInterface(filter), m_driver(driver) {}
    STDMETHODIMP Reserved3() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved6() override { return E_NOTIMPL; }
    STDMETHODIMP WriteSub(BYTE address, DWORD width, WORD subAddress, BYTE value, DWORD flags) override {
        return m_driver.WriteSub(address, width, subAddress, value, flags);
    }
    STDMETHODIMP ReadSub(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags) override {
        return m_driver.ReadSub(address, width, subAddress, data, flags);
    }
    STDMETHODIMP WriteRaw(BYTE address, DWORD width, WORD subAddress, DWORD count, BYTE* data, DWORD flags) override {
        return m_driver.WriteRaw(address, width, subAddress, count, data, flags);
    }
    STDMETHODIMP Reserved10() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved11() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved12() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved13() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved14() override { return E_NOTIMPL; }
    STDMETHODIMP WriteHeadered(DWORD headerLength, BYTE* header, DWORD count, void* data, DWORD flags) override {
        return m_driver.WriteHeadered(headerLength, header, count, data, flags);
    }

private:
    WisDriver& m_driver;
};

}  // namespace

WisDriver::WisDriver(Card& card) : KsDriver(card) {}

const char* WisDriver::SetName(REFGUID set) const { return IsEqualGUID(set, IID_IWisI2C) ? "WIS" : nullptr; }

DWORD WisDriver::Support(REFGUID, DWORD id) const {
    switch (id) {
    case kReadSub: return kSupportGet;
    case kWriteSub:
    case kWriteRaw:
    case kWriteHeadered: return kSupportSet;
    default: return 0;
    }
}

HRESULT WisDriver::QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) {
    if (!IsEqualGUID(riid, IID_IWisI2C)) return KsDriver::QueryDriverInterface(filter, riid, ppv);
    return DriverInterface<IWisI2C>::Make<WisInterface>(filter, riid, ppv, *this);
}

HRESULT WisDriver::WriteSub(BYTE address, DWORD width, WORD subAddress, BYTE value, DWORD flags) {
    Head head{address, width, subAddress, flags};
    return Set(IID_IWisI2C, kWriteSub, &head, sizeof(head), &value, 1);
}

HRESULT WisDriver::ReadSub(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags) {
    Head head{address, width, subAddress, flags};
    DWORD returned = 0;
    return Get(IID_IWisI2C, kReadSub, &head, sizeof(head), data, 1, &returned);
}

HRESULT WisDriver::WriteRaw(BYTE address, DWORD width, WORD subAddress, DWORD count, BYTE* data, DWORD flags) {
    Head head{address, width, subAddress, flags};
    return Set(IID_IWisI2C, kWriteRaw, &head, sizeof(head), data, count);
}

HRESULT WisDriver::WriteHeadered(DWORD headerLength, BYTE* header, DWORD count, void* data, DWORD flags) {
    if (!header) return Set(IID_IWisI2C, kWriteHeadered, nullptr, sizeof(HeaderHead), data, count);
    // Only the header's first two bytes and one data byte are read, whatever the lengths say;
    // Answer refuses other lengths.
    HeaderHead head{headerLength, {header[0], header[1]}, count, flags};
    return Set(IID_IWisI2C, kWriteHeadered, &head, sizeof(head), data, count == 1 ? 1 : 0);
}

HRESULT WisDriver::Answer(REFGUID, Request& request) {
    if (request.id == kWriteHeadered) {
        const HeaderHead head = Request::At<HeaderHead>(request.instance, 0);
        if (head.headerLength != 2 || head.count != 1 || head.flags != kFlags || request.dataLength != 1) {
            request.what = WireText("header length %u count %u flags %04X", static_cast<unsigned>(head.headerLength),
                                    static_cast<unsigned>(head.count), static_cast<unsigned>(head.flags));
            return E_INVALIDARG;
        }
        return KsDriver::SubAddressed(request, head.header[0], head.header[1], request.data, 1);
    }
    const Head head = Request::At<Head>(request.instance, 0);
    if (head.flags != kFlags) {
        request.what = WireText("flags %04X", static_cast<unsigned>(head.flags));
        return E_INVALIDARG;
    }
    if (request.id == kWriteRaw) {
        if (head.width != 0 || head.subAddress != 0 || (head.address & 1)) return E_INVALIDARG;
        return Raw(request, head.address, request.data, request.dataLength);
    }
    return Addressed(request, head);
}

HRESULT WisDriver::Addressed(Request& request, const Head& head) {
    if (request.dataLength != 1 || (head.width != 8 && head.width != 16) ||
        (head.width == 8 && head.subAddress > 0xFF)) {
        request.what = WireText("width %u sub %04X", static_cast<unsigned>(head.width), head.subAddress);
        return E_INVALIDARG;
    }
    if (head.width == 8) return KsDriver::SubAddressed(request, head.address, static_cast<BYTE>(head.subAddress), request.data, 1);
    const BYTE sub[] = {static_cast<BYTE>(head.subAddress >> 8), static_cast<BYTE>(head.subAddress)};
    return KsDriver::SubAddressed(request, head.address, sub, 2, request.data, 1);
}

}  // namespace hwsim

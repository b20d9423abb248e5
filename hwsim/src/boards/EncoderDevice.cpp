#include "hwsim/boards/EncoderDevice.h"

#include <cstring>

#include "hwsim/boards/PublishDriver.h"
#include "uuids.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

EncoderDriver::EncoderDriver(Card& card) : KsDriver(card) {}

const char* EncoderDriver::SetName(REFGUID set) const {
    return IsEqualGUID(set, kEncoderPropertySet) ? "ENC" : nullptr;
}

DWORD EncoderDriver::Support(REFGUID, DWORD) const { return kSupportGet | kSupportSet; }

HRESULT EncoderDriver::Answer(REFGUID set, Request& request) {
    if (request.instanceLength != request.dataLength || request.instance != request.data) return E_INVALIDARG;
    const DWORD length = request.dataLength;
    if (request.IsGet()) {
        const std::vector<BYTE> bytes = m_store.Bytes(set, request.id, length);
        if (length != 0) std::memcpy(request.data, bytes.data(), length);
        request.returned = length;
        request.what = WireText("get %u bytes", static_cast<unsigned>(length));
    } else {
        m_store.Store(set, request.id, request.data, length);
        request.what = WireText("set %u bytes", static_cast<unsigned>(length));
    }
    return S_OK;
}

EncoderFilter::EncoderFilter(const std::shared_ptr<EncoderDriver>& driver) : FilterBase(kEncoderFilterClsid) {
    AddPin(PinDescription{PINDIR_INPUT, L"Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"MPEG Out", L"", GUID_NULL, {MediaType(MEDIATYPE_Stream, GUID_NULL)}});
    PublishDriver(*this, driver);
}

}  // namespace hwsim

// The requests of the property-set layout that the SAA713x driver publishes.
#include "access/KsPropertyRequest.h"

namespace {

constexpr DWORD kPayload = CRequestBuffer::kPayload;
constexpr DWORD kSecond = CRequestBuffer::kSecond;
constexpr DWORD kGpioLines = 0x0FFFFFFF;

// S_OK for a request the driver carried out.
HRESULT Done(HRESULT hr) { return FAILED(hr) ? hr : S_OK; }

}  // namespace

HRESULT SetRequest(IKsPropertySet* pSet, REFGUID set, DWORD id, const KsRequestLayout& layout, CRequestBuffer& buffer)
{
    return Done(pSet->Set(set, id, buffer.Bytes(), layout.instance, buffer.Bytes(), layout.data));
}

HRESULT GetRequest(IKsPropertySet* pSet, REFGUID set, DWORD id, const KsRequestLayout& layout, CRequestBuffer& buffer)
{
    DWORD returned = 0;
    return Done(pSet->Get(set, id, buffer.Bytes(), layout.instance, buffer.Bytes(), layout.data, &returned));
}

namespace {

// A short request that sends `payload` and answers in the dword after it, kept only on S_OK.
HRESULT GetSecondDword(IKsPropertySet* pSet, REFGUID set, DWORD id, DWORD payload, DWORD* pValue)
{
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, payload);
    HRESULT hr = GetRequest(pSet, set, id, kShortRequest, buffer);
    if (hr == S_OK) *pValue = buffer.Dword(kSecond);
    return hr;
}

}  // namespace

HRESULT KsI2CRead(IKsPropertySet* pSet, REFGUID set, BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    if (!pSet) return E_FAIL;
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, ucSlaveAddr);
    buffer.PutDword(kSecond, static_cast<DWORD>(iSubAddr));
    HRESULT hr = GetRequest(pSet, set, KSPROPERTY_SAA713X_I2C, kTransferRequest, buffer);
    if (hr == S_OK) *pData = buffer.Byte(CRequestBuffer::kTransferData);
    return hr;
}

HRESULT KsI2CWrite(IKsPropertySet* pSet, REFGUID set, BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    if (!pSet) return E_FAIL;
    if (iSubAddr < 0) return E_INVALIDARG;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, ucSlaveAddr);
    buffer.PutDword(kSecond, static_cast<DWORD>(iSubAddr));
    buffer.PutByte(CRequestBuffer::kTransferData, ucData);
    return SetRequest(pSet, set, KSPROPERTY_SAA713X_I2C, kTransferRequest, buffer);
}

HRESULT KsBlockRead(IKsPropertySet* pSet, REFGUID set, BYTE* buf, int len, bool readAddress)
{
    if (!pSet) return E_FAIL;
    if (!buf) return E_POINTER;
    if (len < 1 || len > kKsBlockBytes) return E_INVALIDARG;
    if (readAddress) buf[0] = (buf[0] & 0xFE) + 1;
    CRequestBuffer buffer;
    std::memcpy(buffer.Bytes() + kPayload, buf, len);
    buffer.PutDword(CRequestBuffer::kBlockLength, static_cast<DWORD>(len));
    HRESULT hr = GetRequest(pSet, set, KSPROPERTY_SAA713X_I2C_BLOCK, kBlockRequest, buffer);
    if (hr == S_OK) std::memcpy(buf, buffer.Bytes() + kPayload, len);
    return hr;
}

HRESULT KsBlockWrite(IKsPropertySet* pSet, REFGUID set, BYTE* buf, int len)
{
    if (!pSet) return E_FAIL;
    if (!buf) return E_POINTER;
    if (len < 2 || len > kKsBlockBytes) return E_INVALIDARG;
    buf[0] &= 0xFE;
    CRequestBuffer buffer;
    std::memcpy(buffer.Bytes() + kPayload, buf, len);
    buffer.PutDword(CRequestBuffer::kBlockLength, static_cast<DWORD>(len));
    return SetRequest(pSet, set, KSPROPERTY_SAA713X_I2C_BLOCK, kBlockRequest, buffer);
}

HRESULT KsRegisterRead(IKsPropertySet* pSet, REFGUID set, DWORD addr, DWORD* pValue)
{
    if (!pSet) return E_FAIL;
    if (!pValue) return E_POINTER;
    return GetSecondDword(pSet, set, KSPROPERTY_SAA713X_REGISTER, addr, pValue);
}

HRESULT KsRegisterWrite(IKsPropertySet* pSet, REFGUID set, DWORD addr, DWORD value)
{
    if (!pSet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, addr);
    buffer.PutDword(kSecond, value);
    return SetRequest(pSet, set, KSPROPERTY_SAA713X_REGISTER, kShortRequest, buffer);
}

HRESULT KsSetByte(IKsPropertySet* pSet, REFGUID set, DWORD id, BYTE value)
{
    if (!pSet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, value);
    return SetRequest(pSet, set, id, kShortRequest, buffer);
}

HRESULT KsSetDword(IKsPropertySet* pSet, REFGUID set, DWORD id, DWORD value)
{
    if (!pSet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, value);
    return SetRequest(pSet, set, id, kShortRequest, buffer);
}

HRESULT KsSetBare(IKsPropertySet* pSet, REFGUID set, DWORD id)
{
    if (!pSet) return E_FAIL;
    CRequestBuffer buffer;
    return SetRequest(pSet, set, id, kBareRequest, buffer);
}

HRESULT KsGpioGet(IKsPropertySet* pSet, REFGUID set, DWORD* pLevels)
{
    return GetSecondDword(pSet, set, KSPROPERTY_SAA713X_GPIO, kGpioLines, pLevels);
}

HRESULT KsGpioSet(IKsPropertySet* pSet, REFGUID set, DWORD value, DWORD mask)
{
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, mask);
    buffer.PutDword(kSecond, value);
    return SetRequest(pSet, set, KSPROPERTY_SAA713X_GPIO, kShortRequest, buffer);
}

HRESULT KsGetDeviceInfo(IKsPropertySet* pSet, REFGUID set, DWORD* pFirst, DWORD* pSecond)
{
    CRequestBuffer buffer;
    HRESULT hr = GetRequest(pSet, set, KSPROPERTY_SAA713X_DEVICE_INFO, kShortRequest, buffer);
    *pFirst = hr == S_OK ? buffer.Word(kPayload) : 0;
    *pSecond = hr == S_OK ? buffer.Word(kPayload + 2) : 0;
    return hr;
}

// CMpeg2BoxDecoder: the MPEG-2 box's status and picture routines on its video decoder.
#include "access/Mpeg2BoxDecoder.h"

#include "access/Mpeg2BoxAccess.h"

namespace {

constexpr BYTE kModeDecoderWrite = 0;
constexpr BYTE kModeDecoderRead = 1;
constexpr BYTE kModeStatusRead = 0;
constexpr BYTE kModeWrite = 2;
constexpr BYTE kModeRead = 3;
constexpr BYTE kModeWord = 8;
constexpr BYTE kModeRawRead = 33;
constexpr DWORD kTuner = 0x60;
constexpr DWORD kDevice51 = 0x51;
constexpr DWORD kDevice43 = 0x43;
constexpr int kPolls = 50;
constexpr DWORD kPollMs = 10;
constexpr DWORD kInputRegister = 2;
constexpr DWORD kOffsetRegister = 9;
constexpr DWORD kCentredRegister = 13;

// The amount register 9 carries above the picture value, by standard.
long PictureOffset(long standard, DWORD reg)
{
    if (reg != kOffsetRegister) return 0;
    if (standard == 0) return 189;
    if (standard == 1 || standard == 2) return 77;
    return 0;
}

BOOL ReadStatus(IUnknown* pFilter, DWORD* pValue)
{
    return CMpeg2BoxAccess::QueryBoxValue(pFilter, CMpeg2BoxDecoder::kDecoder, kModeStatusRead,
                                          CMpeg2BoxDecoder::kStatusRegister, pValue);
}

}  // namespace

BOOL CMpeg2BoxDecoder::GetTunerStatus(IUnknown* pFilter, DWORD* pStatus)
{
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryBoxValue(pFilter, kTuner, kModeRawRead, 0, &value)) return FALSE;
    TRACE("GetTV : %x\n", static_cast<unsigned>(value));
    if (value & 0x40) TRACE("Signal : %02x\n", static_cast<unsigned>(value & 0x07));
    if (pStatus) *pStatus = value;
    return TRUE;
}

BOOL CMpeg2BoxDecoder::WaitDecoderReady(IUnknown* pFilter)
{
    for (int i = 0; i < kPolls; ++i) {
        if (i > 0) Sleep(kPollMs);
        DWORD value = 0;
        if (ReadStatus(pFilter, &value) && !(value & 0x40)) return TRUE;
    }
    return FALSE;
}

BOOL CMpeg2BoxDecoder::GetDecoderFlag(IUnknown* pFilter)
{
    for (int i = 0; i < kPolls; ++i) {
        if (i > 0) Sleep(kPollMs);
        DWORD value = 0;
        if (ReadStatus(pFilter, &value)) {
            TRACE("VALUE = 0x%x\n", static_cast<unsigned>(value));
            return !(value & 0x20);
        }
    }
    return FALSE;
}

DWORD CMpeg2BoxDecoder::GetDecoderStatusBit(IUnknown* pFilter, long standard)
{
    if (standard != 1 && standard != 3) return 0;
    DWORD value = 0;
    if (!ReadStatus(pFilter, &value)) return 0;
    return (value >> 1) & 1;
}

BOOL CMpeg2BoxDecoder::ReadDecoderStatus(IUnknown* pFilter, DWORD* pValue)
{
    return CMpeg2BoxAccess::QueryBoxValue(pFilter, kDecoder, kModeDecoderRead, kStatusRegister, pValue);
}

BOOL CMpeg2BoxDecoder::SelectInput(IUnknown* pFilter, long standard, int input)
{
    static const BYTE kInputs[] = {6, 3, 4};
    if ((standard != 1 && standard != 2) || input < 0 || input > 2) return FALSE;
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryBoxValue(pFilter, kDecoder, kModeDecoderRead, kInputRegister, &value)) return FALSE;
    const DWORD selected = (value & 0xF0) | kInputs[input];
    return CMpeg2BoxAccess::SetBoxValue(pFilter, kDecoder, kModeDecoderWrite, kInputRegister, selected);
}

BOOL CMpeg2BoxDecoder::SetPictureRegister(IUnknown* pFilter, long standard, DWORD reg, long value)
{
    long sent = value + PictureOffset(standard, reg);
    if (reg == kCentredRegister) sent = value - 127;
    return CMpeg2BoxAccess::SetBoxValue(pFilter, kDecoder, kModeDecoderWrite, reg, static_cast<DWORD>(sent));
}

BOOL CMpeg2BoxDecoder::GetPictureRegister(IUnknown* pFilter, long standard, DWORD reg, long* pValue)
{
    if (!pValue) return FALSE;
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryBoxValue(pFilter, kDecoder, kModeDecoderRead, reg, &value)) return FALSE;
    *pValue = static_cast<long>(value) - PictureOffset(standard, reg);
    return TRUE;
}

BOOL CMpeg2BoxDecoder::ReadDevice51(IUnknown* pFilter, DWORD reg, BYTE* pValue)
{
    if (!pValue) return FALSE;
    DWORD value = 0;
    if (!CMpeg2BoxAccess::QueryBoxValue(pFilter, kDevice51, kModeRead, reg, &value)) return FALSE;
    *pValue = static_cast<BYTE>(value);
    return TRUE;
}

BOOL CMpeg2BoxDecoder::WriteDevice51(IUnknown* pFilter, DWORD reg, BYTE value)
{
    return CMpeg2BoxAccess::SetBoxValue(pFilter, kDevice51, kModeWrite, reg, value);
}

BOOL CMpeg2BoxDecoder::SetDevice43(IUnknown* pFilter, long standard, int variant)
{
    if (standard != 5) return TRUE;
    return CMpeg2BoxAccess::SetBoxValue(pFilter, kDevice43, kModeWord, 0, variant ? 0x3610 : 0x1610);
}

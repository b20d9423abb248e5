// The Voze card ("713x_D TV Card Capture") and its crossbar ("713x_D TV Card Crossbar"): an
// SAA713x card on its own access class (CVozeAccess, access kind 20) whose controller frames are
// those of the IO pin layout, without remote keys or word transactions, and whose digit
// controller (I2C 0x72) holds a string of digits that ReadDigitString reads.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_VOZE = 20;

class CVozeCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "713x_D TV Card Capture";
    static constexpr const char kTunerFilterName[] = "PhTVTune";
    static constexpr BYTE kDigitController = 0x72;
    static constexpr BYTE kDigitCount = 0x20;

    using CTVCardFilter::CTVCardFilter;
    ~CVozeCardFilter() override;

    // The base Create with the tuner filter's name set first.
    BOOL Create() override;
    // No remote keys on this card.
    BOOL GetRemoteData(BYTE* key) override;
    // A CVozeAccess bound to the capture filter and opened, access kind 20.
    HRESULT InitAccess() override;
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;
    BOOL WaitReadState(DWORD* word) override;
    // (char* buffer, int* length): *length on entry is the buffer's capacity. The digit
    // controller's count (register 0x20) and its digits (0x21 on) as ASCII digits, terminated,
    // and the count into *length: 1. 0 without an access object, buffer or length, when a read
    // fails, for a count of 0, and when the digits and the terminator do not fit; nothing is
    // written then.
    LONG_PTR ReadDigitString(LONG_PTR buffer, LONG_PTR length) override;

    DECLARE_CARD_FILTER_CLASS();
};

class CVozeCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_D TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};

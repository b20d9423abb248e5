// The device-control commands that no slot of CKsDeviceControlAccess sends: one wrapper per
// command, each a row of the table below, all sent by one function.
#include "access/KsDeviceControlAccess.h"

#include <cstring>

namespace {

using Shape = CKsDeviceControlAccess::CommandShape;

// Parameter places.
constexpr BYTE kDw32 = 32, kDw36 = 36, kDw40 = 40, kDw44 = 44, kDw52 = 52, kDw56 = 56, kDw60 = 60;
constexpr BYTE kB48 = 48, kB49 = 49, kB50 = 50, kB51 = 51;
constexpr size_t kLengthAt = 116;

// Command block (id 4).
constexpr Shape kQuery11000001 = {0x11000001, false, {}, {}, false};
constexpr Shape kQuery11000002 = {0x11000002, false, {kDw32}, {}, false};
constexpr Shape kQuery11000003 = {0x11000003, false, {kDw32}, {}, false};
constexpr Shape kSet11000004 = {0x11000004, false, {kDw32}, {}, false};
constexpr Shape kQuery11000005 = {0x11000005, false, {}, {}, false};
constexpr Shape kQuery11000006 = {0x11000006, false, {}, {kB48}, false};
constexpr Shape kRead11000007 = {0x11000007, false, {}, {kB48, kB49}, true};
constexpr Shape kQuery11000008 = {0x11000008, false, {}, {kB48, kB50}, false};
constexpr Shape kQuery11000009 = {0x11000009, false, {}, {kB48, kB50, kB51}, false};
constexpr Shape kRead1100000A = {0x1100000A, false, {}, {kB48, kB49}, true};
constexpr Shape kQuery1100000F = {0x1100000F, false, {}, {}, false};
constexpr Shape kQuery11000011 = {0x11000011, false, {kDw40}, {}, false};
constexpr Shape kQuery11000012 = {0x11000012, false, {}, {}, false};
constexpr Shape kQuery11000012At36 = {0x11000012, false, {kDw36}, {}, false};
constexpr Shape kQuery11000012At44 = {0x11000012, false, {kDw44}, {}, false};
constexpr Shape kQuery11000012At36And44 = {0x11000012, false, {kDw36, kDw44}, {}, false};
constexpr Shape kQuery11000016 = {0x11000016, false, {}, {}, false};
constexpr Shape kQuery11000017 = {0x11000017, false, {}, {}, false};
// Large block (id 2).
constexpr Shape kLargeSet1 = {1, true, {kDw32}, {}, false};
constexpr Shape kLargeSet3 = {3, true, {kDw32}, {}, false};
constexpr Shape kLargeSet4 = {4, true, {kDw32}, {}, false};
constexpr Shape kLargeSet5 = {5, true, {kDw32}, {}, false};
constexpr Shape kLargeQuery6 = {6, true, {kDw40, kDw32}, {}, false};
constexpr Shape kLargeSet7 = {7, true, {kDw44}, {}, false};
constexpr Shape kLargeQuery8 = {8, true, {kDw40, kDw32}, {}, false};
constexpr Shape kLargeQuery9 = {9, true, {kDw44}, {}, false};
constexpr Shape kLargeQuery11 = {11, true, {kDw56, kDw60, kDw44, kDw52}, {}, false};
constexpr Shape kLargeQuery10000001 = {0x10000001, true, {}, {}, false};
constexpr Shape kLargeQuery10000003 = {0x10000003, true, {}, {}, false};
constexpr Shape kLargeQuery10000004 = {0x10000004, true, {}, {}, false};
constexpr Shape kLargeQuery10000005 = {0x10000005, true, {}, {}, false};
constexpr Shape kLargeQuery10000006 = {0x10000006, true, {kDw40}, {}, false};
constexpr Shape kLargeQuery10000007 = {0x10000007, true, {}, {}, false};
constexpr Shape kLargeQuery10000008 = {0x10000008, true, {kDw40}, {}, false};
constexpr Shape kLargeQuery10000009 = {0x10000009, true, {}, {}, false};
constexpr Shape kLargeQuery1000000B = {0x1000000B, true, {kDw40, kDw52}, {}, false};

// The shape's parameters into the zeroed block, at their places.
void Place(BYTE* block, const Shape& shape, std::initializer_list<DWORD> dwords, std::initializer_list<BYTE> bytes,
           DWORD length)
{
    const DWORD* dword = dwords.begin();
    for (BYTE at : shape.dwords) {
        if (at == 0 || dword == dwords.end()) break;
        std::memcpy(block + at, dword++, sizeof(DWORD));
    }
    const BYTE* byte = bytes.begin();
    for (BYTE at : shape.bytes) {
        if (at == 0 || byte == bytes.end()) break;
        block[at] = *byte++;
    }
    if (shape.length) std::memcpy(block + kLengthAt, &length, sizeof(length));
}

}  // namespace

HRESULT CKsDeviceControlAccess::Run(const CommandShape& shape, std::initializer_list<DWORD> dwords,
                                    std::initializer_list<BYTE> bytes, DWORD length, const CommandAnswers& answers)
{
    if (shape.large) {
        KSDC_LARGE_COMMAND block;
        std::memset(&block, 0, sizeof(block));
        Place(reinterpret_cast<BYTE*>(&block), shape, dwords, bytes, length);
        const HRESULT hr = SendBlockCommand(shape.code, &block);
        if (hr != S_OK) return hr;
        if (answers.pAnswer) *answers.pAnswer = block.dwAnswer;
        if (answers.pAnswer2) *answers.pAnswer2 = block.dwAnswer2;
        return S_OK;
    }
    KSDC_COMMAND block;
    std::memset(&block, 0, sizeof(block));
    Place(reinterpret_cast<BYTE*>(&block), shape, dwords, bytes, length);
    const HRESULT hr = SendCommand(shape.code, &block);
    if (hr != S_OK) return hr;
    if (answers.pAnswer) *answers.pAnswer = block.dwAnswer;
    if (answers.pByte50) *answers.pByte50 = block.bParam[kB50 - kB48];
    if (answers.pData) std::memcpy(answers.pData, block.data, sizeof(block.data));
    return S_OK;
}

HRESULT CKsDeviceControlAccess::Query11000001(DWORD* pAnswer) { return Run(kQuery11000001, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::QueryDword11000002(DWORD dw32, DWORD* pAnswer)
{
    return Run(kQuery11000002, {dw32}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::QueryDword11000003(DWORD dw32, DWORD* pAnswer)
{
    return Run(kQuery11000003, {dw32}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::SetDword11000004(DWORD dw32) { return Run(kSet11000004, {dw32}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::Query11000005(DWORD* pAnswer) { return Run(kQuery11000005, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::QueryByte11000006(BYTE b48, DWORD* pAnswer, BYTE* pByte50)
{
    return Run(kQuery11000006, {}, {b48}, 0, {pAnswer, pByte50});
}
HRESULT CKsDeviceControlAccess::ReadData11000007(BYTE b48, BYTE b49, DWORD length, DWORD* pAnswer, BYTE* pData)
{
    return Run(kRead11000007, {}, {b48, b49}, length, {pAnswer, nullptr, pData});
}
HRESULT CKsDeviceControlAccess::QueryBytes11000008(BYTE b48, BYTE b50, DWORD* pAnswer)
{
    return Run(kQuery11000008, {}, {b48, b50}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::QueryBytes11000009(BYTE b48, BYTE b50, BYTE b51, DWORD* pAnswer)
{
    return Run(kQuery11000009, {}, {b48, b50, b51}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::ReadData1100000A(BYTE b48, BYTE b49, DWORD length, DWORD* pAnswer, BYTE* pData)
{
    return Run(kRead1100000A, {}, {b48, b49}, length, {pAnswer, nullptr, pData});
}
HRESULT CKsDeviceControlAccess::Query1100000F(DWORD* pAnswer) { return Run(kQuery1100000F, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::QueryDword11000011(DWORD dw40, DWORD* pAnswer)
{
    return Run(kQuery11000011, {dw40}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::Query11000012(DWORD* pAnswer) { return Run(kQuery11000012, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::Query11000012At36(DWORD dw36, DWORD* pAnswer)
{
    return Run(kQuery11000012At36, {dw36}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::Query11000012At44(DWORD dw44, DWORD* pAnswer)
{
    return Run(kQuery11000012At44, {dw44}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::Query11000012At36And44(DWORD dw36, DWORD dw44, DWORD* pAnswer)
{
    return Run(kQuery11000012At36And44, {dw36, dw44}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::Query11000016(DWORD* pAnswer) { return Run(kQuery11000016, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::Query11000017(DWORD* pAnswer) { return Run(kQuery11000017, {}, {}, 0, {pAnswer}); }

HRESULT CKsDeviceControlAccess::LargeSet1(DWORD dw32) { return Run(kLargeSet1, {dw32}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::LargeSet3(DWORD dw32) { return Run(kLargeSet3, {dw32}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::LargeSet4(DWORD dw32) { return Run(kLargeSet4, {dw32}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::LargeSet5(DWORD dw32) { return Run(kLargeSet5, {dw32}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::LargeQuery6(DWORD dw40, DWORD dw32, DWORD* pAnswer)
{
    return Run(kLargeQuery6, {dw40, dw32}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::LargeSet7(DWORD dw44) { return Run(kLargeSet7, {dw44}, {}, 0, {}); }
HRESULT CKsDeviceControlAccess::LargeQuery8(DWORD dw40, DWORD dw32, DWORD* pAnswer)
{
    return Run(kLargeQuery8, {dw40, dw32}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::LargeQuery9(DWORD dw44, DWORD* pAnswer) { return Run(kLargeQuery9, {dw44}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery11(DWORD dw56, DWORD dw60, DWORD dw44, DWORD dw52, DWORD* pAnswer)
{
    return Run(kLargeQuery11, {dw56, dw60, dw44, dw52}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::LargeQuery10000001(DWORD* pAnswer) { return Run(kLargeQuery10000001, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery10000003(DWORD* pAnswer) { return Run(kLargeQuery10000003, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery10000004(DWORD* pAnswer) { return Run(kLargeQuery10000004, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery10000005(DWORD* pAnswer) { return Run(kLargeQuery10000005, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery10000006(DWORD dw40, DWORD* pAnswer)
{
    return Run(kLargeQuery10000006, {dw40}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::LargeQuery10000007(DWORD* pAnswer) { return Run(kLargeQuery10000007, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery10000008(DWORD dw40, DWORD* pAnswer)
{
    return Run(kLargeQuery10000008, {dw40}, {}, 0, {pAnswer});
}
HRESULT CKsDeviceControlAccess::LargeQuery10000009(DWORD* pAnswer) { return Run(kLargeQuery10000009, {}, {}, 0, {pAnswer}); }
HRESULT CKsDeviceControlAccess::LargeQuery1000000B(DWORD dw40, DWORD dw52, DWORD* pAnswer, DWORD* pAnswer2)
{
    return Run(kLargeQuery1000000B, {dw40, dw52}, {}, 0, {pAnswer, nullptr, nullptr, pAnswer2});
}

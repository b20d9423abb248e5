// CKsDeviceControlAccess: the hardware access of the cards whose capture driver answers the
// device-control set KSPROPSETID_DeviceControl. It takes the driver filter's kernel handle and
// sends its own command blocks with IOCTL_KS_PROPERTY; the driver offers primitives (I2C
// start, stop, byte in, byte out, acknowledge; a port word; GPIO words) and the I2C transfers
// of the interface are built from them here.
//
// Every command goes twice in the same block, the block being both input and output: first as
// a SET (flags 2), which carries it out, then, when that succeeded, as a GET (flags 1), which
// fetches its answers. Blocks are zeroed before a command fills them.
//
// The I2C and GPIO slots hold the request lock for their whole command sequence (a transfer
// from its start to its stop; the port word saved, zeroed and restored around a GPIO word), so
// that threads sharing the object never interleave their primitives. A byte of a block
// transfer that fails is followed by a stop before the failure is returned, so the bus is
// never left open.
#pragma once

#include <ks.h>
#include <ksproxy.h>

#include <cstddef>
#include <initializer_list>

#include "access/CustomDataAccess.h"

// C44A1A10-0A37-11D2-8328-006097BA83AB
DEFINE_GUID(KSPROPSETID_DeviceControl, 0xC44A1A10, 0x0A37, 0x11D2, 0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB);

// The command block, sent with property id 4.
struct KSDC_COMMAND {
    KSPROPERTY Property;
    DWORD dwCode;
    DWORD dwAnswer;     // filled by the driver
    DWORD dwParam[4];   // at 32, 36, 40, 44
    BYTE bParam[4];     // at 48 to 51; byte 50 carries the I2C data byte both ways
    BYTE data[64];
    DWORD dwLength;
};

// The large command block, sent with property id 2.
struct KSDC_LARGE_COMMAND {
    KSPROPERTY Property;
    DWORD dwCode;
    DWORD dwAnswer;
    DWORD dwParam[8];   // at 32 to 60
    DWORD dwReserved;
    DWORD dwAnswer2;
    BYTE data[256];
};

static_assert(sizeof(KSDC_COMMAND) == 120 && offsetof(KSDC_COMMAND, dwCode) == 24 &&
              offsetof(KSDC_COMMAND, bParam) == 48 && offsetof(KSDC_COMMAND, data) == 52 &&
              offsetof(KSDC_COMMAND, dwLength) == 116);
static_assert(sizeof(KSDC_LARGE_COMMAND) == 328 && offsetof(KSDC_LARGE_COMMAND, dwAnswer2) == 68 &&
              offsetof(KSDC_LARGE_COMMAND, data) == 72);

class CKsDeviceControlAccess : public CCustomDataAccess {
public:
    CKsDeviceControlAccess();
    ~CKsDeviceControlAccess() override;

    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()

    // Transport.
    HRESULT SendCommand(DWORD code, KSDC_COMMAND* block);
    HRESULT SendBlockCommand(DWORD code, KSDC_LARGE_COMMAND* block);
    HRESULT BindHandle(IUnknown* pDevice);

    // I2C primitives; the answer words are not looked at.
    HRESULT I2CStart();
    HRESULT I2CStop();
    HRESULT I2CReadByte(BYTE* pValue);
    HRESULT I2CWriteByte(BYTE value);
    HRESULT I2CAck();

    // The rest of the driver's command vocabulary, which no slot sends: one wrapper per
    // command (KsDeviceControlCommands.cpp). Each fills the parameter places its name and
    // arguments give (dw32 is the DWORD at byte 32, b48 the BYTE at 48, ...), sends the block,
    // and on success copies the answers to its out-parameters: pAnswer the answer word (28),
    // pByte50 the byte at 50, pData the 64 data bytes (52), pAnswer2 the second answer word of
    // a large block (68). A failed send answers its HRESULT and copies nothing. Out-parameters
    // may be null (that answer is not wanted). Command block, property id 4:
    HRESULT Query11000001(DWORD* pAnswer);
    HRESULT QueryDword11000002(DWORD dw32, DWORD* pAnswer);
    HRESULT QueryDword11000003(DWORD dw32, DWORD* pAnswer);
    HRESULT SetDword11000004(DWORD dw32);
    HRESULT Query11000005(DWORD* pAnswer);
    HRESULT QueryByte11000006(BYTE b48, DWORD* pAnswer, BYTE* pByte50);
    HRESULT ReadData11000007(BYTE b48, BYTE b49, DWORD length, DWORD* pAnswer, BYTE* pData);
    HRESULT QueryBytes11000008(BYTE b48, BYTE b50, DWORD* pAnswer);
    HRESULT QueryBytes11000009(BYTE b48, BYTE b50, BYTE b51, DWORD* pAnswer);
    HRESULT ReadData1100000A(BYTE b48, BYTE b49, DWORD length, DWORD* pAnswer, BYTE* pData);
    HRESULT Query1100000F(DWORD* pAnswer);
    HRESULT QueryDword11000011(DWORD dw40, DWORD* pAnswer);
    HRESULT Query11000012(DWORD* pAnswer);
    HRESULT Query11000012At36(DWORD dw36, DWORD* pAnswer);
    HRESULT Query11000012At44(DWORD dw44, DWORD* pAnswer);
    HRESULT Query11000012At36And44(DWORD dw36, DWORD dw44, DWORD* pAnswer);
    HRESULT Query11000016(DWORD* pAnswer);
    HRESULT Query11000017(DWORD* pAnswer);
    // Large block, property id 2:
    HRESULT LargeSet1(DWORD dw32);
    HRESULT LargeSet3(DWORD dw32);
    HRESULT LargeSet4(DWORD dw32);
    HRESULT LargeSet5(DWORD dw32);
    HRESULT LargeQuery6(DWORD dw40, DWORD dw32, DWORD* pAnswer);
    HRESULT LargeSet7(DWORD dw44);
    HRESULT LargeQuery8(DWORD dw40, DWORD dw32, DWORD* pAnswer);
    HRESULT LargeQuery9(DWORD dw44, DWORD* pAnswer);
    HRESULT LargeQuery11(DWORD dw56, DWORD dw60, DWORD dw44, DWORD dw52, DWORD* pAnswer);
    HRESULT LargeQuery10000001(DWORD* pAnswer);
    HRESULT LargeQuery10000003(DWORD* pAnswer);
    HRESULT LargeQuery10000004(DWORD* pAnswer);
    HRESULT LargeQuery10000005(DWORD* pAnswer);
    HRESULT LargeQuery10000006(DWORD dw40, DWORD* pAnswer);
    HRESULT LargeQuery10000007(DWORD* pAnswer);
    HRESULT LargeQuery10000008(DWORD dw40, DWORD* pAnswer);
    HRESULT LargeQuery10000009(DWORD* pAnswer);
    HRESULT LargeQuery1000000B(DWORD dw40, DWORD dw52, DWORD* pAnswer, DWORD* pAnswer2);

    // One command of the vocabulary: its code, block and parameter places, and the answers it
    // copies back. The wrappers above are rows of one table walked by Run.
    struct CommandShape {
        DWORD code;
        bool large;
        // Offsets of the parameters in the block, in the order the wrapper takes them; 0 ends.
        BYTE dwords[4];
        BYTE bytes[3];
        bool length;  // the command block's data length (116) follows the bytes
    };
    struct CommandAnswers {
        DWORD* pAnswer = nullptr;
        BYTE* pByte50 = nullptr;
        BYTE* pData = nullptr;
        DWORD* pAnswer2 = nullptr;
    };

private:
    HRESULT Run(const CommandShape& shape, std::initializer_list<DWORD> dwords, std::initializer_list<BYTE> bytes,
                DWORD length, const CommandAnswers& answers);
    HRESULT ReadPortWord(DWORD* pValue);
    HRESULT WritePortWord(DWORD value);
    // Saves the port word, sets it to 0, runs `request` and restores the saved word; a port
    // word that cannot be read ends it with that failure before anything else is sent.
    template <class Request>
    HRESULT OnPortZero(Request request);

    HANDLE m_hDevice = nullptr;
};

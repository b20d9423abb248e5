// The driver of the cards whose capture filter answers device-control commands.
#include "hwsim/drivers/KsDeviceControlDriver.h"

#include <algorithm>

#include "ks.h"

namespace hwsim {

namespace {

// Command codes the driver carries out.
constexpr DWORD kI2CStart = 0x1100000B;
constexpr DWORD kI2CStop = 0x1100000C;
constexpr DWORD kI2CByteIn = 0x1100000D;
constexpr DWORD kI2CByteOut = 0x1100000E;
constexpr DWORD kI2CAck = 0x11000010;
constexpr DWORD kOpen = 0x11000018;
constexpr DWORD kPortWrite = 2;
constexpr DWORD kGpioWrite = 10;
constexpr DWORD kPortRead = 0x10000002;
constexpr DWORD kGpioRead = 0x1000000A;
constexpr DWORD kOption = 0x1000000C;

// The codes of each block, with whether the GET answers the answer word.
struct Code {
    DWORD first;
    DWORD last;
    bool answerWord;
};
constexpr Code kCommandCodes[] = {
    {0x11000001, 0x11000003, true}, {0x11000004, 0x11000004, false}, {0x11000005, 0x11000012, true},
    {0x11000016, 0x11000018, true},
};
constexpr Code kLargeCodes[] = {
    {1, 5, false}, {6, 6, true}, {7, 7, false}, {8, 11, true}, {0x10000001, 0x1000000C, true},
};

// Offsets in the blocks.
constexpr size_t kFlags = 20;
constexpr size_t kCode = 24;
constexpr size_t kAnswer = 28;
constexpr size_t kPortParam = 36;
constexpr size_t kCount = 40;
constexpr size_t kGpioFlagA = 48;
constexpr size_t kGpioFlagB = 52;
constexpr size_t kByte = 50;
constexpr size_t kLargeData = 72;
constexpr size_t kParams = 32;
constexpr size_t kCommandParamsEnd = 52;
constexpr size_t kCommandData = 52;
constexpr size_t kCommandDataBytes = 64;
constexpr size_t kLength = 116;
constexpr size_t kLargeParamsEnd = 68;
constexpr size_t kSecondAnswer = 68;

// Codes whose GET answers more than the answer word.
constexpr DWORD kByteAnswer = 0x11000006;
constexpr DWORD kDataAnswers[] = {0x11000007, 0x1100000A};
constexpr DWORD kSecondAnswerCode = 0x1000000B;

bool AnswersData(DWORD code) { return code == kDataAnswers[0] || code == kDataAnswers[1]; }

template <size_t N>
const Code* FindCode(const Code (&codes)[N], DWORD code) {
    for (const Code& row : codes) {
        if (code >= row.first && code <= row.last) return &row;
    }
    return nullptr;
}

}  // namespace

KsDeviceControlDriver::KsDeviceControlDriver(Card& card) : KsDriver(card) {}

const char* KsDeviceControlDriver::SetName(REFGUID set) const {
    return IsEqualGUID(set, kDeviceControlSet) ? "DC" : nullptr;
}

DWORD KsDeviceControlDriver::Support(REFGUID, DWORD id) const {
    return id == kCommandId || id == kLargeId ? kSupportGet | kSupportSet : 0;
}

DWORD KsDeviceControlDriver::PortWord() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_portWord;
}

void KsDeviceControlDriver::SetPortWord(DWORD value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_portWord = value;
}

KsDeviceControlDriver::ThreadState& KsDeviceControlDriver::Mine() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_threads[std::this_thread::get_id()];
}

void KsDeviceControlDriver::Forget() {
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_threads.find(std::this_thread::get_id());
    if (it != m_threads.end() && !it->second.pending && !it->second.transfer.open) m_threads.erase(it);
}

HRESULT KsDeviceControlDriver::Answer(REFGUID, Request& request) {
    const DWORD size = request.id == kCommandId ? kCommandSize : kLargeSize;
    BYTE* block = request.data;
    const DWORD code = Request::At<DWORD>(block, kCode);
    const Code* known = request.id == kCommandId ? FindCode(kCommandCodes, code) : FindCode(kLargeCodes, code);
    const KSPROPERTY header = Request::At<KSPROPERTY>(block, 0);
    const DWORD flags = request.IsGet() ? KSPROPERTY_TYPE_GET : KSPROPERTY_TYPE_SET;
    if (request.instanceLength != size || request.dataLength != size || request.instance != block ||
        !IsEqualGUID(header.Set, kDeviceControlSet) || header.Id != request.id ||
        Request::At<DWORD>(block, kFlags) != flags || !known) {
        request.what = WireText("command %08X", static_cast<unsigned>(code));
        return E_INVALIDARG;
    }

    ThreadState& mine = Mine();
    HRESULT hr;
    if (request.IsGet()) {
        if (!mine.pending || mine.answers.id != request.id || mine.answers.code != code) {
            request.what = WireText("command %08X without its SET", static_cast<unsigned>(code));
            hr = E_INVALIDARG;
        } else {
            const Answers& answers = mine.answers;
            if (known->answerWord) Request::Put<DWORD>(block, kAnswer, answers.word);
            if (code == kI2CByteIn || (request.id == kCommandId && code == kByteAnswer)) block[kByte] = answers.byte;
            if (code == kGpioRead) std::copy(answers.data.begin(), answers.data.end(), block + kLargeData);
            if (request.id == kCommandId && AnswersData(code)) {
                std::copy(answers.data.begin(), answers.data.begin() + kCommandDataBytes, block + kCommandData);
            }
            if (request.id == kLargeId && code == kSecondAnswerCode) Request::Put<DWORD>(block, kSecondAnswer, answers.word2);
            request.returned = size;
            request.what = answers.what;
            hr = S_OK;
        }
        mine.pending = false;
    } else {
        mine.answers = Answers{request.id, code};
        hr = request.id == kCommandId ? I2CCommand(code, block, mine.answers) : LargeCommand(code, block, mine.answers);
        request.what = mine.answers.what;
        mine.pending = SUCCEEDED(hr);
    }
    Forget();
    return hr;
}

HRESULT KsDeviceControlDriver::I2CCommand(DWORD code, BYTE* block, Answers& answers) {
    I2CBus& bus = GetCard().Bus();
    Transfer& transfer = Mine().transfer;
    switch (code) {
    case kI2CStart:
        bus.Start();
        transfer = Transfer{true};
        answers.what = "i2c start";
        return S_OK;
    case kI2CStop:
        if (transfer.open) bus.Stop();
        transfer = Transfer{};
        answers.what = "i2c stop";
        return S_OK;
    case kI2CByteOut: {
        const BYTE value = block[kByte];
        answers.what = WireText("i2c out %02X", value);
        if (!transfer.open) return kI2CNoAck;
        const I2CResult result = bus.Write(value);
        if (!transfer.addressSent) {
            transfer.addressSent = true;
            transfer.address = result;
            transfer.reading = (value & 1) != 0;
        }
        answers.word = result == I2CResult::Ack ? 1 : 0;
        return I2CResultToHresult(result);
    }
    case kI2CByteIn:
        if (!transfer.open || !transfer.addressSent || !transfer.reading) {
            answers.what = "i2c in";
            return kI2CNoAck;
        }
        if (transfer.address != I2CResult::Ack) {
            answers.what = "i2c in";
            return I2CResultToHresult(transfer.address);
        }
        answers.byte = bus.Read(true);
        answers.what = WireText("i2c in %02X", answers.byte);
        return S_OK;
    case kI2CAck: answers.what = "i2c ack"; return S_OK;
    case kOpen: answers.what = WireText("open %02X", block[kByte]); return S_OK;
    default: AnswerWithoutEffect(code, block, kCommandParamsEnd, answers); return S_OK;
    }
}

HRESULT KsDeviceControlDriver::LargeCommand(DWORD code, BYTE* block, Answers& answers) {
    Saa713x& bridge = GetCard().Bridge();
    switch (code) {
    case kPortRead:
        answers.word = PortWord();
        answers.what = WireText("port read %08X", static_cast<unsigned>(answers.word));
        return S_OK;
    case kPortWrite: {
        const DWORD value = Request::At<DWORD>(block, kPortParam);
        SetPortWord(value);
        answers.what = WireText("port write %08X", static_cast<unsigned>(value));
        return S_OK;
    }
    case kGpioRead: {
        const DWORD count = Request::At<DWORD>(block, kCount);
        const DWORD port = PortWord();
        if (count != 1 || port != 0) {
            answers.what = WireText("gpio read count %u port %08X", static_cast<unsigned>(count),
                                    static_cast<unsigned>(port));
            return E_INVALIDARG;
        }
        const DWORD levels = bridge.SampleLines();
        Request::Put<DWORD>(answers.data.data(), 0, levels);
        answers.what = WireText("gpio read %08X", static_cast<unsigned>(levels));
        return S_OK;
    }
    case kGpioWrite: {
        const DWORD value = Request::At<DWORD>(block, kLargeData);
        const DWORD mask = Request::At<DWORD>(block, kLargeData + 4);
        const DWORD port = PortWord();
        answers.what = WireText("gpio mask %08X write %08X", static_cast<unsigned>(mask), static_cast<unsigned>(value));
        if (port != 0 || Request::At<DWORD>(block, kGpioFlagA) != 1 || Request::At<DWORD>(block, kGpioFlagB) != 1 ||
            ((mask | value) & ~Saa713x::kGpioLines) != 0) {
            answers.what += WireText(" port %08X", static_cast<unsigned>(port));
            return E_INVALIDARG;
        }
        bridge.DriveHostLines(mask, value);
        return S_OK;
    }
    case kOption: answers.what = "option"; return S_OK;
    default: AnswerWithoutEffect(code, block, kLargeParamsEnd, answers); return S_OK;
    }
}

void KsDeviceControlDriver::AnswerWithoutEffect(DWORD code, const BYTE* block, size_t paramsEnd, Answers& answers) {
    answers.what = WireText("command %08X params ", static_cast<unsigned>(code)) +
                   HexBytes(block + kParams, paramsEnd - kParams);
    if (answers.id == kCommandId && AnswersData(code)) {
        answers.what += WireText(" length %u", static_cast<unsigned>(Request::At<DWORD>(block, kLength)));
    }
    answers.word = kAnswerMark | (code & 0x00FFFFFF);
    answers.word2 = ~code;
    answers.byte = static_cast<BYTE>(0x60 | (code & 0x0F));
    for (size_t i = 0; i < answers.data.size(); ++i) answers.data[i] = static_cast<BYTE>((code & 0xFF) + i);
}

}  // namespace hwsim

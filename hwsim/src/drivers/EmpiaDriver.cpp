// The driver of the USB boxes on Empia EM28xx bridges.
#include "hwsim/drivers/EmpiaDriver.h"

#include "empiadriver.h"
#include "hwsim/drivers/DriverInterface.h"
#include "platform/dshow/FilterBase.h"
#include "platform/registry_preset.h"
#include "uuids.h"
#include "ksmedia.h"
#include "ocidl.h"

namespace hwsim {

namespace {

constexpr BYTE kGpioLines = 0x08;
constexpr BYTE kGpioInput = 0x09;
constexpr BYTE kEvent = 0x0C;
constexpr BYTE kEventBit = 0x20;
constexpr BYTE kAc97Data = 0x40;
constexpr BYTE kAc97Command = 0x42;
constexpr BYTE kAc97Busy = 0x43;
constexpr BYTE kAc97Read = 0x80;

// {5A1D0C02-7F3B-4C8E-9D21-3B6E0A4F7C10}
constexpr CLSID kAudioDeviceClsid = {0x5A1D0C02, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class EmpiaInterface : public DriverInterface<IEmpiaDriver> {
public:
    EmpiaInterface(IUnknown* filter, EmpiaDriver& driver) : DriverInterface(filter), m_driver(driver) {}
    STDMETHODIMP Reserved3() override { return E_NOTIMPL; }
    STDMETHODIMP Set(DWORD id, void* data) override { return m_driver.VendorSet(id, data); }
    STDMETHODIMP Get(DWORD id, void* data) override { return m_driver.VendorGet(id, data); }

private:
    EmpiaDriver& m_driver;
};

// The driver's property page, which the filter names.
// {5A1D0C03-7F3B-4C8E-9D21-3B6E0A4F7C10}
constexpr CLSID kPropertyPageClsid = {0x5A1D0C03, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class EmpiaPages : public DriverInterface<ISpecifyPropertyPages> {
public:
    explicit EmpiaPages(IUnknown* filter) : DriverInterface(filter) {}
    STDMETHODIMP GetPages(CAUUID* pages) override {
        if (!pages) return E_POINTER;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        if (!pages->pElems) return E_OUTOFMEMORY;
        pages->pElems[0] = kPropertyPageClsid;
        pages->cElems = 1;
        return S_OK;
    }
};

// The box's audio capture device: one audio output.
class AudioDeviceFilter : public platform::dshow::FilterBase {
public:
    AudioDeviceFilter() : FilterBase(kAudioDeviceClsid) {
        AddPin(platform::dshow::PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE,
                                               {platform::dshow::MediaType(MEDIATYPE_Audio, GUID_NULL)}});
    }
};

HRESULT MakeAudioDevice(REFIID riid, void** ppv) {
    return platform::CreateComObject<AudioDeviceFilter>(riid, ppv);
}

HRESULT MakeRenderer(REFIID riid, void** ppv) {
    return CoCreateInstance(CLSID_AudioRender, nullptr, CLSCTX_INPROC_SERVER, riid, ppv);
}

}  // namespace

EmpiaDriver::EmpiaDriver(Card& card) : KsDriver(card) {}

EmpiaDriver::~EmpiaDriver() {
    if (m_audioUnplugHook) GetCard().RemoveUnplugHook(m_audioUnplugHook);
    RemoveAudioDevices();
}

const char* EmpiaDriver::SetName(REFGUID set) const { return IsEqualGUID(set, IID_IEmpiaDriver) ? "EMPIA" : nullptr; }

DWORD EmpiaDriver::Support(REFGUID, DWORD id) const {
    switch (id) {
    case kRegisterDescriptor:
    case kI2CDescriptor:
    case kSelectItem: return kSupportSet;
    case kItemValue:
    case kItemReady:
    case kStatusFlag: return kSupportGet;
    default: return kSupportGet | kSupportSet;
    }
}

HRESULT EmpiaDriver::QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) {
    if (IsEqualGUID(riid, IID_IEmpiaDriver)) {
        return DriverInterface<IEmpiaDriver>::Make<EmpiaInterface>(filter, riid, ppv, *this);
    }
    if (IsEqualGUID(riid, IID_ISpecifyPropertyPages)) {
        return DriverInterface<ISpecifyPropertyPages>::Make<EmpiaPages>(filter, riid, ppv);
    }
    return KsDriver::QueryDriverInterface(filter, riid, ppv);
}

// The bytes a request moves: the descriptor's count for the data ids (0 without a descriptor
// of their kind, which Answer refuses), else one DWORD.
DWORD EmpiaDriver::DataLength(DWORD id) const {
    std::lock_guard<std::mutex> lock(m_lock);
    if (id == kRegisterData) return m_descriptorId == kRegisterDescriptor ? (m_descriptor & 0xFF) : 0;
    if (id == kI2CData) return m_descriptorId == kI2CDescriptor ? (m_descriptor & 0xFF) : 0;
    return sizeof(DWORD);
}

HRESULT EmpiaDriver::VendorSet(DWORD id, void* data) {
    return Set(IID_IEmpiaDriver, id, nullptr, 0, data, DataLength(id));
}

HRESULT EmpiaDriver::VendorGet(DWORD id, void* data) {
    DWORD returned = 0;
    return Get(IID_IEmpiaDriver, id, nullptr, 0, data, DataLength(id), &returned);
}

HRESULT EmpiaDriver::Answer(REFGUID, Request& request) {
    std::lock_guard<std::mutex> lock(m_lock);
    request.returned = request.dataLength;
    switch (request.id) {
    case kRegisterDescriptor:
    case kI2CDescriptor: {
        const DWORD value = Request::At<DWORD>(request.data, 0);
        const bool registers = request.id == kRegisterDescriptor;
        request.what = WireText("%s descriptor %08X", registers ? "reg" : "i2c", static_cast<unsigned>(value));
        if (value == 0) {
            if (m_descriptorId == request.id) m_descriptorId = 0;
            return S_OK;
        }
        const DWORD mode = value >> 24;
        const bool valid = (value & 0xFF) != 0 &&
                           (registers ? (value >> 16) == 0 : (mode == 0 && (value & 0xFF00) == 0) || mode == 1);
        if (!valid) return E_INVALIDARG;
        m_descriptorId = request.id;
        m_descriptor = value;
        return S_OK;
    }
    case kRegisterData: return RegisterTransfer(request);
    case kI2CData: return I2CTransfer(request);
    case kSelectItem:
        m_item = Request::At<DWORD>(request.data, 0);
        request.what = WireText("select %08X", static_cast<unsigned>(m_item));
        return S_OK;
    case kItemReady:
    case kItemValue: {
        const Item& item = m_items[m_item];
        const DWORD answer = request.id == kItemReady ? (item.ready ? 1 : 0) : item.value;
        Request::Put<DWORD>(request.data, 0, answer);
        request.what = WireText("item %08X %s %08X", static_cast<unsigned>(m_item),
                                request.id == kItemReady ? "ready" : "value", static_cast<unsigned>(answer));
        return S_OK;
    }
    case kStatusFlag:
        Request::Put<DWORD>(request.data, 0, m_statusFlag);
        request.what = WireText("status %08X", static_cast<unsigned>(m_statusFlag));
        return S_OK;
    default:
        if (request.IsGet()) {
            Request::Put<DWORD>(request.data, 0, m_store[request.id]);
        } else {
            m_store[request.id] = Request::At<DWORD>(request.data, 0);
        }
        request.what = WireText("store %08X", static_cast<unsigned>(Request::At<DWORD>(request.data, 0)));
        return S_OK;
    }
}

HRESULT EmpiaDriver::RegisterTransfer(Request& request) {
    if (m_descriptorId != kRegisterDescriptor) {
        request.what = "reg without descriptor";
        return E_INVALIDARG;
    }
    const BYTE first = static_cast<BYTE>(m_descriptor >> 8);
    const DWORD count = m_descriptor & 0xFF;
    if (request.dataLength != count) return E_INVALIDARG;
    for (DWORD i = 0; i < count; ++i) {
        const BYTE reg = static_cast<BYTE>(first + i);
        if (request.IsGet()) {
            request.data[i] = ReadRegister(reg);
        } else {
            WriteRegister(reg, request.data[i]);
        }
    }
    request.what = WireText("reg %02X %s ", first, request.IsGet() ? "read" : "write") + HexBytes(request.data, count);
    return S_OK;
}

HRESULT EmpiaDriver::I2CTransfer(Request& request) {
    if (m_descriptorId != kI2CDescriptor) {
        request.what = "i2c without descriptor";
        return E_INVALIDARG;
    }
    const BYTE address = static_cast<BYTE>(m_descriptor >> 16);
    const size_t count = m_descriptor & 0xFF;
    if (request.dataLength != count) return E_INVALIDARG;
    if ((m_descriptor >> 24) == 0) return Raw(request, address, request.data, count);
    return SubAddressed(request, address, static_cast<BYTE>(m_descriptor >> 8), request.data, count);
}

BYTE EmpiaDriver::ReadRegister(BYTE reg) {
    Saa713x& lines = GetCard().Bridge();
    switch (reg) {
    case kGpioLines: return static_cast<BYTE>(lines.PinLevels());
    case kGpioInput: return static_cast<BYTE>(m_gpioReadBack ? lines.PinLevels() : lines.PinLevels() >> 8);
    case kAc97Busy: {
        const bool busy = m_busyLeft != 0;
        if (m_busyLeft > 0) --m_busyLeft;
        return busy ? 1 : 0;
    }
    default: return m_registers[reg];
    }
}

void EmpiaDriver::WriteRegister(BYTE reg, BYTE value) {
    m_registers[reg] = value;
    switch (reg) {
    case kGpioLines: GetCard().Bridge().DriveHostLines(0xFF, value); break;
    case kAc97Command: {
        const BYTE codec = value & 0x7F;
        if (value & kAc97Read) {
            m_registers[kAc97Data] = static_cast<BYTE>(m_ac97[codec]);
            m_registers[kAc97Data + 1] = static_cast<BYTE>(m_ac97[codec] >> 8);
        } else {
            m_ac97[codec] = static_cast<WORD>(m_registers[kAc97Data] | (m_registers[kAc97Data + 1] << 8));
        }
        m_busyLeft = m_busyPolls;
        break;
    }
    default: break;
    }
}

void EmpiaDriver::SetAc97BusyPolls(int polls) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_busyPolls = polls;
}

WORD EmpiaDriver::Ac97Register(BYTE reg) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ac97[reg & 0x7F];
}

void EmpiaDriver::SetAc97Register(BYTE reg, WORD value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_ac97[reg & 0x7F] = value;
}

void EmpiaDriver::RaiseEvent() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_registers[kEvent] |= kEventBit;
}

BYTE EmpiaDriver::Register(BYTE reg) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_registers[reg];
}

void EmpiaDriver::SetRegister(BYTE reg, BYTE value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_registers[reg] = value;
}

void EmpiaDriver::SetItem(DWORD item, bool ready, DWORD value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_items[item] = Item{ready, value};
}

void EmpiaDriver::SetStatusFlag(DWORD value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_statusFlag = value;
}

void EmpiaDriver::SetGpioReadBack(bool on) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_gpioReadBack = on;
}

DWORD EmpiaDriver::Descriptor() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_descriptorId ? m_descriptor : 0;
}

void EmpiaDriver::PlugAudioDevices(const std::string& audioName) {
    const std::wstring name(audioName.begin(), audioName.end());
    std::lock_guard<std::mutex> lock(m_devicesLock);
    m_audioDevices.push_back(platform::AddDevice({CLSID_AudioInputDeviceCategory, name, MakeAudioDevice}));
    m_audioDevices.push_back(platform::AddDevice({KSCATEGORY_AUDIO, name, MakeAudioDevice}));
    m_audioDevices.push_back(
        platform::AddDevice({CLSID_AudioRendererCategory, L"Default WaveOut Device", MakeRenderer, {}, CLSID_AudioRender}));
    if (!m_audioUnplugHook) m_audioUnplugHook = GetCard().OnUnplug([this] { RemoveAudioDevices(); });
}

void EmpiaDriver::RemoveAudioDevices() {
    std::lock_guard<std::mutex> lock(m_devicesLock);
    for (platform::DeviceId device : m_audioDevices) platform::RemoveDevice(device);
    m_audioDevices.clear();
}

void EmpiaDriver::PresetNames(const std::string& deviceName, const std::string& realDsName, const std::string& dsName) {
    if (!deviceName.empty()) platform::PresetRegistryString(HKEY_LOCAL_MACHINE, "Software\\USB2800\\Audio", "DeviceName", deviceName);
    if (!realDsName.empty()) {
        platform::PresetRegistryString(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", "RealDSName", realDsName);
    }
    if (!dsName.empty()) platform::PresetRegistryString(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", "DSName", dsName);
}

}  // namespace hwsim

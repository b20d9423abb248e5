// CTVCardFilter: which tuner is fitted (the EEPROM's maker letter and model), the tuner factory,
// the search for a tuner that does not answer at its own address, and the forwards to the tuner;
// the card's own devices around its capture filter (tuner upstream, encoder downstream).
#include <algorithm>
#include <vector>

#include "access/CustomDataAccess.h"
#include "cards/base/TVCardFilter.h"
#include "graph/NameText.h"
#include "graph/RootGraph.h"
#include "graph/StrA2W.h"
#include "tuners/TunerModules.h"

namespace {

// The filters in the graph, each with a reference.
std::vector<CComPtr<IBaseFilter>> FiltersIn(IGraphBuilder* graph) {
    std::vector<CComPtr<IBaseFilter>> filters;
    CComPtr<IEnumFilters> items;
    if (graph == nullptr || FAILED(graph->EnumFilters(&items)) || items == nullptr) return filters;
    CComPtr<IBaseFilter> filter;
    while (items->Next(1, &filter, nullptr) == S_OK) {
        filters.push_back(filter);
        filter.Release();
    }
    return filters;
}

constexpr int kFallbackModel = 4;

struct FactoryRange {
    int low, high;
    char letter;
};

// The maker letter of the models the station may choose.
constexpr FactoryRange kFactoryByModel[] = {
    {1, 5, 'T'},    {7, 11, 'T'},   {14, 15, 'T'},  {17, 17, 'T'},  {12, 13, 'G'},   {32, 35, 'X'},
    {52, 71, 'A'},  {130, 134, 'A'}, {138, 139, 'A'}, {72, 75, 'L'}, {90, 91, 'E'},  {136, 137, 'E'},
    {92, 98, 'P'},  {111, 111, 'P'}, {100, 100, 'O'}, {110, 110, 'C'}, {135, 135, 'D'},
};

// Tuner addresses tried in order when more than two devices answer: (read, write).
constexpr BYTE kTunerAddressPairs[][2] = {{0xC1, 0xC0}, {0xC3, 0xC2}, {0xC7, 0xC6}, {0x87, 0x86}};

}  // namespace

int CTVCardFilter::FactoryFromByte(BYTE value) {
    switch (value) {
    case 'A': case 'E': case 'G': case 'L': case 'P': case 'T': case 'X':
        return value;
    default:
        return 'N';
    }
}

BOOL CTVCardFilter::GetFactoryFromModel(int* letter, int model) {
    if (letter == nullptr) return FALSE;
    for (const FactoryRange& range : kFactoryByModel) {
        if (model >= range.low && model <= range.high) {
            *letter = range.letter;
            return TRUE;
        }
    }
    *letter = 'N';
    return FALSE;
}

CTunerBase* CTVCardFilter::CreateTuner(int model) {
    if (m_pAccess == nullptr) return nullptr;
    // The factory is the module table: a model without a row has no tuner class.
    const TunerCreator create = FindTunerCreator(model);
    if (create == nullptr) return nullptr;
    CTunerBase* tuner = create(m_pAccess);
    if (tuner == nullptr) return nullptr;
    tuner->SetOwnerCard(this);
    if (!IsTunerPresent(tuner)) DetectTunerAddress(tuner);
    return tuner;
}

void CTVCardFilter::DeleteTuner(CTunerBase* tuner) {
    if (tuner != nullptr) tuner->StopScan();
    delete tuner;
}

BOOL CTVCardFilter::IsTunerPresent(CTunerBase* tuner) {
    if (tuner == nullptr) return FALSE;
    return ProbeI2CAddress(tuner->GetReadAddress());
}

BOOL CTVCardFilter::ScanI2CBus(std::vector<BYTE>* found) {
    if (found == nullptr) return FALSE;
    for (int address = 0; address <= 0xFF; ++address) {
        if (ProbeI2CAddress(static_cast<BYTE>(address))) found->push_back(static_cast<BYTE>(address));
    }
    return found->empty() ? FALSE : TRUE;
}

// Read and write address are always the two forms of one device address.
BOOL CTVCardFilter::DetectTunerAddress(CTunerBase* tuner) {
    if (tuner == nullptr) return FALSE;
    std::vector<BYTE> found;
    ScanI2CBus(&found);
    const BYTE eeprom = m_ucEepromAddr & 0xFE;
    std::erase_if(found, [eeprom](BYTE address) { return (address & 0xFE) == eeprom; });

    BYTE read = 0xC1;
    BYTE write = 0xC0;
    BOOL result = TRUE;
    auto choose = [&](BYTE device) {
        read = device | 1;
        write = device & 0xFE;
    };
    if (found.empty()) {
        result = FALSE;
    } else if (found.size() == 1) {
        choose(found[0]);
    } else if (found.size() == 2) {
        choose(std::max(found[0], found[1]));
    } else {
        const BYTE* pair = nullptr;
        for (const auto& candidate : kTunerAddressPairs) {
            if (std::find(found.begin(), found.end(), candidate[0]) != found.end()) {
                pair = candidate;
                break;
            }
        }
        if (pair != nullptr) {
            read = pair[0];
            write = pair[1];
        } else {
            choose(std::max(found[0], found[1]));
        }
    }
    tuner->SetReadAddress(read);
    tuner->SetWriteAddress(write);
    return result;
}

HRESULT CTVCardFilter::ReadKeshTunerInfo(int* factory, int* model) {
    m_ucFactoryAddr = kKeshFactoryAddr;
    m_ucModelAddr = kKeshModelAddr;
    BYTE letter = 0;
    if (ReadEepromByte(m_ucFactoryAddr, &letter) == S_OK) {
        *factory = FactoryFromByte(letter);
        TRACE("Tuner Factory : %c  ", letter);
    }
    BYTE low = 0;
    BYTE high = 0;
    HRESULT hr = ReadEepromByte(m_ucModelAddr, &low);
    const HRESULT highRead = ReadEepromByte(m_ucModelAddr + 1, &high);
    if (hr == S_OK) hr = highRead;
    if (hr == S_OK) {
        *model = ModelFromKeshId(high << 8 | low);
        TRACE("Tuner Model : %d\n", low);
    }
    return hr;
}

HRESULT CTVCardFilter::GetTunerInfo(int* factory, int* model) {
    if (factory == nullptr || model == nullptr) return E_POINTER;
    if (m_nEepromLayout == 1) return ReadKeshTunerInfo(factory, model);
    return ReadTunerInfo([this](BYTE at, BYTE* value) { return ReadEepromByte(at, value); }, factory, model);
}

HRESULT CTVCardFilter::ReadTunerInfo(const EepromByteReader& read, int* factory, int* model) {
    if (factory == nullptr || model == nullptr) return E_POINTER;
    BYTE value = 0;
    if (read(m_ucFactoryAddr, &value) == S_OK) {
        *factory = FactoryFromByte(value);
        TRACE("Tuner Factory : %c  ", value);
    }
    HRESULT hr = read(m_ucModelAddr, &value);
    if (hr == S_OK) {
        *model = value;
        TRACE("Tuner Model : %d\n", value);
    }
    return hr;
}

HRESULT CTVCardFilter::ReadFactoryModel() {
    const HRESULT hr = GetTunerInfo(&m_nFactory, &m_nTunerModel);
    if (m_nFactory == 'N') m_nFactory = 'T';
    if (m_nTunerModel == 0 || m_nTunerModel == 255) m_nTunerModel = kFallbackModel;
    TRACE("Factory = %d,Model = %d\n", m_nFactory, m_nTunerModel);
    return hr;
}

BOOL CTVCardFilter::InitTuner() {
    if (m_pAccess == nullptr) return FALSE;
    if (m_pTuner != nullptr) return TRUE;
    m_pTuner = CreateTuner(m_nTunerModel);
    if (m_pTuner == nullptr) {
        m_pTuner = CreateTuner(kFallbackModel);
        m_nFactory = 'T';
    }
    return m_pTuner != nullptr ? TRUE : FALSE;
}

BOOL CTVCardFilter::SetTunerModel(int model) {
    CTunerBase* tuner = CreateTuner(model);
    if (tuner == nullptr) return FALSE;
    GetFactoryFromModel(&m_nFactory, model);
    if (m_pTuner != nullptr) {
        tuner->SetNotifyWindow(m_pTuner->GetNotifyWindow());
        DeleteTuner(m_pTuner);
    }
    m_pTuner = tuner;
    m_nTunerModel = model;
    return TRUE;
}

BOOL CTVCardFilter::SetTuner(CTunerBase* tuner) {
    if (tuner == nullptr) return FALSE;
    if (tuner == m_pTuner) return TRUE;
    DeleteTuner(m_pTuner);
    m_pTuner = tuner;
    return TRUE;
}

BOOL CTVCardFilter::TestTunerModel(int model, float kHz) {
    CTunerBase* tuner = CreateTuner(model);
    if (tuner == nullptr) return FALSE;
    BOOL locked = FALSE;
    if (tuner->SetTVChannelFreq(kHz)) {
        Sleep(150);
        locked = tuner->IsTVChannelLocked();
    }
    DeleteTuner(tuner);
    return locked;
}

// ---- forwards ----

BOOL CTVCardFilter::SetFMChannelFreq(float kHz) { return m_pTuner != nullptr ? m_pTuner->SetFMChannelFreq(kHz) : FALSE; }

std::vector<long> CTVCardFilter::GetSupportedStandards() const {
    return m_pTuner != nullptr ? m_pTuner->GetSupportedStandards() : std::vector<long>();
}

BOOL CTVCardFilter::SetTVChannelFreq(float kHz) {
    if (m_pTuner == nullptr) return FALSE;
    BOOL result = m_pTuner->SetTVChannelFreq(kHz);
    if (m_pTuner->GetReapplyStandard()) result = m_pTuner->SetVideoStandard(m_pTuner->GetCurrentStandard());
    return result;
}

BOOL CTVCardFilter::SetTunerStandard(long standard) {
    if (m_pTuner == nullptr) return FALSE;
    m_pTuner->SetCurrentStandard(standard);
    return m_pTuner->SetVideoStandard(standard);
}

BOOL CTVCardFilter::GetTunerStatus() { return m_pTuner != nullptr ? m_pTuner->IsTVChannelLocked() : FALSE; }
BOOL CTVCardFilter::IsFMLocked() { return m_pTuner != nullptr ? m_pTuner->IsFMChannelLocked() : FALSE; }

BOOL CTVCardFilter::GetTVChannelStatus(DWORD* status) {
    return m_pTuner != nullptr && status != nullptr ? m_pTuner->GetTVChannelOkay(status) : FALSE;
}

BOOL CTVCardFilter::GetFMChannelStatus(DWORD* status) {
    return m_pTuner != nullptr && status != nullptr ? m_pTuner->GetFMChannelOkay(status) : FALSE;
}

BOOL CTVCardFilter::SetChannelTable(const float* table, long count) {
    return m_pTuner != nullptr ? m_pTuner->SetChannelTable(table, count) : FALSE;
}

BOOL CTVCardFilter::StartScan(BOOL tv, BOOL fullBand) { return m_pTuner != nullptr ? m_pTuner->StartScan(tv, fullBand) : FALSE; }

void CTVCardFilter::StopScan() {
    if (m_pTuner != nullptr) m_pTuner->StopScan();
}

BOOL CTVCardFilter::IsScanning() { return m_pTuner != nullptr ? m_pTuner->IsScanning() : FALSE; }
BOOL CTVCardFilter::SetFMStep(long step) { return m_pTuner != nullptr ? m_pTuner->SetFMStep(step) : FALSE; }

BOOL CTVCardFilter::SetFMScanRange(long low, long high) {
    return m_pTuner != nullptr ? m_pTuner->SetFMScanRange(low, high) : FALSE;
}

BOOL CTVCardFilter::SetSweepParams(long skip, long half) {
    return m_pTuner != nullptr ? m_pTuner->SetSweepParams(skip, half) : FALSE;
}

BOOL CTVCardFilter::SetSweepRange(long low, long high) {
    return m_pTuner != nullptr ? m_pTuner->SetSweepRange(low, high) : FALSE;
}

BOOL CTVCardFilter::SetFMWait(long wait) { return m_pTuner != nullptr ? m_pTuner->SetFMWait(wait) : FALSE; }

void CTVCardFilter::SetSettleTime(long ms) {
    if (m_pTuner != nullptr) m_pTuner->SetSettleTime(ms);
}

long CTVCardFilter::GetSecondModel() const { return m_pTuner != nullptr ? m_pTuner->GetSecondModel() : 0; }

HRESULT CTVCardFilter::FindCaptureTVTuner(CComPtr<IAMTVTuner>& kept) {
    return FindCaptureDevice(IID_IAMTVTuner, kept, m_pTunerFilter);
}

HRESULT CTVCardFilter::FindCaptureDevice(REFIID iid, void** kept, CComPtr<IBaseFilter>& filter) {
    if (*kept != nullptr) return S_OK;
    if (m_pFilter == nullptr || m_pGraph == nullptr || m_pGraph->GetCaptureGraphBuilder() == nullptr) return E_FAIL;
    ICaptureGraphBuilder2* builder = m_pGraph->GetCaptureGraphBuilder();
    auto dropFound = [kept] {
        if (*kept != nullptr) static_cast<IUnknown*>(*kept)->Release();
        *kept = nullptr;
    };
    HRESULT hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pFilter, iid, kept);
    if (hr != S_OK || *kept == nullptr) {
        dropFound();
        hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pFilter, iid, kept);
    }
    if (FAILED(hr) || *kept == nullptr) {
        dropFound();
        return FAILED(hr) ? hr : E_FAIL;
    }
    filter.Release();
    return static_cast<IUnknown*>(*kept)->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
}

HRESULT CTVCardFilter::FindOwnTunerDevice(const char* name) {
    m_pTunerFilter.Release();
    IGraphBuilder* graph = m_pGraph != nullptr ? m_pGraph->GetGraphBuilder() : nullptr;
    const std::vector<CComPtr<IBaseFilter>> before = FiltersIn(graph);
    CComPtr<IAMTVTuner> tuner;
    HRESULT hr = E_FAIL;
    if (!SearchUpstreamInGraph([&] { hr = FindCaptureTVTuner(tuner); })) return E_FAIL;
    // The device entered the graph under its friendly name (numbered when the name was taken).
    char found[kFilterNameSize] = "";
    FILTER_INFO info = {};
    if (m_pTunerFilter != nullptr && SUCCEEDED(m_pTunerFilter->QueryFilterInfo(&info))) {
        WideToNameText(found, sizeof(found), info.achName);
        if (info.pGraph != nullptr) info.pGraph->Release();
    }
    // The devices the search brought into the graph go out again; the tuner device stays held.
    for (CComPtr<IBaseFilter>& filter : FiltersIn(graph))
        if (std::find(before.begin(), before.end(), filter) == before.end()) graph->RemoveFilter(filter);
    if (FAILED(hr) || m_pTunerFilter == nullptr) {
        TRACE("%s - no tuner device upstream of the capture filter\n", GetName());
        m_pTunerFilter.Release();
        return FAILED(hr) ? hr : E_FAIL;
    }
    if (name != nullptr && !FriendlyNameMatches(name, found)) {
        TRACE("%s - the tuner device upstream is \"%s\", not \"%s\"\n", GetName(), found, name);
        m_pTunerFilter.Release();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CTVCardFilter::FindOwnEncoderDevice(REFGUID propertySet, CComPtr<IBaseFilter>& encoder) {
    encoder.Release();
    IGraphBuilder* graph = m_pGraph != nullptr ? m_pGraph->GetGraphBuilder() : nullptr;
    const std::vector<CComPtr<IBaseFilter>> before = FiltersIn(graph);
    // Whatever the search answers, it brings the devices the capture filter feeds into the graph.
    if (!SearchUpstreamInGraph([this] {
            CComPtr<IPin> found;
            m_pGraph->GetCaptureGraphBuilder()->FindInterface(&LOOK_DOWNSTREAM_ONLY, &MEDIATYPE_Stream, m_pFilter,
                                                               IID_IPin, reinterpret_cast<void**>(&found));
        }))
        return E_FAIL;
    for (CComPtr<IBaseFilter>& filter : FiltersIn(graph)) {
        if (std::find(before.begin(), before.end(), filter) != before.end()) continue;
        CComPtr<IKsPropertySet> set;
        DWORD support = 0;
        if (encoder == nullptr && SUCCEEDED(filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&set))) &&
            SUCCEEDED(set->QuerySupported(propertySet, 0, &support)))
            encoder = filter;
        graph->RemoveFilter(filter);
    }
    if (encoder == nullptr) TRACE("%s - no encoder device downstream of the capture filter\n", GetName());
    return encoder != nullptr ? S_OK : E_FAIL;
}

BOOL CTVCardFilter::SearchUpstreamInGraph(const std::function<void()>& search) {
    IGraphBuilder* graph = m_pGraph != nullptr ? m_pGraph->GetGraphBuilder() : nullptr;
    if (m_pFilter == nullptr || graph == nullptr || m_pGraph->GetCaptureGraphBuilder() == nullptr) return FALSE;
    CStrA2W name(GetName());
    // Taken out again only when it went in: a filter that was in the graph before stays.
    const BOOL added = SUCCEEDED(graph->AddFilter(m_pFilter, name)) ? TRUE : FALSE;
    search();
    if (added) graph->RemoveFilter(m_pFilter);
    return TRUE;
}

void CTVCardFilter::RemoveUpstreamFilter(CComPtr<IBaseFilter>& filter) {
    IGraphBuilder* graph = m_pGraph != nullptr ? m_pGraph->GetGraphBuilder() : nullptr;
    if (filter != nullptr && graph != nullptr) graph->RemoveFilter(filter);
    filter.Release();
}

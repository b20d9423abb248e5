// CRootFilter: the wrapper of one DirectShow filter and its pins, base of every filter.
#include "graph/RootFilter.h"

#include <cstring>
#include <cwchar>

#include "graph/DeviceEnum.h"
#include "graph/StrA2W.h"
#include "graph/WrapperList.h"

int g_nDeviceInstance = 0;

CRootFilter::CRootFilter(CRootGraph* owner, IBaseFilter* filter) : m_pGraph(owner) {
    if (filter == nullptr) return;
    FILTER_INFO info;
    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
        if (info.pGraph != nullptr) info.pGraph->Release();
        WideToNameText(m_szDeviceName, sizeof(m_szDeviceName), info.achName);
        CopyNameText(m_szName, sizeof(m_szName), m_szDeviceName);
    }
    m_pFilter = filter;
    m_bValid = BuildPinList();
}

CRootFilter::CRootFilter(CRootGraph* owner, REFCLSID clsid) : m_pGraph(owner), m_bCreatedByClsid(TRUE) {
    if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&m_pFilter))) &&
        m_pFilter != nullptr) {
        m_bValid = BuildPinList();
    }
}

CRootFilter::CRootFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : m_pGraph(owner) {
    BindDevice(category, friendlyName, flag);
    if (m_pFilter != nullptr) m_bValid = BuildPinList();
}

CRootFilter::~CRootFilter() {
    CRootFilter::OnHook5();
    ClearPins();
    m_pFilter.Release();
}

void CRootFilter::BindDevice(const GUID* category, const char* friendlyName, int flag) {
    m_szDeviceName[0] = '\0';
    if (category == nullptr || friendlyName == nullptr || friendlyName[0] == '\0') return;
    int matches = 0;
    HRESULT bound = E_FAIL;
    ForEachDevice(*category, [&](IMoniker* moniker, const char* found) -> BOOL {
        BOOL matching = FriendlyNameMatches(friendlyName, found);
        if (flag == 0) {
            if (!matching) return FALSE;
            CopyNameText(m_szDeviceName, sizeof(m_szDeviceName), found);
            if (matches++ != g_nDeviceInstance) return FALSE;
        } else {
            if (matching) return FALSE;
            CopyNameText(m_szDeviceName, sizeof(m_szDeviceName), found);
        }
        bound = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&m_pFilter));
        return TRUE;
    });
    if (bound != S_OK) m_pFilter.Release();
}

HRESULT CRootFilter::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT CRootFilter::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

CRootPin* CRootFilter::FindPin(const char* name) {
    if (name == nullptr) return nullptr;
    for (CRootPin* pin = m_pPinList; pin != nullptr; pin = pin->GetNext()) {
        if (std::strcmp(pin->GetName(), name) == 0) return pin;
    }
    return nullptr;
}

void CRootFilter::InitNames() {}

void CRootFilter::OnHook5() {}

void CRootFilter::OnHook6() {}

LONG_PTR CRootFilter::GetExtra(LONG_PTR, LONG_PTR) {
    return 0;
}

BOOL CRootFilter::Init() {
    return m_pFilter != nullptr ? TRUE : FALSE;
}

BOOL CRootFilter::SetUp() {
    if (m_bSetUp) return IsValid();
    m_bSetUp = TRUE;
    InitNames();
    if (!Init()) m_bValid = FALSE;
    return IsValid();
}

const char* CRootFilter::SetName(const char* name) {
    ASSERT(name != nullptr);
    CopyNameText(m_szName, sizeof(m_szName), name);
    return m_szName;
}

BOOL CRootFilter::IsInGraph() {
    if (m_pFilter == nullptr) return FALSE;
    FILTER_INFO info;
    if (FAILED(m_pFilter->QueryFilterInfo(&info))) return FALSE;
    if (info.pGraph == nullptr) return FALSE;
    info.pGraph->Release();
    return TRUE;
}

void CRootFilter::AppendPin(CRootPin* pin) {
    if (m_pPinList == nullptr) {
        m_pPinList = pin;
    } else {
        CRootPin* last = m_pPinList;
        while (last->GetNext() != nullptr) last = last->GetNext();
        last->SetNext(pin);
    }
    ++m_nPinCount;
}

BOOL CRootFilter::BuildPinList() {
    ASSERT(m_pFilter != nullptr);
    FreePinList();
    if (m_pFilter == nullptr) return FALSE;
    CComPtr<IEnumPins> pins;
    if (FAILED(m_pFilter->EnumPins(&pins)) || pins == nullptr) return TRUE;
    pins->Reset();
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK) break;
        CRootPin* wrapper = new CRootPin(pin, this);
        wrapper->OnCreate();
        AppendPin(wrapper);
    }
    return TRUE;
}

CRootPin* CRootFilter::GetPin(int index) {
    if (index < 0 || index >= m_nPinCount) return nullptr;
    CRootPin* pin = m_pPinList;
    while (pin != nullptr && index-- > 0) pin = pin->GetNext();
    return pin;
}

CRootPin* CRootFilter::FindPinW(const wchar_t* id) {
    if (id == nullptr) return nullptr;
    for (CRootPin* pin = m_pPinList; pin != nullptr; pin = pin->GetNext()) {
        LPWSTR pinId = nullptr;
        if (!pin->QueryId(&pinId)) continue;
        bool equal = pinId != nullptr && std::wcscmp(pinId, id) == 0;
        CoTaskMemFree(pinId);
        if (equal) return pin;
    }
    return nullptr;
}

CRootPin* CRootFilter::FindPinByIPin(IPin* pin) {
    for (CRootPin* wrapper = m_pPinList; wrapper != nullptr; wrapper = wrapper->GetNext()) {
        if (wrapper->GetPin() == pin) return wrapper;
    }
    return nullptr;
}

CRootPin* CRootFilter::FindPinByDirection(PIN_DIRECTION direction, BOOL wantFree) {
    for (CRootPin* pin = m_pPinList; pin != nullptr; pin = pin->GetNext()) {
        if ((pin->IsConnected() ? TRUE : FALSE) == (wantFree ? TRUE : FALSE)) continue;
        PIN_DIRECTION pinDirection;
        if (pin->QueryDirection(&pinDirection) && pinDirection == direction) return pin;
    }
    return nullptr;
}

BOOL CRootFilter::RemovePin(CRootPin* pin) {
    if (!UnlinkFromList(m_pPinList, pin)) return FALSE;
    --m_nPinCount;
    delete pin;
    return TRUE;
}

void CRootFilter::FreePinList() {
    while (m_pPinList != nullptr) {
        CRootPin* pin = m_pPinList;
        m_pPinList = pin->GetNext();
        delete pin;
        --m_nPinCount;
    }
    ASSERT(m_nPinCount == 0);
    m_nPinCount = 0;
}

void CRootFilter::ClearPins() {
    FreePinList();
    m_pPinList = nullptr;
    m_pNext = nullptr;
    m_bValid = FALSE;
}

void CRootFilter::DumpPinList() {
    TRACE("%s pin List : \n", m_szName);
    for (CRootPin* pin = m_pPinList; pin != nullptr; pin = pin->GetNext()) TRACE("%s\n", pin->GetName());
}

void CRootFilter::OnConnectStatusChange() {
    TRACE("%s_Filter::OnConnectStatusChange:Start , m_bDyncPin = %d\n", m_szName, m_bDyncPin ? 1 : 0);
    ASSERT(m_pFilter != nullptr);
    if (!m_bDyncPin || m_pFilter == nullptr) return;
    DumpPinList();
    CComPtr<IEnumPins> pins;
    if (FAILED(m_pFilter->EnumPins(&pins)) || pins == nullptr) return;
    CRootPin* newList = nullptr;
    int newCount = 0;
    pins->Reset();
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK) break;
        PIN_INFO info;
        if (pin->QueryPinInfo(&info) == S_OK) {
            if (info.pFilter != nullptr) info.pFilter->Release();
            char name[kPinNameSize];
            WideToNameText(name, sizeof(name), info.achName);
            TRACE("Enum Pins Name: %s \n", name);
        }
        CRootPin* wrapper = FindPinByIPin(pin);
        if (wrapper != nullptr) {
            // Unlink the kept pin from the old list; it keeps its peer.
            if (m_pPinList == wrapper) {
                m_pPinList = wrapper->GetNext();
            } else {
                CRootPin* previous = m_pPinList;
                while (previous->GetNext() != wrapper) previous = previous->GetNext();
                previous->SetNext(wrapper->GetNext());
            }
            --m_nPinCount;
        } else {
            wrapper = new CRootPin(pin, this);
            wrapper->OnCreate();
        }
        wrapper->SetNext(newList);
        newList = wrapper;
        ++newCount;
    }
    FreePinList();
    m_pPinList = newList;
    m_nPinCount = newCount;
    DumpPinList();
    TRACE("CRootFilter::OnConnectStatusChange:End \n");
}

HRESULT CRootFilter::BindDeviceByName(GUID category, const char* name, IBaseFilter** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (name == nullptr || name[0] == '\0') return E_INVALIDARG;
    HRESULT bound = VFW_E_NOT_FOUND;
    HRESULT walk = ForEachDevice(category, [&](IMoniker* moniker, const char* found) -> BOOL {
        if (!FriendlyNameMatches(name, found)) return FALSE;
        bound = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(out));
        return TRUE;
    });
    if (FAILED(walk)) return walk;
    if (FAILED(bound) && *out != nullptr) {
        (*out)->Release();
        *out = nullptr;
    }
    return bound;
}

HRESULT CRootFilter::HasPropertyPages(BOOL* has) {
    ASSERT(m_pFilter != nullptr);
    if (has == nullptr || m_pFilter == nullptr) return E_FAIL;
    *has = FALSE;
    CComPtr<ISpecifyPropertyPages> pages;
    HRESULT hr = m_pFilter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
    if (FAILED(hr)) return hr;
    CAUUID list = {0, nullptr};
    hr = pages->GetPages(&list);
    if (SUCCEEDED(hr) && list.cElems > 0) *has = TRUE;
    CoTaskMemFree(list.pElems);
    return hr;
}

BOOL CRootFilter::ShowPropertyPages(HWND parent, const char* caption) {
    BOOL has = FALSE;
    if (FAILED(HasPropertyPages(&has)) || !has) return FALSE;
    CComPtr<ISpecifyPropertyPages> pages;
    if (FAILED(m_pFilter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages)))) return FALSE;
    CAUUID list = {0, nullptr};
    if (FAILED(pages->GetPages(&list))) return FALSE;
    CStrA2W wideCaption(caption);
    IUnknown* object = m_pFilter;
    HRESULT hr = OleCreatePropertyFrame(parent, 30, 30, wideCaption.Convert(), 1, &object, list.cElems, list.pElems,
                                        0, 0, nullptr);
    CoTaskMemFree(list.pElems);
    return hr == S_OK ? TRUE : FALSE;
}

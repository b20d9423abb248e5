// Test doubles of the graph core's tests: filters with the pins a test asks for, entered in the
// class table by CLSID and in the device tree by category and FriendlyName, plus the registry
// records that stand for the card classes and the station's demultiplexer record.
#pragma once

#include <dshow.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"
#include "graph/RootGraph.h"
#include "platform/comobject.h"
#include "platform/devicetree.h"
#include "platform/dshow/FilterBase.h"

namespace graphtest {

using platform::dshow::FilterBase;
using platform::dshow::MediaType;
using platform::dshow::PinDescription;

// A class id of the tests' own, by number.
constexpr GUID TestClsid(WORD number) {
    return GUID{0x7E57C1D0, number, 0x4000, {0x80, 0, 0, 0, 0, 0, static_cast<BYTE>(number >> 8), static_cast<BYTE>(number)}};
}

// The source and the sink most tests connect; each fixture gives them their pins.
inline constexpr GUID kSourceClsid = TestClsid(0x0001);
inline constexpr GUID kSinkClsid = TestClsid(0x0002);

inline PinDescription OutputPin(const wchar_t* name) {
    return {PINDIR_OUTPUT, name, L"", GUID_NULL, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_YUY2)}};
}
inline PinDescription InputPin(const wchar_t* name) {
    return {PINDIR_INPUT, name, L"", GUID_NULL, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_YUY2)}};
}

// A filter with the given pins. Counts how many were made and how often one was asked to run.
class TestFilter : public FilterBase {
public:
    TestFilter(REFCLSID clsid, std::vector<PinDescription> pins) : FilterBase(clsid) {
        for (PinDescription& pin : pins) AddPin(std::move(pin));
        ++Made();
    }
    static int& Made() {
        static int made = 0;
        return made;
    }
    static int& RunRequests() {
        static int runs = 0;
        return runs;
    }

protected:
    HRESULT OnStateChange(FILTER_STATE, FILTER_STATE to) override {
        if (to == State_Running) ++RunRequests();
        return S_OK;
    }
};

// Enters a class of TestFilter with `pins` in the class table.
inline DWORD RegisterTestFilterClass(REFCLSID clsid, std::vector<PinDescription> pins) {
    GUID id = clsid;
    return platform::RegisterComClass(clsid, [id, pins](IUnknown* outer, REFIID riid, void** ppv) -> HRESULT {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        return platform::CreateComObject<TestFilter>(riid, ppv, id, pins);
    });
}

// Plugs a device of `category` named `name` whose filter is a TestFilter with `pins`.
inline platform::DeviceId AddTestDevice(REFGUID category, const std::wstring& name,
                                        std::vector<PinDescription> pins = {OutputPin(L"Capture")}) {
    platform::DeviceEntry entry;
    entry.category = category;
    entry.friendlyName = name;
    entry.factory = [pins](REFIID riid, void** ppv) -> HRESULT {
        return platform::CreateComObject<TestFilter>(riid, ppv, GUID_NULL, pins);
    };
    return platform::AddDevice(std::move(entry));
}

// The device-tree device a wrapper's filter was bound from (0 when none).
inline platform::DeviceId BoundDevice(CRootFilter* wrapper) {
    if (wrapper == nullptr || wrapper->GetFilter() == nullptr) return 0;
    return static_cast<FilterBase*>(wrapper->GetFilter())->Device();
}

// The TestFilter behind a wrapper.
inline FilterBase* FilterOf(CRootFilter* wrapper) {
    return static_cast<FilterBase*>(wrapper->GetFilter());
}

// A wrapper class standing for a card class in registry tests: a CRootFilter that remembers
// the flag and the device name its creator was given.
class CTestCardFilter : public CRootFilter {
public:
    CTestCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
        : CRootFilter(owner, category, friendlyName, flag), m_nFlag(flag), m_strWanted(friendlyName) {}
    CTestCardFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}
    CTestCardFilter(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

    void InitNames() override { ++m_nInitNames; }
    BOOL Init() override {
        ++m_nInits;
        return CRootFilter::Init() && !s_bRefuseInit;
    }

    int m_nFlag = -1;
    std::string m_strWanted;
    int m_nInitNames = 0;
    int m_nInits = 0;
    static inline bool s_bRefuseInit = false;
};

// Registers the graph library's classes and sets the per-test state of the stand-in free; the
// filter-class registry is left as the test found it.
class GraphTest : public ::testing::Test {
protected:
    ~GraphTest() override { CFilterClassRecord::UnlinkNewerThan(m_classesBefore); }
    void SetUp() override {
        RegisterGraphFilterClasses();
        TestFilter::Made() = 0;
        TestFilter::RunRequests() = 0;
    }
    void TearDown() override {
        platform::RemoveAllDevices();
        platform::ClearFailures();
        // A device filter opened by instance leaves the process-wide index behind it, and a test
        // that makes the card double refuse its Init leaves that switch on.
        CRootFilter::SetDeviceIndex(0);
        CTestCardFilter::s_bRefuseInit = false;
    }

private:
    CFilterClassRecord* const m_classesBefore = CFilterClassRecord::GetHead();
};

}  // namespace graphtest

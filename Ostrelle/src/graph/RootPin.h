// CRootPin: the wrapper of one pin of a CRootFilter, with the pin's name and the peer pin it is
// connected to through the graph. Created and deleted only by its filter; the peer is written by
// the graph's connect and disconnect.
#pragma once

#include <dshow.h>

#include "graph/NameText.h"

class CRootFilter;

class CRootPin {
public:
    CRootPin(IPin* pin, CRootFilter* owner);
    CRootPin(const CRootPin&) = delete;
    CRootPin& operator=(const CRootPin&) = delete;
    // Also clears the link of the peer that recorded this pin, so no pin is left pointing here.
    virtual ~CRootPin();

    // Called once right after the pin is created.
    void OnCreate() {}

    IPin* GetPin() const { return m_pPin; }
    CRootFilter* GetFilter() const { return m_pFilter; }
    CRootPin* GetPeer() const { return m_pPeer; }
    void SetPeer(CRootPin* peer) { m_pPeer = peer; }
    // A pin counts as connected exactly when a peer is recorded.
    BOOL IsConnected() const { return m_pPeer != nullptr ? TRUE : FALSE; }
    CRootPin* GetNext() const { return m_pNext; }
    void SetNext(CRootPin* next) { m_pNext = next; }
    const char* GetName() const { return m_szName; }

    // Forwards to the IPin: TRUE exactly when the pin's call returned S_OK.
    BOOL QueryDirection(PIN_DIRECTION* direction);
    BOOL QueryPinInfo(PIN_INFO* info);
    BOOL QueryId(LPWSTR* id);
    BOOL QueryAccept(const AM_MEDIA_TYPE* mediaType);
    // Forwards to the IPin, answering its HRESULT.
    HRESULT EnumMediaTypes(IEnumMediaTypes** mediaTypes);
    HRESULT ConnectionMediaType(AM_MEDIA_TYPE* mediaType);

    // The property pages of the owner filter.
    BOOL ShowPropertyPages(HWND parent, const char* caption);

    // "MainType:<major>,SubType:<sub>" of the connection's media type, cut to size - 1 bytes.
    // FALSE (buffer untouched) for a NULL buffer or a size below 2; FALSE when not connected.
    BOOL MediaTypeToText(char* buffer, int size);
    // "MainType:<major>" of the first media type the pin offers, by the same rules.
    BOOL GetMajorTypeText(char* buffer, int size);
    // Major type and subtype of the first media type the pin offers; FALSE when it offers none.
    BOOL GetFirstMediaType(GUID* majorType, GUID* subType);

private:
    void Clear();

    CComPtr<IPin> m_pPin;
    CRootFilter* m_pFilter;
    CRootPin* m_pPeer;
    CRootPin* m_pNext;
    char m_szName[kPinNameSize];
};

// The MPEG-1 Stream Splitter.
#include "Mpeg1Splitter.h"

#include "uuids.h"

namespace platform::dshow {

Mpeg1SplitterFilter::Mpeg1SplitterFilter()
    : FilterBase(CLSID_MPEG1Splitter),
      m_outputs({PinDescription{PINDIR_OUTPUT, L"Video", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload)}},
                 PinDescription{PINDIR_OUTPUT, L"Audio", L"", GUID_NULL,
                                {MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload)}}}) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)}});
}

void Mpeg1SplitterFilter::OnPinConnected(PinBase* pin) { m_outputs.Connected(this, pin); }

void Mpeg1SplitterFilter::OnPinDisconnected(PinBase* pin) { m_outputs.Disconnected(this, pin); }

}  // namespace platform::dshow

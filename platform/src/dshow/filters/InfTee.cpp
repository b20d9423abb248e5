// The Infinite Pin Tee.
#include "InfTee.h"

#include "TransformPins.h"

namespace platform::dshow {

InfTeeFilter::InfTeeFilter() : FilterBase(CLSID_InfTee) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input"});
    AddOutput();
}

void InfTeeFilter::AddOutput() {
    CComPtr<PinBase> pin;
    pin.Attach(new FollowingOutputPin(this, L"Output" + std::to_wstring(m_nextOutput++)));
    PinBase* input = FindPinByName(L"Input");
    if (input && input->IsConnected()) pin->SetMediaTypes({input->ConnectionType()});
    AddPin(pin);
}

void InfTeeFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) {
        FollowInput(this, {pin->ConnectionType()});
        return;
    }
    if (CountPins(PINDIR_OUTPUT, true) == 0) AddOutput();
}

void InfTeeFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) {
        FollowInput(this, {});
        return;
    }
    KeepOneFreePin(this, PINDIR_OUTPUT);
}

// S_OK when an output took the sample; the first failure of an output ends the stream.
HRESULT InfTeeFilter::OnReceive(PinBase*, IMediaSample* sample) {
    HRESULT result = S_FALSE;
    for (auto& out : ConnectedOutputs()) {
        HRESULT hr = out->Deliver(sample);
        if (FAILED(hr)) return hr;
        if (hr == S_OK) result = S_OK;
    }
    return result;
}

}  // namespace platform::dshow

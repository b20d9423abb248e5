// Synchronous transforms.
#include "platform/dshow/TransformBase.h"

namespace platform::dshow {

HRESULT TransformBase::OnReceive(PinBase* pin, IMediaSample* sample) {
    auto outputs = ConnectedOutputs();
    if (outputs.empty()) return S_OK;
    CComPtr<IMediaSample> out;
    HRESULT hr = outputs.front()->GetDeliveryBuffer(&out);
    if (FAILED(hr)) return hr;
    REFERENCE_TIME start, stop;
    if (SUCCEEDED(sample->GetTime(&start, &stop))) out->SetTime(&start, &stop);
    out->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    out->SetDiscontinuity(sample->IsDiscontinuity() == S_OK);
    out->SetPreroll(sample->IsPreroll() == S_OK);
    hr = Transform(pin, sample, out);
    if (hr != S_OK) return SUCCEEDED(hr) ? S_OK : hr;
    return outputs.front()->Deliver(out);
}

}  // namespace platform::dshow

// The colour space converter.
#include "ColourConverter.h"

#include "Picture.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

struct RgbOutput {
    const GUID* subtype;
    WORD bitCount;
};
const RgbOutput kOutputs[] = {
    {&MEDIASUBTYPE_RGB32, 32}, {&MEDIASUBTYPE_RGB24, 24}, {&MEDIASUBTYPE_RGB565, 16}, {&MEDIASUBTYPE_RGB555, 16}};

const GUID* const kInputs[] = {&MEDIASUBTYPE_YUY2,   &MEDIASUBTYPE_UYVY,  &MEDIASUBTYPE_RGB555,
                               &MEDIASUBTYPE_RGB565, &MEDIASUBTYPE_RGB24, &MEDIASUBTYPE_RGB32};

}  // namespace

ColourConverterFilter::ColourConverterFilter() : TransformBase(CLSID_Colour) {
    std::vector<MediaType> inputs;
    for (const GUID* subtype : kInputs) inputs.emplace_back(MEDIATYPE_Video, *subtype, FORMAT_VideoInfo);
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL, std::move(inputs)});
    CComPtr<PinBase> output;
    output.Attach(new FollowingOutputPin(this, L"XForm Out"));
    AddPin(output);
}

void ColourConverterFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    MediaType type = pin->ConnectionType();
    const VIDEOINFOHEADER* in = type.FormatAs<VIDEOINFOHEADER>();
    if (!in) return;
    std::vector<MediaType> outputs;
    for (const RgbOutput& o : kOutputs)
        outputs.push_back(VideoInfoType(*o.subtype, in->bmiHeader.biWidth, in->bmiHeader.biHeight, o.bitCount,
                                        in->AvgTimePerFrame));
    FollowInput(this, outputs);
}

void ColourConverterFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) FollowInput(this, {});
}

// A picture of another size (a sample that carried a new type in) goes on in the output's
// format at that size, as a type change on the sample, when downstream takes it.
HRESULT ColourConverterFilter::Transform(PinBase* pin, IMediaSample* in, IMediaSample* out) {
    Picture from, to;
    auto outputs = ConnectedOutputs();
    if (outputs.empty() || !PictureOf(pin->ConnectionType().Get(), &from) ||
        !PictureOf(outputs.front()->ConnectionType().Get(), &to))
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (from.width != to.width || from.height != to.height) {
        const MediaType now = outputs.front()->ConnectionType();
        const auto* vih = now.FormatAs<VIDEOINFOHEADER>();
        if (!vih) return VFW_E_TYPE_NOT_ACCEPTED;
        const MediaType next = VideoInfoType(now.Subtype(), from.width, to.bottomUp ? from.height : -from.height,
                                             vih->bmiHeader.biBitCount, vih->AvgTimePerFrame);
        HRESULT hr = outputs.front()->ChangeConnectionType(next);
        if (FAILED(hr)) return hr;
        out->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&next.Get()));
        PictureOf(next.Get(), &to);
    }
    BYTE *src = nullptr, *dst = nullptr;
    in->GetPointer(&src);
    out->GetPointer(&dst);
    if (size_t(in->GetActualDataLength()) < from.Size()) return VFW_E_BUFFER_UNDERFLOW;
    if (size_t(out->GetSize()) < to.Size()) return VFW_E_BUFFER_OVERFLOW;
    ConvertPicture(from, src, to, dst, &m_scaler, &m_row);
    return out->SetActualDataLength(long(to.Size()));
}

}  // namespace platform::dshow

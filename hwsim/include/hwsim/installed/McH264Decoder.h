// The MainConcept H.264 video decoder (package "mainconcept"), with IMCH264DecoderOutput. Its
// output pin appears once its input is connected and goes when the input is disconnected.
#pragma once

#include "hwsim/installed/InstalledFilter.h"
#include "hwsim/installed/InstalledFilterRow.h"
#include "makers/mainconcept.h"

namespace hwsim {

class McH264OutputControl : public PrivateInterface<IMCH264DecoderOutput> {
public:
    // Slots 3 to 5 keep their two values under their slot number, the record under 7.
    static constexpr DWORD kRecordParam = 7;

    STDMETHODIMP Output3(DWORD dwParam1, DWORD dwParam2) override;
    STDMETHODIMP Output4(DWORD dwParam1, DWORD dwParam2) override;
    STDMETHODIMP Output5(DWORD dwParam1, DWORD dwParam2) override;
    STDMETHODIMP GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord) override;
    STDMETHODIMP SetOutputRecord(MCH264_OUTPUT_RECORD record) override;

private:
    HRESULT Pair(int slot, DWORD dwParam1, DWORD dwParam2);
};

class McH264DecoderFilter : public InstalledFilterOf<McH264OutputControl> {
public:
    explicit McH264DecoderFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);

protected:
    void OnPinConnected(platform::dshow::PinBase* pin) override;
    void OnPinDisconnected(platform::dshow::PinBase* pin) override;
};

}  // namespace hwsim

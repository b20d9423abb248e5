// The private interfaces of the Ligos GoMotion filters (package "ligos"; rows of
// kInstalledFilters, PinnedFilter): the capture encoder, which also answers IFileSinkFilter(2),
// and the transcoder, whose RIzizirar can be refused
// (RefuseInterface("RIzizirar")). The settings methods log the record byte for byte (record 0)
// and the two extra words (records 1 and 2, empty for a null pointer), keep the record under
// kSettingsParam and the extras under 55 and 56, and read them back.
#pragma once

#include "hwsim/installed/InstalledFilter.h"
#include "makers/ligos.h"

namespace hwsim {

class LigosSettingsStore {
public:
    static constexpr DWORD kSettingsParam = 0x1000;
    static constexpr DWORD kExtra1Param = 55;
    static constexpr DWORD kExtra2Param = 56;

protected:
    static HRESULT Set(FilterBehaviour& behaviour, const char* iface, LIGOS_SETTINGS* pSettings, DWORD* pExtra1,
                       DWORD* pExtra2);
    static HRESULT Get(FilterBehaviour& behaviour, const char* iface, LIGOS_SETTINGS* pSettings, DWORD* pExtra1,
                       DWORD* pExtra2);
};

class LigosEncoderControl : public PrivateInterface<ILigosEncoder>, public LigosSettingsStore {
public:
    STDMETHODIMP SetSettings(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) override;
    STDMETHODIMP GetSettings(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) override;
    STDMETHODIMP Method5(DWORD dwParam1, DWORD dwParam2) override;
    STDMETHODIMP Method6(DWORD dwParam) override;
    STDMETHODIMP Method7(DWORD dwParam1, DWORD dwParam2, DWORD dwParam3) override;
    STDMETHODIMP Method8(DWORD dwParam) override;
};

class LigosTranscoderControl : public PrivateInterface<ILigosTranscoder>, public LigosSettingsStore {
public:
    STDMETHODIMP SetSettings(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1, DWORD* pExtra2) override;
    STDMETHODIMP GetSettings(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1, DWORD* pExtra2) override;
    STDMETHODIMP Method5(DWORD dwParam) override;
    STDMETHODIMP Method6(DWORD dwParam) override;
};

// Slot 3 answers the two values stored under kFirstParam and kSecondParam; slot 4 logs its value.
class RIzizirarControl : public PrivateInterface<RIzizirar> {
public:
    static constexpr DWORD kFirstParam = 0x2001;
    static constexpr DWORD kSecondParam = 0x2002;

    STDMETHODIMP Method3(LONG* pFirst, LONG* pSecond) override;
    STDMETHODIMP Method4(DWORD dwParam) override;
};

}  // namespace hwsim

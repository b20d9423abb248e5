// The InterVideo filters built for the maker's cards (package "intervideo"): audio and video
// encoders, file writer (also answering IFileSinkFilter(2)), multiplexer, still capture and
// down-scaler; those that are pins and private interfaces only are rows of kInstalledFilters
// (PinnedFilter), the multiplexer and the still capture filter classes of their own. Each keeps its parameters in
// its FilterBehaviour's store by id (a parameter never written reads as 0); any id can be made to
// fail with FailParam, any slot with FailSlot. An injected success code (S_FALSE) is answered
// after the parameter was read or written.
#pragma once

#include <vector>

#include "hwsim/installed/InstalledFilter.h"
#include "hwsim/installed/InstalledFilterRow.h"
#include "makers/intervideo.h"

namespace hwsim {

// The store behind every InterVideo parameter interface: calls are logged as (id) for a read
// (slot 3) and (id, value) for a write (slot 4), then answer a failure injected for the slot or
// for the id.
template <class I>
class IvParamStore : public PrivateInterface<I> {
protected:
    HRESULT Enter(int slot, std::vector<ULONGLONG> args) {
        const DWORD id = DWORD(args[0]);
        HRESULT hr = this->Behaviour().Enter(platform::InterfaceTraits<I>::kName, slot, std::move(args));
        return hr != S_OK ? hr : this->Behaviour().ParamFailure(id);
    }
    HRESULT ReadLong(DWORD id, LONG* pValue) {
        HRESULT hr = Enter(3, {id});
        if (FAILED(hr)) return hr;
        if (!pValue) return E_POINTER;
        LONG value = 0;
        this->Behaviour().Load(id, &value);
        *pValue = value;
        return hr;
    }
    HRESULT WriteLong(DWORD id, LONG value) {
        HRESULT hr = Enter(4, {id, ULONGLONG(ULONG(value))});
        if (SUCCEEDED(hr)) this->Behaviour().Store(id, value);
        return hr;
    }
};

// Slot 3 reads a 32-bit parameter, slot 4 writes one.
template <class I>
class IvParams : public IvParamStore<I> {
public:
    STDMETHODIMP GetParam(DWORD dwId, LONG* pValue) override { return this->ReadLong(dwId, pValue); }
    STDMETHODIMP SetParam(DWORD dwId, LONG lValue) override { return this->WriteLong(dwId, lValue); }
};

// Parameter 0x500 is 64 bits wide: slot 4 takes a pointer to it (logged as the value), slot 3
// fills 8 bytes. Other ids are 32-bit.
class IvFileWriterParams : public IvParamStore<IIVFileWriterParams> {
public:
    static constexpr DWORD kWideParam = 0x500;

    STDMETHODIMP GetParam(DWORD dwId, void* pValue) override;
    STDMETHODIMP SetParam(DWORD dwId, LONG_PTR lValue) override;
};

// 0x607 reads the current picture's size in bytes and 0x608 copies the picture (a packed DIB,
// stored under 0x608) into the caller's block; other ids are 32-bit parameters.
class IvStillParams : public IvParamStore<IIVStillParams> {
public:
    static constexpr DWORD kSizeParam = 0x607;
    static constexpr DWORD kPictureParam = 0x608;

    STDMETHODIMP GetParam(DWORD dwId, void* pValue) override;
    STDMETHODIMP SetParam(DWORD dwId, LONG lValue) override;

    // A packed DIB: a 40-byte header of width x height at `bitCount` bits and the zeroed pixels
    // (and the colour table of a depth of 8 bits or less).
    static std::vector<BYTE> Picture(LONG width, LONG height, WORD bitCount);
};

// Starts with one input pin and adds another after each input that is connected.
class IvMultiplexerFilter : public InstalledFilterOf<IvParams<IIVMuxParams>> {
public:
    explicit IvMultiplexerFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);

protected:
    void OnPinConnected(platform::dshow::PinBase* pin) override;

private:
    void AddInput();
    int m_inputs = 0;
};

// Holds a small 24-bit picture until a test stores another under 0x608.
class IvStillCaptureFilter : public InstalledFilterOf<IvStillParams> {
public:
    explicit IvStillCaptureFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);
};

}  // namespace hwsim

// CBoxEncoder: the encoder-settings routines of the boxes, on the encoder properties of
// KSPROPSETID_Box. The settings record is read and written property by property (the field
// map kEncoderProperties, walked in the read and write orders); every Get or Set is preceded by
// QuerySupported, and a property that fails is traced and the next one tried, so one refused
// property costs only its own field. The routines answer TRUE when every step succeeded.
//
// The full routines also carry the record capacity (dwStorageCap, MB) through the optional
// second object's IRecordCapacity; the short routines leave it, and the short read leaves the
// pre-filter block (0x2A), the short write the transport mode and inverse telecine (0x36, 0x32).
// Property 1 is 18 bytes, or the 10 of the old bitrate form when the old-bitrate flag is set.
#pragma once

#include <strmif.h>

#include "access/BoxEncoderSettings.h"
#include "access/BoxProperty.h"

class CBoxEncoder {
public:
    // One property of the settings record: its bytes, and the record fields they carry. Each
    // piece carries the record field of `recordWidth` bytes at `recordOffset` in the property
    // bytes at `propertyOffset`, `propertyWidth` of them (zero-extended, low byte first). A
    // shorter form of a property carries the pieces that fit in it.
    struct Piece {
        size_t recordOffset;
        size_t recordWidth;
        size_t propertyOffset;
        size_t propertyWidth;
    };
    struct Property {
        DWORD id;
        DWORD size;       // bytes of the property (property 1: the 18-byte form)
        int nPieces;
        Piece pieces[5];
        bool bRead;
        bool bWritten;
    };
    static const Property kEncoderProperties[];
    static const size_t kEncoderPropertyCount;
    static const DWORD kReadOrder[15];
    static const DWORD kWriteOrder[12];

    explicit CBoxEncoder(const CBoxProperty& property);

    BOOL GetSettingStreamFromFilter(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                                    BOOL bOldBitrate) const;
    BOOL GetShortSettingStreamFromFilter(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, BOOL bOldBitrate) const;
    BOOL SetSettingStreamToFilter(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                                  BOOL bOldBitrate) const;
    BOOL SetShortSettingStreamToFilter(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter,
                                       BOOL bOldBitrate) const;

    // GOP size (property 0x3F) and GOP option (0x40), one byte each.
    BOOL SetGopSize(IUnknown* pFilter, BYTE bGopSize, BYTE bGopOption) const;
    // The pre-filter block (property 0x2A).
    BOOL GetPreFilter(IUnknown* pFilter, PREFILTERINFO* pInfo) const;
    BOOL SetPreFilter(IUnknown* pFilter, const PREFILTERINFO* pInfo) const;
    // Properties 22 and 24: {n + 3, 1} and {n + 3, 0} for n = 0 and 10.
    BOOL SetStreamOptions(IUnknown* pFilter) const;
    // Property 4 (Set): the TV encode format.
    BOOL SetTVEncodeFormat(IUnknown* pFilter, const DWORD* pFormat) const;

    // "OldEncoderBitrateInterface" of the driver's registry key: TRUE when it cannot be read.
    static BOOL IsOldEncoderBitrateInterface();

private:
    BOOL GetEncoderProperty(IKsPropertySet* pKs, DWORD id, void* pData, DWORD len) const;
    BOOL SetEncoderProperty(IKsPropertySet* pKs, DWORD id, void* pData, DWORD len) const;
    BOOL ReadSettings(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity, BOOL bOldBitrate,
                      bool bShort) const;
    BOOL WriteSettings(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                       BOOL bOldBitrate, bool bShort) const;
    CComPtr<IKsPropertySet> QueryKs(IUnknown* pFilter, const char* routine) const;

    const CBoxProperty& m_property;
};

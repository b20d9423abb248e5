// An EEPROM image: its bytes and the product's field map that places its fields. Defined wholly
// here, so that the station and the library compile the same code.
#pragma once

#include <windows.h>

#include "dunmorra/DunmorraApi.h"
#include "dunmorra/EppromInfo.h"
#include "dunmorra/memdata.h"

class DUNMORRA_API CEppromData {
public:
    CEppromData() : m_pData(nullptr), m_iSize(0), m_pInfo(nullptr) {}
    // Takes over the buffer (the source is left empty) and the map.
    CEppromData(CMemData& data, CEppromInfo* pInfo)
        : m_pData(data.GetData()), m_iSize(data.GetDataSize()), m_pInfo(pInfo) {
        data.SetNull();
    }
    CEppromData(unsigned char* pData, int iSize, CEppromInfo* pInfo) : m_pData(pData), m_iSize(iSize), m_pInfo(pInfo) {}
    CEppromData(const CEppromData&) = delete;
    CEppromData& operator=(const CEppromData&) = delete;
    ~CEppromData() {
        Release();
        ASSERT(m_pData == nullptr && m_pInfo == nullptr);
    }

    // Forgets bytes and map without freeing them.
    void SetNull() {
        m_pData = nullptr;
        m_iSize = 0;
        m_pInfo = nullptr;
    }
    void Release() {
        delete[] m_pData;
        delete m_pInfo;
        SetNull();
    }
    bool IsValid() const { return m_pInfo != nullptr && m_pData != nullptr && m_iSize > 0; }

    // Writes the map's pending fields into the image.
    void Compbine() {
        if (IsValid()) m_pInfo->WriteTo(m_pData, m_iSize);
    }

    // Takes over bytes and map when both differ from the ones held; otherwise changes nothing.
    void Reset(unsigned char* pData, int iSize, CEppromInfo* pInfo) {
        if (pData == m_pData || pInfo == m_pInfo) return;
        Release();
        m_pData = pData;
        m_iSize = iSize;
        m_pInfo = pInfo;
    }
    // Takes over the other image, releasing the one held, and leaves the other empty.
    void Reset(CEppromData& other) {
        if (&other == this) return;
        Release();
        m_pData = other.m_pData;
        m_iSize = other.m_iSize;
        m_pInfo = other.m_pInfo;
        other.SetNull();
    }
    // Takes over the buffer (the source is left empty); the map stays.
    void ResetData(CMemData& data) {
        if (data.GetData() == m_pData) return;
        delete[] m_pData;
        m_pData = data.GetData();
        m_iSize = data.GetDataSize();
        data.SetNull();
    }

    unsigned char* GetData() const { return m_pData; }
    int GetDataSize() const { return m_iSize; }
    CEppromInfo* GetInfo() const { return m_pInfo; }

private:
    unsigned char* m_pData;
    int m_iSize;
    CEppromInfo* m_pInfo;
};

// An owned byte buffer. Defined wholly here, so that the station and the library compile the
// same code; both allocate and free with array new and delete.
#pragma once

#include <windows.h>

#include <climits>
#include <cstring>
#include <new>

#include "dunmorra/DunmorraApi.h"

class DUNMORRA_API CMemData {
public:
    CMemData() : m_pData(nullptr), m_iSize(0) {}
    // Takes over the buffer (array new) without copying.
    CMemData(unsigned char* pData, int iSize) : m_pData(pData), m_iSize(iSize) {}
    CMemData(const CMemData& other) : m_pData(nullptr), m_iSize(0) { Copy(other.m_pData, other.m_iSize); }
    CMemData& operator=(const CMemData& other) {
        Assign(other);
        return *this;
    }
    ~CMemData() {
        Release();
        ASSERT(m_pData == nullptr);
    }

    void Assign(const CMemData& other) {
        if (&other == this) return;
        Release();
        Copy(other.m_pData, other.m_iSize);
    }

    // Forgets the buffer without freeing it.
    void SetNull() {
        m_pData = nullptr;
        m_iSize = 0;
    }
    void Release() {
        delete[] m_pData;
        SetNull();
    }
    bool IsValid() const { return m_pData != nullptr && m_iSize > 0; }

    // Takes over another buffer; the buffer already held changes nothing.
    void Reset(unsigned char* pData, int iSize) {
        if (pData == m_pData) return;
        Release();
        m_pData = pData;
        m_iSize = iSize;
    }
    // Takes over the other object's buffer and leaves it empty.
    void Reset(CMemData& other) {
        if (&other == this) return;
        Release();
        m_pData = other.m_pData;
        m_iSize = other.m_iSize;
        other.SetNull();
    }

    unsigned char* GetData() const { return m_pData; }
    int GetDataSize() const { return m_iSize; }

    // iSize bytes of ucFill; size 0 changes nothing.
    bool Create(unsigned int uSize, unsigned char ucFill) {
        if (uSize == 0 || uSize > unsigned(INT_MAX)) return false;
        Release();
        m_pData = new (std::nothrow) unsigned char[uSize];
        if (m_pData == nullptr) return false;
        memset(m_pData, ucFill, uSize);
        m_iSize = int(uSize);
        return true;
    }
    // A copy of the bytes, which may be (part of) the buffer held; no data changes nothing. The
    // bytes are copied before the old buffer is freed.
    bool Copy(const unsigned char* pData, int iSize) {
        if (pData == nullptr || iSize < 1) return false;
        unsigned char* pCopy = new (std::nothrow) unsigned char[iSize];
        if (pCopy == nullptr) return false;
        memcpy(pCopy, pData, iSize);
        Release();
        m_pData = pCopy;
        m_iSize = iSize;
        return true;
    }
    bool Equal(const CMemData& other) const {
        return IsValid() && other.IsValid() && m_iSize == other.m_iSize && memcmp(m_pData, other.m_pData, m_iSize) == 0;
    }

private:
    unsigned char* m_pData;
    int m_iSize;
};

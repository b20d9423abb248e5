// The field map of a product: at which image positions the product keeps its identifying fields,
// and the bytes pending for each field. The product maps derive from it inside the library.
#pragma once

#include <vector>

#include "dunmorra/DunmorraApi.h"
#include "dunmorra/VectorPair.h"

class DUNMORRA_API CEppromInfo {
public:
    CEppromInfo();
    CEppromInfo(const CEppromInfo&) = delete;
    CEppromInfo& operator=(const CEppromInfo&) = delete;
    virtual ~CEppromInfo();

    virtual void SetVendor(unsigned short usVendor);
    virtual void SetSubWindowID(unsigned short usSubWindowID);
    virtual void SetModel(unsigned char ucModel);
    virtual void SetModelHigh(unsigned char ucModelHigh);
    virtual void SetFactory(unsigned char ucFactory);
    virtual void SetCompany(const char* pszCompany);
    virtual void SetChipset(const char* pszChipset);

    void InitSlotList();
    // Writes every pending pair into the buffer, slot by slot; pairs outside it are skipped.
    void WriteTo(unsigned char* pBuffer, int iLength) const;
    // True when no image position is named by two pairs.
    bool IsPosUnique() const;

    const CVectorPairByte& GetVendor() const { return m_vecVendor; }
    const CVectorPairByte& GetSubWindowID() const { return m_vecSubWindowID; }
    const CVectorPairByte& GetModel() const { return m_vecModel; }
    const CVectorPairByte& GetModelHigh() const { return m_vecModelHigh; }
    const CVectorPairByte& GetFactory() const { return m_vecFactory; }
    const CVectorPairByte& GetCompany() const { return m_vecCompany; }
    const CVectorPairByte& GetChipset() const { return m_vecChipset; }

protected:
    CVectorPairByte m_vecVendor;
    CVectorPairByte m_vecSubWindowID;
    CVectorPairByte m_vecModel;
    CVectorPairByte m_vecModelHigh;
    CVectorPairByte m_vecFactory;
    CVectorPairByte m_vecCompany;
    CVectorPairByte m_vecChipset;

    // Image position of each field; -1 when the product has no such field.
    int m_iVendorPos;
    int m_iSubWindowIDPos;
    int m_iModelPos;
    int m_iModelHighPos;
    int m_iFactoryPos;
    int m_iCompanyPos;
    int m_iChipsetPos;

    std::vector<CVectorPairByte*> m_vecSlots;
};

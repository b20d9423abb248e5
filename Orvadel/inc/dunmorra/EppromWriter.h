// Dunmorra's facade: makes the image of a product type and tuner model, decodes, checks, compares
// and formats images, loads and saves image files, reads a card's EEPROM and writes images to
// cards on background threads, which it owns.
#pragma once

#include <afx.h>
#include <windows.h>

#include <vector>

#include "dunmorra/DunmorraApi.h"
#include "dunmorra/EepromRWInterface.h"
#include "dunmorra/EppromCreator.h"
#include "dunmorra/ProductType.h"
#include "dunmorra/TunerIds.h"
#include "dunmorra/TunerModel.h"
#include "dunmorra/VectorPair.h"
#include "dunmorra/WriteThread.h"
#include "dunmorra/eppromdata.h"
#include "dunmorra/memdata.h"

#pragma GCC visibility push(default)
#include "zelk/MClassStringArray.h"
#include "zelk/MPairDeque.h"
#pragma GCC visibility pop

class DUNMORRA_API CEppromWriter {
public:
    typedef zelk::MPairDeque<TUNER_MODEL, TunerSubSystemID> CModel2ID;
    typedef zelk::MPairDeque<EMProductType, EMProductID> CProduct2ID;
    typedef zelk::MClassStringArray<EMProductType> CProduct2Str;
    typedef zelk::MClassStringArray<TUNER_MODEL> CTuner2Str;

    CEppromWriter();
    // The writer owns its threads: it is not copied.
    CEppromWriter(const CEppromWriter&) = delete;
    CEppromWriter& operator=(const CEppromWriter&) = delete;
    virtual ~CEppromWriter();

    // ---- making ----
    bool MakeEppromData(EMProductType type, TUNER_MODEL model, CEppromData& image);
    bool MakeEppromData(EMProductType type, TUNER_MODEL model, CMemData& data);
    bool MakeEppromFile(EMProductType type, TUNER_MODEL model, const char* pszPath);
    // The Kesh line: the Kesh tuner id goes into the model fields; letter and subsystem id come
    // from the tuner model.
    bool MakeEppromData(EMProductType type, KeshTunerID id, CEppromData& image, TUNER_MODEL model);
    bool MakeEppromData(EMProductType type, KeshTunerID id, CMemData& data, TUNER_MODEL model);
    bool MakeEppromFile(EMProductType type, KeshTunerID id, const char* pszPath, TUNER_MODEL model);

    // ---- decoding ----
    EMProductType GetProductTypeFromData(CMemData& data);
    EMProductType GetProductTypeFromData(unsigned char* pData, int iLength);
    TUNER_MODEL GetTunerModelFromData(CMemData& data, EMProductType type);
    TUNER_MODEL GetTunerModelFromData(unsigned char* pData, int iLength, EMProductType type);
    KeshTunerID GetKeshTunerModelFromData(CMemData& data, EMProductType type);
    KeshTunerID GetKeshTunerModelFromData(unsigned char* pData, int iLength, EMProductType type);
    // Neither all 0x00 nor all 0xFF.
    bool IsEppromDataWritten(unsigned char* pData, int iLength);
    bool IsIncludeStr(unsigned char* pData, int iLength, const char* pszText);

    // ---- checking and comparing ----
    // True when the bytes are the image of the product type and tuner they decode to; false for
    // a tuner model without a maker (the bytes come off a card: nothing they hold is asserted).
    bool CheckEppromData(CEepromRWInterface* pInterface, CVectorPairWord* pList);
    bool CheckEppromData(unsigned char* pData, int iLength, CVectorPairWord* pList);
    // The Kesh variant: the tuner model gives the letter and subsystem id of the expected image.
    bool CheckEppromData(CEepromRWInterface* pInterface, CVectorPairWord* pList, TUNER_MODEL model);
    bool CheckEppromData(unsigned char* pData, int iLength, CVectorPairWord* pList, TUNER_MODEL model);
    // Appends a record per differing byte; the number of records this call added, the length
    // difference when the lengths differ, -1 without data.
    static int CompareData(unsigned char* pFirst, int iFirstLength, unsigned char* pSecond, int iSecondLength,
                           CVectorPairWord& list);
    static int CompareData(CMemData& first, CMemData& second, CVectorPairWord& list);
    // True when both files were loaded (then compared into the list).
    static bool CompareData(const char* pszFirstFile, const char* pszSecondFile, CVectorPairWord& list);

    // ---- card access ----
    bool ReadEeprom(CEepromRWInterface* pInterface, CMemData& data);
    bool ReadEeprom(CEepromRWInterface* pInterface, const char* pszPath);
    // Starts a thread that writes the bytes from iStartAddress; null for a request it refuses.
    // The writer owns the thread.
    CWriteThread* WriteEeprom(CEepromRWInterface* pInterface, unsigned char* pData, int iSize, int iStartAddress,
                              HWND hWnd, int iDelay);
    CWriteThread* WriteEeprom(CEepromRWInterface* pInterface, CEppromData& image, HWND hWnd, int iDelay);
    CWriteThread* WriteEeprom(CEepromRWInterface* pInterface, CMemData& data, HWND hWnd, int iDelay);
    CWriteThread* WriteEeprom(CEepromRWInterface* pInterface, const char* pszPath, HWND hWnd, int iDelay);
    // 256 bytes of ucValue: an erase.
    CWriteThread* WriteEeprom(CEepromRWInterface* pInterface, unsigned char ucValue, HWND hWnd, int iDelay);
    void DeleteAllWriteThread();
    int DeleteWriteThread(CEepromRWInterface* pInterface);
    bool DeleteWriteThread(CWriteThread* pThread);

    // ---- text and files ----
    // 16 bytes a line, "0x%02x," each, a blank after every eighth.
    CString FormatData(unsigned char* pData, int iLength);
    CString FormatVectorPairByte(CVectorPairByte& vec);
    CString FormatPair(CPairByte& pair);
    CString FormatInfo(CEppromInfo& info);
    static bool LoadFromFile(const char* pszPath, unsigned char** ppData, int& iLength);
    static bool LoadFromFile(const char* pszPath, CMemData& data);
    bool WriteEppromToFile(const char* pszPath, unsigned char* pData, int iSize);
    bool WriteEppromToFile(const char* pszPath, CEppromData& image);

    // ---- tables ----
    const CModel2ID& GetModel2ID() const { return m_model2ID; }
    const CProduct2ID& GetProduct2ID() const { return m_product2ID; }
    const CProduct2Str& GetProduct2Str() const { return m_product2Str; }
    const CTuner2Str& GetTuner2Str() const { return m_tuner2Str; }

protected:
    void FillDeque();
    void FillProductDeq();
    void FillProduct();
    void FillTuner();
    bool GetFactoryFromModel(TUNER_FACTORY& factory, TUNER_MODEL model);

private:
    // Sets subsystem, model and letter on a new image's map and writes them into the image.
    void PlaceTunerFields(CEppromData& image, TUNER_MODEL model, unsigned char ucModelLow, unsigned char ucModelHigh,
                          bool bModelHigh);
    bool CheckAgainst(unsigned char* pData, int iLength, CVectorPairWord* pList, CEppromData& expected);

    CModel2ID m_model2ID;
    CProduct2ID m_product2ID;
    CProduct2Str m_product2Str;
    CTuner2Str m_tuner2Str;
    CEppromCreator m_creator;
    std::vector<CWriteThread*> m_vecThreads;
};

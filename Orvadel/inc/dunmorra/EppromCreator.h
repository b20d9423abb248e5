// Turns a product type into the two parts of an image: the product's template bytes (256 of
// them) and a new field map of the product.
#pragma once

#include <map>

#include "dunmorra/DunmorraApi.h"
#include "dunmorra/EppromInfo.h"
#include "dunmorra/ProductType.h"
#include "dunmorra/TunerIds.h"
#include "dunmorra/TunerModel.h"
#include "dunmorra/eppromdata.h"

struct ProductInfoRow;

class DUNMORRA_API CEppromCreator {
public:
    typedef bool (CEppromCreator::*TemplateGetter)(unsigned char** ppData, int& iLength);

    CEppromCreator();
    CEppromCreator(const CEppromCreator& other) = default;
    CEppromCreator& operator=(const CEppromCreator& other) = default;
    virtual ~CEppromCreator();

    // The getters: each hands out a new 256-byte buffer (array delete) holding its template.
    bool GetHarlo_878Template(unsigned char** ppData, int& iLength);
    bool GetHarlo_7130Template(unsigned char** ppData, int& iLength);
    bool GetQovand_7130Template(unsigned char** ppData, int& iLength);
    bool GetQovand_23881Template(unsigned char** ppData, int& iLength);
    bool Get23881BootTemplate(unsigned char** ppData, int& iLength);
    bool GetElvathTemplate(unsigned char** ppData, int& iLength);
    bool GetTV_WadrelTemplate(unsigned char** ppData, int& iLength);
    bool GetHoskarTemplate(unsigned char** ppData, int& iLength);
    bool GetDirirTemplate(unsigned char** ppData, int& iLength);
    bool GetJalvorTemplate(unsigned char** ppData, int& iLength);
    bool GetLodrinTemplate(unsigned char** ppData, int& iLength);
    bool GetNerrowTemplate(unsigned char** ppData, int& iLength);
    bool GetPendrelTemplate(unsigned char** ppData, int& iLength);
    bool GetRiveskTemplate(unsigned char** ppData, int& iLength);
    bool GetSandrelTemplate(unsigned char** ppData, int& iLength);
    bool GetUlbrinTemplate(unsigned char** ppData, int& iLength);
    bool GetOgmundTemplate(unsigned char** ppData, int& iLength);
    bool GetYelvinTemplate(unsigned char** ppData, int& iLength);
    bool GetZarrelTemplate(unsigned char** ppData, int& iLength);
    bool GetSivrenTemplate(unsigned char** ppData, int& iLength);
    bool GetBelvorTemplate(unsigned char** ppData, int& iLength);
    bool GetFimbrelTemplate(unsigned char** ppData, int& iLength);
    bool GetHelmicTemplate(unsigned char** ppData, int& iLength);
    bool GetIvlenTemplate(unsigned char** ppData, int& iLength);
    bool GetJorskTemplate(unsigned char** ppData, int& iLength);
    bool GetLentorTemplate(unsigned char** ppData, int& iLength);
    bool GetKolvirTemplate(unsigned char** ppData, int& iLength);
    bool GetVozeTemplate(unsigned char** ppData, int& iLength);
    bool GetQelTemplate(unsigned char** ppData, int& iLength);
    bool GetKesharTemplate(unsigned char** ppData, int& iLength);

    // The template of a product type (the tuner does not change it); false for an unknown type.
    bool GetEppromTemplate(EMProductType type, TUNER_MODEL model, unsigned char** ppData, int& iLength);
    bool GetEppromTemplate(EMProductType type, KeshTunerID id, unsigned char** ppData, int& iLength);
    // A new field map of the product type; false for an unknown type or no output.
    bool GetEppromInfo(EMProductType type, CEppromInfo** ppInfo);
    // Template and field map into an empty image; an unknown type leaves it empty.
    bool CreateEppromData(EMProductType type, TUNER_MODEL model, CEppromData& image);
    bool CreateEppromData(EMProductType type, KeshTunerID id, CEppromData& image);

protected:
    // A new buffer of iTotal bytes of 0xFF beginning with the iLength bytes of pSource. A null
    // ppOutput only reports the length. Allocates nothing it does not hand out.
    bool GetTemplate(const unsigned char* pSource, int iLength, int iTotal, unsigned char** ppOutput, int& iOutLength);
    void FillType2FuncMap();
    void FillInfoFact();
    // The filler of the third map, which nothing fills: it does nothing.
    void FillIn2Out();

    // The third map, keyed by product type like the other two; it stays empty.
    std::map<EMProductType, EMProductType> m_mapIn2Out;

private:
    bool CreateEppromData(EMProductType type, CEppromData& image);

    std::map<EMProductType, TemplateGetter> m_mapType2Func;
    std::map<EMProductType, const ProductInfoRow*> m_mapInfoFact;
};

// CEppromWriter: construction, the four lookup tables and making images.
#include "dunmorra/EppromWriter.h"

#include "Tables.h"

using namespace dunmorra_tables;

CEppromWriter::CEppromWriter() {
    FillDeque();
    FillProductDeq();
    FillProduct();
    FillTuner();
    ASSERT(m_tuner2Str.size() == m_model2ID.size());
}

CEppromWriter::~CEppromWriter() {
    DeleteAllWriteThread();
}

void CEppromWriter::FillDeque() {
    if (!m_model2ID.empty()) return;
    for (int i = 0; i < kSubsystemTableOrderCount; ++i) {
        const TunerRow* row = FindTunerRow(kSubsystemTableOrder[i]);
        if (row != nullptr) m_model2ID.Add(TUNER_MODEL(row->tunerModel), row->subsystemID);
    }
}

void CEppromWriter::FillProductDeq() {
    if (!m_product2ID.empty()) return;
    for (int i = 0; i < kProductIdTableOrderCount; ++i) {
        const ProductRow* row = FindProductRow(kProductIdTableOrder[i]);
        if (row != nullptr && row->productID >= 0) m_product2ID.Add(EMProductType(row->productType), row->productID);
    }
}

void CEppromWriter::FillProduct() {
    for (int i = 0; i < kProductNameTableOrderCount; ++i) {
        const ProductRow* row = FindProductRow(kProductNameTableOrder[i]);
        if (row != nullptr) m_product2Str.Add(EMProductType(row->productType), row->name);
    }
}

void CEppromWriter::FillTuner() {
    for (int i = 0; i < kTunerNameTableOrderCount; ++i) {
        const TunerRow* row = FindTunerRow(kTunerNameTableOrder[i]);
        if (row != nullptr) m_tuner2Str.Add(TUNER_MODEL(row->tunerModel), row->name);
    }
}

bool CEppromWriter::GetFactoryFromModel(TUNER_FACTORY& factory, TUNER_MODEL model) {
    const TunerRow* row = FindTunerRow(model);
    factory = row != nullptr ? TUNER_FACTORY(row->factory) : TUNER_FACTORY_NONE;
    return row != nullptr;
}

void CEppromWriter::PlaceTunerFields(CEppromData& image, TUNER_MODEL model, unsigned char ucModelLow,
                                     unsigned char ucModelHigh, bool bModelHigh) {
    TUNER_FACTORY factory = TUNER_FACTORY_NONE;
    bool known = GetFactoryFromModel(factory, model);
    ASSERT(known);
    TunerSubSystemID subsystem = 0;
    m_model2ID.Find(model, subsystem);

    CEppromInfo* info = image.GetInfo();
    info->SetSubWindowID(static_cast<unsigned short>(subsystem));
    info->SetModel(ucModelLow);
    if (bModelHigh) info->SetModelHigh(ucModelHigh);
    info->SetFactory(static_cast<unsigned char>(factory));
    ASSERT(info->IsPosUnique());
    image.Compbine();
}

bool CEppromWriter::MakeEppromData(EMProductType type, TUNER_MODEL model, CEppromData& image) {
    image.Release();
    bool ok = m_creator.CreateEppromData(type, model, image);
    if (ok) PlaceTunerFields(image, model, static_cast<unsigned char>(model), 0, false);
    return ok;
}

bool CEppromWriter::MakeEppromData(EMProductType type, KeshTunerID id, CEppromData& image, TUNER_MODEL model) {
    image.Release();
    bool ok = m_creator.CreateEppromData(type, id, image);
    if (ok) {
        PlaceTunerFields(image, model, static_cast<unsigned char>(id & 0xFF), static_cast<unsigned char>((id >> 8) & 0xFF),
                         true);
    }
    return ok;
}

bool CEppromWriter::MakeEppromData(EMProductType type, TUNER_MODEL model, CMemData& data) {
    CEppromData image;
    if (!MakeEppromData(type, model, image)) return false;
    return data.Copy(image.GetData(), image.GetDataSize());
}

bool CEppromWriter::MakeEppromData(EMProductType type, KeshTunerID id, CMemData& data, TUNER_MODEL model) {
    CEppromData image;
    if (!MakeEppromData(type, id, image, model)) return false;
    return data.Copy(image.GetData(), image.GetDataSize());
}

bool CEppromWriter::MakeEppromFile(EMProductType type, TUNER_MODEL model, const char* pszPath) {
    CEppromData image;
    return MakeEppromData(type, model, image) && WriteEppromToFile(pszPath, image);
}

bool CEppromWriter::MakeEppromFile(EMProductType type, KeshTunerID id, const char* pszPath, TUNER_MODEL model) {
    CEppromData image;
    return MakeEppromData(type, id, image, model) && WriteEppromToFile(pszPath, image);
}

// The product and tuner tables the writer fills and hands out.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dunmorra/EppromWriter.h"

namespace {

// Exposes the fillers, which the writer keeps to itself.
class RefillingWriter : public CEppromWriter {
public:
    using CEppromWriter::FillDeque;
    using CEppromWriter::FillProduct;
    using CEppromWriter::FillProductDeq;
    using CEppromWriter::FillTuner;
    using CEppromWriter::GetFactoryFromModel;
};

template <class Table>
std::vector<int> Keys(const Table& table) {
    std::vector<int> keys;
    for (size_t i = 0; i < table.size(); ++i) keys.push_back(table[i].first);
    return keys;
}

}  // namespace

TEST(Tables, TunerTablesHoldSixtySevenModelsInTheirOwnOrders) {
    CEppromWriter writer;
    const std::vector<int> subsystemOrder = {
        0,  1,  2,  3,  4,  5,   10,  11, 12,  13,  32,  33,  34,  35,  50,  52,  53,  54,  55,  56, 57, 58, 92,
        93, 14, 15, 72, 73, 17,  59,  60, 61,  62,  94,  63,  74,  95,  96,  64,  65,  134, 100, 66, 97, 98, 67,
        71, 75, 68, 110, 69, 70, 130, 131, 132, 133, 90, 91, 135, 136, 137, 138, 9, 8, 7, 111, 139};
    const std::vector<int> nameOrder = {
        0,  1,  2,  3,  4,  5,  10, 11,  12, 13, 32,  33, 34,  35,  50,  52,  53,  54,  55,  56,  57, 58, 134,
        92, 93, 14, 15, 72, 73, 17, 59,  60, 61, 62,  94, 63,  74,  95,  96,  64,  65,  100, 66,  97, 98, 67,
        71, 75, 68, 110, 69, 70, 130, 131, 132, 133, 90, 91, 135, 136, 137, 138, 9, 8, 7, 111, 139};
    EXPECT_EQ(Keys(writer.GetModel2ID()), subsystemOrder);
    EXPECT_EQ(Keys(writer.GetTuner2Str()), nameOrder);

    std::string name;
    EXPECT_TRUE(writer.GetTuner2Str().Find(PHILIPSTDA8275A, name));
    EXPECT_EQ(name, "PHILIPSTDA8275A");
    EXPECT_TRUE(writer.GetTuner2Str().Find(PANOSONIC_ENGE4326D, name));
    EXPECT_EQ(name, "PANOSONIC_ENGE4326D");
    EXPECT_TRUE(writer.GetTuner2Str().Find(TNF9533DIF, name));
    EXPECT_EQ(name, "TNF9533DIF");
}

TEST(Tables, SubsystemIdIsTheModelButForSixModelsAndNeverOne) {
    CEppromWriter writer;
    const CEppromWriter::CModel2ID& table = writer.GetModel2ID();
    std::map<int, int> differing;
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].first != table[i].second) differing[table[i].first] = table[i].second;
        EXPECT_NE(table[i].second, 1) << "a subsystem byte of 1 marks product 5";
    }
    EXPECT_EQ(differing, (std::map<int, int>{{1, 17}, {54, 56}, {55, 57}, {56, 54}, {57, 55}, {72, 16}}));

    TunerSubSystemID id = 77;
    for (int model : {6, 16, 99}) {
        EXPECT_FALSE(table.Find(TUNER_MODEL(model), id));
        EXPECT_EQ(id, 77);
    }
}

TEST(Tables, ProductTablesNameEveryTypeAndPublishTheProductIDs) {
    CEppromWriter writer;
    EXPECT_EQ(writer.GetProduct2Str().size(), 38u);
    EXPECT_EQ(writer.GetProduct2ID().size(), 36u);
    std::string name;
    EXPECT_TRUE(writer.GetProduct2Str().Find(PRODUCT_UNKNOWN, name));
    EXPECT_EQ(name, "Unknown");
    EXPECT_TRUE(writer.GetProduct2Str().Find(PRODUCT_KESHAR, name));
    EXPECT_EQ(name, "Keshar A+D");
    EXPECT_TRUE(writer.GetProduct2Str().Find(PRODUCT_PARNISH, name));
    EXPECT_EQ(name, "Parnish");
    EXPECT_FALSE(writer.GetProduct2Str().Find(EMProductType(37), name));
    EXPECT_EQ(name, "Parnish");

    EMProductID id = 5;
    EXPECT_FALSE(writer.GetProduct2ID().Find(PRODUCT_PARNISH, id));
    EXPECT_EQ(id, 5);
    EXPECT_TRUE(writer.GetProduct2ID().Find(PRODUCT_KESHAR, id));
    EXPECT_EQ(id, 0x83);
    EXPECT_TRUE(writer.GetProduct2ID().Find(PRODUCT_DALVREN, id));
    EXPECT_EQ(id, 0x34);
    EXPECT_EQ(Keys(writer.GetProduct2ID()),
              (std::vector<int>{4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 20, 22, 23, 24, 25, 26, 27,
                                28, 60, 29, 30, 31, 33, 32, 34, 35, 70, 80, 65, 36, 39, 38, 81, 82, 84}));
}

TEST(Tables, PairTablesFillOnceNameTablesAppendAgain) {
    RefillingWriter writer;
    writer.FillDeque();
    writer.FillProductDeq();
    EXPECT_EQ(writer.GetModel2ID().size(), 67u);
    EXPECT_EQ(writer.GetProduct2ID().size(), 36u);
    writer.FillProduct();
    writer.FillTuner();
    EXPECT_EQ(writer.GetProduct2Str().size(), 76u);
    EXPECT_EQ(writer.GetTuner2Str().size(), 134u);
}

TEST(Tables, FactoryLetterIsKnownForEveryListedModelOnly) {
    RefillingWriter writer;
    TUNER_FACTORY letter = TUNER_FACTORY_T;
    EXPECT_TRUE(writer.GetFactoryFromModel(letter, MODEL_UNKNOWN));
    EXPECT_EQ(letter, TUNER_FACTORY_NONE);
    for (int model : {6, 16, 18, 31, 36, 49, 51, 76, 89, 99, 101, 109, 112, 129, 140, 255}) {
        letter = TUNER_FACTORY_T;
        EXPECT_FALSE(writer.GetFactoryFromModel(letter, TUNER_MODEL(model))) << model;
        EXPECT_EQ(letter, TUNER_FACTORY_NONE);
    }
    EXPECT_TRUE(writer.GetFactoryFromModel(letter, XCEIVE3028SIF));
    EXPECT_EQ(letter, TUNER_FACTORY_E);
    EXPECT_TRUE(writer.GetFactoryFromModel(letter, FS5_1A5_BG1));
    EXPECT_EQ(letter, TUNER_FACTORY_C);
    EXPECT_TRUE(writer.GetFactoryFromModel(letter, TDVBC));
    EXPECT_EQ(letter, TUNER_FACTORY_D);
}

// Decoding, checking and comparing images, and reading a card's EEPROM.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "DunmorraTestSupport.h"
#include "dunmorra/EppromWriter.h"
#include "platform/runtime.h"

namespace {

class Checking : public ::testing::Test {
protected:
    std::vector<unsigned char> Image(EMProductType type, TUNER_MODEL model) {
        CMemData data;
        EXPECT_TRUE(writer.MakeEppromData(type, model, data));
        return std::vector<unsigned char>(data.GetData(), data.GetData() + data.GetDataSize());
    }
    std::vector<unsigned char> KeshImage(KeshTunerID id, TUNER_MODEL model) {
        CMemData data;
        EXPECT_TRUE(writer.MakeEppromData(PRODUCT_KESHAR, id, data, model));
        return std::vector<unsigned char>(data.GetData(), data.GetData() + data.GetDataSize());
    }
    CEppromWriter writer;
};

}  // namespace

TEST_F(Checking, CompareCountsOnlyTheRecordsItAdds) {
    std::vector<unsigned char> a(256, 0x10), b(256, 0x10);
    CVectorPairWord list;
    list.Add(0, 1, 2);
    list.Add(1, 1, 2);
    list.Add(2, 1, 2);
    EXPECT_EQ(CEppromWriter::CompareData(a.data(), 256, b.data(), 256, list), 0);
    b[7] = 0xAB;
    b[200] = 0x00;
    EXPECT_EQ(CEppromWriter::CompareData(a.data(), 256, b.data(), 256, list), 2);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[3], CPairWord(7, 0xAB10));
    EXPECT_EQ(list[4], CPairWord(200, 0x0010));
}

TEST_F(Checking, CompareOfDifferentLengthsOrNoDataAddsNothing) {
    std::vector<unsigned char> a(256, 0), b(255, 1);
    CVectorPairWord list;
    EXPECT_EQ(CEppromWriter::CompareData(a.data(), 256, b.data(), 255, list), 1);
    EXPECT_EQ(CEppromWriter::CompareData(b.data(), 255, a.data(), 256, list), -1);
    EXPECT_EQ(CEppromWriter::CompareData(nullptr, 256, a.data(), 256, list), -1);
    EXPECT_EQ(CEppromWriter::CompareData(a.data(), 256, b.data(), 0, list), -1);
    CMemData empty, full;
    full.Create(256, 0);
    EXPECT_EQ(CEppromWriter::CompareData(empty, full, list), -1);
    EXPECT_TRUE(list.empty());
}

TEST_F(Checking, EqualImagesCheckEqualWithOrWithoutAList) {
    std::vector<unsigned char> image = Image(PRODUCT_FENNOR, PHILIPS1216);
    CVectorPairWord list;
    list.Add(99, 0, 0);
    EXPECT_TRUE(writer.CheckEppromData(image.data(), 256, &list));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(writer.CheckEppromData(image.data(), 256, nullptr));

    image[100] = 0x00;
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, nullptr));
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, &list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], CPairWord(100, 0xFF00));
}

TEST_F(Checking, BlankShortAndUndecodableImagesFail) {
    std::vector<unsigned char> blank(256, 0xFF), zeros(256, 0x00);
    EXPECT_FALSE(writer.IsEppromDataWritten(blank.data(), 256));
    EXPECT_FALSE(writer.IsEppromDataWritten(zeros.data(), 256));
    EXPECT_FALSE(writer.IsEppromDataWritten(nullptr, 256));
    zeros[255] = 1;
    EXPECT_TRUE(writer.IsEppromDataWritten(zeros.data(), 256));
    EXPECT_EQ(writer.GetProductTypeFromData(blank.data(), 256), PRODUCT_UNKNOWN);
    EXPECT_FALSE(writer.CheckEppromData(blank.data(), 256, nullptr));
    EXPECT_FALSE(writer.CheckEppromData(blank.data(), 256, nullptr, PHILIPS1216));

    std::vector<unsigned char> image = Image(PRODUCT_CALDRITH, PHILIPS1216);
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 255), PRODUCT_UNKNOWN);
    EXPECT_EQ(writer.GetTunerModelFromData(image.data(), 255, PRODUCT_CALDRITH), MODEL_UNKNOWN);
    EXPECT_EQ(writer.GetTunerModelFromData(image.data(), 256, PRODUCT_UNKNOWN), MODEL_UNKNOWN);
    EXPECT_EQ(writer.GetKeshTunerModelFromData(image.data(), 255, PRODUCT_KESHAR), KESH_TUNER_ID_NONE);
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 255, nullptr));
}

TEST_F(Checking, Product24WithoutTunerModelPasses) {
    std::vector<unsigned char> image = Image(PRODUCT_RIVESK, PHILIPS1216);
    image[33] = 0;
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_RIVESK);
    EXPECT_TRUE(writer.CheckEppromData(image.data(), 256, nullptr));
    std::vector<unsigned char> other = Image(PRODUCT_CALDRITH, PHILIPS1216);
    other[33] = 0;
    EXPECT_FALSE(writer.CheckEppromData(other.data(), 256, nullptr));
}

TEST_F(Checking, MarkersDecideProducts29And30) {
    // Images made here carry no ProductID for these products; their markers decide.
    EXPECT_EQ(writer.GetProductTypeFromData(Image(PRODUCT_OMBRIT, PHILIPS1216).data(), 256), PRODUCT_OMBRIT);
    EXPECT_EQ(writer.GetProductTypeFromData(Image(PRODUCT_BELVOR, PHILIPS1216).data(), 256), PRODUCT_BELVOR);
}

TEST_F(Checking, MarkerRulesGoInTheirOrder) {
    std::vector<unsigned char> image(256, 0x00);
    auto put = [&](int position, const char* text) { memcpy(image.data() + position, text, strlen(text)); };
    put(100, "23418");
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_FIMBREL);
    put(100, "2341x");
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_UNKNOWN) << "byte 19 is not '0'";
    image[19] = '0';
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_NERROW);
    put(200, "2600");
    image[19] = 0;
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_DALVREN) << "the search went on past 2341";
    put(30, "2820");
    image[144] = 0x55;
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_UNKNOWN) << "2820 decides, by byte 144";
    EXPECT_TRUE(writer.IsIncludeStr(image.data(), 256, "2820"));
    EXPECT_FALSE(writer.IsIncludeStr(image.data(), 33, "2820"));
}

TEST_F(Checking, KeshImagesCheckAgainstTheirTunerModel) {
    std::vector<unsigned char> image = KeshImage(KeshTunerID(0x0021), PHILIPSTDA8275A);
    EXPECT_EQ(writer.GetProductTypeFromData(image.data(), 256), PRODUCT_KESHAR);
    EXPECT_EQ(writer.GetTunerModelFromData(image.data(), 256, PRODUCT_KESHAR), MODEL_UNKNOWN)
        << "product 84 keeps no tuner-model byte";
    EXPECT_EQ(writer.GetKeshTunerModelFromData(image.data(), 256, PRODUCT_KESHAR), KeshTunerID(0x0021));
    CVectorPairWord list;
    EXPECT_TRUE(writer.CheckEppromData(image.data(), 256, &list, PHILIPSTDA8275A));
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, &list, TCL2002N_1)) << "other letter and subsystem";
    EXPECT_FALSE(list.empty());
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, nullptr)) << "the ordinary check finds no tuner model";
}

TEST_F(Checking, KeshCheckOfAnotherProductUsesItsModelByte) {
    std::vector<unsigned char> image = Image(PRODUCT_CALDRITH, PHILIPS1216);
    EXPECT_EQ(writer.GetKeshTunerModelFromData(image.data(), 256, PRODUCT_CALDRITH), KeshTunerID(PHILIPS1216));
    EXPECT_TRUE(writer.CheckEppromData(image.data(), 256, nullptr, PHILIPS1216));
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, nullptr, TCL2002N_1));
}

// A card's bytes never reach an assertion of the image maker: a tuner-model byte whose model has
// no maker letter fails the check (the card shows "Data Error").
TEST_F(Checking, AModelByteWithoutAMakerFailsTheCheckWithoutAnAssertion) {
    std::vector<unsigned char> image = Image(PRODUCT_FENNOR, PHILIPS1216);
    const int position = 33;
    ASSERT_EQ(writer.GetTunerModelFromData(image.data(), 256, PRODUCT_FENNOR), TUNER_MODEL(image[position]));
    struct MakerLookup : CEppromWriter {
        using CEppromWriter::GetFactoryFromModel;
    } lookup;
    int makerless = 0;
    for (int model = 255; model > 0 && makerless == 0; --model) {
        TUNER_FACTORY factory;
        if (!lookup.GetFactoryFromModel(factory, TUNER_MODEL(model))) makerless = model;
    }
    ASSERT_NE(makerless, 0);
    image[position] = static_cast<unsigned char>(makerless);
    platform::ClearTrace();
    CVectorPairWord list;
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, &list));
    EXPECT_FALSE(writer.CheckEppromData(image.data(), 256, nullptr));
    std::vector<unsigned char> kesh = KeshImage(KeshTunerID(0x0021), PHILIPSTDA8275A);
    EXPECT_FALSE(writer.CheckEppromData(kesh.data(), 256, nullptr, TUNER_MODEL(makerless)));
    EXPECT_FALSE(platform::TraceContains("Assertion failed"));
}

TEST_F(Checking, ReadEepromStopsAtTheFirstFailedByte) {
    FakeEeprom card;
    std::vector<unsigned char> image = Image(PRODUCT_CALDRITH, PHILIPS1216);
    card.Fill(image.data(), 256);
    CMemData data;
    ASSERT_TRUE(writer.ReadEeprom(&card, data));
    EXPECT_EQ(std::vector<unsigned char>(data.GetData(), data.GetData() + 256), image);
    EXPECT_TRUE(writer.CheckEppromData(&card, nullptr));
    EXPECT_TRUE(writer.CheckEppromData(&card, nullptr, PHILIPS1216));

    card.FailReadAt(10);
    EXPECT_FALSE(writer.ReadEeprom(&card, data));
    ASSERT_EQ(data.GetDataSize(), 256);
    EXPECT_EQ(std::vector<unsigned char>(data.GetData(), data.GetData() + 10),
              std::vector<unsigned char>(image.begin(), image.begin() + 10));
    for (int i = 10; i < 256; ++i) EXPECT_EQ(data.GetData()[i], 0) << i;
    EXPECT_FALSE(writer.CheckEppromData(&card, nullptr));

    CMemData untouched;
    untouched.Create(3, 7);
    EXPECT_FALSE(writer.ReadEeprom(nullptr, untouched));
    EXPECT_EQ(untouched.GetDataSize(), 3);
}

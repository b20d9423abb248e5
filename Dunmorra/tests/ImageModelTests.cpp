// The image model: owned buffers, images with their field maps, position-byte lists and maps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dunmorra/EppromCreator.h"
#include "dunmorra/EppromWriter.h"
#include "dunmorra/eppromdata.h"
#include "dunmorra/memdata.h"

namespace {

// A field map that counts its destructions.
class CountedInfo : public CEppromInfo {
public:
    explicit CountedInfo(int* deaths) : m_deaths(deaths) {}
    ~CountedInfo() override { ++*m_deaths; }

private:
    int* m_deaths;
};

unsigned char* NewBytes(int size, unsigned char value) {
    unsigned char* bytes = new unsigned char[size];
    memset(bytes, value, size);
    return bytes;
}

CEppromInfo* NewInfo(EMProductType type) {
    CEppromCreator creator;
    CEppromInfo* info = nullptr;
    EXPECT_TRUE(creator.GetEppromInfo(type, &info));
    return info;
}

}  // namespace

TEST(MemData, CopiesAreDeepAndSelfAssignmentKeepsTheBytes) {
    CMemData a;
    ASSERT_TRUE(a.Create(8, 0x11));
    CMemData b(a);
    EXPECT_NE(b.GetData(), a.GetData());
    EXPECT_TRUE(b.Equal(a));
    b.GetData()[0] = 0x22;
    EXPECT_FALSE(b.Equal(a));
    b = a;
    EXPECT_TRUE(b.Equal(a));
    unsigned char* held = b.GetData();
    b = b;
    b.Assign(b);
    EXPECT_EQ(b.GetData(), held);
    EXPECT_EQ(b.GetDataSize(), 8);
    CMemData empty;
    b = empty;
    EXPECT_FALSE(b.IsValid());
}

TEST(MemData, CreateAndCopyRefuseNothingAndKeepWhatTheyHeld) {
    CMemData data;
    ASSERT_TRUE(data.Create(4, 0xAB));
    EXPECT_FALSE(data.Create(0, 0x00));
    EXPECT_FALSE(data.Copy(nullptr, 4));
    unsigned char byte = 1;
    EXPECT_FALSE(data.Copy(&byte, 0));
    ASSERT_EQ(data.GetDataSize(), 4);
    EXPECT_EQ(data.GetData()[3], 0xAB);
    EXPECT_FALSE(CMemData().Equal(CMemData()));
}

TEST(MemData, CopyOfItsOwnBytesKeepsThem) {
    CMemData data;
    ASSERT_TRUE(data.Create(64, 0));
    for (int i = 0; i < 64; ++i) data.GetData()[i] = static_cast<unsigned char>(0xC0 + i);
    ASSERT_TRUE(data.Copy(data.GetData(), 64));
    ASSERT_EQ(data.GetDataSize(), 64);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(data.GetData()[i], 0xC0 + i) << i;
    ASSERT_TRUE(data.Copy(data.GetData() + 16, 32));
    ASSERT_EQ(data.GetDataSize(), 32);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(data.GetData()[i], 0xD0 + i) << i;
}

TEST(MemData, ResetTakesOverOtherBuffersButNotItsOwn) {
    CMemData data(NewBytes(4, 1), 4);
    unsigned char* held = data.GetData();
    data.Reset(held, 2);
    EXPECT_EQ(data.GetDataSize(), 4) << "the same pointer changes nothing, even with another size";
    data.Reset(NewBytes(6, 2), 6);
    EXPECT_EQ(data.GetDataSize(), 6);
    CMemData other(NewBytes(3, 3), 3);
    data.Reset(other);
    EXPECT_EQ(data.GetDataSize(), 3);
    EXPECT_FALSE(other.IsValid());
    data.Reset(data);
    EXPECT_EQ(data.GetDataSize(), 3);
    unsigned char* taken = data.GetData();
    data.SetNull();
    delete[] taken;
    EXPECT_FALSE(data.IsValid());
}

TEST(EppromData, TakesOverBufferAndMapAndDeletesBoth) {
    int deaths = 0;
    CMemData source(NewBytes(16, 0xFF), 16);
    {
        CEppromData image(source, new CountedInfo(&deaths));
        EXPECT_FALSE(source.IsValid());
        EXPECT_EQ(source.GetData(), nullptr);
        EXPECT_TRUE(image.IsValid());
        EXPECT_EQ(image.GetDataSize(), 16);
    }
    EXPECT_EQ(deaths, 1);
    CEppromData noMap(NewBytes(4, 0), 4, nullptr);
    EXPECT_FALSE(noMap.IsValid());
}

TEST(EppromData, ResetReleasesWhatItHeldBeforeTakingOver) {
    int deaths = 0;
    CEppromData held(NewBytes(8, 1), 8, new CountedInfo(&deaths));
    CEppromData other(NewBytes(4, 2), 4, new CountedInfo(&deaths));
    CountedInfo* otherInfo = static_cast<CountedInfo*>(other.GetInfo());
    held.Reset(other);
    EXPECT_EQ(deaths, 1) << "the map held before is deleted";
    EXPECT_EQ(held.GetInfo(), otherInfo);
    EXPECT_EQ(held.GetDataSize(), 4);
    EXPECT_FALSE(other.IsValid());
    held.Reset(held);
    EXPECT_TRUE(held.IsValid());

    // The pointer form takes over only when both differ from what is held.
    CountedInfo* refused = new CountedInfo(&deaths);
    held.Reset(held.GetData(), 4, refused);
    EXPECT_EQ(held.GetInfo(), otherInfo);
    delete refused;
}

TEST(EppromData, ResetDataKeepsTheMap) {
    int deaths = 0;
    CEppromData image(NewBytes(8, 1), 8, new CountedInfo(&deaths));
    CEppromInfo* info = image.GetInfo();
    CMemData data(NewBytes(3, 9), 3);
    image.ResetData(data);
    EXPECT_EQ(image.GetInfo(), info);
    EXPECT_EQ(image.GetDataSize(), 3);
    EXPECT_EQ(image.GetData()[0], 9);
    EXPECT_FALSE(data.IsValid());
    EXPECT_EQ(deaths, 0);
}

TEST(VectorPair, WordsAreHighByteFirstAndStringsHaveNoTerminator) {
    CVectorPairByte vec;
    vec.SetWord(10, 0x1234);
    EXPECT_EQ(vec, (CVectorPairByte{{{10, 0x12}, {11, 0x34}}}));
    vec.SetString(20, "Qel");
    EXPECT_EQ(vec, (CVectorPairByte{{{20, 'Q'}, {21, 'e'}, {22, 'l'}}}));
    vec.AddByte(5, 0x55);
    vec.SetByte(7, 0x77);
    EXPECT_EQ(vec, (CVectorPairByte{{{7, 0x77}}}));

    CVectorPairWord differences;
    differences.Add(3, 0x12, 0xAB);
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0], CPairWord(3, 0xAB12));
}

TEST(FieldMap, Product4KeepsItsCompanyAtTheStartOfTheImage) {
    CEppromWriter writer;
    CEppromData image;
    ASSERT_TRUE(writer.MakeEppromData(PRODUCT_AMBREL, TCL2002N_1, image));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(image.GetData()), 11), "VORLANEZoqa");
}

TEST(FieldMap, Saa713xSubsystemFieldHoldsLowByteAndProductID) {
    CEppromInfo* info = NewInfo(PRODUCT_CALDRITH);
    info->SetSubWindowID(0x0311);
    EXPECT_EQ(info->GetSubWindowID(), (CVectorPairByte{{{3, 0x20}, {2, 0x11}}}));
    delete info;
}

TEST(FieldMap, ProductsWithoutSubsystemFieldIgnoreIt) {
    for (EMProductType type : {PRODUCT_AMBREL, PRODUCT_BOSQUIN, PRODUCT_OMBRIT, PRODUCT_BELVOR}) {
        CEppromInfo* info = NewInfo(type);
        info->SetSubWindowID(0x0011);
        info->SetVendor(0x1131);
        info->SetModelHigh(0x12);
        EXPECT_TRUE(info->GetSubWindowID().empty()) << type;
        EXPECT_TRUE(info->GetVendor().empty()) << type;
        EXPECT_TRUE(info->GetModelHigh().empty()) << type;
        delete info;
    }
}

TEST(FieldMap, WritesOnlyPairsInsideTheBuffer) {
    CEppromInfo* info = NewInfo(PRODUCT_ELVATH);
    info->SetModel(LGH200T);  // 193, plus bytes 8, 10, 20, 35 and 56
    info->SetFactory('L');    // 192
    unsigned char buffer[40];
    memset(buffer, 0xEE, sizeof(buffer));
    info->WriteTo(buffer, sizeof(buffer));
    EXPECT_EQ(buffer[8], 0x00);
    EXPECT_EQ(buffer[10], 0x24);
    EXPECT_EQ(buffer[20], 0x5E);
    EXPECT_EQ(buffer[35], 0x02);
    EXPECT_EQ(buffer[39], 0xEE);
    info->WriteTo(nullptr, 256);
    delete info;
}

TEST(FieldMap, OverlappingFieldsAreNotUnique) {
    // Product 65 keeps its vendor word at 18-19 and its subsystem field at 18-19 as well; the
    // library never sets its vendor, so its images stay consistent.
    CEppromInfo* info = NewInfo(PRODUCT_JORSK);
    info->SetSubWindowID(0x0011);
    info->SetModel(1);
    EXPECT_TRUE(info->IsPosUnique());
    info->SetVendor(0x1131);
    EXPECT_FALSE(info->IsPosUnique());
    delete info;
}

TEST(FieldMap, FormatsItsFieldsSlotBySlot) {
    CEppromWriter writer;
    CEppromInfo* info = NewInfo(PRODUCT_PARNISH);
    info->SetSubWindowID(0x0011);
    info->SetModel(0x5C);
    info->SetFactory('P');
    EXPECT_EQ(std::string(writer.FormatInfo(*info)),
              "Vendor :\n"
              "SubWindowID : \n"
              "Pos : 03, Data : 83 \nPos : 02, Data : 11 \n"
              "Company : \n"
              "Pos : 14, Data : 56 \nPos : 15, Data : 4f \nPos : 16, Data : 52 \nPos : 17, Data : 4c \n"
              "Pos : 18, Data : 41 \nPos : 19, Data : 4e \nPos : 1a, Data : 45 \n"
              "Chipset : \n"
              "Pos : 1b, Data : 51 \nPos : 1c, Data : 65 \nPos : 1d, Data : 6c \n"
              "Model: \n"
              "Pos : 21, Data : 5c \n"
              "Factory : \n"
              "Pos : 20, Data : 50 \n");
    CPairByte pair(0x41, 0x07);
    EXPECT_EQ(std::string(writer.FormatPair(pair)), "Pos : 41, Data : 07 \n");
    delete info;
}

// The station settings in "ConfigTest.txt": what is read at start and what is written back.
#include <gtest/gtest.h>

#include "PelvatroDlg.h"
#include "StationTestSupport.h"
#include "graph/TunerModelNames.h"

using namespace station_test;

namespace {

std::string TunerSectionName(int model) {
    CString name;
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(model), name);
    return name.str();
}

std::string SettingsPath() { return HomeFile("ConfigTest.txt"); }

TEST(StationSettingsTest, ReadsEverySettingOfTheFile) {
    WriteFileBytes(SettingsPath(), Gbk("[Eeprom]\r\nProductType=83\r\nTunerModel=95\r\nShutDown=1\r\nHotPlugBus=1\r\n"
                                       "[Remote]\r\n12=Power\r\nMute=静音\r\n12=电源\r\n"
                                       "[Type]\r\nMachine=2\r\n[TimeDelay]\r\nRemote=300\r\n"
                                       "[" + TunerSectionName(95) + "]\r\nProduct=电视卡;comment\r\nCountry=China\r\n"
                                       "Support=PAL\r\nCharacter=FM,AV,SV\r\n"));
    CPelvatroDlg dlg;
    ASSERT_TRUE(dlg.LoadConfig(SettingsPath().c_str()));
    EXPECT_EQ(dlg.m_nProductType, 83);
    EXPECT_EQ(dlg.m_nTunerModel, 95);
    EXPECT_EQ(dlg.m_nShutDown, 1);
    EXPECT_EQ(dlg.m_nHotPlugBus, 1);
    EXPECT_EQ(dlg.m_nMachine, 2);
    EXPECT_EQ(dlg.m_nTimeDelayRemote, 300);
    EXPECT_EQ(dlg.m_mapRemote.GetCount(), 2);
    CString name;
    EXPECT_TRUE(dlg.m_mapRemote.Lookup(12, name));
    EXPECT_EQ(name, "电源") << "a later key with the same number replaces the earlier one";
    EXPECT_TRUE(dlg.m_mapRemote.Lookup(0, name)) << "a key that is not a number maps to 0";
    EXPECT_EQ(name, "静音");
    EXPECT_EQ(dlg.m_strProduct, "电视卡");
    EXPECT_EQ(dlg.m_strCountry, "China");
    EXPECT_EQ(dlg.m_strSupport, "PAL");
    ASSERT_EQ(dlg.m_listCharacter.GetCount(), 3);
    EXPECT_EQ(dlg.m_listCharacter.GetTail(), "SV");
}

TEST(StationSettingsTest, MissingTunerModelKeyLeavesTheTunerModel) {
    WriteFileBytes(SettingsPath(), "[Eeprom]\r\nProductType=83\r\n");
    CPelvatroDlg dlg;
    dlg.m_nTunerModel = 62;
    ASSERT_TRUE(dlg.LoadConfig(SettingsPath().c_str()));
    EXPECT_EQ(dlg.m_nProductType, 83);
    EXPECT_EQ(dlg.m_nTunerModel, 62) << "the ProductType value is not a tuner model";
}

TEST(StationSettingsTest, TunerModelWithoutNameReadsNoSection) {
    ASSERT_TRUE(TunerSectionName(9999).empty());
    WriteFileBytes(SettingsPath(), "[Eeprom]\r\nTunerModel=9999\r\n[]\r\nProduct=nameless\r\nCharacter=x\r\n");
    CPelvatroDlg dlg;
    ASSERT_TRUE(dlg.LoadConfig(SettingsPath().c_str()));
    EXPECT_EQ(dlg.m_nTunerModel, 9999);
    EXPECT_TRUE(dlg.m_strProduct.IsEmpty());
    EXPECT_EQ(dlg.m_listCharacter.GetCount(), 0);
}

TEST(StationSettingsTest, MissingFileIsNeitherReadNorCreated) {
    CPelvatroDlg dlg;
    EXPECT_FALSE(dlg.LoadConfig(SettingsPath().c_str()));
    EXPECT_EQ(dlg.m_nProductType, 0);
    dlg.m_nMachine = 2;
    dlg.SaveConfig();
    EXPECT_FALSE(FileExists(SettingsPath()));
}

TEST(StationSettingsTest, StrayBytesAndGbkTextComeBackAsTheyWereButForTheStationKind) {
    // A UTF-8 file whose comment ends in a stray byte right before a header, and a GBK file with
    // one bad byte in a Chinese line.
    const std::string utf8 = "// 工位设定\r\n; note \xFF\r\n[Type]\r\nMachine=1\r\n[Eeprom]\r\nProductType=84 ; 产品\r\n";
    const std::string gbkBad = Gbk("// 工位") + "\xFF" + Gbk("设定\r\n[Eeprom]\r\nProductType=84 ; 产品\r\n");
    const std::string gbk = gbkBad + Gbk("[Type]\r\nMachine=1\r\n");
    for (const std::string& original : {utf8, gbk}) {
        WriteFileBytes(SettingsPath(), original);
        CPelvatroDlg dlg;
        ASSERT_TRUE(dlg.LoadConfig(SettingsPath().c_str()));
        EXPECT_EQ(dlg.m_nMachine, 1);
        EXPECT_EQ(dlg.m_nProductType, 84);
        dlg.m_nMachine = 2;
        dlg.SaveConfig();
        std::string expected = original;
        expected.replace(expected.find("Machine=1"), 9, "Machine=2");
        EXPECT_EQ(ReadFileBytes(SettingsPath()), expected);
        CPelvatroDlg again;
        ASSERT_TRUE(again.LoadConfig(SettingsPath().c_str()));
        EXPECT_EQ(again.m_nMachine, 2) << "[Type] stayed a header of its own";
    }
}

}  // namespace

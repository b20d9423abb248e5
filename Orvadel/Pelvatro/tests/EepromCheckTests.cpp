// What a card's EEPROM holds, as the sheet checks it and the EEPROM page's card list shows it,
// and the page's answer to a device change on a hot-plug bus.
#include <gtest/gtest.h>

#include "CardMan.h"
#include "StationRun.h"
#include "cards/base/TVCardFilter.h"
#include "graph/TunerModelNames.h"
#include "hwsim/chips/Eeprom24C02.h"

using namespace station_test;

namespace {

std::string ListText(HWND list, int row, int column) {
    CListCtrl* control = static_cast<CListCtrl*>(CWnd::FromHandlePermanent(list));
    return control->GetItemText(row, column).str();
}

TEST_F(StationRun, CheckReadsWhatEachCardHolds) {
    Plug(KeshBench(2));
    PressOk();
    CloseAtTheEnd([&] {
        // Card 1 loses a byte of its company string after the write.
        Card(1).Eeprom().Poke(0x5A, 'X');
        CTestSheet* sheet = Sheet();
        CCardInfo written, damaged;
        ASSERT_TRUE(sheet->CheckCardEeprom(sheet->GetCard(0), &written));
        EXPECT_EQ(written.m_nProductType, 84);
        EXPECT_EQ(written.m_nTunerModel, 95);
        EXPECT_EQ(written.m_nState, CCardInfo::StateCorrect);
        EXPECT_EQ(written.m_strCapture, "713x BDA Analog Capture");
        EXPECT_EQ(written.m_nIndex, 0);
        CTunerBase* tuner = sheet->GetCard(0)->GetCardFilter()->CreateTuner(95);
        ASSERT_NE(tuner, nullptr);
        EXPECT_EQ(written.m_bFM, tuner->IsFMCapable() ? 1 : 0);
        delete tuner;

        ASSERT_TRUE(sheet->CheckCardEeprom(sheet->GetCard(1), &damaged));
        EXPECT_EQ(damaged.m_nState, CCardInfo::StateWritten) << "written, but not the image";
        EXPECT_EQ(damaged.m_nIndex, 1);

        CCardInfo none;
        EXPECT_FALSE(sheet->CheckCardEeprom(nullptr, &none));

        Page()->InitCardList();
        for (int row = 0; row < 2; ++row) Page()->AddCardRow(row, sheet->GetCard(row));
        HWND list = op.Find(IDC_CARD_LIST);
        CString tunerName;
        GetTunerModelNames().Find(static_cast<TUNER_MODEL>(95), tunerName);
        EXPECT_EQ(ListText(list, 0, 1), "0");
        EXPECT_EQ(ListText(list, 0, 2), "Keshar A+D");
        EXPECT_EQ(ListText(list, 0, 3), "0");
        EXPECT_EQ(ListText(list, 0, 4), tunerName.str());
        EXPECT_EQ(ListText(list, 0, 6), "OK");
        EXPECT_EQ(ListText(list, 1, 3), "1");
        EXPECT_EQ(ListText(list, 1, 6), "Data Error");
    });
    RunProgram();
}

TEST_F(StationRun, BlankCardChecksAsNotWritten) {
    Plug(KeshBench(1));
    op.Then([&] {
        CTestSheet* sheet = Sheet();
        ASSERT_TRUE(sheet->CreateCards());
        CCardInfo info;
        info.m_nProductType = 7;
        ASSERT_TRUE(sheet->CheckCardEeprom(sheet->GetCard(0), &info));
        EXPECT_EQ(info.m_nState, CCardInfo::StateNotWritten);
        EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
    });
    RunProgram();
}

TEST_F(StationRun, DeviceChangeOffersTheRestartOnlyAfterTheWrites) {
    Plug(KeshBench(1));
    op.Then([&] {
        MainDialog()->m_nHotPlugBus = 1;
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
        op.SendDeviceChange(DBT_DEVNODES_CHANGED);
    });
    op.Then([&] {
        EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting);
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试") << "a device change while writes run changes nothing";
        EXPECT_FALSE(op.IsEnabled(IDC_PASS));
    });
    CloseAtTheEnd([&] {
        op.SendDeviceChange(DBT_DEVNODES_CHANGED);
        op.PumpUntilIdle();
        EXPECT_EQ(op.Text(IDC_PASS), "重启程序");
        EXPECT_TRUE(op.IsEnabled(IDC_PASS));
    });
    RunProgram();
}

}  // namespace

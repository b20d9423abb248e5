#include "support/BoxBoard.h"

#include <atomic>
#include <filesystem>

#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/FimbrelDriver.h"
#include "platform/runtime.h"

namespace {

const hwsim::CardKind kBoxKind{"Test Encoder Box", "Test Box Crossbar", "Test Box Tuner", &hwsim::StandardPinLayout,
                               0xA2};
const hwsim::CardKind kFimbrelKind{"Test Fimbrel Card", "Test Fimbrel Crossbar", "Test Fimbrel Tuner",
                                   &hwsim::StandardPinLayout, 0xA0};
constexpr int kPllModel = 4;  // a PLL module at 0xC0 with the 38.9 MHz IF

std::string FreshStateFile()
{
    static std::atomic<int> next{0};
    const std::filesystem::path dir = std::filesystem::path(platform::StateDir()) / "boxboards";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / ("board-" + std::to_string(next++) + ".bin");
    std::filesystem::remove(file);
    return file.string();
}

}  // namespace

BoxBoard::BoxBoard(Family family) : m_rf({{55250, "E3"}})
{
    hwsim::CardSpec desc;
    desc.kind = family == Family::Fimbrel ? &kFimbrelKind : &kBoxKind;
    desc.tunerModel = kPllModel;
    desc.eeprom.assign(256, 0xFF);
    m_card = std::make_unique<hwsim::Card>(desc, m_rf, FreshStateFile());
    auto fit = [this](const char* role, BYTE address7) {
        m_card->AddChip(role, std::make_unique<hwsim::RegisterFileDevice>(address7, 256));
    };
    fit("remote", 0x5D);
    if (family == Family::Fimbrel) {
        m_driver = std::make_shared<hwsim::FimbrelDriver>(*m_card);
    } else {
        fit("decoder", 0x21);
        fit("device43", 0x43);
        if (family == Family::WolbryBox) fit("wolbry", 0x61);
        m_driver = std::make_shared<hwsim::BoxDriver>(*m_card);
    }
    auto* filter = new hwsim::CaptureFilter(m_driver);
    filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&m_filter));
    filter->Release();
}

BoxBoard::~BoxBoard()
{
    m_filter.Release();
    m_driver.reset();
    m_card.reset();
}

hwsim::PllTuner& BoxBoard::Tuner() { return *static_cast<hwsim::PllTuner*>(m_card->Chip("tuner")); }

hwsim::RegisterFileDevice& BoxBoard::Chip(const std::string& role)
{
    return *static_cast<hwsim::RegisterFileDevice*>(m_card->Chip(role));
}

void BoxBoard::Clear()
{
    m_driver->Log().Clear();
    m_card->Bus().ClearLog();
}

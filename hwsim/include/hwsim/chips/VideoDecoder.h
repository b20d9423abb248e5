// A video decoder on a card's I2C bus, as the tuners and the USB boxes read it: a file of 256
// byte registers that answers one-byte probes. Register 0x1F is the status: bit 6 is clear
// while the card's tuner delivers a picture and bit 5 set when that station has 525 lines;
// both are refreshed at the start of every read. Register 2 holds the input select, its low
// nibble the input: 2 the tuner (the value at power-on), 0 composite, 9 S-video; the status
// follows the tuner's picture only while the tuner is selected, and shows no picture on the
// other inputs. The other registers are plain.
#pragma once

#include <functional>
#include <optional>

#include "hwsim/bench/RfEnvironment.h"
#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

class VideoDecoder : public RegisterFileDevice {
public:
    static constexpr BYTE kAddress = 0x21;        // 0x42 on the bus
    static constexpr BYTE kStatus = 0x1F;
    static constexpr BYTE kNoPicture = 0x40;
    static constexpr BYTE k525Lines = 0x20;
    static constexpr BYTE kInputSelect = 0x02;
    static constexpr BYTE kTunerInput = 0x02;  // low nibble of the input select

    // The station whose picture reaches the decoder, if any.
    using PictureSource = std::function<std::optional<Station>()>;

    VideoDecoder(BYTE address7, PictureSource picture);

protected:
    bool OnSelect(bool read) override;

private:
    const PictureSource m_picture;
};

}  // namespace hwsim

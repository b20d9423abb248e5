// A video decoder on a card's I2C bus, as the tuners and the USB boxes read it.
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {

VideoDecoder::VideoDecoder(BYTE address7, PictureSource picture)
    : RegisterFileDevice(address7, 256), m_picture(std::move(picture)) {
    Poke(kStatus, kNoPicture);
    Poke(kInputSelect, kTunerInput);
}

bool VideoDecoder::OnSelect(bool read) {
    if (read) {
        const bool tuner = (Registers()[kInputSelect] & 0x0F) == kTunerInput;
        const std::optional<Station> station = tuner && m_picture ? m_picture() : std::nullopt;
        BYTE& status = Registers()[kStatus];
        status = static_cast<BYTE>(status & ~(kNoPicture | k525Lines));
        if (!station) status |= kNoPicture;
        else if (station->lines == 525) status |= k525Lines;
    }
    return RegisterFileDevice::OnSelect(read);
}

}  // namespace hwsim

// The station's own pictures, built into the program as packed DIBs: the application icon
// (IDR_MAINFRAME), the card list's two card images (IDB_CARD_LIST, white where transparent) and
// the remote page's remote control (IDB_REMOTE).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "Pictures.h"

#include "mfc/Resources.h"
#include "resource.h"

namespace {


using Painter = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB

// A packed DIB: the header, then the rows from the bottom.
std::vector<uint8_t> PackedDib(int width, int height, int bpp, const Painter& paint) {
    int stride = ((width * bpp + 31) / 32) * 4;
    std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER) + size_t(stride * height), 0);
    BITMAPINFOHEADER h{sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bpp), BI_RGB, DWORD(stride * height), 0, 0, 0, 0};
    std::memcpy(bytes.data(), &h, sizeof h);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bytes.data() + sizeof h + size_t(stride) * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t c = paint(x, y);
            uint8_t* p = row + size_t(x) * size_t(bpp / 8);
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
            if (bpp == 32) p[3] = uint8_t(c >> 24);
        }
    }
    return bytes;
}

bool In(int x, int y, int l, int t, int r, int b) { return x >= l && x < r && y >= t && y < b; }

// A capture card seen from above: a green board, a black chip, gold fingers; the second one
// carries a silver tuner can.
uint32_t Card(int x, int y, bool tuner) {
    if (In(x, y, 3, 18, 21, 21) && x % 2 == 1) return 0xD4A017;  // fingers
    if (!In(x, y, 1, 4, 23, 18)) return 0xFFFFFF;
    if (x == 1 || x == 22 || y == 4 || y == 17) return 0x0B4F1E;
    if (In(x, y, 4, 7, 11, 14)) return 0x202020;  // the decoder
    if (tuner && In(x, y, 13, 6, 21, 15)) return (x == 13 || y == 6) ? 0xF0F0F0 : 0xA8A8B0;
    if (!tuner && In(x, y, 14, 9, 18, 12)) return 0x303030;  // the EEPROM
    return 0x1E8C3A;
}

uint32_t Icon(int x, int y) {
    // A blue rounded tile with an EEPROM chip on it.
    int dx = std::min(x, 31 - x), dy = std::min(y, 31 - y);
    if (dx + dy < 3) return 0;  // transparent corners
    if (In(x, y, 9, 8, 23, 24)) return (x == 9 || y == 8) ? 0xFF505050 : 0xFF1A1A1A;
    if ((In(x, y, 5, 10, 9, 22) || In(x, y, 23, 10, 27, 22)) && y % 3 == 1) return 0xFFE0E0E0;  // legs
    if (In(x, y, 11, 10, 13, 12)) return 0xFFFFFFFF;  // the notch
    return (dx < 2 || dy < 2) ? 0xFF123C8C : 0xFF2A64C8;
}

uint32_t Remote(int x, int y) {
    // A dark remote control with a red power key and a grid of grey keys.
    if (!In(x, y, 8, 4, 72, 156)) return 0xFFFFFF;
    int dx = std::min(x - 8, 71 - x), dy = std::min(y - 4, 155 - y);
    if (dx + dy < 6) return 0xFFFFFF;
    if (In(x, y, 32, 14, 48, 26)) return 0xC82020;
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 3; ++col)
            if (In(x, y, 18 + col * 16, 40 + row * 18, 30 + col * 16, 50 + row * 18)) return 0xB4B4B4;
    return (dx < 2 || dy < 2) ? 0x101010 : 0x303036;
}

struct Pictures {
    std::vector<uint8_t> icon = PackedDib(32, 32, 32, Icon);
    std::vector<uint8_t> cards = PackedDib(48, 24, 24, [](int x, int y) { return Card(x % 24, y, x >= 24); });
    std::vector<uint8_t> remote = PackedDib(80, 160, 24, Remote);
    Pictures() {
        AfxRegisterResourceData(IDR_MAINFRAME, RT_ICON, icon.data(), DWORD(icon.size()));
        AfxRegisterResourceData(IDB_CARD_LIST, RT_BITMAP, cards.data(), DWORD(cards.size()));
        AfxRegisterResourceData(IDB_REMOTE, RT_BITMAP, remote.data(), DWORD(remote.size()));
    }
};

}  // namespace

bool RegisterStationPictures() {
    static const Pictures pictures;
    return true;
}

// The route table of every crossbar class: the input pin each class routes for sources 0, 1
// and 2, video and audio, as the classes' descriptions give them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cards/cx2388x/23881BootCardFilter.h"
#include "cards/cx2388x/23881CardFilter.h"
#include "cards/cx2388x/23881OgmundCardFilter.h"
#include "cards/saa713x/CranlowBaseFilter.h"
#include "cards/saa713x/CranlowCardFilter.h"
#include "cards/cx2388x/Cx2388xCardFilter.h"
#include "cards/saa713x/DirirCardFilter.h"
#include "cards/saa713x/DolbrayCardFilter.h"
#include "cards/saa713x/EbrinCardFilter.h"
#include "cards/trident/ElgrinCardFilter.h"
#include "cards/usb/Em2800Filter.h"
#include "cards/usb/Em2820Filter.h"
#include "cards/usb/Em2821Filter.h"
#include "cards/encoders/FimbrelCardFilter.h"
#include "cards/saa713x/FosbryCardFilter.h"
#include "cards/saa713x/GrelmoCardFilter.h"
#include "cards/encoders/JorskFilters.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/MovrikCardFilter.h"
#include "cards/encoders/Mpeg2BoxFilter.h"
#include "cards/saa713x/OemCardFilter.h"
#include "cards/devices/PcieFilter.h"
#include "cards/saa713x/PipCardFilter.h"
#include "cards/encoders/PriskoCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "cards/encoders/RiveskCardFilter.h"
#include "cards/saa713x/SivrenCardFilter.h"
#include "cards/cx2388x/TV2388xCardFilter.h"
#include "cards/saa713x/TV713xCardFilter.h"
#include "cards/saa713x/TVAVCardFilter.h"
#include "cards/saa713x/TV_IOFilter.h"
#include "cards/trident/TridentFilter.h"
#include "cards/trident/TridentUsbFilter.h"
#include "cards/usb/UsbCard2881Filter.h"
#include "cards/usb/UsbTVBoxFilter.h"
#include "cards/usb/UsbTVFilter.h"
#include "cards/saa713x/VozeCardFilter.h"
#include "cards/saa713x/WadrelCardFilter.h"
#include "cards/trident/WandryCardFilter.h"
#include "cards/usb/WolbryCardFilter.h"
#include "cards/cx2388x/YelvinCardFilter.h"
#include "cards/trident/YolmCardFilter.h"

namespace {

struct RouteRow {
    const char* name;
    std::function<CCrossbarFilter*()> make;
    int video[3];
    int audio[3];
};

template <class Crossbar>
std::function<CCrossbarFilter*()> Make() {
    return [] { return new Crossbar(nullptr, CLSID_NULL); };
}

const std::vector<RouteRow>& RouteRows() {
    static const std::vector<RouteRow> rows = {
        // The default table.
        {"C713xCrossbarFilter", Make<C713xCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CTVAVCrossbarFilter", Make<CTVAVCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CEbrinCrossbarFilter", Make<CEbrinCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CCranlowBaseCrossbarFilter", Make<CCranlowBaseCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CCranlowCrossbarFilter", Make<CCranlowCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"COemCrossbarFilter", Make<COemCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CGrelmoCrossbarFilter", Make<CGrelmoCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CFosbryCrossbarFilter", Make<CFosbryCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CDolbrayCrossbarFilter", Make<CDolbrayCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CKesh713xCrossbarFilter", Make<CKesh713xCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CQelCrossbarFilter", Make<CQelCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CPcieCrossbarFilter", Make<CPcieCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CDirirCrossbarFilter", Make<CDirirCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CPipCrossbarFilter", Make<CPipCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CWadrelCrossbarFilter", Make<CWadrelCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CSivrenCrossbarFilter", Make<CSivrenCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CMovrikCrossbarFilter", Make<CMovrikCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CVozeCrossbarFilter", Make<CVozeCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CTV_IOCrossbarFilter", Make<CTV_IOCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        {"CWolbryCrossbarFilter", Make<CWolbryCrossbarFilter>(), {0, 1, 2}, {3, 4, 5}},
        // Audio from input 4.
        {"CUsbTVCrossbarFilter", Make<CUsbTVCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CEm2800CrossbarFilter", Make<CEm2800CrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CUsbTVBoxCrossbarFilter", Make<CUsbTVBoxCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CEm2821CrossbarFilter", Make<CEm2821CrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CTridentCrossbarFilter", Make<CTridentCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CTridentUsbCrossbarFilter", Make<CTridentUsbCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CTridentYolmCrossbarFilter", Make<CTridentYolmCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CElgrinCrossbarFilter", Make<CElgrinCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CWandryCrossbarFilter", Make<CWandryCrossbarFilter>(), {0, 1, 2}, {4, 5, 6}},
        {"CEm2820CrossbarFilter", Make<CEm2820CrossbarFilter>(), {1, 2, 3}, {4, 5, 6}},
        {"CUsbCard2881CrossbarFilter", Make<CUsbCard2881CrossbarFilter>(), {1, 2, 3}, {4, 5, 6}},
        // The CX2388x family.
        {"CCx2388xCrossbarFilter", Make<CCx2388xCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"C23881CrossbarFilter", Make<C23881CrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"C23881BootCrossbarFilter", Make<C23881BootCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"C23881OgmundCrossbarFilter", Make<C23881OgmundCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"CYelvinCrossbarFilter", Make<CYelvinCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"CTV2388xCrossbarFilter", Make<CTV2388xCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        // Tables of their own.
        {"CFimbrelCrossbarFilter", Make<CFimbrelCrossbarFilter>(), {0, 1, 2}, {5, 6, 7}},
        {"CWisCrossbarFilter", Make<CWisCrossbarFilter>(), {0, 1, 2}, {3, 4, 4}},
        {"CJorskCrossbarFilter", Make<CJorskCrossbarFilter>(), {0, 1, 2}, {3, 4, 4}},
        // Tables by pin count (the encoder card tests choose them on boards): here no pins, so
        // at most five for the MPEG-2 box and not seven for the Rivesk and Prisko crossbars.
        {"CMpeg2BoxCrossbarFilter", Make<CMpeg2BoxCrossbarFilter>(), {-1, 0, 1}, {-1, 2, -1}},
        {"CRiveskCrossbarFilter", Make<CRiveskCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
        {"CPriskoCrossbarFilter", Make<CPriskoCrossbarFilter>(), {1, 2, 0}, {4, 5, 6}},
    };
    return rows;
}

TEST(CrossbarRouteTables, EveryCrossbarClassRoutesTheInputsOfItsTable) {
    for (const RouteRow& row : RouteRows()) {
        std::unique_ptr<CCrossbarFilter> crossbar(row.make());
        crossbar->InitRouteTable();
        for (int source = 0; source < 3; ++source) {
            EXPECT_EQ(row.video[source], crossbar->GetVideoRoute(source)) << row.name << " source " << source;
            EXPECT_EQ(row.audio[source], crossbar->GetAudioRoute(source)) << row.name << " source " << source;
        }
    }
}

}  // namespace

// CTuner_P97 sits with the other modules of its maker; the USB card filter includes it here.
#pragma once

#include "tuners/TunerModulesP.h"

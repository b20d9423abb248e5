// The station's pictures (application icon, card list, remote control) as resources.
#pragma once

// Registers them with the resource table (once; later calls do nothing).
bool RegisterStationPictures();

// DirectShow as the system's code includes it: COM, the stream and control interfaces, GUIDs,
// event and result codes, video and audio formats and the media-type helpers.
#pragma once

#include "windows.h"
#include "objbase.h"
#include "strmif.h"
#include "control.h"
#include "uuids.h"
#include "evcode.h"
#include "vfwmsgs.h"
#include "amvideo.h"
#include "dvdmedia.h"
#include "mmreg.h"
#include "mtype.h"
#include "ksproxy.h"

// The audio mixers: the table the simulated PC fills and the winmm mixer calls over it.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/mixertable.h"
#include "platform/runtime.h"

namespace platform {

namespace {

constexpr DWORD kDestinationLineId = 0xFFFF0000;
constexpr uintptr_t kFirstHandle = 0x10000;  // above every mixer identifier

struct Control {
    DWORD id;
    MixerControlSpec desc;
};

struct Line {
    std::string name;
    DWORD componentType;
    std::vector<Control> controls;
};

struct Mixer {
    MixerId id;
    std::string productName;
    Line destination;
    std::vector<Line> sources;
};

struct MixerState {
    std::mutex lock;
    std::vector<Mixer> mixers;
    std::map<uintptr_t, MixerId> handles;
    uintptr_t nextHandle = kFirstHandle;
    MixerId nextId = 1;
    MixerId waveOut = 0;
    MixerCounts counts;
};

MixerState& State() {
    static MixerState* state = new MixerState;  // lives as long as the process
    return *state;
}

bool Failing(const char* call, MMRESULT* result) {
    LONG error = 0;
    if (!FailuresInjected() || !ShouldFail(call, &error)) return false;
    *result = error ? MMRESULT(error) : MMSYSERR_ERROR;
    return true;
}

Line MakeLine(const MixerLineSpec& desc, DWORD* nextControl) {
    Line line{desc.name, desc.componentType, {}};
    for (const MixerControlSpec& control : desc.controls) line.controls.push_back({(*nextControl)++, control});
    return line;
}

Mixer* FindMixer(MixerState& s, MixerId id) {
    for (Mixer& mixer : s.mixers) {
        if (mixer.id == id) return &mixer;
    }
    return nullptr;
}

// The mixer an object names under `flags` (the state locked).
MMRESULT Resolve(MixerState& s, uintptr_t object, DWORD flags, Mixer** mixer) {
    const bool handle = (flags & MIXER_OBJECTF_HANDLE) != 0;
    const DWORD kind = flags & (MIXER_OBJECTF_TYPEMASK & ~DWORD(MIXER_OBJECTF_HANDLE));
    const bool isOpenHandle = s.handles.count(object) != 0;
    if (handle) {
        if (kind != MIXER_OBJECTF_MIXER || !isOpenHandle) return MMSYSERR_INVALHANDLE;
        *mixer = FindMixer(s, s.handles[object]);
        return *mixer ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    }
    if (isOpenHandle) return MMSYSERR_INVALHANDLE;
    if (kind == MIXER_OBJECTF_MIXER) {
        if (object >= s.mixers.size()) return MMSYSERR_BADDEVICEID;
        *mixer = &s.mixers[object];
        return MMSYSERR_NOERROR;
    }
    if (kind == MIXER_OBJECTF_WAVEOUT && object == 0) {
        *mixer = FindMixer(s, s.waveOut);
        return *mixer ? MMSYSERR_NOERROR : MMSYSERR_NODRIVER;
    }
    return MMSYSERR_BADDEVICEID;
}

void CopyName(char* to, size_t size, const std::string& from) {
    const size_t n = std::min(size - 1, from.size());
    std::memcpy(to, from.data(), n);
    to[n] = 0;
}

// The line with `lineId`; null when the mixer has none.
Line* LineById(Mixer& mixer, DWORD lineId, DWORD* sourceIndex) {
    if (lineId == kDestinationLineId) return &mixer.destination;
    if (lineId >= mixer.sources.size()) return nullptr;
    *sourceIndex = lineId;
    return &mixer.sources[lineId];
}

Control* ControlById(Mixer& mixer, DWORD controlId) {
    auto find = [controlId](Line& line) -> Control* {
        for (Control& control : line.controls) {
            if (control.id == controlId) return &control;
        }
        return nullptr;
    };
    if (Control* found = find(mixer.destination)) return found;
    for (Line& line : mixer.sources) {
        if (Control* found = find(line)) return found;
    }
    return nullptr;
}

void FillLine(const Mixer& mixer, const Line& line, bool source, DWORD sourceIndex, MIXERLINEA* out) {
    const DWORD size = out->cbStruct;
    std::memset(out, 0, sizeof(*out));
    out->cbStruct = size;
    out->dwSource = source ? sourceIndex : 0;
    out->dwLineID = source ? sourceIndex : kDestinationLineId;
    out->fdwLine = MIXERLINE_LINEF_ACTIVE | (source ? MIXERLINE_LINEF_SOURCE : 0);
    out->dwComponentType = line.componentType;
    out->cChannels = 1;
    out->cConnections = source ? 0 : static_cast<DWORD>(mixer.sources.size());
    out->cControls = static_cast<DWORD>(line.controls.size());
    CopyName(out->szShortName, sizeof(out->szShortName), line.name);
    CopyName(out->szName, sizeof(out->szName), line.name);
    CopyName(out->Target.szPname, sizeof(out->Target.szPname), mixer.productName);
}

void FillControl(const Control& control, MIXERCONTROLA* out) {
    std::memset(out, 0, sizeof(*out));
    out->cbStruct = sizeof(*out);
    out->dwControlID = control.id;
    out->dwControlType = control.desc.type;
    out->fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
    CopyName(out->szShortName, sizeof(out->szShortName), control.desc.name);
    CopyName(out->szName, sizeof(out->szName), control.desc.name);
    out->Bounds.dwMinimum = control.desc.minimum;
    out->Bounds.dwMaximum = control.desc.maximum;
    out->Metrics.cSteps = control.desc.maximum - control.desc.minimum;
}

MMRESULT Details(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags, bool set) {
    MMRESULT result;
    if (Failing(set ? "mixerSetControlDetails" : "mixerGetControlDetails", &result)) return result;
    if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
    if (flags & ~DWORD(MIXER_OBJECTF_TYPEMASK)) return MMSYSERR_INVALFLAG;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    Mixer* mixer = nullptr;
    if ((result = Resolve(s, reinterpret_cast<uintptr_t>(object), flags, &mixer)) != MMSYSERR_NOERROR) return result;
    Control* control = ControlById(*mixer, details->dwControlID);
    if (!control) return MIXERR_INVALCONTROL;
    if (details->cChannels != 1 || details->cMultipleItems != 0 || details->cbDetails != sizeof(DWORD) ||
        !details->paDetails)
        return MMSYSERR_INVALPARAM;
    DWORD* value = static_cast<DWORD*>(details->paDetails);
    if (!set) {
        *value = control->desc.value;
        return MMSYSERR_NOERROR;
    }
    DWORD wanted = *value;
    if (control->desc.type == MIXERCONTROL_CONTROLTYPE_MUTE) wanted = wanted ? 1 : 0;
    if (wanted < control->desc.minimum || wanted > control->desc.maximum) return MIXERR_INVALVALUE;
    control->desc.value = wanted;
    return MMSYSERR_NOERROR;
}

}  // namespace

MixerId AddMixer(MixerSpec desc) {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    Mixer mixer;
    mixer.id = s.nextId++;
    mixer.productName = desc.productName.substr(0, MAXPNAMELEN - 1);
    DWORD nextControl = 1;
    mixer.destination = MakeLine(desc.destination, &nextControl);
    for (const MixerLineSpec& source : desc.sources) mixer.sources.push_back(MakeLine(source, &nextControl));
    s.mixers.push_back(std::move(mixer));
    return s.mixers.back().id;
}

bool RemoveMixer(MixerId id) {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    auto it = std::find_if(s.mixers.begin(), s.mixers.end(), [id](const Mixer& m) { return m.id == id; });
    if (it == s.mixers.end()) return false;
    s.mixers.erase(it);
    if (s.waveOut == id) s.waveOut = 0;
    return true;
}

void RemoveAllMixers() {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.mixers.clear();
    s.waveOut = 0;
}

void SetWaveOutMixer(MixerId mixer) {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.waveOut = mixer;
}

DWORD FindMixerControl(MixerId id, int line, DWORD type) {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    Mixer* mixer = FindMixer(s, id);
    if (!mixer || line < -1 || line >= static_cast<int>(mixer->sources.size())) return 0;
    const Line& chosen = line < 0 ? mixer->destination : mixer->sources[line];
    for (const Control& control : chosen.controls) {
        if (control.desc.type == type) return control.id;
    }
    return 0;
}

bool GetMixerControlValue(MixerId id, DWORD controlId, DWORD* value) {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    Mixer* mixer = FindMixer(s, id);
    Control* control = mixer ? ControlById(*mixer, controlId) : nullptr;
    if (!control || !value) return false;
    *value = control->desc.value;
    return true;
}

MixerCounts GetMixerCounts() {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    MixerCounts counts = s.counts;
    counts.open = static_cast<int>(s.handles.size());
    return counts;
}

void ResetMixerCounts() {
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    s.counts = MixerCounts();
}

}  // namespace platform

using platform::MixerState;
using platform::State;

UINT mixerGetNumDevs() {
    MMRESULT result;
    if (platform::Failing("mixerGetNumDevs", &result)) return 0;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    return static_cast<UINT>(s.mixers.size());
}

MMRESULT mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) {
    MMRESULT result;
    if (platform::Failing("mixerGetID", &result)) return result;
    if (!puMxId) return MMSYSERR_INVALPARAM;
    if (fdwId & ~DWORD(MIXER_OBJECTF_TYPEMASK)) return MMSYSERR_INVALFLAG;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    platform::Mixer* mixer = nullptr;
    if ((result = platform::Resolve(s, reinterpret_cast<uintptr_t>(hmxobj), fdwId, &mixer)) != MMSYSERR_NOERROR)
        return result;
    *puMxId = static_cast<UINT>(mixer - s.mixers.data());
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps) {
    MMRESULT result;
    if (platform::Failing("mixerGetDevCaps", &result)) return result;
    if (!pmxcaps || cbmxcaps != sizeof(MIXERCAPSA)) return MMSYSERR_INVALPARAM;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    platform::Mixer* mixer = nullptr;
    const DWORD flags = s.handles.count(uMxId) ? MIXER_OBJECTF_HMIXER : MIXER_OBJECTF_MIXER;
    if ((result = platform::Resolve(s, uMxId, flags, &mixer)) != MMSYSERR_NOERROR) return result;
    std::memset(pmxcaps, 0, sizeof(*pmxcaps));
    pmxcaps->wMid = 1;
    pmxcaps->wPid = 1;
    pmxcaps->vDriverVersion = 0x0100;
    platform::CopyName(pmxcaps->szPname, sizeof(pmxcaps->szPname), mixer->productName);
    pmxcaps->cDestinations = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen) {
    MMRESULT result;
    if (platform::Failing("mixerOpen", &result)) return result;
    if (!phmx) return MMSYSERR_INVALPARAM;
    *phmx = nullptr;
    if (dwCallback != 0 || (fdwOpen & ~DWORD(MIXER_OBJECTF_TYPEMASK))) return MMSYSERR_INVALFLAG;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    platform::Mixer* mixer = nullptr;
    if ((result = platform::Resolve(s, uMxId, fdwOpen, &mixer)) != MMSYSERR_NOERROR) return result;
    const uintptr_t handle = s.nextHandle++;
    s.handles[handle] = mixer->id;
    ++s.counts.opens;
    *phmx = reinterpret_cast<HMIXER>(handle);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER hmx) {
    MMRESULT result;
    if (platform::Failing("mixerClose", &result)) return result;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    if (s.handles.erase(reinterpret_cast<uintptr_t>(hmx)) == 0) return MMSYSERR_INVALHANDLE;
    ++s.counts.closes;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo) {
    MMRESULT result;
    if (platform::Failing("mixerGetLineInfo", &result)) return result;
    if (!pmxl || pmxl->cbStruct != sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
    if (fdwInfo & ~DWORD(MIXER_OBJECTF_TYPEMASK | MIXER_GETLINEINFOF_QUERYMASK)) return MMSYSERR_INVALFLAG;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    platform::Mixer* mixer = nullptr;
    if ((result = platform::Resolve(s, reinterpret_cast<uintptr_t>(hmxobj), fdwInfo & MIXER_OBJECTF_TYPEMASK,
                                    &mixer)) != MMSYSERR_NOERROR)
        return result;
    switch (fdwInfo & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (pmxl->dwDestination != 0) return MMSYSERR_INVALPARAM;
        platform::FillLine(*mixer, mixer->destination, false, 0, pmxl);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_SOURCE: {
        const DWORD source = pmxl->dwSource;
        if (pmxl->dwDestination != 0 || source >= mixer->sources.size()) return MMSYSERR_INVALPARAM;
        platform::FillLine(*mixer, mixer->sources[source], true, source, pmxl);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINEINFOF_LINEID: {
        DWORD source = 0;
        platform::Line* line = platform::LineById(*mixer, pmxl->dwLineID, &source);
        if (!line) return MIXERR_INVALLINE;
        platform::FillLine(*mixer, *line, line != &mixer->destination, source, pmxl);
        return MMSYSERR_NOERROR;
    }
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls) {
    MMRESULT result;
    if (platform::Failing("mixerGetLineControls", &result)) return result;
    if (!pmxlc || pmxlc->cbStruct != sizeof(MIXERLINECONTROLSA)) return MMSYSERR_INVALPARAM;
    if (fdwControls & ~DWORD(MIXER_OBJECTF_TYPEMASK | MIXER_GETLINECONTROLSF_QUERYMASK)) return MMSYSERR_INVALFLAG;
    if (pmxlc->cbmxctrl != sizeof(MIXERCONTROLA) || !pmxlc->pamxctrl || pmxlc->cControls == 0)
        return MMSYSERR_INVALPARAM;
    MixerState& s = State();
    std::lock_guard<std::mutex> lock(s.lock);
    platform::Mixer* mixer = nullptr;
    if ((result = platform::Resolve(s, reinterpret_cast<uintptr_t>(hmxobj), fdwControls & MIXER_OBJECTF_TYPEMASK,
                                    &mixer)) != MMSYSERR_NOERROR)
        return result;
    switch (fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK) {
    case MIXER_GETLINECONTROLSF_ALL: {
        DWORD source = 0;
        platform::Line* line = platform::LineById(*mixer, pmxlc->dwLineID, &source);
        if (!line) return MIXERR_INVALLINE;
        if (pmxlc->cControls != line->controls.size()) return MMSYSERR_INVALPARAM;
        for (size_t i = 0; i < line->controls.size(); ++i) platform::FillControl(line->controls[i], &pmxlc->pamxctrl[i]);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYID: {
        platform::Control* control = platform::ControlById(*mixer, pmxlc->dwControlID);
        if (!control) return MIXERR_INVALCONTROL;
        platform::FillControl(*control, pmxlc->pamxctrl);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYTYPE: {
        DWORD source = 0;
        platform::Line* line = platform::LineById(*mixer, pmxlc->dwLineID, &source);
        if (!line) return MIXERR_INVALLINE;
        for (const platform::Control& control : line->controls) {
            if (control.desc.type != pmxlc->dwControlType) continue;
            platform::FillControl(control, pmxlc->pamxctrl);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    }
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
    return platform::Details(hmxobj, pmxcd, fdwDetails, false);
}

MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
    return platform::Details(hmxobj, pmxcd, fdwDetails, true);
}

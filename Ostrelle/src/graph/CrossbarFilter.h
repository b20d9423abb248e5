// CCrossbarFilter: the wrapper of an analog video crossbar (IAMCrossbar). Source numbers 0, 1 and 2
// map through a route table to the crossbar's video and audio input pins, which are routed to the
// video output pin (0) or the audio output pin (1). Card crossbar classes derive from it and
// replace the route table (InitRouteTable), some the video switch too.
#pragma once

#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CCrossbarFilter : public CRootFilter {
public:
    static constexpr int kSources = 3;
    static constexpr int kVideoOutputPin = 0;
    static constexpr int kAudioOutputPin = 1;

    // The CRootFilter constructors; the route tables stay zero until Init (run by SetUp) fills
    // them for a valid wrapper.
    using CRootFilter::CRootFilter;
    ~CCrossbarFilter() override;

    // The base answer (a filter is held); only when it is TRUE the class's route table is set.
    BOOL Init() override;
    // Source 1 and 2 pick the second and third entry, any other value the first; routed to the
    // video output (SetVideoInput) or the audio output (SetAudioInput).
    virtual BOOL SetVideoInput(int source);
    virtual BOOL SetAudioInput(int source);
    // The default table: video inputs 0, 1, 2 and audio inputs 3, 4, 5 for sources 0, 1, 2.
    virtual void InitRouteTable();

    // Routes crossbar input pin `inputPin` to output pin `outputPin`. FALSE without IAMCrossbar,
    // when the pin counts cannot be read, for an index out of range, or when the route is refused.
    BOOL Route(int inputPin, int outputPin);

    int GetVideoRoute(int source) const { return m_nVideoRoute[SourceIndex(source)]; }
    int GetAudioRoute(int source) const { return m_nAudioRoute[SourceIndex(source)]; }

protected:
    static int SourceIndex(int source) { return source == 1 || source == 2 ? source : 0; }
    // The input pins of sources 0, 1, 2 (-1: the source has none).
    void SetRouteTable(const int (&video)[kSources], const int (&audio)[kSources]);

    int m_nVideoRoute[kSources] = {};
    int m_nAudioRoute[kSources] = {};
};

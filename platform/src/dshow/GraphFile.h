// Saved filter graphs: the filters of a graph (by class, or by device for the filters of
// plugged devices) with their names, and their connections with the media types, as a byte
// stream that loads back into a graph with the same filters and connections.
#pragma once

#include "strmif.h"

namespace platform::dshow {

HRESULT SaveGraph(IFilterGraph* graph, IStream* stream);
// Adds the saved filters to `graph` and connects them; VFW_E_CORRUPT_GRAPH_FILE for a stream
// that is not a saved graph.
HRESULT LoadGraph(IFilterGraph* graph, IStream* stream);

}  // namespace platform::dshow

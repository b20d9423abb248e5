// CCardMan: one plugged card as the station sees it: the card's own DirectShow graph and the
// card-filter object that the graph's filter-class registry creates for the card's capture
// device. The station reaches the card's hardware only through that card filter.
#pragma once

#include <afx.h>

#include "CardNameContainer.h"
#include "graph/RootGraph.h"

class CTVCardFilter;

class CCardMan {
public:
    explicit CCardMan(const CCardName& row);
    CCardMan(const CCardMan&) = delete;
    CCardMan& operator=(const CCardMan&) = delete;
    virtual ~CCardMan();

    // Opens the card: adds its capture device to the graph by category, FriendlyName and device
    // index; true when the card filter exists.
    bool Create();
    // Mutes the card, stops its remote-key thread and takes every filter out of the graph.
    // Harmless when repeated.
    void Release();
    // Stops the graph and disconnects its filters.
    void StopGraph();
    // Switches the card's audio source off; true at once for a card without crossbar.
    bool MuteAudio();
    void StopRemote();

    const CCardName& GetRow() const { return m_row; }
    CTVCardFilter* GetCardFilter() const { return m_pCardFilter; }
    CRootGraph& GetGraph() { return m_graph; }

private:
    CCardName m_row;
    CRootGraph m_graph;
    CTVCardFilter* m_pCardFilter;  // owned by the graph
};

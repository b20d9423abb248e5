// The Wandry USB box ("Wandry Capture") and its crossbar: the Elgrin box under its own names,
// with access kind 14, whose key controller is read only on boxes with mark 'F' or 'I'.
#pragma once

#include "cards/trident/ElgrinCardFilter.h"

constexpr int ACCESS_KIND_WANDRY = 14;

class CWandryCardFilter : public CElgrinCardFilter {
public:
    static constexpr const char kCaptureName[] = "Wandry Capture";

    using CElgrinCardFilter::CElgrinCardFilter;
    ~CWandryCardFilter() override;

    DECLARE_CARD_FILTER_CLASS();

protected:
    BOOL KeysByMark(BYTE mark) override;
    int BoxAccessKind() const override { return ACCESS_KIND_WANDRY; }
};

class CWandryCrossbarFilter : public CElgrinCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Wandry Crossbar";

    using CElgrinCrossbarFilter::CElgrinCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};

// The registry record and creator of a card or crossbar class, declared in the class and
// defined once in its file: the class has the constructors (graph, category, device name, flag)
// and (graph, CLSID), and its creator makes an object and runs its set-up (CreateFilterOfClass).
#pragma once

#include "graph/FilterClassRecord.h"

#define DECLARE_CARD_FILTER_CLASS()                                  \
    static CRootFilter* CreateInstance(CRootGraph* graph, int flag); \
    static CFilterClassRecord s_classRecord

#define IMPLEMENT_CARD_FILTER_CLASS(cls, category, deviceName)                      \
    CFilterClassRecord cls::s_classRecord(nullptr, category, deviceName, &cls::CreateInstance); \
    CRootFilter* cls::CreateInstance(CRootGraph* graph, int flag) {                 \
        return CreateFilterOfClass<cls>(s_classRecord, graph, flag);                \
    }

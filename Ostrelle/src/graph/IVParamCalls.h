// The calls every InterVideo wrapper makes on a filter's parameter interface (slot 3 reads a
// parameter by id, slot 4 writes one): the interface is asked for afresh and must answer exactly
// S_OK; a record is sent field by field in the order of its table.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/comptr.h"
#include "strmif.h"

// One row of a record's call order: the record's field and the parameter id it carries.
struct IVParamField {
    int field;
    DWORD id;
};

// The filter's parameter interface I, or null unless the query answered S_OK with a pointer.
template <class I>
CComPtr<I> QueryIVParams(IBaseFilter* filter, REFIID iid) {
    CComPtr<I> params;
    if (filter == nullptr) return params;
    I* raw = nullptr;
    const HRESULT hr = filter->QueryInterface(iid, reinterpret_cast<void**>(&raw));
    if (raw != nullptr) params.Attach(raw);
    if (hr != S_OK) params.Release();
    return params;
}

// Writes every field in the table's order, whatever single writes answer; TRUE when none of them
// answered a failure code (S_FALSE is a success).
template <class I>
BOOL WriteIVParams(I* params, const int* fields, const IVParamField* order, size_t count) {
    BOOL all = TRUE;
    for (size_t i = 0; i < count; ++i) {
        if (FAILED(params->SetParam(order[i].id, fields[order[i].field]))) all = FALSE;
    }
    return all;
}

// Reads every field in the table's order; a field whose read answered a failure code keeps its
// value, one read with S_FALSE takes it. TRUE when no read failed.
template <class I>
BOOL ReadIVParams(I* params, int* fields, const IVParamField* order, size_t count) {
    BOOL all = TRUE;
    for (size_t i = 0; i < count; ++i) {
        LONG value = 0;
        if (SUCCEEDED(params->GetParam(order[i].id, &value)))
            fields[order[i].field] = value;
        else
            all = FALSE;
    }
    return all;
}

// A whole record through the filter's parameter interface I, asked for afresh: written in the
// table's order (WriteIVRecord) or read (ReadIVRecord). FALSE without a call when the interface
// is not given with S_OK or the record is null.
template <class I, class Record, size_t N>
BOOL WriteIVRecord(IBaseFilter* filter, REFIID iid, const Record* record, const IVParamField (&order)[N]) {
    CComPtr<I> params = QueryIVParams<I>(filter, iid);
    if (params == nullptr || record == nullptr) return FALSE;
    return WriteIVParams(params.p, record->field, order, N);
}
template <class I, class Record, size_t N>
BOOL ReadIVRecord(IBaseFilter* filter, REFIID iid, Record* record, const IVParamField (&order)[N]) {
    CComPtr<I> params = QueryIVParams<I>(filter, iid);
    if (params == nullptr || record == nullptr) return FALSE;
    return ReadIVParams(params.p, record->field, order, N);
}

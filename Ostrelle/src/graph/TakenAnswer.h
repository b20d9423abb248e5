// Which answers of a filter a wrapper takes as a success: S_OK only, or any success code. Each
// wrapper keeps the rule its filter's interface was written against.
#pragma once

#include <windows.h>

enum class TakenAnswer {
    ExactlyOk,   // S_OK only
    AnySuccess,  // any success code
};

inline BOOL IsTakenAnswer(HRESULT hr, TakenAnswer taken) {
    return (taken == TakenAnswer::ExactlyOk ? hr == S_OK : SUCCEEDED(hr)) ? TRUE : FALSE;
}

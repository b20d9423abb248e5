// The slots a tuner never uses, answered with success, for the tests' access objects.
#pragma once

#include "access/CustomDataAccess.h"

class TestAccessBase : public CCustomDataAccess {
public:
    HRESULT Init(IUnknown*, void*) override { return S_OK; }
    HRESULT Open(BYTE) override { return S_OK; }
    HRESULT SetOption(BYTE) override { return S_OK; }
    HRESULT GPIO_Read(DWORD* value) override
    {
        *value = 0;
        return S_OK;
    }
    HRESULT GPIO_Write(DWORD, DWORD) override { return S_OK; }
};

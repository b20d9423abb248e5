// An access object over a board kept in memory, for the cases the simulated cards do not
// produce on their own: EEPROM bytes that fail, devices answering at chosen bus addresses, and
// a scripted GPIO word.
#pragma once

#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "support/TestAccessBase.h"
#include "platform/runtime.h"

class FakeBoardAccess : public TestAccessBase {
public:
    HRESULT I2C_Read(BYTE address, int sub, BYTE* data) override {
        reads.push_back(sub);
        if (address != 0xA0 || failing.count(sub)) return failure;
        *data = bytes[sub & 0xFF];
        return S_OK;
    }
    HRESULT I2C_Write(BYTE address, int sub, BYTE data) override {
        writes.push_back(sub);
        writtenAt.push_back(platform::ClockNow());
        if (address != 0xA0 || failing.count(sub)) return failure;
        bytes[sub & 0xFF] = data;
        return S_OK;
    }
    // A one-byte probe answers when a device sits at the address.
    HRESULT I2C_ReadBlock(BYTE* buf, int) override {
        probes.push_back(buf[0]);
        return devices.count(buf[0]) ? S_OK : E_FAIL;
    }
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override {
        blocks.emplace_back(buf, buf + len);
        return S_OK;
    }
    // Each read takes the next scripted answer; when the script is used up, `gpio`.
    HRESULT GPIO_Read(DWORD* value) override {
        ++gpioReads;
        if (!script.empty()) {
            auto [hr, word] = script.front();
            script.pop_front();
            if (SUCCEEDED(hr)) *value = word;
            return hr;
        }
        *value = gpio;
        return S_OK;
    }
    HRESULT GPIO_Write(DWORD value, DWORD mask) override {
        gpioWrites.emplace_back(value, mask);
        gpio = (gpio & ~mask) | (value & mask);
        return S_OK;
    }

    // ---- EEPROM ----
    BYTE bytes[256] = {};
    std::set<int> failing;
    HRESULT failure = E_FAIL;
    std::vector<int> reads, writes;
    std::vector<ULONGLONG> writtenAt;
    // ---- bus ----
    std::set<BYTE> devices;
    std::vector<BYTE> probes;
    std::vector<std::vector<BYTE>> blocks;
    // ---- GPIO ----
    DWORD gpio = 0;
    std::deque<std::pair<HRESULT, DWORD>> script;
    int gpioReads = 0;
    std::vector<std::pair<DWORD, DWORD>> gpioWrites;
};

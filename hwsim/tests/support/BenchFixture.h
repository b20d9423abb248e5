// Tests that load benches get a state directory of their own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/wintypes.h"

namespace hwsim {

class BenchFixture : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::path(platform::StateDir()) / (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "state");
        previousState = platform::StateDir();
        setenv("PELVATRO_STATE_DIR", (dir / "state").c_str(), 1);
        unsetenv("PELVATRO_BENCH");
    }
    void TearDown() override { setenv("PELVATRO_STATE_DIR", previousState.c_str(), 1); }

    std::string WriteFile(const std::string& name, const std::string& text) const {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    static std::vector<BYTE> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir;
    std::string previousState;
};

}  // namespace hwsim

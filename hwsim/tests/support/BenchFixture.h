// Tests that load benches write their bench files into the test's own folder (the test main
// gives every test a fresh one, its state directory in it).
#pragma once

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/wintypes.h"

namespace hwsim {

class BenchFixture : public testing::Test {
protected:
    void SetUp() override { dir = std::filesystem::path(platform::StateDir()).parent_path(); }

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
};

}  // namespace hwsim

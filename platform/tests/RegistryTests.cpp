#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/registry_preset.h"
#include "SpawnSelf.h"
#include "platform/ChildRole.h"
#include "platform/runtime.h"
#include "platform/TestThread.h"

namespace {

const char kAudioKey[] = "Software\\USB2800\\Audio";

std::string QueryString(HKEY key, const char* name) {
    char buffer[256];
    DWORD size = sizeof buffer, type = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (rc != ERROR_SUCCESS) return "<error " + std::to_string(rc) + ">";
    if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
    return std::string(buffer);
}

std::string QueryPath(HKEY root, const char* path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    std::string value = QueryString(key, name);
    RegCloseKey(key);
    return value;
}

LONG SetString(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
}

class Registry : public testing::Test {
protected:
    void TearDown() override { platform::ClearFailures(); }
};

}  // namespace

TEST_F(Registry, CreatedKeysAndValuesAreFoundWithoutRegardToCase) {
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAudioKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    ASSERT_EQ(SetString(key, "DeviceName", "USB EMP Audio Device"), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\usb2800\\AUDIO", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(QueryString(key, "devicename"), "USB EMP Audio Device");
    ASSERT_EQ(SetString(key, "DEVICENAME", "Renamed"), ERROR_SUCCESS);  // the same value
    RegCloseKey(key);
    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, "software\\Usb2800\\audio", "DeviceName"), "Renamed");
    // The same path under another root is another key.
    EXPECT_EQ(QueryPath(HKEY_CURRENT_USER, kAudioKey, "DeviceName"), "<no key>");
}

TEST_F(Registry, MissingKeysAndValuesAnswerFileNotFound) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);

    ASSERT_TRUE(platform::PresetRegistryString(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName", "Audio"));
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAudioKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "RealDSName", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "DeviceName"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "DeviceName"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, ShortBufferAnswersMoreDataWithTheNeededSize) {
    ASSERT_TRUE(platform::PresetRegistryString(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName", "USB EMP Audio"));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAudioKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(type, DWORD(REG_SZ));

    BYTE small[4] = {'x', 'x', 'x', 'x'};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, &type, small, nullptr), ERROR_INVALID_PARAMETER);

    BYTE exact[14];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExA(key, "DeviceName", nullptr, &type, exact, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(exact), "USB EMP Audio");
    RegCloseKey(key);
}

TEST_F(Registry, KeysGrantOnlyTheAccessTheyWereOpenedWith) {
    ASSERT_TRUE(platform::PresetRegistryDword(HKEY_LOCAL_MACHINE, "SYSTEM\\Driver", "Flag", 1));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\Driver", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, "Other", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(key, "Flag"), ERROR_ACCESS_DENIED);
    HKEY sub;
    EXPECT_EQ(RegCreateKeyExA(key, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\Driver", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Flag", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(Registry, PresetValuesReadThroughTheRegistryCalls) {
    const char path[] = "SYSTEM\\CurrentControlSet\\Services\\Conexant\\Parameters\\iVac15\\Driver";
    ASSERT_TRUE(platform::PresetRegistryDword(HKEY_LOCAL_MACHINE, path, "OldEncoderBitrateInterface", 0x12345678));
    ASSERT_TRUE(platform::PresetRegistryValue(HKEY_LOCAL_MACHINE, path, "", REG_BINARY, {1, 2, 3}));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD value = 0, type = 0, size = sizeof value;
    ASSERT_EQ(RegQueryValueExA(key, "OldEncoderBitrateInterface", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, 0x12345678u);
    BYTE bytes[8];
    size = sizeof bytes;
    ASSERT_EQ(RegQueryValueExA(key, nullptr, nullptr, &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(bytes[2], 3);
    RegCloseKey(key);
}

TEST_F(Registry, InjectedFailuresAnswerTheInjectedCode) {
    ASSERT_TRUE(platform::PresetRegistryString(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName", "Audio"));
    platform::InjectFailure("RegOpenKeyExA", 1, ERROR_ACCESS_DENIED);
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAudioKey, 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAudioKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    platform::InjectFailure("RegQueryValueExA");
    EXPECT_EQ(QueryString(key, "DeviceName"), "<error 2>");
    EXPECT_EQ(QueryString(key, "DeviceName"), "Audio");
    platform::InjectFailure("RegSetValueExA");
    EXPECT_EQ(SetString(key, "DeviceName", "Other"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(QueryString(key, "DeviceName"), "Audio");
    RegCloseKey(key);
}

TEST_F(Registry, UnreadableStoreStartsEmptyAndIsRewritten) {
    std::string file = platform::StateDir() + "/registry.json";
    std::ofstream(file) << "{ not json";
    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName"), "<no key>");
    EXPECT_TRUE(platform::TraceContains("unreadable"));
    ASSERT_TRUE(platform::PresetRegistryString(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName", "Audio"));
    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName"), "Audio");
}

TEST_F(Registry, ThreadsChangeValuesTogetherWithoutLosingAny) {
    std::vector<platform::test::TestThread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            HKEY key;
            std::string path = "Software\\Station\\Thread" + std::to_string(t);
            if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr) != ERROR_SUCCESS)
                return;
            for (int i = 0; i < 10; ++i) SetString(key, ("Value" + std::to_string(i)).c_str(), std::to_string(i));
            RegCloseKey(key);
        });
    }
    for (auto& thread : threads) thread.Join();
    for (int t = 0; t < 4; ++t) {
        std::string path = "Software\\Station\\Thread" + std::to_string(t);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(QueryPath(HKEY_CURRENT_USER, path.c_str(), ("Value" + std::to_string(i)).c_str()),
                      std::to_string(i));
    }
}

// Run by ValuesPersistAcrossProcesses in a process of its own, on the parent's state directory.
CHILD_ROLE(RegistryWriter) {
    setenv("PELVATRO_STATE_DIR", getenv("PELVATRO_REGISTRY_PARENT_STATE"), 1);
    HKEY key;
    if (QueryPath(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName") != "From parent" ||
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    const bool written = SetString(key, "RealDSName", "From child") == ERROR_SUCCESS;
    RegCloseKey(key);
    return written ? 0 : 1;
}

TEST_F(Registry, ValuesPersistAcrossProcesses) {
    ASSERT_TRUE(platform::PresetRegistryString(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName", "From parent"));
    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, "Software\\USB2800\\TwainDS", "RealDSName"), "<no key>");

    const pid_t child = SpawnSelf("RegistryWriter",
                                  "PELVATRO_REGISTRY_PARENT_STATE=" + platform::StateDir());
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, "software\\usb2800\\twainds", "RealDSName"), "From child");
    EXPECT_EQ(QueryPath(HKEY_LOCAL_MACHINE, kAudioKey, "DeviceName"), "From parent");
}

// Fuzz target: the settings file reader and writer over any bytes (GBK, UTF-8 with and without
// its byte-order mark, mixed line ends, stray and NUL bytes, over-long lines). A file written back
// unchanged is the file read, byte for byte; a value set in a new section leaves every byte of the
// file before it as it was and reads back.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "SkinIniFile.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::string g_folder;
std::string g_path;

void WriteBytes(const std::string& bytes) { std::ofstream(g_path, std::ios::binary) << bytes; }

std::string ReadBytes() {
    std::ifstream in(g_path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where the system has a file system there, so a save costs no disk.
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/settings-fuzz-XXXXXX" : "/tmp/settings-fuzz-XXXXXX";
    char* folder = pattern.data();
    if (mkdtemp(folder) == nullptr) abort();
    setenv("PELVATRO_HOME", folder, 1);
    setenv("PELVATRO_STATE_DIR", folder, 1);
    g_folder = folder;
    g_path = g_folder + "/ConfigTest.txt";
    atexit([] {
        std::error_code error;
        std::filesystem::remove_all(g_folder, error);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string original(reinterpret_cast<const char*>(data), size);
    WriteBytes(original);
    {
        CSkinIniFile ini(g_path.c_str());
        Check(ini.Load());
        // Every read the station makes, over whatever the file holds.
        int number = 0;
        CString text;
        CStringList list;
        ini.GetInt("Eeprom", "ProductType", number);
        ini.GetString("Type", "Machine", text);
        ini.GetStringList("Remote", "12", list, ',');
        CSkinIniSection* remote = ini.GetSection("Remote");
        CString key;
        for (int i = 0; remote->GetEntry(i, key, text); ++i) number += atoi(key);
        Check(ini.Save());
        // The typed reads made [Eeprom], [Type] or [Remote] when the file had none: they are
        // written after what was read, which stays as it was.
        Check(ReadBytes().compare(0, original.size(), original) == 0);
    }
    WriteBytes(original);
    CSkinIniFile ini(g_path.c_str());
    Check(ini.Load());
    Check(ini.Save());
    Check(ReadBytes() == original);
    const char section[] = "fuzz section";
    if (ini.HasSection(section)) return 0;
    ini.SetString(section, "key", "value");
    Check(ini.Save());
    Check(ReadBytes().compare(0, original.size(), original) == 0);
    CSkinIniFile again(g_path.c_str());
    CString value;
    Check(again.Load());
    Check(again.GetValue(section, "key", value) && value == "value");
    return 0;
}

// The station settings in "ConfigTest.txt": read at start, the station kind written back at the
// end. A missing file leaves the constructor's values and is never created. A file that is there
// but cannot be read or written back is named on stderr; the station goes on with what it holds.
#include <stdio.h>
#include <stdlib.h>

#include "PelvatroDlg.h"
#include "ProgramFolder.h"
#include "SkinIniFile.h"
#include "graph/TunerModelNames.h"

namespace {
const char kSettingsFile[] = "ConfigTest.txt";
}  // namespace

bool CPelvatroDlg::LoadConfig(LPCSTR path) {
    if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES) return false;
    CSkinIniFile ini(path);
    if (!ini.Load()) {
        fprintf(stderr, "pelvatro: %s: the settings were not read (%s); the station runs without them\n",
                PathForOperator(path).GetString(), ini.GetError().GetString());
        return false;
    }

    int value = 0;
    ini.GetInt("Eeprom", "ProductType", value);
    m_nProductType = value;
    // Only a TunerModel key sets the tuner model.
    ini.GetInt("Eeprom", "TunerModel", m_nTunerModel);
    ini.GetInt("Eeprom", "ShutDown", m_nShutDown);
    ini.GetInt("Eeprom", "HotPlugBus", m_nHotPlugBus);

    CSkinIniSection* remote = ini.GetSection("Remote");
    CString key, name;
    for (int i = 0; remote->GetEntry(i, key, name); ++i) {
        m_mapRemote[atoi(key)] = name;
        m_vecRemoteKeys.push_back(RemoteKey{atoi(key), name});
    }

    ini.GetInt("Type", "Machine", m_nMachine);
    ini.GetInt("TimeDelay", "Remote", m_nTimeDelayRemote);

    // The tuner model's own section, named as the tuner-model name table names the model; a model
    // without a name has none.
    CString section;
    if (GetTunerModelNames().Find(static_cast<TUNER_MODEL>(m_nTunerModel), section)) {
        ini.GetString(section, "Product", m_strProduct);
        ini.GetString(section, "Country", m_strCountry);
        ini.GetString(section, "Support", m_strSupport);
        ini.GetStringList(section, "Character", m_listCharacter, ',');
    }
    return true;
}

void CPelvatroDlg::SaveConfig() { WriteMachineType(GetProgramFilePath(kSettingsFile)); }

void CPelvatroDlg::WriteMachineType(LPCSTR path) {
    if (GetFileAttributes(path) == INVALID_FILE_ATTRIBUTES) return;
    CSkinIniFile ini(path);
    BOOL saved = FALSE;
    if (ini.Load()) {
        ini.SetInt("Type", "Machine", m_nMachine);
        saved = ini.Save();
    }
    if (saved) return;
    fprintf(stderr, "pelvatro: %s: the setting [Type] Machine=%d was not saved (%s)\n",
            PathForOperator(path).GetString(), m_nMachine, ini.GetError().GetString());
}

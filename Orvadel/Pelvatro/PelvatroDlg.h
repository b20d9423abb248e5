// CPelvatroDlg: the main dialog. It holds the station settings (read from "ConfigTest.txt" at
// start, the station kind written back at the end), fixes the product type and tuner model that
// the station writes, hides itself and runs the test sheet modally; when the sheet ends, so does
// the main dialog and with it the program.
#pragma once

#include <afxwin.h>

#include <vector>

class CPelvatroDlg : public CDialog {
public:
    // One [Remote] entry: a remote key's code and the name the remote page shows for it.
    struct RemoteKey {
        int nCode;
        CString strName;
    };

    enum { IDD = 102 };
    enum { MachineTestStation = 2 };
    // What the write station writes, whatever the settings file holds.
    enum { DefaultProductType = 84, DefaultTunerModel = 95 };

    explicit CPelvatroDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;

    // Product type 84 and tuner model 95, then the write station.
    void SetDefaultStation();
    void RunWriteStation();
    void RunTestStation();
    // Sets the application's power-off flag when ShutDown asks for it.
    void RequestPowerOff();

    // ---- settings (StationSettings.cpp) ----
    // Reads the settings file; false when it does not exist or cannot be loaded.
    bool LoadConfig(LPCSTR path);
    void SaveConfig();
    // Writes [Type] Machine into an existing settings file; nothing else of it changes.
    void WriteMachineType(LPCSTR path);

    HICON m_hIcon;
    int m_nShutDown;
    int m_nMachine;
    int m_nProductType;
    int m_nTunerModel;
    int m_nHotPlugBus;
    CString m_strProduct;
    CString m_strCountry;
    CString m_strSupport;
    CStringList m_listCharacter;
    CMap<int, int, CString, LPCSTR> m_mapRemote;
    // The same entries in the order of the settings file, a code given twice included.
    std::vector<RemoteKey> m_vecRemoteKeys;
    int m_nTimeDelayRemote;

protected:
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    // Minimised: the application icon centred on the erased background.
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// The About box of the system menu.
class CAboutDlg : public CDialog {
public:
    enum { IDD = 100 };
    CAboutDlg() : CDialog(IDD) {}
};

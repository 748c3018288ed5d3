#include "VellorApp.h"

#include "VellorDlg.h"

#include <QFile>
#include <utility>

CVellorApp::CVellorApp(SettingsLocation location) : m_location(std::move(location))
{
    m_ini.SetPathName(QFile::encodeName(m_location.settingsPath).constData());
}

CVellorApp::CVellorApp(const QString& settingsPath, const QString& defaultScriptPath)
    : CVellorApp(SettingsLocation{settingsPath, defaultScriptPath, QString()})
{
}

bool CVellorApp::InitInstance(DialogService& dialogs)
{
    PrepareSettingsLocation(m_location);
    LoadSettings(m_ini, m_settings, m_location.defaultScriptPath);
    {
        CVellorDlg window(dialogs);
        CopySettingsToWindow(m_settings, window);
        window.DoModal();
        CopyWindowToSettings(window, m_settings);
    }
    SaveSettings(m_ini, m_settings);
    return false;
}

void CopySettingsToWindow(const Settings& settings, CVellorDlg& window)
{
    window.m_strFilePath = settings.m_strMRF;
    window.m_crBack = settings.m_crBack;
    window.m_crText = settings.m_crText;
    window.m_strFontName = settings.m_strFontName;
    window.m_nFontSize = settings.m_nFontSize;
    window.m_bUseMouse = settings.m_bUseMouse;
    window.m_bMon1Reverse = !settings.m_bRightReading;
    window.m_nScrollSpeed = settings.m_nScrollSpeed;
    window.m_nCPUSpeed = settings.m_nCPUSpeed;
}

void CopyWindowToSettings(const CVellorDlg& window, Settings& settings)
{
    settings.m_strMRF = window.m_strFilePath;
    settings.m_crBack = window.m_crBack;
    settings.m_crText = window.m_crText;
    settings.m_strFontName = window.m_strFontName;
    settings.m_nFontSize = window.m_nFontSize;
    settings.m_bUseMouse = window.m_bUseMouse;
    settings.m_bRightReading = !window.m_bMon1Reverse;
    settings.m_nScrollSpeed = window.m_nScrollSpeed;
    settings.m_nCPUSpeed = window.m_nCPUSpeed;
}

#include "VellorApp.h"

#include "PrompterSettings.h"
#include "VellorDlg.h"

#include <QFile>
#include <utility>

CVellorApp::CVellorApp(const QString& settingsPath, QString defaultScriptPath)
    : m_defaultScriptPath(std::move(defaultScriptPath))
{
    m_ini.SetPathName(QFile::encodeName(settingsPath).constData());
}

bool CVellorApp::InitInstance(DialogService& dialogs)
{
    LoadSettings(m_ini, m_settings, m_defaultScriptPath);
    const ReadingCue loadedCue = LoadPrompterSettings(m_ini);
    ReadingCue cue = loadedCue;
    {
        CVellorDlg window(dialogs);
        CopySettingsToWindow(m_settings, window);
        window.m_readingCue = cue;
        window.DoModal();
        CopyWindowToSettings(window, m_settings);
        cue = window.m_readingCue;
    }
    SaveSettings(m_ini, m_settings);
    SavePrompterSettings(m_ini, cue, loadedCue);
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

#include "SettingsStore.h"

#include "Ini.h"

namespace
{

constexpr char kSection[] = "Settings";
constexpr int kDecimal = 10;

constexpr ColorRef kDefaultBack = 16777215; // white
constexpr ColorRef kDefaultText = 0;        // black
constexpr std::int32_t kDefaultScrollSpeed = 80;
constexpr std::int32_t kDefaultCpuSpeed = 2;
constexpr char kDefaultFontName[] = "Arial Black";
constexpr std::int32_t kDefaultFontSize = 240;

QString ReadString(const CIni& ini, const char* name, const char* defaultValue)
{
    return QString::fromStdString(ini.GetString(kSection, name, defaultValue));
}

std::int32_t ReadInt(const CIni& ini, const char* name, std::int32_t defaultValue)
{
    return ini.GetInt(kSection, name, defaultValue, kDecimal);
}

// Colours are kept as the signed decimal of their 32 bits.
ColorRef ReadColor(const CIni& ini, const char* name, ColorRef defaultValue)
{
    return static_cast<ColorRef>(ReadInt(ini, name, static_cast<std::int32_t>(defaultValue)));
}

void WriteString(CIni& ini, const char* name, const QString& value)
{
    ini.WriteString(kSection, name, value.toUtf8().constData());
}

void WriteInt(CIni& ini, const char* name, std::int32_t value)
{
    ini.WriteInt(kSection, name, value, kDecimal);
}

} // namespace

void LoadSettings(const CIni& ini, Settings& settings, const QString& defaultScriptPath)
{
    settings.m_strMRF = ReadString(ini, "MRF", "");
    if (settings.m_strMRF.isEmpty())
        settings.m_strMRF = defaultScriptPath;
    settings.m_crBack = ReadColor(ini, "CRBack", kDefaultBack);
    settings.m_crText = ReadColor(ini, "CRText", kDefaultText);
    settings.m_nScrollSpeed = ReadInt(ini, "ScrollSpeed", kDefaultScrollSpeed);
    settings.m_nCPUSpeed = ReadInt(ini, "CPUSpeed", kDefaultCpuSpeed);
    settings.m_bUseMouse = ReadInt(ini, "UseMouse", 0) > 0;
    settings.m_bRightReading = ReadInt(ini, "RightReading", 0) > 0;
    // Only a missing name gives the default face; a present empty one stays empty.
    settings.m_strFontName = ReadString(ini, "FontName", kDefaultFontName);
    settings.m_nFontSize = ReadInt(ini, "FontSize", kDefaultFontSize);
}

void SaveSettings(CIni& ini, const Settings& settings)
{
    WriteString(ini, "MRF", settings.m_strMRF);
    WriteInt(ini, "CRBack", static_cast<std::int32_t>(settings.m_crBack));
    WriteInt(ini, "CRText", static_cast<std::int32_t>(settings.m_crText));
    WriteInt(ini, "ScrollSpeed", settings.m_nScrollSpeed);
    WriteInt(ini, "CPUSpeed", settings.m_nCPUSpeed);
    WriteInt(ini, "UseMouse", settings.m_bUseMouse ? 1 : 0);
    WriteInt(ini, "RightReading", settings.m_bRightReading ? 1 : 0);
    WriteString(ini, "FontName", settings.m_strFontName);
    WriteInt(ini, "FontSize", settings.m_nFontSize);
}

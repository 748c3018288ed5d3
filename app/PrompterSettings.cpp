#include "PrompterSettings.h"

#include "Ini.h"

#include <QByteArray>

namespace
{
constexpr char kSection[] = "Prompter";
constexpr char kShownName[] = "ReadingCue";
constexpr char kHeightName[] = "CueHeight";
constexpr char kPreviewName[] = "Preview";
constexpr int kDecimal = 10;

int ReadHeight(const CIni& ini)
{
    bool number = false;
    const qlonglong percent =
        QByteArray::fromStdString(ini.GetString(kSection, kHeightName, "")).trimmed().toLongLong(&number);
    if (!number)
        return kCueHeightDefault;
    if (percent < kCueHeightLowest)
        return kCueHeightLowest;
    if (percent > kCueHeightHighest)
        return kCueHeightHighest;
    return static_cast<int>(percent);
}
} // namespace

ReadingCue LoadPrompterSettings(const CIni& ini)
{
    ReadingCue cue;
    cue.shown = ini.GetInt(kSection, kShownName, 0, kDecimal) > 0;
    cue.heightPercent = ReadHeight(ini);
    return cue;
}

void SavePrompterSettings(CIni& ini, const ReadingCue& cue, const ReadingCue& loaded)
{
    if (cue.shown == loaded.shown && cue.heightPercent == loaded.heightPercent)
        return;
    ini.WriteInt(kSection, kShownName, cue.shown ? 1 : 0, kDecimal);
    ini.WriteInt(kSection, kHeightName, ClampCueHeight(cue.heightPercent), kDecimal);
}

bool LoadPreviewChoice(const CIni& ini)
{
    return ini.GetInt(kSection, kPreviewName, 0, kDecimal) > 0;
}

void SavePreviewChoice(CIni& ini, bool shown, bool loaded)
{
    if (shown != loaded)
        ini.WriteInt(kSection, kPreviewName, shown ? 1 : 0, kDecimal);
}

#include "SettingsStore.h"

#include "BackTime.h"
#include "Ini.h"
#include "ScriptEncoding.h"

#include <QByteArray>

#include <algorithm>
#include <concepts>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>

namespace
{

constexpr int kDecimal = 10;
// The design's section: always written whole.
constexpr char kWholeSection[] = "Settings";

enum class SettingType {
    Text,   // bytes decoded as scripts are; an unchanged value is written back as its bytes
    Int,    // signed decimal, read as strtoul reads 32 bits; colours too, as their 32 bits
    Flag,   // set above zero, written as 1 or 0
    Number, // the whole value, blanks aside, as a number; anything else is broken
    Time,   // a time of day, HH:MM:SS, blanks aside; anything else reads as empty
};

// What a value outside lowest..highest, or a Number that is none, becomes.
enum class BrokenValue {
    Kept,       // it stays as it is
    NearestEnd, // the nearer end of the range; no number: the default
    Default,    // the default
};

// What a missing value reads as: a text, or a number.
struct SettingDefault {
    constexpr SettingDefault(const char* value) : text(value) {}
    template <std::integral Number> constexpr SettingDefault(Number value) : number(value) {}
    const char* text = "";
    std::int64_t number = 0;
};

// The field of a record that holds a key's value.
template <class Record>
using Field = std::variant<QString& (*)(Record&), std::int32_t& (*)(Record&),
                           ColorRef& (*)(Record&), bool& (*)(Record&)>;

template <auto Member, class Record> auto& Of(Record& record)
{
    return record.*Member;
}

template <class Record> struct SettingKey {
    const char* section;
    const char* name;
    SettingType type;
    SettingDefault fallback;
    Field<Record> field;
    BrokenValue broken = BrokenValue::Kept;
    std::int64_t lowest = 0, highest = 0;
};

using enum SettingType;
using S = Settings;
const SettingKey<Settings> kSettingsKeys[] = {
    {"Settings", "MRF", Text, "", &Of<&S::m_strMRF, S>},
    {"Settings", "CRBack", Int, 16777215, &Of<&S::m_crBack, S>},
    {"Settings", "CRText", Int, 0, &Of<&S::m_crText, S>},
    {"Settings", "ScrollSpeed", Int, 80, &Of<&S::m_nScrollSpeed, S>},
    {"Settings", "CPUSpeed", Int, 2, &Of<&S::m_nCPUSpeed, S>},
    {"Settings", "UseMouse", Flag, 0, &Of<&S::m_bUseMouse, S>},
    {"Settings", "RightReading", Flag, 0, &Of<&S::m_bRightReading, S>},
    // Only a missing name gives the default face; a present empty one stays empty.
    {"Settings", "FontName", Text, "Arial Black", &Of<&S::m_strFontName, S>},
    {"Settings", "FontSize", Int, 240, &Of<&S::m_nFontSize, S>},
    {"Prompter", "ReadingCue", Flag, 0, +[](S& s) -> bool& { return s.readingCue.shown; }},
    {"Prompter", "CueHeight", Number, kCueHeightDefault,
     +[](S& s) -> std::int32_t& { return s.readingCue.heightPercent; }, BrokenValue::NearestEnd,
     kCueHeightLowest, kCueHeightHighest},
    {"Prompter", "Preview", Flag, 0, &Of<&S::showPreview, S>},
    {"Prompter", "Margin", Number, 0, +[](S& s) -> std::int32_t& { return s.glass.marginPercent; },
     BrokenValue::NearestEnd, 0, kMarginHighest},
    {"Prompter", "Countdown", Number, 0,
     +[](S& s) -> std::int32_t& { return s.glass.countdownSeconds; }, BrokenValue::NearestEnd, 0,
     kCountdownLongestSeconds},
    {"Prompter", "Clock", Flag, 0, +[](S& s) -> bool& { return s.glass.clock; }},
    {"Prompter", "LiveEdit", Flag, 0, &Of<&S::liveEdit, S>},
    {"Prompter", "EndAt", Time, "", &Of<&S::endAt, S>},
    {"Voice", "Enabled", Flag, 0, +[](S& s) -> bool& { return s.voice.enabled; }},
    {"Voice", "Device", Text, "", +[](S& s) -> QString& { return s.voice.device; }},
    {"Voice", "InputFile", Text, "", +[](S& s) -> QString& { return s.voice.inputFile; }},
};

using R = RemoteSettings;
const SettingKey<RemoteSettings> kRemoteKeys[] = {
    {"Remote", "Enabled", Flag, 0, &Of<&R::enabled, R>},
    {"Remote", "Port", Int, kDefaultRemotePort, &Of<&R::port, R>, BrokenValue::Default, kLowestPort,
     kHighestPort},
    {"Remote", "LanAccess", Flag, 0, &Of<&R::lanAccess, R>},
    {"Remote", "Token", Text, "", &Of<&R::token, R>},
};

using O = OscSettings;
const SettingKey<OscSettings> kOscKeys[] = {
    {"OSC", "Enabled", Flag, 0, &Of<&O::enabled, O>},
    {"OSC", "Port", Int, kDefaultOscPort, &Of<&O::port, O>, BrokenValue::Default, kLowestPort,
     kHighestPort},
    {"OSC", "LanAccess", Flag, 0, &Of<&O::lanAccess, O>},
    {"OSC", "AllowFrom", Text, "", &Of<&O::allowFrom, O>},
};

// A key's value: its text, or its number.
using Value = std::variant<QString, std::int64_t>;

QByteArray StoredBytes(const CIni& ini, const char* section, const char* name, const char* fallback)
{
    return QByteArray::fromStdString(ini.GetString(section, name, fallback));
}

template <class Record> std::int64_t InRange(const SettingKey<Record>& key, std::int64_t number)
{
    switch (key.broken) {
    case BrokenValue::Kept:
        break;
    case BrokenValue::NearestEnd:
        return std::clamp(number, key.lowest, key.highest);
    case BrokenValue::Default:
        return number < key.lowest || number > key.highest ? key.fallback.number : number;
    }
    return number;
}

template <class Record> Value Read(const CIni& ini, const SettingKey<Record>& key)
{
    switch (key.type) {
    case Text:
        return DecodeScriptText(StoredBytes(ini, key.section, key.name, key.fallback.text)).text;
    case Int:
        return InRange(key, ini.GetInt(key.section, key.name,
                                       static_cast<std::int32_t>(key.fallback.number), kDecimal));
    case Flag:
        return std::int64_t{ini.GetInt(key.section, key.name,
                                       static_cast<std::int32_t>(key.fallback.number),
                                       kDecimal) > 0};
    case Time: {
        const std::optional<int> second = ParseTimeOfDay(
            QString::fromLatin1(StoredBytes(ini, key.section, key.name, "").trimmed()));
        return second ? TimeOfDayText(*second) : QString();
    }
    case Number: {
        bool number = false;
        const qlonglong value =
            StoredBytes(ini, key.section, key.name, "").trimmed().toLongLong(&number);
        return number ? InRange(key, value) : key.fallback.number;
    }
    }
    return {};
}

// The text a value is written as.
template <class Record>
QByteArray Written(const CIni& ini, const SettingKey<Record>& key, const Value& value)
{
    if (const auto* text = std::get_if<QString>(&value)) {
        // A value that reads as the file holds it now is written back as
        // those very bytes, whatever their encoding; any other as UTF-8,
        // which always reads back as it was written.
        const QByteArray stored = StoredBytes(ini, key.section, key.name, "");
        return DecodeScriptText(stored).text == *text ? stored : text->toUtf8();
    }
    const std::int64_t number = std::get<std::int64_t>(value);
    return QByteArray::number(key.type == Int ? static_cast<std::int32_t>(number)
                                              : InRange(key, number));
}

template <class Record> Value ValueOf(const SettingKey<Record>& key, Record& record)
{
    return std::visit(
        [&record](auto field) -> Value {
            auto& held = field(record);
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, QString>)
                return held;
            else
                return static_cast<std::int64_t>(held);
        },
        key.field);
}

template <class Record>
void Load(const CIni& ini, std::span<const SettingKey<Record>> keys, Record& record)
{
    for (const SettingKey<Record>& key : keys) {
        const Value value = Read(ini, key);
        std::visit(
            [&record, &value](auto field) {
                auto& held = field(record);
                using Held = std::decay_t<decltype(held)>;
                if constexpr (std::is_same_v<Held, QString>)
                    held = std::get<QString>(value);
                else
                    held = static_cast<Held>(std::get<std::int64_t>(value));
            },
            key.field);
    }
}

template <class Record>
void Save(CIni& ini, std::span<const SettingKey<Record>> keys, Record record)
{
    for (const SettingKey<Record>& key : keys) {
        const Value value = ValueOf(key, record);
        if (std::string_view(key.section) != kWholeSection && value == Read(ini, key))
            continue;
        ini.WriteString(key.section, key.name, Written(ini, key, value).constData());
    }
}

// [Outputs] is keyed by the screens' names, which no table can list: a
// value per screen, 0 off, 1 forward, 2 reversed; anything else reads as off
// and stays in the file until that screen's choice changes.
constexpr char kOutputsSection[] = "Outputs";

OutputChoice StoredOutputChoice(const CIni& ini, const QByteArray& screen)
{
    bool number = false;
    const int value =
        StoredBytes(ini, kOutputsSection, screen.constData(), "").trimmed().toInt(&number);
    const bool known = number && value >= static_cast<int>(OutputChoice::Off) &&
                       value <= static_cast<int>(OutputChoice::Reversed);
    return known ? static_cast<OutputChoice>(value) : OutputChoice::Off;
}

OutputChoices LoadOutputChoices(const CIni& ini)
{
    OutputChoices choices;
    for (const std::string& name : ini.GetNames(kOutputsSection)) {
        const QByteArray screen = QByteArray::fromStdString(name);
        choices.push_back({QString::fromUtf8(screen), StoredOutputChoice(ini, screen)});
    }
    return choices;
}

void SaveOutputChoices(CIni& ini, const OutputChoices& choices)
{
    for (const ScreenOutputChoice& chosen : choices) {
        const QByteArray screen = chosen.screen.toUtf8();
        if (StoredOutputChoice(ini, screen) != chosen.choice)
            ini.WriteString(kOutputsSection, screen.constData(),
                            QByteArray::number(static_cast<int>(chosen.choice)).constData());
    }
}

} // namespace

void LoadSettings(const CIni& ini, Settings& settings, const QString& defaultScriptPath)
{
    Load<Settings>(ini, kSettingsKeys, settings);
    if (settings.m_strMRF.isEmpty())
        settings.m_strMRF = defaultScriptPath;
    settings.outputs = LoadOutputChoices(ini);
}

void SaveSettings(CIni& ini, const Settings& settings)
{
    Save<Settings>(ini, kSettingsKeys, settings);
    SaveOutputChoices(ini, settings.outputs);
}

RemoteSettings LoadRemoteSettings(const CIni& ini)
{
    RemoteSettings settings;
    Load<RemoteSettings>(ini, kRemoteKeys, settings);
    return settings;
}

void SaveRemoteSettings(CIni& ini, const RemoteSettings& settings)
{
    // Closed to other users before the token is in it.
    if (!settings.token.isEmpty())
        ini.RestrictToOwner();
    Save<RemoteSettings>(ini, kRemoteKeys, settings);
}

OscSettings LoadOscSettings(const CIni& ini)
{
    OscSettings settings;
    Load<OscSettings>(ini, kOscKeys, settings);
    return settings;
}

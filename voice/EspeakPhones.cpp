#include "EspeakPhones.h"

#include <espeak-ng/speak_lib.h>

#include <array>
#include <string_view>
#include <utility>

namespace
{
// Longest symbols first, so that diphthongs and affricates are taken whole.
constexpr auto kIpaToModelPhone = std::to_array<std::pair<std::string_view, std::string_view>>({
    {"aɪ", "AY"},   {"aʊ", "AW"},   {"eɪ", "EY"},   {"oʊ", "OW"}, {"ɔɪ", "OY"}, {"tʃ", "CH"},
    {"dʒ", "JH"},   {"ɑː", "AA"},   {"ɔː", "AO"},   {"iː", "IY"}, {"uː", "UW"}, {"ɜː", "ER"},
    {"ɛɹ", "EH R"}, {"ɪɹ", "IH R"}, {"ʊɹ", "UH R"}, {"ɚ", "ER"},  {"ɝ", "ER"},  {"ɜ", "ER"},
    {"ɛ", "EH"},    {"æ", "AE"},    {"ʌ", "AH"},    {"ə", "AH"},  {"ɐ", "AH"},  {"ᵻ", "IH"},
    {"ɪ", "IH"},    {"i", "IY"},    {"ʊ", "UH"},    {"u", "UW"},  {"ɑ", "AA"},  {"ɔ", "AO"},
    {"ɒ", "AA"},    {"a", "AE"},    {"e", "EH"},    {"o", "OW"},  {"θ", "TH"},  {"ð", "DH"},
    {"ʃ", "SH"},    {"ʒ", "ZH"},    {"ŋ", "NG"},    {"ɹ", "R"},   {"r", "R"},   {"ɾ", "D"},
    {"ʔ", "T"},     {"ɡ", "G"},     {"g", "G"},     {"j", "Y"},   {"h", "HH"},  {"p", "P"},
    {"b", "B"},     {"t", "T"},     {"d", "D"},     {"k", "K"},   {"f", "F"},   {"v", "V"},
    {"s", "S"},     {"z", "Z"},     {"m", "M"},     {"n", "N"},   {"l", "L"},   {"w", "W"},
    {"x", "HH"},
});

std::string_view PhoneAt(std::string_view ipa, std::size_t& at)
{
    for (const auto& [symbol, phone] : kIpaToModelPhone)
        if (ipa.substr(at).starts_with(symbol)) {
            at += symbol.size();
            return phone;
        }
    // Stress, length and other marks the model's phones do not carry: the
    // whole UTF-8 character goes.
    ++at;
    while (at < ipa.size() && (static_cast<unsigned char>(ipa[at]) & 0xC0) == 0x80)
        ++at;
    return {};
}
} // namespace

std::string ModelPhonesOfIpa(const std::string& ipa)
{
    std::string phones;
    for (std::size_t at = 0; at < ipa.size();) {
        const std::string_view phone = PhoneAt(ipa, at);
        if (phone.empty())
            continue;
        if (!phones.empty())
            phones += ' ';
        phones += phone;
    }
    return phones;
}

EspeakPhones::EspeakPhones()
{
    m_ready =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) > 0 &&
        espeak_SetVoiceByName("en-us") == EE_OK;
}

std::string EspeakPhones::Pronounce(const std::string& word) const
{
    if (!m_ready)
        return {};
    std::string ipa;
    const void* text = word.c_str();
    while (text) {
        const char* piece = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (!piece)
            break;
        ipa += piece;
    }
    return ModelPhonesOfIpa(ipa);
}

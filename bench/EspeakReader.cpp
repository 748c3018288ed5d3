#include "WavFile.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// Reads a file's lines aloud with espeak-ng for the voice benchmark, each
// reading in a process of its own. espeak-ng carries state from one
// synthesis to the next, even past espeak_Initialize: where its pitch
// flutter stands, and the rand() that breathy voices draw on. A reading
// made after others in one process would come out different.
//   espeak_reader <voice> <words a minute> <lines file> <folder>
// Writes line k's 16 kHz samples to <folder>/k.raw and prints, for each
// line, "W <seconds>" at each word's start, then "E <seconds long>".

namespace
{
struct Collected {
    std::vector<std::int16_t> samples;
    std::vector<double> starts;
};

int Collect(short* wav, int count, espeak_EVENT* events)
{
    // Every event of the list, its end too, carries the caller's data.
    auto* collected = static_cast<Collected*>(events->user_data);
    if (wav && count > 0)
        collected->samples.insert(collected->samples.end(), wav, wav + count);
    for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e)
        if (e->type == espeakEVENT_WORD)
            collected->starts.push_back(e->audio_position / 1000.0);
    return 0;
}

std::vector<std::int16_t> Resample(const std::vector<std::int16_t>& in, int rate)
{
    if (rate == kVoiceSampleRate)
        return in;
    std::vector<std::int16_t> out(in.size() * kVoiceSampleRate / static_cast<std::size_t>(rate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double at = static_cast<double>(i) * rate / kVoiceSampleRate;
        const auto k = static_cast<std::size_t>(at);
        const double f = at - static_cast<double>(k);
        const double a = in[std::min(k, in.size() - 1)];
        const double b = in[std::min(k + 1, in.size() - 1)];
        out[i] = static_cast<std::int16_t>(a + (b - a) * f);
    }
    return out;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fputs("espeak_reader <voice> <words a minute> <lines file> <folder>\n", stderr);
        return 2;
    }
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, espeakINITIALIZE_DONT_EXIT);
    espeak_SetSynthCallback(&Collect);
    if (rate <= 0 || espeak_SetVoiceByName(argv[1]) != EE_OK) {
        std::fputs("espeak-ng did not start\n", stderr);
        return 1;
    }
    espeak_SetParameter(espeakRATE, std::atoi(argv[2]), 0);
    std::ifstream lines(argv[3]);
    int k = 0;
    for (std::string text; std::getline(lines, text); ++k) {
        Collected collected;
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     &collected);
        const std::vector<std::int16_t> samples = Resample(collected.samples, rate);
        std::ofstream out(std::string(argv[4]) + '/' + std::to_string(k) + ".raw",
                          std::ios::binary);
        out.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
        if (!out)
            return 1;
        for (const double start : collected.starts)
            std::printf("W %.17g\n", start);
        std::printf("E %.17g\n", static_cast<double>(collected.samples.size()) / rate);
    }
    return 0;
}

#include "AudioSource.h"

#include "MicrophoneSource.h"
#include "VoiceSettings.h"
#include "WavFile.h"
#include "WavFileSource.h"

std::unique_ptr<AudioSource> OpenAudioSource(const VoiceSettings& settings, QString& problem)
{
    if (!settings.inputFile.isEmpty()) {
        WavSamples wav = ReadVoiceWav(settings.inputFile);
        problem = wav.problem;
        if (!problem.isEmpty())
            return nullptr;
        return std::make_unique<WavFileSource>(std::move(wav.samples));
    }
    auto microphone = std::make_unique<MicrophoneSource>(settings.device, problem);
    if (!microphone->Opened())
        return nullptr;
    return microphone;
}

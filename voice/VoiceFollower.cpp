#include "VoiceFollower.h"

#include "AudioSource.h"
#include "VoiceListener.h"

VoiceFollower::VoiceFollower(std::vector<ScriptWord> words, VoiceSettings settings)
    : m_words(std::move(words)),
      m_thread([this, settings](std::stop_token stop) { Follow(stop, settings); })
{
}

VoiceFollower::~VoiceFollower() = default;

QString VoiceFollower::Problem() const
{
    const std::lock_guard lock(m_problemLock);
    return m_problem;
}

void VoiceFollower::Fail(const QString& problem)
{
    {
        const std::lock_guard lock(m_problemLock);
        m_problem = problem;
    }
    m_state.store(VoiceState::Off, std::memory_order_release);
}

void VoiceFollower::Follow(std::stop_token stop, VoiceSettings settings)
{
    std::unique_ptr<VoiceListener> listener;
    try {
        listener = std::make_unique<VoiceListener>(m_words);
    } catch (const RecogniserError& error) {
        Fail(QString::fromStdString(error.what()));
        return;
    }
    QString problem;
    const std::unique_ptr<AudioSource> audio = OpenAudioSource(settings, problem);
    if (!audio) {
        Fail(problem);
        return;
    }
    std::vector<std::int16_t> piece;
    while (audio->Next(piece, stop)) {
        const int before = m_placeBefore.exchange(kNoRequest, std::memory_order_acq_rel);
        if (before != kNoRequest)
            listener->PlaceBefore(before);
        listener->Hear(piece);
        // A place found as the run moved elsewhere is left out: the run's
        // new place stands, and the next piece goes on from it.
        if (m_placeBefore.load(std::memory_order_acquire) == kNoRequest)
            m_placed.store(listener->Placed(), std::memory_order_release);
        m_state.store(listener->State(), std::memory_order_release);
    }
    // The input file has ended: nothing more to follow, nothing lost.
    m_state.store(VoiceState::Listening, std::memory_order_release);
}

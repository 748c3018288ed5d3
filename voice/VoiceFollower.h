#pragma once

#include "ScriptWords.h"
#include "VoiceSettings.h"

#include <QString>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// Follows the speaker on a thread of its own: it loads the decoder for the
// script, opens the audio, and places every 100 ms piece it hears. What it
// finds is published atomically, so the run's loop reads it without ever
// waiting for the thread.
class VoiceFollower
{
  public:
    // Starts following words with the audio the settings name.
    VoiceFollower(std::vector<ScriptWord> words, VoiceSettings settings);
    // Stops the thread and waits for it.
    ~VoiceFollower();
    VoiceFollower(const VoiceFollower&) = delete;
    VoiceFollower& operator=(const VoiceFollower&) = delete;

    // The script word being spoken; -1 before the first.
    int PlacedWord() const { return m_placed.load(std::memory_order_acquire); }
    // What it is doing.
    VoiceState State() const { return m_state.load(std::memory_order_acquire); }
    // Why it stopped following, once it has; empty while all is well.
    QString Problem() const;
    // The run moved without the voice: the speaker goes on before word.
    void PlaceBefore(int word) { m_placeBefore.store(word, std::memory_order_release); }

  private:
    void Follow(std::stop_token stop, VoiceSettings settings);
    void Fail(const QString& problem);

    static constexpr int kNoRequest = -2;
    const std::vector<ScriptWord> m_words;
    std::atomic<int> m_placed{-1};
    std::atomic<VoiceState> m_state{VoiceState::Listening};
    std::atomic<int> m_placeBefore{kNoRequest};
    mutable std::mutex m_problemLock;
    QString m_problem;
    std::jthread m_thread; // last: it starts once the rest is made
};

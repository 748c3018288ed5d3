#pragma once

#include "PrompterCommands.h"
#include "VoiceFollower.h"
#include "VoiceSteering.h"

#include <chrono>
#include <cstdint>
#include <vector>

// The voice follower of the run at hand, steering it through the prompter
// commands alone, so that pause, jumps and Home from any input come first.
// The line holding the word being spoken is kept at the reading place: the
// reading cue's row, or a third of the way down without the cue. The run
// moves there with its own steps, at a speed that closes the gap; a place
// far ahead, or behind, is shown at once. Before anyone speaks the run
// makes ready, the first word's line brought up to the reading place; then,
// silent or lost, it holds still.
class RunVoice
{
  public:
    // Starts following the run's whole script with the run's voice settings.
    RunVoice();
    // Stops following; the run's voice state reads off again.
    ~RunVoice();
    RunVoice(const RunVoice&) = delete;
    RunVoice& operator=(const RunVoice&) = delete;

    // Steers the run towards the voice as of now; returns when to look again.
    std::chrono::steady_clock::time_point Follow(std::chrono::steady_clock::time_point now);

  private:
    // A word's line, and its moment within it (WordMomentsInLines).
    struct WordPlace {
        int line = 0;
        double withinLine = 0;
    };
    explicit RunVoice(std::vector<ScriptWord> words);
    static std::vector<WordPlace> PlacesOf(const std::vector<ScriptWord>& words);
    bool NoticeOthers();
    static double GapTo(const WordPlace& word);
    void MakeReady(const WordPlace& first);
    void Steer(const WordPlace& word);
    void Move(const VoiceSteer& steer, const WordPlace& word);
    void Hold();
    void Run(PrompterCommand command, int amount = 0);

    std::vector<WordPlace> m_places;
    VoiceFollower m_follower;
    std::uint64_t m_seenJumps = 0;
    bool m_leftPaused = true;      // the pause as the follower last left it
    bool m_heldByOperator = false; // paused by somebody else, until they resume
};

// The picture row the voice's line is kept at.
int VoiceReadingRow();

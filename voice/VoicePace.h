#pragma once

#include <deque>
#include <utility>
#include <vector>

// Keeps the place moving through a stretch the recogniser mishears. While
// speech goes on and no word places, the place shown runs on from the one
// placed at the pace the words placed of late came, for a few seconds of
// speech at most and less than a line past the place placed, less the words
// a doubt may take back, blank lines not counted: the words placed next then
// take it back by the run holding still, never by a jump. Speech before any
// word placed shows the first word. Silent, or placed again, it shows the
// place as placed.
class VoicePace
{
  public:
    // wordMoments: each script word's line plus its moment within it.
    explicit VoicePace(std::vector<double> wordMoments);

    // The place to show at seconds of audio, from the place placed (-1
    // before the first) and whether speech goes on.
    int Shown(int placed, bool speaking, double seconds);

    // Somebody else moved the run: the pace is measured anew.
    void Restart();

  private:
    double WordsPerSecond() const;

    std::vector<double> m_moments;
    std::deque<std::pair<double, int>> m_moves; // (seconds, word) of late placements
    int m_furthest = -1;                        // the place placed, unless since doubted
    double m_heardAt = 0;                       // the audio's time when last asked
    double m_speechSincePlaced = 0;             // seconds of speech since m_furthest was placed
};

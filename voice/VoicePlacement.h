#pragma once

#include <string>
#include <vector>

// Where in the script the speaker is, from what the recogniser hears. Each
// stretch heard is placed by a local alignment against the script around the
// place held (from kWordsBehind behind to kWordsAhead ahead), and the place
// moves only as far as the evidence carries it: forward at once by the new
// words heard plus two, or by the words misheard since it last moved plus
// two, further only on matches past the place held that grow with the
// distance, a common word among them counting only beside an uncommon one,
// back only on several words heard since it held, not all common, that match before the
// last one heard, as many as ahead beyond a sentence. Words the script says
// often weigh less as evidence. A hypothesis that shrank moves nothing.
// After kLostSeconds of speech that could not be placed the place is lost
// and the whole script is searched, on less evidence ahead of the place as
// far as a brisk reader gets since.

// The recogniser's present hypothesis.
struct HeardWords {
    int utterance = 0;              // a new number for each utterance
    std::vector<std::string> words; // the utterance's words so far
    double seconds = 0;             // the audio's time at this hypothesis
};

class VoicePlacement
{
  public:
    static constexpr int kWordsBehind = 40;
    static constexpr int kWordsAhead = 120;
    static constexpr double kLostSeconds = 4.0;
    // Back a word or two is the recogniser's doubt, not a repeat.
    static constexpr int kDoubtWords = 2;

    explicit VoicePlacement(std::vector<std::string> script);

    // Takes the latest hypothesis; true when the place moved.
    bool Hear(const HeardWords& heard);

    // The script word last spoken; -1 before the first.
    int Placed() const { return m_placed; }

    // No stretch could be placed for kLostSeconds of speech.
    bool Lost() const { return m_lost; }

    // Somebody else moved the run: the speaker goes on before word.
    void PlaceBefore(int word);

  private:
    struct Alignment {
        int scriptEnd = -1;              // the last script word matched
        int evidence = 0;                // heard words equal to their script word, weighed
        int evidenceAhead = 0;           // of it, matches past the place held
        int commonEvidenceAhead = 0;     // of that, from words the script says often
        int newMatches = 0;              // among them, words heard for the first time
        int settledUnplacedEvidence = 0; // of words heard since the place held, all but the last
    };
    // Places the heard words; true when they were placed, moving or not.
    // unplacedWords: heard since the place last held, the new ones too;
    // held: the place before a revised word took it back.
    bool Place(int newWords, int unplacedWords, int held);
    // unplacedWords: heard since the place last held, counted for going back.
    Alignment Align(int from, int to, int newWords, int unplacedWords = 0) const;
    bool Accept(const Alignment& found, int newWords, int unplacedWords, int held) const;
    // The place once lost, found on evidence; none when too little.
    Alignment FindWhenLost(int newWords) const;

    std::vector<std::string> m_script;
    std::vector<int> m_weights;         // the evidence a match of each script word gives
    std::vector<std::string> m_context; // the last words of earlier utterances
    std::vector<std::string> m_heard;   // the present utterance's last hypothesis
    std::vector<int> m_placedAfter;     // the place once the utterance had k words
    std::size_t m_unplacedEarlier = 0;  // earlier utterances' words since the place held
    std::size_t m_heardWhenPlaced = 0;  // the present utterance's words when it last held
    int m_utterance = -1;
    int m_placed = -1;
    double m_heardAt = 0;        // the audio's time at the last hypothesis
    double m_heldAt = 0;         // the audio's time when the place last held
    double m_unplacedSpeech = 0; // seconds of speech since the place last held
    bool m_lost = false;
};

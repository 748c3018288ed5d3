#pragma once

#include "NoiseSuppressor.h"

#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct cmd_ln_s;
struct ps_decoder_s;

// Where Debian's pocketsphinx-en-us puts the US English model.
inline constexpr char kVoiceModelFolder[] = "/usr/share/pocketsphinx/model/en-us";

// What the decoder has heard so far.
struct Hypothesis {
    int utterance = 0;              // grows with each utterance
    std::vector<std::string> words; // the utterance's words so far
    bool ended = false;             // the utterance ended with this piece
};

// Thrown when the decoder cannot be made; what() says why, for the operator.
class RecogniserError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// pocketsphinx kept to one script's words: its dictionary and a grammar of
// the script as it is read, written to a folder of their own. It takes 16 kHz
// mono audio in pieces and ends an utterance after a quarter second of
// silence, since a longer wait loses track of a quick reader, or after eight
// seconds of speech. Told where the speaker is, it listens for the words
// around there: in noise the whole script offers many more phrases that fit
// what was misheard, and it costs more to search.
class Recogniser
{
  public:
    // Loads the model for words; throws RecogniserError when it cannot.
    explicit Recogniser(const std::vector<std::string>& words,
                        const std::string& modelFolder = kVoiceModelFolder);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Decodes one piece; the hypothesis after it.
    Hypothesis Feed(std::span<const std::int16_t> samples);

    // The script word last spoken (-1 before the first), or lost: the whole
    // script. Taken up when the next utterance begins.
    void Focus(int placed, bool lost);

  private:
    static constexpr int kWholeScript = -1;
    struct ConfigFree {
        void operator()(cmd_ln_s* config) const;
    };
    struct DecoderFree {
        void operator()(ps_decoder_s* decoder) const;
    };
    std::vector<std::string> Words() const;
    // Before an utterance: the grammar of the words around the focus.
    void ApplyFocus();
    bool FocusMoved() const;

    std::unique_ptr<cmd_ln_s, ConfigFree> m_config;
    std::unique_ptr<ps_decoder_s, DecoderFree> m_decoder;
    std::vector<std::string> m_words;
    std::set<std::string> m_pronounceable;
    std::string m_wholeScript;  // the decoder's name for the whole script's grammar
    int m_wantedFocus = 0;      // a script word; kWholeScript when lost
    int m_focus = kWholeScript; // where the grammar was last made for
    int m_utterance = 0;
    bool m_inSpeech = false;
    int m_speechSamples = 0; // heard in the present utterance's speech
    NoiseSuppressor m_suppressor;
    std::vector<std::int16_t> m_cleaned; // grows to the largest piece
};

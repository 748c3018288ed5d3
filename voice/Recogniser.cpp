#include "Recogniser.h"

#include "ScriptVocabulary.h"
#include "WavFile.h"

#include <pocketsphinx.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace
{
// Frames of silence (of 10 ms) that end an utterance.
constexpr char kSilenceEndingUtterance[] = "25";
// Noise can hide the silences between phrases. An utterance that runs on
// is ended all the same: its hypothesis costs more to read with each piece,
// and a new one may begin anywhere in the script.
constexpr int kLongestUtteranceSamples = 8 * kVoiceSampleRate;
// The decoder takes a frame every 10 ms: a delay of whole frames leaves a
// recording that is passed through untouched framed as it came.
static_assert(NoiseSuppressor::kDelaySamples % (kVoiceSampleRate / 100) == 0);
// The words listened for around the speaker: back as far as a repeat goes,
// ahead past a paragraph skipped; further is found once lost. The grammar
// is made anew once the speaker is this many words from its middle.
constexpr int kFocusWordsBehind = 40;
constexpr int kFocusWordsAhead = 80;
constexpr int kRefocusWords = 10;
constexpr char kFocusGrammar[] = "near";

struct FileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};
struct GrammarFree {
    void operator()(fsg_model_t* grammar) const { fsg_model_free(grammar); }
};

void WriteFile(const QString& path, const std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()))
        throw RecogniserError("The voice follower could not write its word list to " +
                              path.toStdString() + ".");
}
} // namespace

void Recogniser::ConfigFree::operator()(cmd_ln_s* config) const
{
    cmd_ln_free_r(config);
}

void Recogniser::DecoderFree::operator()(ps_decoder_s* decoder) const
{
    ps_free(decoder);
}

Recogniser::Recogniser(const std::vector<std::string>& words, const std::string& modelFolder)
{
    const std::string acoustic = modelFolder + "/en-us";
    if (!QDir(QString::fromStdString(acoustic)).exists())
        throw RecogniserError("The US English speech model is missing (" + acoustic +
                              "): install pocketsphinx-en-us.");
    if (words.empty())
        throw RecogniserError("The script has no words to follow.");
    // The decoder reads its files while it loads; they may go afterwards.
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw RecogniserError("The voice follower has no temporary folder to work in.");
    const QString dictionary = folder.filePath(QStringLiteral("script.dict"));
    const QString grammar = folder.filePath(QStringLiteral("script.fsg"));
    const std::string pronunciations = ScriptDictionary(words, modelFolder + "/cmudict-en-us.dict");
    WriteFile(dictionary, pronunciations);
    m_words = words;
    m_pronounceable = DictionaryWords(pronunciations);
    WriteFile(grammar, ScriptGrammar(words, m_pronounceable));
    const std::string dictionaryPath = dictionary.toStdString();
    const std::string grammarPath = grammar.toStdString();
    m_config.reset(cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", acoustic.c_str(), "-fsg",
                               grammarPath.c_str(), "-dict", dictionaryPath.c_str(),
                               "-vad_postspeech", kSilenceEndingUtterance, "-logfn", "/dev/null",
                               nullptr));
    if (m_config)
        m_decoder.reset(ps_init(m_config.get()));
    if (!m_decoder)
        throw RecogniserError("The speech decoder could not load the US English model from " +
                              modelFolder + ".");
    m_wholeScript = ps_get_search(m_decoder.get());
    ApplyFocus();
    ps_start_utt(m_decoder.get());
}

Recogniser::~Recogniser() = default;

void Recogniser::Focus(int placed, bool lost)
{
    m_wantedFocus = lost ? kWholeScript : std::max(placed, 0);
}

bool Recogniser::FocusMoved() const
{
    if (m_wantedFocus == kWholeScript || m_focus == kWholeScript)
        return m_wantedFocus != m_focus;
    return std::abs(m_wantedFocus - m_focus) >= kRefocusWords;
}

void Recogniser::ApplyFocus()
{
    if (!FocusMoved())
        return;
    ps_decoder_t* decoder = m_decoder.get();
    const int count = static_cast<int>(m_words.size());
    const int from = std::max(m_wantedFocus - kFocusWordsBehind, 0);
    const int to = std::min(m_wantedFocus + kFocusWordsAhead, count);
    m_focus = m_wantedFocus;
    if (m_wantedFocus == kWholeScript || (from == 0 && to == count)) {
        ps_set_search(decoder, m_wholeScript.c_str());
        return;
    }
    std::string grammar =
        ScriptGrammar({m_words.begin() + from, m_words.begin() + to}, m_pronounceable);
    const std::unique_ptr<FILE, FileClose> text(fmemopen(grammar.data(), grammar.size(), "r"));
    const std::unique_ptr<fsg_model_t, GrammarFree> near(
        text ? fsg_model_read(text.get(), ps_get_logmath(decoder),
                              cmd_ln_float32_r(m_config.get(), "-lw"))
             : nullptr);
    // The decoder keeps its own hold on the grammar. Without one, the whole
    // script is listened for, as before, until the speaker moves on.
    if (!near || ps_set_fsg(decoder, kFocusGrammar, near.get()) != 0 ||
        ps_set_search(decoder, kFocusGrammar) != 0)
        ps_set_search(decoder, m_wholeScript.c_str());
}

std::vector<std::string> Recogniser::Words() const
{
    std::vector<std::string> words;
    const char* text = ps_get_hyp(m_decoder.get(), nullptr);
    std::istringstream in(text ? text : "");
    for (std::string word; in >> word;) {
        // Variants ("read(2)") are the same word; fillers are no words.
        if (const std::size_t paren = word.find('('); paren != std::string::npos)
            word.erase(paren);
        if (!word.empty() && word.front() != '<' && word.front() != '[')
            words.push_back(word);
    }
    return words;
}

Hypothesis Recogniser::Feed(std::span<const std::int16_t> samples)
{
    ps_decoder_t* decoder = m_decoder.get();
    // An utterance that has heard no speech yet is begun anew where the
    // speaker now is: the run was moved, or has just started.
    if (!m_inSpeech && FocusMoved()) {
        ps_end_utt(decoder);
        ApplyFocus();
        ps_start_utt(decoder);
    }
    // In steady noise the decoder hears speech in none of it; its own
    // noise removal does not lower the noise enough.
    m_cleaned.resize(samples.size());
    m_suppressor.Suppress(samples, m_cleaned);
    ps_process_raw(decoder, m_cleaned.data(), m_cleaned.size(), FALSE, FALSE);
    const bool inSpeech = ps_get_in_speech(decoder) != 0;
    m_speechSamples = inSpeech ? m_speechSamples + static_cast<int>(samples.size()) : 0;
    Hypothesis heard{m_utterance, {}, false};
    if ((m_inSpeech && !inSpeech) || m_speechSamples > kLongestUtteranceSamples) {
        ps_end_utt(decoder);
        heard.words = Words();
        heard.ended = true;
        ApplyFocus();
        ps_start_utt(decoder);
        ++m_utterance;
        m_speechSamples = 0;
        m_inSpeech = false;
        return heard;
    }
    if (inSpeech)
        heard.words = Words();
    m_inSpeech = inSpeech;
    return heard;
}

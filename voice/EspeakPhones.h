#pragma once

#include <string>

// Pronunciations for words the model's dictionary lacks, from espeak-ng's
// US English phonemes mapped to the model's phones. A grammar with a word
// the decoder cannot pronounce does not load at all, so every script word
// needs one. espeak-ng keeps one state for the whole process: one of these
// at a time. It is never terminated, since espeak-ng hangs terminating once
// it has been started a second time; it stays loaded until the program ends.
class EspeakPhones
{
  public:
    EspeakPhones();
    ~EspeakPhones() = default;
    EspeakPhones(const EspeakPhones&) = delete;
    EspeakPhones& operator=(const EspeakPhones&) = delete;

    // The phones of word, space-separated ("HH AH L OW"); empty when espeak-ng
    // is missing or gives nothing the model knows.
    std::string Pronounce(const std::string& word) const;

  private:
    bool m_ready = false;
};

// The model's phones for a string of IPA symbols, as espeak-ng writes them.
std::string ModelPhonesOfIpa(const std::string& ipa);

#pragma once

#include "AudioSource.h"

#include <QAudioSource>
#include <QIODevice>

#include <memory>

// The microphone through Qt Multimedia, asked for 16 kHz mono 16-bit
// samples; it lives on the follower's thread and is read by polling, since
// that thread runs no event loop.
class MicrophoneSource : public AudioSource
{
  public:
    // Opens the input device named, or the default one for an empty name;
    // problem says why when it cannot (Opened() is then false).
    MicrophoneSource(const QString& deviceName, QString& problem);
    ~MicrophoneSource() override;

    bool Opened() const { return m_input != nullptr; }
    bool Next(std::vector<std::int16_t>& piece, std::stop_token stop) override;

  private:
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_input = nullptr; // owned by m_source
    QByteArray m_pending;
};

#include "MicrophoneSource.h"

#include "WavFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>

#include <cstring>
#include <thread>

MicrophoneSource::MicrophoneSource(const QString& deviceName, QString& problem)
{
    QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (!deviceName.isEmpty()) {
        device = {};
        for (const QAudioDevice& input : QMediaDevices::audioInputs())
            if (input.description() == deviceName || input.id() == deviceName.toUtf8())
                device = input;
    }
    if (device.isNull()) {
        problem = deviceName.isEmpty()
                      ? QStringLiteral("There is no microphone to follow the voice with.")
                      : QStringLiteral("There is no microphone called \"%1\".").arg(deviceName);
        return;
    }
    QAudioFormat format;
    format.setSampleRate(kVoiceSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        problem = QStringLiteral("The microphone \"%1\" cannot record 16 kHz mono sound.")
                      .arg(device.description());
        return;
    }
    m_source = std::make_unique<QAudioSource>(device, format);
    m_input = m_source->start();
    if (!m_input)
        problem =
            QStringLiteral("The microphone \"%1\" could not be opened.").arg(device.description());
}

MicrophoneSource::~MicrophoneSource()
{
    if (m_source)
        m_source->stop();
}

bool MicrophoneSource::Next(std::vector<std::int16_t>& piece, std::stop_token stop)
{
    constexpr qsizetype kPieceBytes = kVoicePieceSamples * 2;
    while (!stop.stop_requested() && m_input) {
        m_pending += m_input->readAll();
        if (m_pending.size() >= kPieceBytes) {
            piece.resize(kVoicePieceSamples);
            std::memcpy(piece.data(), m_pending.constData(), kPieceBytes);
            m_pending.remove(0, kPieceBytes);
            return true;
        }
        if (m_source->error() != QAudio::NoError)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

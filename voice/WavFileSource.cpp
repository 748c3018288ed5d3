#include "WavFileSource.h"

#include "WavFile.h"

#include <algorithm>
#include <thread>

bool WavFileSource::Next(std::vector<std::int16_t>& piece, std::stop_token stop)
{
    using namespace std::chrono;
    if (m_at >= m_samples.size() || stop.stop_requested())
        return false;
    if (m_at == 0)
        m_start = steady_clock::now();
    const std::size_t end = std::min(m_at + kVoicePieceSamples, m_samples.size());
    // The piece is there once its last sample has been spoken; the wait is
    // cut into short sleeps so that a stop is seen at once.
    const auto due =
        m_start + microseconds(static_cast<std::int64_t>(end) * 1'000'000 / kVoiceSampleRate);
    while (!stop.stop_requested() && steady_clock::now() < due)
        std::this_thread::sleep_until(std::min(due, steady_clock::now() + milliseconds(20)));
    if (stop.stop_requested())
        return false;
    piece.assign(m_samples.begin() + static_cast<std::ptrdiff_t>(m_at),
                 m_samples.begin() + static_cast<std::ptrdiff_t>(end));
    m_at = end;
    return true;
}

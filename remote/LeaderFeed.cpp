#include "LeaderFeed.h"

#include "RemoteLimits.h"

#include <cmath>
#include <string_view>

namespace
{
constexpr qint64 kMicrosecondsInOneMs = 1000;

bool SameLook(const FollowLook& a, const FollowLook& b)
{
    return a.face == b.face && a.points == b.points && a.weight == b.weight && a.text == b.text &&
           a.back == b.back && a.pitch == b.pitch;
}

// Where to cut `text` from `from` so that a piece holds at most the
// protocol's bytes and no character is split.
std::size_t PieceEnd(std::string_view text, std::size_t from)
{
    std::size_t end = std::min(
        text.size(), from + static_cast<std::size_t>(RemoteLimits::kFollowScriptPartBytes));
    const auto continuation = [&](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    const std::size_t limit = end;
    while (end < text.size() && end > from && continuation(end))
        --end;
    // A run of stray continuation bytes longer than a piece: cut it anyway.
    return end == from ? limit : end;
}
} // namespace

double RowAt(const FollowKeypoint& keypoint, qint64 at)
{
    if (!keypoint.running || keypoint.paused)
        return static_cast<double>(keypoint.row);
    const double seconds = static_cast<double>(at - keypoint.at) / 1e6;
    const double sign = keypoint.direction == ScrollDirection::Forward ? 1 : -1;
    return static_cast<double>(keypoint.row) + sign * keypoint.rowsPerSecond * seconds;
}

bool LeaderStrayed(const FollowKeypoint& keypoint, const FollowKeypoint& now)
{
    return std::abs(RowAt(keypoint, now.at) - static_cast<double>(now.row)) >= 1;
}

bool LeaderFeed::KeypointDue(const FollowKeypoint& now) const
{
    if (!m_sent)
        return true;
    const FollowKeypoint& sent = *m_sent;
    return sent.running != now.running || sent.paused != now.paused ||
           sent.direction != now.direction || sent.rowsPerSecond != now.rowsPerSecond ||
           sent.lineCount != now.lineCount || LeaderStrayed(sent, now) ||
           now.at - sent.at >= RemoteLimits::kFollowKeypointMs * kMicrosecondsInOneMs;
}

std::vector<QByteArray> LeaderFeed::Next(const LeaderSnapshot& snapshot, qint64 unsent)
{
    std::vector<QByteArray> messages;
    // Before its first run a leader has no lines to show.
    if (snapshot.look.points <= 0)
        return messages;
    if (!m_look || !SameLook(*m_look, snapshot.look)) {
        m_look = snapshot.look;
        messages.push_back(LookJson(snapshot.look));
    }
    // The script's first piece before the first place, so that the place
    // can be checked against the lines it lies in.
    AddScriptParts(snapshot, unsent, messages);
    if (KeypointDue(snapshot.keypoint)) {
        m_sent = snapshot.keypoint;
        messages.push_back(KeypointJson(snapshot.keypoint));
    }
    return messages;
}

void LeaderFeed::AddScriptParts(const LeaderSnapshot& snapshot, qint64 unsent,
                                std::vector<QByteArray>& messages)
{
    const std::string_view script = snapshot.script ? snapshot.script->View() : std::string_view{};
    if (m_edits != snapshot.scriptEdits || script.size() < m_taken) {
        m_edits = snapshot.scriptEdits;
        ++m_revision;
        m_taken = 0;
        m_offset = 0;
        // Even an empty script is sent, once.
        messages.push_back(ScriptPartJson({m_revision, 0, {}, script.empty()}));
    }
    for (const QByteArray& message : messages)
        unsent += message.size();
    while (m_taken < script.size() && unsent < RemoteLimits::kFollowUnsentBeforePart) {
        const std::size_t end = PieceEnd(script, m_taken);
        // Sent as the follower will hold it: bytes that are no UTF-8 come as replacements.
        const QByteArray text =
            QString::fromUtf8(script.data() + m_taken, static_cast<qsizetype>(end - m_taken))
                .toUtf8();
        m_taken = end;
        messages.push_back(ScriptPartJson({m_revision, m_offset, text, end == script.size()}));
        m_offset += text.size();
        unsent += messages.back().size();
    }
}

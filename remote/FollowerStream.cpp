#include "FollowerStream.h"

#include "RemoteLimits.h"
#include "Surface.h"

namespace
{
FollowerStream::Taken StreamRefusal(const char* problem)
{
    return {FollowerStream::Change::None, QString::fromLatin1(problem)};
}
} // namespace

FollowerStream::Taken FollowerStream::Take(QByteArrayView message, qint64 heard)
{
    LeaderMessage parsed = ParseLeaderMessage(message);
    if (const auto* nonsense = std::get_if<LeaderNonsense>(&parsed))
        return {Change::None, nonsense->reason};
    if (const auto* refusal = std::get_if<LeaderRefusal>(&parsed))
        return {Change::None, QStringLiteral("The leader refused: %1").arg(refusal->message)};
    if (const auto* keypoint = std::get_if<FollowKeypoint>(&parsed))
        return TakeKeypoint(*keypoint);
    if (auto* part = std::get_if<FollowScriptPart>(&parsed))
        return TakeScriptPart(std::move(*part));
    if (const auto* look = std::get_if<FollowLook>(&parsed)) {
        m_look = *look;
        return {Change::Look, std::nullopt};
    }
    if (const auto* clock = std::get_if<FollowClockAnswer>(&parsed)) {
        if (!m_clock.Take(clock->sent, clock->leader, heard))
            return StreamRefusal("The leader answered a clock question that was never asked.");
        return {Change::Clock, std::nullopt};
    }
    return {};
}

FollowerStream::Taken FollowerStream::TakeKeypoint(const FollowKeypoint& keypoint)
{
    if (!m_look)
        return StreamRefusal("The leader sent a place before the look of its lines.");
    // The text may stand a picture's height and a line beyond either end, no further.
    const qint64 lowest = -Surface::kHeight - m_look->pitch;
    const qint64 highest = static_cast<qint64>(keypoint.lineCount) * m_look->pitch;
    if (keypoint.row < lowest || keypoint.row > highest)
        return StreamRefusal("The leader sent a place past the end of its script.");
    m_keypoint = keypoint;
    return {Change::Keypoint, std::nullopt};
}

FollowerStream::Taken FollowerStream::TakeScriptPart(FollowScriptPart part)
{
    // More of the whole script: a run's script grows while it goes.
    if (m_script && !m_arriving && part.revision == m_scriptRevision &&
        part.offset == m_script->size()) {
        if (m_script->size() + part.text.size() > RemoteLimits::kMaxScriptBytes)
            return StreamRefusal("The leader sent a script larger than 2 MiB.");
        if (part.text.isEmpty())
            return {};
        m_script->append(part.text);
        ++m_scriptChanges;
        return {Change::Script, std::nullopt};
    }
    const bool continues = m_arriving && part.revision == m_arrivingRevision;
    if (!continues && part.offset != 0)
        return StreamRefusal("The leader sent a piece of script out of its order.");
    if (continues && part.offset != m_arriving->size()) {
        m_arriving.reset();
        return StreamRefusal("The leader sent a piece of script out of its order.");
    }
    if (!continues) {
        m_arriving.emplace();
        m_arrivingRevision = part.revision;
    }
    if (m_arriving->size() + part.text.size() > RemoteLimits::kMaxScriptBytes) {
        m_arriving.reset();
        return StreamRefusal("The leader sent a script larger than 2 MiB.");
    }
    m_arriving->append(part.text);
    if (!part.last)
        return {};
    m_script = std::move(*m_arriving);
    m_arriving.reset();
    m_scriptRevision = m_arrivingRevision;
    ++m_scriptChanges;
    return {Change::Script, std::nullopt};
}

qsizetype FollowerStream::HeldBytes() const
{
    return (m_script ? m_script->size() : 0) + (m_arriving ? m_arriving->size() : 0);
}

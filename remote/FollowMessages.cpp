#include "FollowMessages.h"

#include "FaceName.h"
#include "RemoteCommand.h"
#include "RemoteLimits.h"
#include "Surface.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace
{
// Within what a double holds exactly, so that a time or a row never rounds.
constexpr qint64 kLargestExactWhole = qint64{1} << 53;
// The lines a script within the size limit can have: each ends in CR LF.
constexpr qint64 kMostFollowedLines = RemoteLimits::kMaxScriptBytes / 2;
constexpr double kFastestRowsPerSecond = 1e6;
constexpr int kLargestPoints = 2000;
constexpr int kHeaviestWeight = 1000;
constexpr ColorRef kLargestColorRef = 0xFFFFFF;
constexpr qsizetype kLongestRefusalChars = 200;

QByteArray CompactFollowJson(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A whole number from low to high, or none.
std::optional<qint64> WholeWithin(const QJsonValue& value, qint64 low, qint64 high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!std::isfinite(number) || number != std::floor(number) ||
        number < static_cast<double>(low) || number > static_cast<double>(high))
        return std::nullopt;
    return static_cast<qint64>(number);
}

LeaderNonsense Nonsense(const char* reason)
{
    return LeaderNonsense{QString::fromLatin1(reason)};
}

LeaderMessage KeypointFrom(const QJsonObject& object)
{
    FollowKeypoint keypoint;
    const auto at = WholeWithin(object.value("at"), -kLargestExactWhole, kLargestExactWhole);
    const auto row = WholeWithin(object.value("row"), -kLargestExactWhole, kLargestExactWhole);
    const auto lines = WholeWithin(object.value("lineCount"), 0, kMostFollowedLines);
    const QJsonValue speed = object.value("rowsPerSecond");
    const QJsonValue direction = object.value("direction");
    if (!at || !row || !lines || !speed.isDouble() || !object.value("paused").isBool() ||
        !object.value("running").isBool() ||
        (direction != QJsonValue("forward") && direction != QJsonValue("backward")))
        return Nonsense("The leader sent a place without its time, row, speed or direction.");
    keypoint.rowsPerSecond = speed.toDouble();
    if (!std::isfinite(keypoint.rowsPerSecond) || keypoint.rowsPerSecond < 0 ||
        keypoint.rowsPerSecond > kFastestRowsPerSecond)
        return Nonsense("The leader sent a speed no prompter moves at.");
    keypoint.at = *at;
    keypoint.row = *row;
    keypoint.lineCount = static_cast<int>(*lines);
    keypoint.direction =
        direction == QJsonValue("forward") ? ScrollDirection::Forward : ScrollDirection::Backward;
    keypoint.paused = object.value("paused").toBool();
    keypoint.running = object.value("running").toBool();
    return keypoint;
}

LeaderMessage LookFrom(const QJsonObject& object)
{
    const QJsonValue face = object.value("face");
    const auto points = WholeWithin(object.value("points"), 1, kLargestPoints);
    const auto weight = WholeWithin(object.value("weight"), 1, kHeaviestWeight);
    const auto text = WholeWithin(object.value("text"), 0, kLargestColorRef);
    const auto back = WholeWithin(object.value("back"), 0, kLargestColorRef);
    const auto pitch = WholeWithin(object.value("pitch"), 1, Surface::kHeight);
    if (!face.isString() || face.toString().size() > kMaxFaceNameChars || !points || !weight ||
        !text || !back || !pitch)
        return Nonsense("The leader sent a font, colours or line pitch out of range.");
    return FollowLook{face.toString(),
                      static_cast<int>(*points),
                      static_cast<int>(*weight),
                      static_cast<ColorRef>(*text),
                      static_cast<ColorRef>(*back),
                      static_cast<int>(*pitch)};
}

LeaderMessage ScriptPartFrom(const QJsonObject& object)
{
    const auto revision = WholeWithin(object.value("revision"), 0, kLargestExactWhole);
    const auto offset = WholeWithin(object.value("offset"), 0, RemoteLimits::kMaxScriptBytes);
    const QJsonValue text = object.value("text");
    if (!revision || !offset || !text.isString() || !object.value("last").isBool())
        return Nonsense("The leader sent a piece of script without its place.");
    FollowScriptPart part{static_cast<quint64>(*revision), *offset, text.toString().toUtf8(),
                          object.value("last").toBool()};
    // A leader sends bytes that are no UTF-8 as replacements, three bytes each.
    if (part.text.size() > 3 * RemoteLimits::kFollowScriptPartBytes)
        return Nonsense("The leader sent a piece of script larger than the protocol allows.");
    if (part.text.contains('\0'))
        return Nonsense("The leader sent a script that holds a NUL character.");
    return part;
}

LeaderMessage ClockAnswerFrom(const QJsonObject& object)
{
    const auto sent = WholeWithin(object.value("sent"), -kLargestExactWhole, kLargestExactWhole);
    const auto leader =
        WholeWithin(object.value("leader"), -kLargestExactWhole, kLargestExactWhole);
    if (!sent || !leader)
        return Nonsense("The leader sent a clock answer without its times.");
    return FollowClockAnswer{*sent, *leader};
}
} // namespace

QByteArray KeypointJson(const FollowKeypoint& keypoint)
{
    return CompactFollowJson(
        {{"keypoint", QJsonObject{
                          {"at", keypoint.at},
                          {"row", keypoint.row},
                          {"rowsPerSecond", keypoint.rowsPerSecond},
                          {"direction",
                           keypoint.direction == ScrollDirection::Forward ? "forward" : "backward"},
                          {"paused", keypoint.paused},
                          {"running", keypoint.running},
                          {"lineCount", keypoint.lineCount},
                      }}});
}

QByteArray LookJson(const FollowLook& look)
{
    return CompactFollowJson({{"look", QJsonObject{
                                           {"face", look.face},
                                           {"points", look.points},
                                           {"weight", look.weight},
                                           {"text", static_cast<qint64>(look.text)},
                                           {"back", static_cast<qint64>(look.back)},
                                           {"pitch", look.pitch},
                                       }}});
}

QByteArray ScriptPartJson(const FollowScriptPart& part)
{
    return CompactFollowJson({{"script", QJsonObject{
                                             {"revision", static_cast<qint64>(part.revision)},
                                             {"offset", part.offset},
                                             {"text", QString::fromUtf8(part.text)},
                                             {"last", part.last},
                                         }}});
}

QByteArray ClockAnswerJson(const FollowClockAnswer& answer)
{
    return CompactFollowJson(
        {{"clock", QJsonObject{{"sent", answer.sent}, {"leader", answer.leader}}}});
}

QByteArray FollowerAskJson(const FollowerAsk& ask)
{
    if (ask.kind == FollowerAsk::Kind::Follow)
        return CompactFollowJson({{"follow", true}});
    return CompactFollowJson({{"clock", ask.sent}});
}

std::optional<FollowerAsk> ParseFollowerAsk(QByteArrayView message)
{
    const std::optional<QJsonObject> object = JsonObject(message);
    if (!object || object->size() != 1)
        return std::nullopt;
    if (object->value("follow") == QJsonValue(true))
        return FollowerAsk{FollowerAsk::Kind::Follow, 0};
    if (const auto sent =
            WholeWithin(object->value("clock"), -kLargestExactWhole, kLargestExactWhole))
        return FollowerAsk{FollowerAsk::Kind::Clock, *sent};
    return std::nullopt;
}

LeaderMessage ParseLeaderMessage(QByteArrayView message)
{
    const std::optional<QJsonObject> read = JsonObject(message);
    if (!read)
        return Nonsense("The leader sent something that is not a JSON object.");
    const QJsonObject& object = *read;
    const auto inner = [&](const char* name) { return object.value(name).toObject(); };
    if (object.value("keypoint").isObject())
        return KeypointFrom(inner("keypoint"));
    if (object.value("look").isObject())
        return LookFrom(inner("look"));
    if (object.value("script").isObject())
        return ScriptPartFrom(inner("script"));
    if (object.value("clock").isObject())
        return ClockAnswerFrom(inner("clock"));
    if (object.value("error").isString())
        return LeaderRefusal{object.value("error").toString().left(kLongestRefusalChars)};
    if (object.contains("running"))
        return LeaderChatter{};
    return Nonsense("The leader sent a message this program does not know.");
}

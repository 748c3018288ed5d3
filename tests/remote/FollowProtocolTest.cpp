#include "ClockOffset.h"
#include "FollowAddress.h"
#include "FollowMessages.h"
#include "FollowerStream.h"
#include "LeaderFeed.h"
#include "RemoteLimits.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{
const FollowLook kLook{QStringLiteral("DejaVu Sans"), 48, 400, 0xFFFFFF, 0x000000, 40};

FollowKeypoint Moving(qint64 at, qint64 row, double rowsPerSecond = 100)
{
    return {at, row, rowsPerSecond, ScrollDirection::Forward, false, true, 100};
}

QString Key(const QByteArray& message)
{
    return QJsonDocument::fromJson(message).object().keys().value(0);
}
} // namespace

TEST(FollowMessages, ReadsWhatALeaderWritesAndRefusesEveryFieldOutOfRange)
{
    const FollowKeypoint keypoint = Moving(123456789, -30, 62.5);
    const LeaderMessage read = ParseLeaderMessage(KeypointJson(keypoint));
    ASSERT_TRUE(std::holds_alternative<FollowKeypoint>(read));
    EXPECT_EQ(std::get<FollowKeypoint>(read).at, keypoint.at);
    EXPECT_EQ(std::get<FollowKeypoint>(read).row, -30);
    EXPECT_EQ(std::get<FollowKeypoint>(read).rowsPerSecond, 62.5);
    EXPECT_EQ(std::get<FollowLook>(ParseLeaderMessage(LookJson(kLook))).pitch, 40);
    const FollowScriptPart part{3, 4096, "Zw\xC3\xB6lf\r\n", true};
    EXPECT_EQ(std::get<FollowScriptPart>(ParseLeaderMessage(ScriptPartJson(part))).text, part.text);
    EXPECT_EQ(std::get<FollowClockAnswer>(ParseLeaderMessage(ClockAnswerJson({5, 9}))).leader, 9);
    EXPECT_TRUE(std::holds_alternative<LeaderChatter>(ParseLeaderMessage(R"({"running":true})")));
    EXPECT_TRUE(std::holds_alternative<LeaderRefusal>(
        ParseLeaderMessage(R"({"error":"No.","status":429})")));

    const char* const nonsense[] = {
        "",
        "not json",
        "[1,2]",
        R"({"what":1})",
        R"({"keypoint":{"at":1,"row":0,"rowsPerSecond":1,"direction":"up","paused":false,)"
        R"("running":true,"lineCount":3}})",
        R"({"keypoint":{"at":1,"row":0.5,"rowsPerSecond":1,"direction":"forward",)"
        R"("paused":false,"running":true,"lineCount":3}})",
        R"({"keypoint":{"at":1,"row":0,"rowsPerSecond":-1,"direction":"forward",)"
        R"("paused":false,"running":true,"lineCount":3}})",
        R"({"keypoint":{"at":1,"row":0,"rowsPerSecond":1e308,"direction":"forward",)"
        R"("paused":false,"running":true,"lineCount":3}})",
        R"({"keypoint":{"at":1e300,"row":0,"rowsPerSecond":1,"direction":"forward",)"
        R"("paused":false,"running":true,"lineCount":3}})",
        R"({"keypoint":{"at":1,"row":0,"rowsPerSecond":1,"direction":"forward",)"
        R"("paused":false,"running":true,"lineCount":-1}})",
        R"({"look":{"face":"DejaVu Sans","points":0,"weight":400,"text":0,"back":0,"pitch":9}})",
        R"({"look":{"face":"DejaVu Sans","points":9,"weight":400,"text":16777216,"back":0,)"
        R"("pitch":9}})",
        R"({"look":{"face":"DejaVu Sans","points":9,"weight":400,"text":0,"back":0,"pitch":0}})",
        R"({"look":{"face":"0123456789012345678901234567890123","points":9,"weight":400,)"
        R"("text":0,"back":0,"pitch":9}})",
        R"({"script":{"revision":1,"offset":-1,"text":"a","last":true}})",
        R"({"script":{"revision":1,"offset":0,"text":"a\u0000b","last":true}})",
        R"({"script":{"revision":1,"offset":0,"text":7,"last":true}})",
        R"({"clock":{"sent":"now","leader":1}})",
    };
    for (const char* message : nonsense) {
        const LeaderMessage refused = ParseLeaderMessage(message);
        ASSERT_TRUE(std::holds_alternative<LeaderNonsense>(refused)) << message;
        EXPECT_FALSE(std::get<LeaderNonsense>(refused).reason.isEmpty()) << message;
    }
    const QByteArray huge =
        ScriptPartJson({1, 0, QByteArray(3 * RemoteLimits::kFollowScriptPartBytes + 1, 'x'), true});
    EXPECT_TRUE(std::holds_alternative<LeaderNonsense>(ParseLeaderMessage(huge)));
}

TEST(FollowMessages, TellsAFollowersQuestionsFromCommands)
{
    EXPECT_EQ(ParseFollowerAsk(FollowerAskJson({FollowerAsk::Kind::Follow, 0}))->kind,
              FollowerAsk::Kind::Follow);
    EXPECT_EQ(ParseFollowerAsk(FollowerAskJson({FollowerAsk::Kind::Clock, 42}))->sent, 42);
    for (const char* other : {R"({"command":"toggle"})", R"({"follow":false})",
                              R"({"clock":"soon"})", R"({"follow":true,"command":"stop"})", "{"})
        EXPECT_FALSE(ParseFollowerAsk(other)) << other;
}

TEST(ClockOffset, MeetsTheQuickestTripEachWayAndRefusesImpossibleOnes)
{
    ClockOffset clock;
    EXPECT_FALSE(clock.Offset(0));
    // The leader is 1000 ahead. Trips as long as each other, one quick out and
    // slow back, one the other way: each alone is 20 off, together exact.
    EXPECT_TRUE(clock.Take(0, 1010, 60));
    EXPECT_EQ(clock.Offset(60), 980) << "the first trip is believed at once";
    EXPECT_TRUE(clock.Take(100, 1150, 160));
    EXPECT_TRUE(clock.Take(200, 1240, 280)) << "a slower trip tightens nothing";
    EXPECT_EQ(clock.Offset(1'000'000), 1000);
    EXPECT_FALSE(clock.Take(500, 0, 499)) << "heard before it was asked";
    EXPECT_FALSE(clock.Take(0, 0, 60'000'000)) << "longer than any link keeps a question";
}

TEST(ClockOffset, MovesToANewEstimateGraduallyUnlessTheLeadersClockBeganAnew)
{
    constexpr qint64 kSecond = 1'000'000;
    ClockOffset clock;
    clock.Take(0, 1000, 0);
    // Half a minute on, the old trip has loosened by the clocks' possible
    // drift, and a trip 1 ms later agrees with it.
    const qint64 later = 30 * kSecond;
    EXPECT_TRUE(clock.Take(later, later + 2000, later));
    const struct {
        qint64 after;
        qint64 offset;
    } slewed[] = {
        {0, 1000}, {kSecond / 100, 1000 + ClockOffset::kSlewUsPerSecond / 100}, {kSecond, 2000}};
    for (const auto& at : slewed)
        EXPECT_EQ(clock.Offset(later + at.after), at.offset) << at.after;
    // A leader's clock 1000 s on from a moment ago contradicts every kept trip.
    EXPECT_TRUE(clock.Take(later + 10, 1'000'000'000, later + 20));
    EXPECT_EQ(clock.Offset(later + 20), 1'000'000'000 - later - 15);
}

TEST(FollowerStream, PutsTheScriptTogetherInOrderAndRefusesWhatBreaksIt)
{
    const auto part = [](quint64 revision, qint64 offset, const char* text, bool last) {
        return ScriptPartJson({revision, offset, text, last});
    };
    const struct {
        const char* what;
        std::vector<QByteArray> messages;
        std::optional<QByteArray> script; // none: no whole script
        bool refusedLast;
    } rows[] = {
        {"in one piece", {part(1, 0, "a\r\n", true)}, "a\r\n", false},
        {"in two", {part(1, 0, "a\r\n", false), part(1, 3, "b\r\n", true)}, "a\r\nb\r\n", false},
        {"grown after",
         {part(1, 0, "a\r\n", true), part(1, 3, "b\r\n", true)},
         "a\r\nb\r\n",
         false},
        {"edited: a new revision",
         {part(1, 0, "a\r\n", true), part(2, 0, "c\r\n", true)},
         "c\r\n",
         false},
        {"not yet whole", {part(1, 0, "a\r\n", false)}, std::nullopt, false},
        {"a gap", {part(1, 0, "a\r\n", false), part(1, 9, "b\r\n", true)}, std::nullopt, true},
        {"starting in the middle", {part(1, 5, "a\r\n", true)}, std::nullopt, true},
        {"the old one stays while a new one breaks",
         {part(1, 0, "a\r\n", true), part(2, 0, "c", false), part(2, 7, "d", true)},
         "a\r\n",
         true},
    };
    for (const auto& row : rows) {
        FollowerStream stream;
        FollowerStream::Taken taken;
        for (const QByteArray& message : row.messages)
            taken = stream.Take(message, 0);
        EXPECT_EQ(stream.Script(), row.script) << row.what;
        EXPECT_EQ(taken.problem.has_value(), row.refusedLast) << row.what;
    }

    // However a leader sends it, no more than a script's limit is held.
    FollowerStream stream;
    const QByteArray piece(RemoteLimits::kFollowScriptPartBytes, 'x');
    std::optional<QString> problem;
    qint64 offset = 0;
    for (; !problem && offset <= RemoteLimits::kMaxScriptBytes; offset += piece.size())
        problem = stream.Take(ScriptPartJson({1, offset, piece, false}), 0).problem;
    EXPECT_EQ(problem, QStringLiteral("The leader sent a script larger than 2 MiB."));
    EXPECT_EQ(stream.HeldBytes(), 0);
}

TEST(FollowerStream, TakesAPlaceOnlyWithinTheScriptAndAClockAnswerOnlyToAQuestion)
{
    FollowerStream stream;
    EXPECT_TRUE(stream.Take(KeypointJson(Moving(0, 0)), 0).problem) << "a place before the look";
    EXPECT_EQ(stream.Take(LookJson(kLook), 0).change, FollowerStream::Change::Look);
    EXPECT_EQ(stream.Take(KeypointJson(Moving(0, 100 * 40)), 0).change,
              FollowerStream::Change::Keypoint);
    const struct {
        qint64 row;
        bool taken;
    } rows[] = {{-520, true}, {-521, false}, {100 * 40 + 1, false}, {1'000'000'000, false}};
    for (const auto& row : rows)
        EXPECT_EQ(!stream.Take(KeypointJson(Moving(0, row.row)), 0).problem, row.taken) << row.row;
    EXPECT_EQ(stream.Keypoint()->row, -520) << "a refused place leaves the last one";
    EXPECT_FALSE(stream.Ready()) << "no script yet";
    stream.Take(ScriptPartJson({1, 0, "a\r\n", true}), 0);
    EXPECT_TRUE(stream.Ready());
    EXPECT_TRUE(stream.Take(ClockAnswerJson({500, 10}), 400).problem) << "answered before asked";
    EXPECT_EQ(stream.Take(ClockAnswerJson({500, 10}), 540).change, FollowerStream::Change::Clock);
    EXPECT_EQ(stream.Clock().Offset(540), 10 - 520);
}

TEST(LeaderFeed, SendsTheLookThePiecesAndThePlaceEachOnlyWhenDue)
{
    ScriptText script;
    script = std::string(10000, 'x') + "\r\n";
    LeaderSnapshot snapshot{Moving(0, 0), kLook, &script, 1};
    LeaderFeed feed;
    std::vector<QByteArray> sent = feed.Next(snapshot, 0);
    ASSERT_GE(sent.size(), 4U);
    EXPECT_EQ(Key(sent.front()), "look");
    EXPECT_EQ(Key(sent.back()), "keypoint");
    FollowerStream follower;
    for (const QByteArray& message : sent)
        EXPECT_FALSE(follower.Take(message, 0).problem);
    EXPECT_EQ(follower.Script()->toStdString(), script.View());

    const auto keys = [&](qint64 unsent) {
        QStringList named;
        for (const QByteArray& message : feed.Next(snapshot, unsent)) {
            named.append(Key(message));
            EXPECT_FALSE(follower.Take(message, 0).problem);
        }
        return named;
    };
    // Moving as the last place says: nothing, until the place is old.
    snapshot.keypoint = Moving(100'000, 10);
    EXPECT_EQ(keys(0), QStringList());
    snapshot.keypoint = Moving(500'000, 50);
    EXPECT_EQ(keys(0), QStringList{"keypoint"});
    // A row off the pace, a pause, a new speed: a place each.
    snapshot.keypoint = Moving(510'000, 60);
    EXPECT_EQ(keys(0), QStringList{"keypoint"});
    snapshot.keypoint.paused = true;
    EXPECT_EQ(keys(0), QStringList{"keypoint"});
    snapshot.keypoint = Moving(520'000, 60, 200);
    EXPECT_EQ(keys(0), QStringList{"keypoint"});

    // The script grows: its new end alone; a full socket waits.
    script += "more\r\n";
    EXPECT_EQ(keys(RemoteLimits::kFollowUnsentBeforePart), QStringList());
    EXPECT_EQ(keys(0), QStringList{"script"});
    EXPECT_EQ(follower.Script()->toStdString(), script.View());
    // Edited: afresh, from the start.
    script = "edited\r\n";
    snapshot.scriptEdits = 2;
    EXPECT_EQ(keys(0), (QStringList{"script", "script"}));
    EXPECT_EQ(follower.Script()->toStdString(), script.View());
    snapshot.look.points = 50;
    EXPECT_EQ(keys(0), QStringList{"look"});
}

TEST(FollowAddress, ReadsTheAddressesAnOperatorGives)
{
    const QString token = QStringLiteral("00112233445566778899aabbccddeeff");
    const struct {
        QString address;
        QString token;
        QString webSocket; // empty: refused
    } rows[] = {
        {"http://192.168.1.20:8787/#token=" + token, {}, "ws://192.168.1.20:8787/api/ws"},
        {"192.168.1.20:9000", token, "ws://192.168.1.20:9000/api/ws"},
        {" studio.local ", token, "ws://studio.local:8787/api/ws"},
        {"http://[::1]:8787/#token=" + token, {}, "ws://[::1]:8787/api/ws"},
        {"http://192.168.1.20:8787/", {}, {}},
        {"http://192.168.1.20:8787/#token=zz", {}, {}},
        {"ftp://192.168.1.20/", token, {}},
        {"http://me@192.168.1.20/", token, {}},
        {"", token, {}},
    };
    for (const auto& row : rows) {
        const auto read = ReadFollowAddress(row.address, row.token);
        if (row.webSocket.isEmpty()) {
            EXPECT_TRUE(std::holds_alternative<QString>(read)) << row.address.toStdString();
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<FollowTarget>(read)) << row.address.toStdString();
        EXPECT_EQ(std::get<FollowTarget>(read).webSocket.toString(), row.webSocket);
        EXPECT_EQ(std::get<FollowTarget>(read).token, token);
    }
}

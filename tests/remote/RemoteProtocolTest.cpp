#include "CommandRateLimit.h"
#include "GatedTcpServer.h"
#include "LineStarts.h"
#include "RemoteCommand.h"
#include "RemoteCommandRun.h"
#include "RemoteJson.h"
#include "RemoteRoutes.h"
#include "RequestScreen.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace
{
RemoteCommand Command(const char* json)
{
    const auto parsed = ParseRemoteCommand(json);
    EXPECT_TRUE(std::holds_alternative<RemoteCommand>(parsed)) << json;
    return std::holds_alternative<RemoteCommand>(parsed) ? std::get<RemoteCommand>(parsed)
                                                         : RemoteCommand{};
}

int RefusalStatus(const auto& result)
{
    return std::holds_alternative<RemoteError>(result) ? std::get<RemoteError>(result).status : 0;
}
} // namespace

TEST(RemoteCommandParsing, MapsEveryNameToOneCommand)
{
    using Kind = RemoteCommand::Kind;
    const struct {
        const char* json;
        PrompterCommand command;
    } rows[] = {
        {R"({"command":"stop"})", PrompterCommand::Stop},
        {R"({"command":"pause"})", PrompterCommand::Pause},
        {R"({"command":"resume"})", PrompterCommand::Resume},
        {R"({"command":"toggle"})", PrompterCommand::TogglePause},
        {R"({"command":"faster"})", PrompterCommand::Faster},
        {R"({"command":"slower"})", PrompterCommand::Slower},
        {R"({"command":"reverse"})", PrompterCommand::Reverse},
        {R"({"command":"next"})", PrompterCommand::NextParagraph},
        {R"({"command":"previous"})", PrompterCommand::PreviousParagraph},
        {R"({"command":"home","value":3})", PrompterCommand::JumpToStart},
    };
    for (const auto& row : rows) {
        const RemoteCommand command = Command(row.json);
        EXPECT_EQ(command.kind, Kind::Prompter) << row.json;
        EXPECT_EQ(command.prompter, row.command) << row.json;
    }
    EXPECT_EQ(Command(R"({"command":"start"})").kind, Kind::Start);
    EXPECT_EQ(Command(R"({"command":"speed","value":1500})").speedValue, 1500);
    // Far beyond any int: held where the run's own clamp can take over.
    EXPECT_EQ(Command(R"({"command":"speed","value":1e300})").speedValue,
              std::numeric_limits<int>::max());
    EXPECT_EQ(Command(R"({"command":"speed","value":-7})").speedValue, -7);
}

TEST(RemoteCommandParsing, RefusesWhatIsNotACommandWith400)
{
    for (const char* json :
         {"", "{", "[]", "\"stop\"", "{\"command\":1}", "{\"command\":\"STOP\"}",
          "{\"command\":\"jump\"}", "{\"cmd\":\"stop\"}", "{\"command\":\"speed\"}",
          "{\"command\":\"speed\",\"value\":\"9\"}", "{\"command\":\"speed\",\"value\":2.5}",
          "{\"command\":\"stop\"} trailing"})
        EXPECT_EQ(RefusalStatus(ParseRemoteCommand(json)), 400) << json;
}

TEST(RemoteCommandParsing, AMessageTakesItsTextAndMayTakeSeconds)
{
    const struct {
        const char* json;
        bool viaCommand; // sent to /api/command rather than /api/message
        int status;
        const char* text;
        int seconds;
    } rows[] = {
        {R"({"text":"WRAP IN 30","seconds":30})", false, 0, "WRAP IN 30", 30},
        {R"({"text":""})", false, 0, "", 0},
        {R"({"command":"message","text":"SLOW DOWN"})", true, 0, "SLOW DOWN", 0},
        {R"({"text":7})", false, 400, "", 0},
        {R"({"seconds":3})", false, 400, "", 0},
        {R"({"text":"x","seconds":"3"})", false, 400, "", 0},
        {R"({"text":"x","seconds":1.5})", false, 400, "", 0},
        {R"(["x"])", false, 400, "", 0},
        {R"({"command":"message"})", true, 400, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.json);
        const auto parsed =
            row.viaCommand ? ParseRemoteCommand(row.json) : ParseRemoteMessage(row.json);
        EXPECT_EQ(RefusalStatus(parsed), row.status);
        if (const auto* command = std::get_if<RemoteCommand>(&parsed)) {
            EXPECT_EQ(command->kind, RemoteCommand::Kind::Message);
            EXPECT_EQ(command->text, QString::fromUtf8(row.text));
            EXPECT_EQ(command->seconds, row.seconds);
        }
    }
}

TEST(RemoteCommandParsing, TakesAGotoWithAParagraphsNumberFromOneAndRefusesAnyOtherWith400)
{
    const RemoteCommand command = Command(R"({"command":"goto","value":12})");
    EXPECT_EQ(command.kind, RemoteCommand::Kind::GoTo);
    EXPECT_EQ(command.paragraph, 12);
    EXPECT_EQ(Command(R"({"command":"goto","value":1e300})").paragraph,
              std::numeric_limits<int>::max());
    for (const char* json :
         {R"({"command":"goto"})", R"({"command":"goto","value":0})",
          R"({"command":"goto","value":-3})", R"({"command":"goto","value":2.5})",
          R"({"command":"goto","value":"3"})", R"({"command":"goto","value":null})",
          R"({"command":"goto","value":[3]})", R"({"command":"goto","value":-1e300})"})
        EXPECT_EQ(RefusalStatus(ParseRemoteCommand(json)), 400) << json;
}

TEST(RemoteCommandRunning, RefusesAGotoPastTheLastParagraphWith400AndAnyWithoutARunWith409)
{
    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
    g_runParams.scriptText = "One\r\n\r\nTwo\r\nmore\r\n\r\nThree\r\n";
    g_runParams.lineCount = RecordLineStarts(0);
    const RemoteHost host{[] { return false; }, {}};
    const auto go = [&host](int paragraph) {
        RemoteCommand command = *RemoteCommandNamed("goto");
        command.paragraph = paragraph;
        const std::optional<RemoteError> refusal = CarryOutRemoteCommand(command, host);
        return refusal ? refusal->status : 0;
    };
    EXPECT_EQ(go(1), 409);
    g_runState.running = true;
    EXPECT_EQ(go(3), 0);
    EXPECT_EQ(go(4), 400);
    EXPECT_EQ(go(1000), 400);
    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
}

TEST(RequestScreening, WaitsForTheWholeRequestAndRefusesWhatIsTooLargeOrUnframed)
{
    using Verdict = RequestScreening::Verdict;
    EXPECT_EQ(ScreenRequest("GET / HTTP/1.1\r\nHost: x\r\n").verdict, Verdict::NeedMore);
    EXPECT_EQ(ScreenRequest("GET / HTTP/1.1\nHost: x\n\n").verdict, Verdict::Whole);

    const QByteArray post = "POST /api/command?a=1 HTTP/1.1\r\nContent-Length: 4\r\n\r\n";
    EXPECT_EQ(ScreenRequest(post + "ab").verdict, Verdict::NeedMore);
    const RequestScreening whole = ScreenRequest(post + "abcd");
    ASSERT_EQ(whole.verdict, Verdict::Whole);
    EXPECT_EQ(whole.head.method, "POST");
    EXPECT_EQ(whole.head.path, "/api/command");
    EXPECT_EQ(whole.head.query, "a=1");
    EXPECT_EQ(whole.head.bodyLength, 4);
    EXPECT_FALSE(whole.head.IsUpgrade());

    const struct {
        QByteArray request;
        int status;
    } refusals[] = {
        {"POST / HTTP/1.1\r\nContent-Length: 4097\r\n\r\n", 413}, // before the body comes
        {"GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a'), 413},   // a head without end
        {"GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a') + "\r\n\r\n", 413},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
        {"POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
        {"POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nno colon\r\n\r\n", 400},
        {"GET /\r\n\r\n", 400},
        {"GET  / HTTP/1.1\r\n\r\n", 400},
        {"GET http://x/ HTTP/1.1\r\n\r\n", 400},
        {"\r\n\r\nGET / HTTP/1.1\r\n\r\n", 400},
    };
    for (const auto& row : refusals) {
        const RequestScreening screening = ScreenRequest(row.request);
        EXPECT_EQ(screening.verdict, Verdict::Refuse) << row.request.left(60).toStdString();
        EXPECT_EQ(screening.error.status, row.status) << row.request.left(60).toStdString();
    }
    EXPECT_TRUE(ScreenRequest("GET /api/ws HTTP/1.1\r\nUpgrade:\r\n\r\n").head.IsUpgrade());
    EXPECT_EQ(QueryValue("a=1&token=abc&token=x", "token"), "abc");
    EXPECT_EQ(QueryValue("tokens=abc", "token"), "");
}

TEST(RemoteRouting, AsksForTheTokenFirstOnEveryApiPath)
{
    constexpr QByteArrayView kToken = "0123456789abcdef0123456789abcdef";
    const QByteArray bearer = "Bearer " + kToken.toByteArray();
    const struct {
        const char* method;
        const char* path;
        bool upgrade;
        QByteArray authorization;
        QByteArray queryToken;
        int status; // 0: let through
    } rows[] = {
        {"GET", "/", false, "", "", 0},
        {"POST", "/", false, "", "", 405},
        {"GET", "/favicon.ico", false, "", "", 404},
        {"GET", "/", true, "", "", 400},
        {"GET", "/api/state", false, bearer, "", 0},
        {"GET", "/api/state", false, "bearer " + kToken.toByteArray(), "", 0},
        {"GET", "/api/state", false, "", "", 401},
        {"GET", "/api/state", false, "Bearer 0123", "", 401},
        {"GET", "/api/state", false, bearer + "0", "", 401},
        {"GET", "/api/state", false, "Basic " + kToken.toByteArray(), "", 401},
        {"GET", "/api/state", false, "", kToken.toByteArray(), 401}, // the query is for /api/ws
        {"POST", "/api/state", false, bearer, "", 405},
        {"POST", "/api/command", false, bearer, "", 0},
        {"GET", "/api/command", false, bearer, "", 405},
        {"GET", "/api/other", false, "", "", 401},
        {"GET", "/api/other", false, bearer, "", 404},
        {"GET", "/api/ws", true, "", kToken.toByteArray(), 0},
        {"GET", "/api/ws", true, bearer, "", 0},
        {"GET", "/api/ws", true, bearer, "wrong", 401},
        {"GET", "/api/ws", false, bearer, "", 400},
        {"GET", "/api/state", true, bearer, "", 400},
    };
    for (const auto& row : rows) {
        const auto route = RouteRequest(
            {row.method, row.path, row.upgrade, row.authorization, row.queryToken, kToken});
        EXPECT_EQ(RefusalStatus(route), row.status)
            << row.method << ' ' << row.path << ' ' << row.authorization.toStdString();
    }
    // No token is set: nothing under /api/ opens, whatever is sent.
    EXPECT_EQ(RefusalStatus(RouteRequest({"GET", "/api/state", false, "Bearer ", {}, {}})), 401);
}

TEST(RemoteRouting, ComparesTokensWhole)
{
    EXPECT_TRUE(TokensMatch("abc", "abc"));
    EXPECT_FALSE(TokensMatch("ab", "abc"));
    EXPECT_FALSE(TokensMatch("abcd", "abc"));
    EXPECT_FALSE(TokensMatch("abd", "abc"));
    EXPECT_FALSE(TokensMatch("", ""));
}

TEST(RemoteRouting, AcceptsOtherMachinesOnlyWithLanAccess)
{
    for (const char* loopback : {"127.0.0.1", "127.5.0.1", "::1", "::ffff:127.0.0.1"}) {
        EXPECT_TRUE(AcceptsPeer(QHostAddress(QString::fromLatin1(loopback)), false)) << loopback;
    }
    for (const char* other : {"192.168.1.20", "10.0.0.2", "fe80::1", "::ffff:192.168.1.20"}) {
        EXPECT_FALSE(AcceptsPeer(QHostAddress(QString::fromLatin1(other)), false)) << other;
        EXPECT_TRUE(AcceptsPeer(QHostAddress(QString::fromLatin1(other)), true)) << other;
    }
}

TEST(CommandRateLimitTest, RefusesTheFiftyFirstCommandWithinASecond)
{
    CommandRateLimit limit(50);
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(limit.Allow(1000 + i * 10)) << i;
    EXPECT_FALSE(limit.Allow(1999));
    EXPECT_FALSE(limit.IsIdle(1999));
    EXPECT_TRUE(limit.Allow(2000)); // the first has left the second
    EXPECT_TRUE(limit.IsIdle(3490));
}

TEST(RemoteStateJson, HoldsExactlyTheNamedFields)
{
    PrompterStatus status;
    status.running = true;
    status.direction = ScrollDirection::Backward;
    status.speedValue = 500;
    status.lineIndex = 3;
    status.lineCount = 40;
    status.elapsedSeconds = 1.5;
    status.paragraph = 2;
    status.paragraphCount = 9;
    const QJsonObject state = QJsonDocument::fromJson(StateJson(status, "a.txt")).object();
    EXPECT_EQ(state.keys(),
              (QStringList{"direction", "elapsedSeconds", "follow", "lineCount", "lineIndex",
                           "linesPerMinute", "message", "paragraph", "paragraphCount", "paused",
                           "remainingSeconds", "rowsPerSecond", "running", "script", "speedValue",
                           "voice"}));
    EXPECT_EQ(state["voice"], "off");
    EXPECT_EQ(state["paragraph"], 2);
    EXPECT_EQ(state["paragraphCount"], 9);
    EXPECT_EQ(state["direction"], "backward");
    EXPECT_TRUE(state["remainingSeconds"].isNull());
    EXPECT_EQ(state["script"], "a.txt");
    status.remainingSeconds = 12.25;
    EXPECT_EQ(QJsonDocument::fromJson(StateJson(status, {})).object()["remainingSeconds"], 12.25);
}

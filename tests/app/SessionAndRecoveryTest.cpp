#include "AppFixture.h"

#include "ModulePath.h"
#include "MySliderControl.h"
#include "RecoveryCopy.h"
#include "ScriptEditor.h"
#include "TransparentStatic.h"

#include <QTest>

// The desktop session ending while the control window is open, and the
// recovery copy a run leaves behind when it ends without saving or dropping
// its changes.
class SessionAndRecovery : public AppFixture
{
  protected:
    void SetUp() override
    {
        WriteBytes(QStringLiteral("news.txt"), "news\r\n");
        WriteBytes(QStringLiteral("vellor.ini"), "[Settings]\nMRF=" + News().toUtf8() + "\n");
    }

    QString News() const { return PathOf(QStringLiteral("news.txt")); }
    QString CopyPath() const { return PathOf(QStringLiteral("vellor.recovery")); }

    static void Type(CVellorDlg& w, const char* text)
    {
        w.Editor().SetSelection(0, 0);
        QTest::keyClicks(&w.Editor(), QString::fromLatin1(text));
    }

    static QString Offer(const QString& file, const QDateTime& time)
    {
        return QStringLiteral("Recover the unsaved changes to ") + file + QStringLiteral(" from ") +
               time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) +
               QStringLiteral("?");
    }
};

namespace
{

// One request of the session manager and what answering it leaves.
struct SessionCase {
    const char* name;
    bool edited;          // "x" typed before the request
    bool mayInteract;     // what the session manager allows
    MessageAnswer answer; // the operator's answer to the question, if asked
    int asked;            // questions shown
    bool cancelled;       // the logout was cancelled
    const char* stored;   // news.txt afterwards
    bool settingsSaved;   // the settings were written during the request
    bool copyKept;        // a recovery copy holds the edit
};

const SessionCase kSessionCases[] = {
    {"NothingUnsaved", false, true, MessageAnswer::Cancel, 0, false, "news\r\n", true, false},
    {"AskedYes", true, true, MessageAnswer::Yes, 1, false, "xnews\r\n", true, false},
    {"AskedNo", true, true, MessageAnswer::No, 1, false, "news\r\n", true, false},
    {"AskedCancel", true, true, MessageAnswer::Cancel, 1, true, "news\r\n", false, false},
    {"NoInteraction", true, false, MessageAnswer::Cancel, 0, false, "news\r\n", true, true},
};

} // namespace

class SessionEnd : public SessionAndRecovery, public ::testing::WithParamInterface<SessionCase>
{
};

TEST_P(SessionEnd, AsksWhereItMayElseKeepsACopyAndSavesTheSettingsUnlessCancelled)
{
    const SessionCase& c = GetParam();
    int interactionAsked = 0;
    bool cancelled = false;
    bool settingsSaved = false;
    bool stillOpen = false;
    m_dialogs.answers.push_back(c.answer);
    Run([&](CVellorDlg& w) {
        if (c.edited)
            Type(w, "x");
        w.SpeedSlider().setValue(32000 - 1234);
        m_app->CommitSessionData(w, {[&] {
                                         ++interactionAsked;
                                         return c.mayInteract;
                                     },
                                     [&] { cancelled = true; }});
        settingsSaved = SettingsFile().contains("ScrollSpeed=1234\n");
        stillOpen = w.isVisible();
    });
    EXPECT_EQ(interactionAsked, c.edited ? 1 : 0) << "interaction is asked for only when needed";
    EXPECT_EQ(static_cast<int>(m_dialogs.messages.size()), c.asked);
    EXPECT_EQ(cancelled, c.cancelled);
    EXPECT_EQ(settingsSaved, c.settingsSaved);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(ReadBytes(QStringLiteral("news.txt")), QByteArray(c.stored));
    const std::optional<RecoveryCopy> copy = ReadRecoveryCopy(CopyPath());
    EXPECT_EQ(copy.has_value(), c.copyKept);
    if (copy) {
        EXPECT_EQ(copy->filePath, News());
        EXPECT_EQ(copy->text, QStringLiteral("xnews\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, SessionEnd, ::testing::ValuesIn(kSessionCases),
                         [](const ::testing::TestParamInfo<SessionCase>& info) {
                             return info.param.name;
                         });

TEST_F(SessionAndRecovery, ChangesLeftBehindAreOfferedAtTheNextStartAndYesLoadsThemAsUnsaved)
{
    Run([&](CVellorDlg& w) {
        Type(w, "x");
        m_app->CommitSessionData(w, {[] { return false; }, [] {}});
    });
    const std::optional<RecoveryCopy> left = ReadRecoveryCopy(CopyPath());
    ASSERT_TRUE(left);

    m_dialogs.answers.push_back(MessageAnswer::Yes);
    QByteArray text;
    bool unsaved = false;
    bool windowOpenAtTheOffer = true;
    m_dialogs.onMessage = [&] { windowOpenAtTheOffer = OpenWindow() != nullptr; };
    Run([&](CVellorDlg& w) {
        text = w.Editor().Text();
        unsaved = w.HasUnsavedChanges();
        w.Editor().undo();
        EXPECT_EQ(w.Editor().Text(), "news\n") << "undo goes back to the file as stored";
    });
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, Offer(News(), left->time));
    EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(m_dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(m_dialogs.messages[0].icon, MessageIcon::Question);
    EXPECT_FALSE(windowOpenAtTheOffer);
    EXPECT_EQ(text, "xnews\n");
    EXPECT_TRUE(unsaved);
    EXPECT_EQ(ReadBytes(QStringLiteral("news.txt")), "news\r\n");
}

TEST_F(SessionAndRecovery, NoDeletesTheCopyAndAScriptWithoutAFileComesBackAsANewOne)
{
    const QDateTime time(QDate(2026, 3, 2), QTime(9, 30), Qt::UTC);
    ASSERT_TRUE(WriteRecoveryCopy(CopyPath(), {News(), time, QStringLiteral("dropped\n")}));
    m_dialogs.answers.push_back(MessageAnswer::No);
    QByteArray text;
    bool copyThere = true;
    Run([&](CVellorDlg& w) {
        text = w.Editor().Text();
        copyThere = QFile::exists(CopyPath());
    });
    EXPECT_EQ(text, "news\n");
    EXPECT_FALSE(copyThere);

    ASSERT_TRUE(WriteRecoveryCopy(CopyPath(), {QString(), time, QStringLiteral("draft")}));
    m_dialogs.messages.clear();
    m_dialogs.answers.push_back(MessageAnswer::Yes);
    QString label;
    Run([&](CVellorDlg& w) {
        text = w.Editor().Text();
        label = w.FileLabel().text();
        copyThere = ReadRecoveryCopy(CopyPath()).has_value();
    });
    EXPECT_EQ(m_dialogs.messages.front().text,
              Offer(QStringLiteral("the newly created file"), time));
    EXPECT_EQ(text, "draft");
    EXPECT_EQ(label, QStringLiteral("New File"));
    EXPECT_TRUE(copyThere) << "the changes are still unsaved";
}

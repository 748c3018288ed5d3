#include "FileCommandsFixture.h"
#include "RecoveryKeeper.h"

#include <QFile>

// The recovery copy: its file, and how the control window keeps it.

namespace
{

const QDateTime kMorning(QDate(2026, 3, 2), QTime(9, 30), Qt::UTC);

} // namespace

using RecoveryCopyFile = TempDirTest;

TEST_F(RecoveryCopyFile, ReadsBackWhatWasWrittenAndNothingThatIsNotWhole)
{
    const QString path = PathOf("vellor.recovery");
    EXPECT_FALSE(ReadRecoveryCopy(path));
    const RecoveryCopy copies[] = {
        {QStringLiteral("/scripts/caf\u00E9\nnews.txt"), kMorning,
         QStringLiteral("one\ntwo \u03A9\u2028three")},
        {QString(), kMorning.addSecs(1), QString()},
    };
    for (const RecoveryCopy& copy : copies) {
        ASSERT_TRUE(WriteRecoveryCopy(path, copy));
        const std::optional<RecoveryCopy> read = ReadRecoveryCopy(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->filePath, copy.filePath);
        EXPECT_EQ(read->time, copy.time);
        EXPECT_EQ(read->text, copy.text);
    }
    EXPECT_EQ(QFile::permissions(path) &
                  ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
              0)
        << "a copy of a script is for its owner alone";

    QFile::remove(path);
    ASSERT_TRUE(WriteRecoveryCopy(path, copies[0]));
    const QByteArray whole = ReadBytes("vellor.recovery");
    for (const QByteArray& broken : {whole.chopped(1), whole + "x", whole.mid(1), QByteArray()}) {
        WriteBytes("vellor.recovery", broken);
        EXPECT_FALSE(ReadRecoveryCopy(path)) << broken.toStdString();
    }
}

TEST_F(RecoveryCopyFile, NeverReplacesALaterCopy)
{
    const QString path = PathOf("vellor.recovery");
    ASSERT_TRUE(WriteRecoveryCopy(path, {QString(), kMorning, QStringLiteral("later")}));
    EXPECT_FALSE(WriteRecoveryCopy(path, {QString(), kMorning.addSecs(-1), QStringLiteral("")}));
    EXPECT_EQ(ReadRecoveryCopy(path)->text, QStringLiteral("later"));
    EXPECT_TRUE(WriteRecoveryCopy(path, {QString(), kMorning.addSecs(1), QStringLiteral("newer")}));
    EXPECT_EQ(ReadRecoveryCopy(path)->text, QStringLiteral("newer"));
}

// A control window that keeps its recovery copy with a clock the test sets.
class RecoveryKeeping : public FileCommandsFixture
{
  protected:
    void SetUp() override
    {
        FileCommandsFixture::SetUp();
        ASSERT_TRUE(m_keeper.Lock());
        Window().KeepRecoveryCopy(m_keeper);
    }

    std::optional<RecoveryCopy> Copy() const { return ReadRecoveryCopy(CopyPath()); }
    QString CopyPath() const { return PathOf("vellor.recovery"); }

    QDateTime m_now = kMorning;
    RecoveryKeeper m_keeper{PathOf("vellor.recovery"), [this] { return m_now; }};
};

TEST_F(RecoveryKeeping, CopiesChangedTextAtEachUpdateOnlyAndRemovesTheCopyOnceSaved)
{
    m_keeper.Update();
    EXPECT_FALSE(QFile::exists(CopyPath())) << "nothing is unsaved";
    Type("x");
    EXPECT_FALSE(QFile::exists(CopyPath())) << "copies wait for the interval";
    m_keeper.Update();
    std::optional<RecoveryCopy> copy = Copy();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->filePath, PathOf("script.txt"));
    EXPECT_EQ(copy->text, QStringLiteral("xfirst line\nsecond line\n"));
    EXPECT_EQ(copy->time, kMorning);

    m_now = kMorning.addSecs(30);
    m_keeper.Update();
    EXPECT_EQ(Copy()->time, kMorning) << "an unchanged text is not copied again";
    Type("y");
    m_keeper.Update();
    EXPECT_EQ(Copy()->text, QStringLiteral("yxfirst line\nsecond line\n"));
    EXPECT_EQ(Copy()->time, m_now);

    Run(Ids::kCmdSave);
    EXPECT_FALSE(QFile::exists(CopyPath()));
}

TEST_F(RecoveryKeeping, ChangesDroppedByNoOrTakenBackRemoveTheCopy)
{
    const std::function<void()> drops[] = {
        [this] {
            m_dialogs.answers.push_back(MessageAnswer::No);
            Run(Ids::kCmdNew);
        },
        [this] {
            QTest::keyClick(&Editor(), Qt::Key_Backspace);
            m_keeper.Update();
        },
        [this] {
            QTest::keyClick(&Editor(), Qt::Key_Backspace);
            Run(Ids::kCmdExit);
        },
    };
    for (const auto& drop : drops) {
        Type("x");
        m_keeper.Update();
        ASSERT_TRUE(QFile::exists(CopyPath()));
        drop();
        EXPECT_FALSE(QFile::exists(CopyPath()));
    }
}

TEST_F(RecoveryKeeping, ASecondRunningProgramNeitherTakesNorTouchesTheCopy)
{
    Type("x");
    m_keeper.Update();
    RecoveryKeeper second(CopyPath());
    EXPECT_FALSE(second.Lock());
    EXPECT_FALSE(second.LeftBehind());
    second.Discard();
    EXPECT_TRUE(QFile::exists(CopyPath()));
}

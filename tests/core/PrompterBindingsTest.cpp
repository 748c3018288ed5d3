#include "PrompterBindings.h"

#include <QFile>
#include <QKeySequence>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>
#include <string>

// The README and the operator's guide each list all the prompter's keys;
// the lists must say what the bindings do.
namespace
{

std::string Entry(int key, PrompterCommand command, bool whilePaused)
{
    return QKeySequence(key).toString().toStdString() + " gives " +
           std::to_string(static_cast<int>(command)) + (whilePaused ? "" : " only while moving");
}

std::set<std::string> BoundKeys()
{
    std::set<std::string> keys;
    for (const PrompterBinding& binding : PrompterBindings()) {
        if (binding.input == PrompterInput::Key)
            keys.insert(Entry(binding.code, binding.command, binding.whilePaused));
    }
    return keys;
}

// The command a guide's description names; Stop when none other.
PrompterCommand Described(const QString& text)
{
    const struct {
        const char* words;
        PrompterCommand command;
    } kWords[] = {
        {"digit of a story number", PrompterCommand::TypeDigit},
        {"go to the story number", PrompterCommand::GoToTyped},
        {"next paragraph", PrompterCommand::NextParagraph},
        {"paragraph before", PrompterCommand::PreviousParagraph},
        {"of the script", PrompterCommand::JumpToStart},
        {"pause", PrompterCommand::TogglePause},
        {"faster", PrompterCommand::Faster},
        {"slower", PrompterCommand::Slower},
        {"moving forward", PrompterCommand::ReverseFromForward},
        {"moves up", PrompterCommand::ReverseFromForward},
        {"moving backward", PrompterCommand::ReverseFromBackward},
        {"runs back", PrompterCommand::ReverseFromBackward},
    };
    for (const auto& word : kWords) {
        if (text.contains(QLatin1String(word.words), Qt::CaseInsensitive))
            return word.command;
    }
    return PrompterCommand::Stop;
}

// Every key of a table, with what its row says it does. A row may name
// several keys; its description says "while" when paused it does nothing.
std::set<std::string> ListedKeys(const QString& table, const QRegularExpression& row)
{
    const QList<std::pair<QString, QString>> kNames = {
        {"full stop", "."},       {"Down arrow", "Down"}, {"Up arrow", "Up"},
        {"Page Down", "PgDown"},  {"Page Up", "PgUp"},    {"Enter", "Return"},
        {"keypad Enter", "Enter"}};
    std::set<std::string> keys;
    for (const auto& match : row.globalMatch(table)) {
        const QString description = match.captured(2).simplified();
        for (QString name : match.captured(1).split(u',')) {
            name = name.trimmed();
            for (const auto& [written, portable] : kNames) {
                if (name == written)
                    name = portable;
            }
            const QKeySequence key = QKeySequence::fromString(name, QKeySequence::PortableText);
            EXPECT_EQ(key.count(), 1) << name.toStdString();
            keys.insert(
                Entry(key[0].key(), Described(description), !description.contains("while")));
        }
    }
    return keys;
}

QString Between(const QString& text, const QString& from, const QString& to)
{
    const qsizetype start = text.indexOf(from);
    EXPECT_GE(start, 0) << from.toStdString();
    return text.mid(start, text.indexOf(to, start) - start);
}

QString Read(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(PrompterBindings, TheReadmeAndTheGuideListEveryKeyWithItsCommandAndWhetherItActsWhilePaused)
{
    const QString readme = Read(QStringLiteral(VELLOR_README));
    const QString keys =
        Between(readme.mid(readme.indexOf(QStringLiteral("### Jumps, presenter clickers"))),
                QStringLiteral("| --- | --- |"), QStringLiteral("\n\n"));
    EXPECT_EQ(ListedKeys(keys, QRegularExpression(QStringLiteral(R"(\n\| ([^|]+) \| ([^|]+) \|)"))),
              BoundKeys());
    const QString guide = Between(Read(QStringLiteral(":/help/vellor.html")),
                                  QStringLiteral("name=\"clickers\""), QStringLiteral("</table>"));
    EXPECT_EQ(ListedKeys(guide, QRegularExpression(
                                    QStringLiteral(R"(<td class="key">(.*?)</td><td>(.*?)</td>)"),
                                    QRegularExpression::DotMatchesEverythingOption)),
              BoundKeys());
}

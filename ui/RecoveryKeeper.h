#pragma once

#include "RecoveryCopy.h"

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

// Keeps the recovery copy of one running program's script. The copy lives in
// one file; a lock beside it tells which running program keeps it, so that a
// second one started meanwhile neither offers nor touches a copy that is not
// left over. While the script has unsaved changes the keeper copies its text
// at most once an interval, and only when it changed since the last copy;
// once the changes are saved or dropped the copy goes.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
  public:
    /// What the keeper copies: the script's file and its unsaved text.
    struct Unsaved {
        QString filePath; ///< the script's file; empty for a script without one
        QString text;     ///< the script's text, line breaks as LF
    };
    /// Answers the script's unsaved changes, or nothing when there are none.
    using Source = std::function<std::optional<Unsaved>()>;
    /// The time a copy is stamped with.
    using Clock = std::function<QDateTime()>;

    /// The shortest time between two copies.
    static constexpr std::chrono::seconds kInterval{30};

    /// A keeper of the copy at `copyPath`, stamping copies with `clock`'s time.
    /// It keeps nothing until Lock() succeeds.
    explicit RecoveryKeeper(QString copyPath, Clock clock = &QDateTime::currentDateTimeUtc);

    /// Takes the copy for this program against any other running one; false
    /// when another holds it or its folder takes no lock file.
    bool Lock();

    /// The copy an earlier run left behind, once this keeper holds the lock.
    std::optional<RecoveryCopy> LeftBehind();

    /// Copies what `source` answers every interval from now on, for as long as
    /// `owner` lives.
    void Follow(const QObject& owner, Source source);

    /// The script's text changed: the next Update looks at it again. Until
    /// then there is nothing to copy, so an interval without an edit, such as
    /// one that passes during a scroll run, costs nothing.
    void NoteChange();

    /// Brings the copy up to date at once, if the text changed since the last
    /// look: writes it when there are unsaved changes that it does not hold
    /// yet, removes it when there are none.
    void Update();

    /// Removes the copy: the changes it held were saved or deliberately dropped.
    void Discard();

  private:
    QString m_path;
    Clock m_clock;
    QLockFile m_lock;
    QTimer m_timer;
    QPointer<const QObject> m_owner;
    Source m_source;
    // What the copy on disk holds, when this keeper knows it holds anything.
    std::optional<Unsaved> m_copied;
    // Whether the text may differ from what the last Update found.
    bool m_changed = true;
};

#include "RecoveryKeeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

RecoveryKeeper::RecoveryKeeper(QString copyPath, Clock clock)
    : m_path(std::move(copyPath)), m_clock(std::move(clock)),
      m_lock(m_path + QStringLiteral(".lock"))
{
    // The lock is held for the whole run, so only a dead holder makes it
    // stale, never its age.
    m_lock.setStaleLockTime(0);
    m_timer.setInterval(kInterval);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::Update);
}

bool RecoveryKeeper::Lock()
{
    // A first run may come before anything made the settings' folder.
    return m_lock.isLocked() ||
           (QDir().mkpath(QFileInfo(m_path).absolutePath()) && m_lock.tryLock());
}

std::optional<RecoveryCopy> RecoveryKeeper::LeftBehind()
{
    if (!m_lock.isLocked())
        return std::nullopt;
    std::optional<RecoveryCopy> copy = ReadRecoveryCopy(m_path);
    if (copy)
        m_copied = Unsaved{copy->filePath, copy->text};
    return copy;
}

void RecoveryKeeper::Follow(const QObject& owner, Source source)
{
    m_owner = &owner;
    m_source = std::move(source);
    m_timer.start();
}

void RecoveryKeeper::NoteChange()
{
    m_changed = true;
}

void RecoveryKeeper::Update()
{
    if (!m_changed || !m_lock.isLocked() || !m_owner || !m_source)
        return;
    const std::optional<Unsaved> unsaved = m_source();
    if (!unsaved) {
        Discard();
        m_changed = false;
        return;
    }
    const bool copied =
        m_copied && m_copied->filePath == unsaved->filePath && m_copied->text == unsaved->text;
    if (copied || WriteRecoveryCopy(m_path, {unsaved->filePath, m_clock(), unsaved->text})) {
        m_copied = unsaved;
        m_changed = false;
    }
}

void RecoveryKeeper::Discard()
{
    if (!m_lock.isLocked())
        return;
    QFile::remove(m_path);
    m_copied.reset();
}

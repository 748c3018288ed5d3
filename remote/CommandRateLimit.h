#pragma once

#include <QtGlobal>

#include <deque>

// Counts one client's commands and refuses those beyond a number within any
// second. Times are milliseconds of a steady clock the caller reads.
class CommandRateLimit
{
  public:
    /// A limit of `perSecond` commands.
    explicit CommandRateLimit(int perSecond);

    /// Whether a command at `nowMs` is within the limit; only those are counted.
    bool Allow(qint64 nowMs);

    /// Whether nothing was allowed in the second before `nowMs`.
    bool IsIdle(qint64 nowMs) const;

  private:
    std::deque<qint64> m_recent; // times of the commands allowed in the last second
    int m_perSecond;
};

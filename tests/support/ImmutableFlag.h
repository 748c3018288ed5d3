#pragma once

#include <QFile>
#include <QString>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// Marks a file or folder immutable for the life of the object, so that even
// root cannot write, rename or create there (permission bits do not stop root).
// Needs Linux, a file system with the flag and the right to set it; IsSet tells.
class ImmutableFlag
{
  public:
    explicit ImmutableFlag(const QString& path)
    {
#ifdef __linux__
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
#else
        Q_UNUSED(path);
#endif
    }

    ~ImmutableFlag()
    {
#ifdef __linux__
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }

    ImmutableFlag(const ImmutableFlag&) = delete;
    ImmutableFlag& operator=(const ImmutableFlag&) = delete;

    /// Whether the flag was set.
    bool IsSet() const
    {
        return m_set;
    }

  private:
    int m_fd = -1;
    bool m_set = false;
};

#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

// Marks a file or folder immutable for the life of the object, so that even
// root cannot write, rename or create there (permission bits do not stop root).
// Needs a file system with the flag and the right to set it; IsSet tells.
class ImmutableFlag
{
  public:
    explicit ImmutableFlag(const QString& path) : m_fd(::open(QFile::encodeName(path), O_RDONLY))
    {
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }

    ~ImmutableFlag()
    {
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
    }

    ImmutableFlag(const ImmutableFlag&) = delete;
    ImmutableFlag& operator=(const ImmutableFlag&) = delete;

    /// Whether the flag was set.
    bool IsSet() const { return m_set; }

  private:
    int m_fd;
    bool m_set = false;
};

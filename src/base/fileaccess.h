#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

#include <utility>

namespace base {

// Small POSIX helpers for every subsystem that reads or writes files.

// The path as the system wants it (local 8-bit encoding).
QByteArray nativePath(const QString &path);

// True when the file may be rewritten: a regular file with a write permission bit that the
// process can write. The permission bits are honoured even for root, so that a file the user
// marked read-only stays untouched.
bool mayWrite(const struct stat &info, const QByteArray &path);

// Reads exactly size bytes at offset, retrying short reads; false on error or end of file.
bool readAt(int fd, char *data, qint64 size, qint64 offset);
// Writes exactly size bytes at offset, retrying short writes.
bool writeAt(int fd, const char *data, qint64 size, qint64 offset);

// A short French description of an errno value, for messages.
QString systemError(int error);

// The path to show in a message: absolute, so that a relative one says which folder.
QString shownPath(const QString &fichier);

// Owns one file descriptor.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd();
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    Fd &operator=(Fd &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    // Closes now; false when close reports an error (a delayed write failure).
    bool close();

private:
    int m_fd;
};

} // namespace base

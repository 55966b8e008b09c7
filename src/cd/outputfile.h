#pragma once

#include "base/fileaccess.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace cd {

// Whether an output may take the place of a file that already has its name.
enum class Overwrite { Refuse, Replace };

// True when something (a file, a folder, a link, even a dangling one) already has this name.
bool outputExists(const QString &path);

// The path as the user should read it in a message: with its folder, also when it was given
// relative to the current folder.
QString displayPath(const QString &path);

// Runs on a complete output under its temporary name, before it gets its own (the tags of a
// ripped track are written there); gives the French description of a failure, or an empty text.
using BeforeNaming = std::function<QString(const QString &temporaryPath)>;

// A file made by the program: written to a new temporary file beside its name and given that
// name only once complete, so a failure leaves nothing behind; the temporary files a killed job
// left in the folder are removed first. An existing file is replaced only
// with Overwrite::Replace, and only if it existed when the output was opened: a file that
// appears meanwhile is never clobbered, nor is a read-only one. A replaced link is written
// through. An existing device or pipe (with Overwrite::Replace) is written directly. Every write
// and the close are checked.
class OutputFile
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool open(const QString &path, Overwrite overwrite);
    bool write(const char *data, qint64 size);
    // Overwrites bytes already written, at offset from the start of the file.
    bool writeAt(qint64 offset, const QByteArray &data);
    // Closes the file, runs beforeNaming on it, and gives it its name.
    bool commit(const BeforeNaming &beforeNaming = {});

    // The French description of the last failure, naming the file and the cause.
    QString errorMessage() const;

private:
    bool fail(int error);

    enum class Step { Create, Write, Name };
    QString m_path;
    QByteArray m_target;    // the name the file gets
    QByteArray m_temporary; // empty when writing directly
    base::Fd m_fd;
    qint64 m_written = 0; // bytes appended so far
    qint64 m_flushed = 0; // bytes whose writing to the disk has been started
    bool m_replace = false;
    bool m_readOnly = false; // the file to replace is read-only
    Step m_step = Step::Create;
    int m_error = 0;
    QString m_failure; // what beforeNaming reported
};

} // namespace cd

#pragma once

// Helpers shared by the tag sub-commands of tarvex-cli (tags, set, copy, clear).

#include "command.h"

#include "base/fileaccess.h"

#include "tags/tagsave.h"
#include "tags/tagtype.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QSet>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tagcli {

inline QJsonObject v1Object(const tags::TypeTagV1 &t)
{
    return {
        {QStringLiteral("Titre"), t.Titre()},
        {QStringLiteral("Artiste"), t.Artiste()},
        {QStringLiteral("Album"), t.Album()},
        {QStringLiteral("Annee"), t.Annee()},
        {QStringLiteral("Commentaire"), t.Commentaire()},
        {QStringLiteral("Piste"), int(t.Piste())},
        {QStringLiteral("Genre"), t.Genre()},
    };
}

inline QJsonObject v2Object(const tags::TypeTagV2 &t)
{
    QJsonObject object{
        {QStringLiteral("Titre"), t.Titre()},
        {QStringLiteral("Artiste"), t.Artiste()},
        {QStringLiteral("Album"), t.Album()},
        {QStringLiteral("Annee"), t.Annee()},
        {QStringLiteral("Commentaire"), t.Commentaire()},
        {QStringLiteral("Piste"), t.Piste()},
        {QStringLiteral("Genre"), t.Genre()},
        {QStringLiteral("Compositeur"), t.Compositeur()},
        {QStringLiteral("Original"), t.Original()},
        {QStringLiteral("Copyright"), t.Copyright()},
        {QStringLiteral("Url"), t.Url()},
        {QStringLiteral("Encode"), t.Encode()},
    };
    object.insert(QStringLiteral("Image"),
                  t.PictureBinary().isEmpty()
                      ? QJsonValue(QJsonValue::Null)
                      : QJsonValue(QJsonObject{
                            {QStringLiteral("octets"), double(t.PictureBinary().size())}}));
    return object;
}

// Why a path cannot be handled as a file, or an empty text. Only regular files are opened: a
// named pipe or a device would block or stream for ever.
inline QString notAFile(const QString &path)
{
    struct stat info;
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT
                   ? QStringLiteral("Fichier introuvable")
                   : QStringLiteral("Fichier inaccessible : %1").arg(base::systemError(errno));
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("C'est un dossier, pas un fichier");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("Ce n'est pas un fichier ordinaire (tube, périphérique...)");
    return {};
}

// Saves of a batch leave their in-place writes to the one sync that ends the batch.
constexpr tags::SaveOptions batchSave{false};

// The error of a save, or an empty text.
inline QString saved(const tags::Result<tags::SaveKind> &result)
{
    return result.ok() ? QString() : result.error();
}

// Brings the data written to the files of a batch to the disk: one sync for each file system.
// The error, or an empty text.
inline QString syncFileSystems(const QStringList &files)
{
    QSet<dev_t> done;
    for (const QString &path : files) {
        struct stat info;
        const QByteArray native = QFile::encodeName(path);
        if (stat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            done.contains(info.st_dev))
            continue;
        done.insert(info.st_dev);
        const base::Fd fd(open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() >= 0 && syncfs(fd.get()) != 0)
            return QStringLiteral("Les données n'ont pas pu être écrites sur le disque : %1")
                .arg(base::systemError(errno));
    }
    return {};
}

// One entry of the answer of a command that changes files.
inline QJsonObject outcome(const QString &path, bool ok, const QString &error = {})
{
    QJsonObject entry{{QStringLiteral("fichier"), path}, {QStringLiteral("ok"), ok}};
    if (!error.isEmpty())
        entry.insert(QStringLiteral("erreur"), error);
    return entry;
}

// Changes every file with `change`, which gives the French description of a failure or an empty
// text, prints one outcome per file in the order given and returns the exit status. A few files
// are changed at once: each save waits until its data are on disk before taking the file's
// name, and while it waits the next file is being written. A file named twice (directly or
// through a link) is changed by one worker, in the order given.
inline int changeFiles(const QStringList &files,
                       const std::function<QString(const QString &path)> &change)
{
    std::vector<std::vector<qsizetype>> groups; // positions in `files` of each distinct file
    QHash<QString, size_t> groupOf;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString canonical = QFileInfo(files[i]).canonicalFilePath();
        const QString key = canonical.isEmpty() ? files[i] : canonical;
        const auto found = groupOf.constFind(key);
        if (found != groupOf.cend()) {
            groups[*found].push_back(i);
        } else {
            groupOf.insert(key, groups.size());
            groups.push_back({i});
        }
    }

    std::vector<QString> errors(size_t(files.size()));
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t group; (group = next++) < groups.size();) {
            for (const qsizetype i : groups[group]) {
                errors[size_t(i)] = notAFile(files[i]);
                if (errors[size_t(i)].isEmpty())
                    errors[size_t(i)] = change(files[i]);
            }
        }
    };
    {
        // Saving is bound by the disk, not the processor: a few workers keep it busy.
        constexpr size_t maxWorkers = 4;
        std::vector<std::jthread> workers;
        for (size_t w = 0; w < std::min(maxWorkers, groups.size()); ++w)
            workers.emplace_back(work);
    } // the workers are joined here
    QStringList changed;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (errors[size_t(i)].isEmpty())
            changed.append(files[i]);
    }
    if (const QString error = syncFileSystems(changed); !error.isEmpty()) {
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (errors[size_t(i)].isEmpty())
                errors[size_t(i)] = error;
        }
    }

    QJsonArray out;
    int status = cli::AllSucceeded;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &error = errors[size_t(i)];
        if (!error.isEmpty())
            status = cli::SomeFailed;
        out.append(outcome(files[i], error.isEmpty(), error));
    }
    cli::printJson(QJsonDocument(out));
    return status;
}

} // namespace tagcli

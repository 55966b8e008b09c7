#pragma once

// Helpers shared by the tag sub-commands of tarvex-cli (tags, set, copy, clear).

#include "command.h"

#include "tags/tagtype.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

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

// Why a path cannot be handled as a file, or an empty text.
inline QString notAFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Fichier introuvable");
    if (info.isDir())
        return QStringLiteral("C'est un dossier, pas un fichier");
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

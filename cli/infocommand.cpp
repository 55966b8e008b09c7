// tarvex-cli info FICHIER...: the MPEG properties of each file and the texts of the
// "Info Fichier" page, as a JSON array on standard output, printed file by file; a file of
// another kind (FLAC, Ogg, WAV...) also gets the name of what it is ("conteneur").
#include "command.h"
#include "tagcli.h"

#include "mpeg/confirmedaudio.h"
#include "mpeg/fileinfo.h"
#include "mpeg/typetagmpeg.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr const char *usage =
    QT_TRANSLATE_NOOP("cli", "info FICHIER...  (propriétés MPEG et page Info Fichier, en JSON)");

QJsonObject mpegObject(const mpeg::TypeTagMpeg &r)
{
    return {
        {QStringLiteral("Valide"), r.Valide()},
        {QStringLiteral("Taille"), double(r.Taille())},
        {QStringLiteral("EntetePos"), double(r.EntetePos())},
        {QStringLiteral("Duree"), double(r.Duree())},
        {QStringLiteral("Mpeg"), r.Mpeg()},
        {QStringLiteral("Layer"), r.Layer()},
        {QStringLiteral("CRC"), r.CRC()},
        {QStringLiteral("BitRate"), r.BitRate()},
        {QStringLiteral("Frequence"), r.Frequence()},
        {QStringLiteral("Padded"), r.Padded()},
        {QStringLiteral("Frames"), double(r.Frames())},
        {QStringLiteral("PrivateBit"), r.PrivateBit()},
        {QStringLiteral("Mode"), r.Mode()},
        {QStringLiteral("ModeExt"), r.ModeExt()},
        {QStringLiteral("Copyright"), r.Copyright()},
        {QStringLiteral("Original"), r.Original()},
        {QStringLiteral("Emphasis"), r.Emphasis()},
        {QStringLiteral("Vbr"), r.Vbr()},
    };
}

// Why a file cannot be read, or an empty text when it can.
QString unreadable(const QString &path)
{
    if (const QString why = tagcli::notAFile(path); !why.isEmpty())
        return why;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("cli", "Impossible de lire le fichier : %1")
            .arg(file.errorString());
    return QString();
}

int runInfo(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usage);

    cli::JsonArrayWriter out;
    int status = cli::AllSucceeded;
    for (const QString &path : arguments.files) {
        QJsonObject entry{{QStringLiteral("fichier"), path}};
        const QString error = unreadable(path);
        if (!error.isEmpty()) {
            entry.insert(QStringLiteral("mpeg"), QJsonValue::Null);
            entry.insert(QStringLiteral("infos"), QJsonValue::Null);
            entry.insert(QStringLiteral("erreur"), error);
            status = cli::SomeFailed;
        } else {
            mpeg::TypeTagMpeg r;
            r.AnalyseMpeg(path);
            mpeg::FileInfo info;
            mpeg::readFileInfo(path, info);
            QJsonObject labels;
            for (const auto &[name, text] : mpeg::labelTexts(info))
                labels.insert(name, text);
            entry.insert(QStringLiteral("mpeg"), mpegObject(r));
            entry.insert(QStringLiteral("infos"), labels);
            // What a file that holds no MPEG audio is instead.
            QFile file(path);
            const QString container =
                file.open(QIODevice::ReadOnly) ? mpeg::nonMpegContainer(file) : QString();
            if (!container.isEmpty())
                entry.insert(QStringLiteral("conteneur"), container);
        }
        out.append(entry);
    }
    out.finish();
    return status;
}

const cli::Registration registration({"info", usage, runInfo});

} // namespace

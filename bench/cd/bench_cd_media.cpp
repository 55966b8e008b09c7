// bench_cd_media image FOLDER NAME SECTORS...  : a cue+bin disc image with tracks of those lengths
// bench_cd_media wav FILE SECONDS              : a stereo 44100 Hz 16-bit WAV file, streamed
#include "discimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <QTextStream>

namespace {

int writeWav(const QString &path, qint64 seconds)
{
    const qint64 frames = seconds * 44100;
    const qint64 bytes = frames * 4;
    if (bytes > 0xFFFFFFFFLL - 36) {
        QTextStream(stderr) << "trop long pour un fichier WAV\n";
        return 2;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QByteArray header = testsupport::wavBytes({}, 2, 44100, 16);
    qToLittleEndian<quint32>(quint32(36 + bytes), header.data() + 4);
    qToLittleEndian<quint32>(quint32(bytes), header.data() + 40);
    file.write(header);
    // One minute of tone, written again and again.
    const QByteArray minute = testsupport::tonePcm16(44100 * 60, 2, 44100);
    for (qint64 left = bytes; left > 0;) {
        const qint64 n = std::min<qint64>(left, minute.size());
        if (file.write(minute.constData(), n) != n)
            return 1;
        left -= n;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 4 && args.at(0) == QLatin1String("image")) {
        QList<int> sectors;
        for (const QString &s : args.mid(3))
            sectors << s.toInt();
        return testsupport::DiscImage(args.at(1), args.at(2), sectors).isValid() ? 0 : 1;
    }
    if (args.size() == 3 && args.at(0) == QLatin1String("wav"))
        return writeWav(args.at(1), args.at(2).toLongLong());
    QTextStream(stderr)
        << "Utilisation : bench_cd_media image DOSSIER NOM SECTEURS... | wav FICHIER SECONDES\n";
    return 2;
}

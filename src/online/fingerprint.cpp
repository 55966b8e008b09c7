#include "online/fingerprint.h"

#include "mpeg/mp3decoder.h"
#include "mpeg/typetagmpeg.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <chromaprint.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace online {

namespace {

// A cache file larger than this is not read: it was not written by us.
constexpr qint64 maxCacheBytes = 64 * 1024 * 1024;
// Entries kept at most; past that, those written longest ago go.
constexpr int maxCacheEntries = 20000;

struct ContextFree
{
    void operator()(ChromaprintContext *context) const { chromaprint_free(context); }
};

// What identifies a file's content for the cache: its size and modification time.
QString identityOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return QStringLiteral("%1:%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

// The length of the whole file from its frames, as the player counts it.
double durationOf(const QString &path, qint64 framesDecoded, int rate)
{
    mpeg::TypeTagMpeg mpeg;
    mpeg = mpeg.AnalyseMpeg(path);
    const double decoded = rate > 0 ? double(framesDecoded) / rate : 0;
    if (!mpeg.Valide() || mpeg.Duree() <= 0 || decoded < fingerprintSeconds - 1)
        return decoded;
    return double(mpeg.Duree());
}

} // namespace

Fingerprint computeFingerprint(const QString &path)
{
    Fingerprint result;
    result.fichier = path;
    mpeg::Mp3Decoder decoder;
    if (!decoder.open(path, mpeg::Mp3Decoder::Format::Int16, fingerprintSeconds)) {
        result.error = decoder.error();
        return result;
    }
    std::unique_ptr<ChromaprintContext, ContextFree> context(
        chromaprint_new(CHROMAPRINT_ALGORITHM_DEFAULT));
    if (!context || !chromaprint_start(context.get(), decoder.sampleRate(), decoder.channels())) {
        result.error = QCoreApplication::translate("online", "Empreinte impossible pour « %1 »")
                           .arg(QDir::toNativeSeparators(path));
        return result;
    }
    for (auto block = decoder.readInt16(); !block.empty(); block = decoder.readInt16())
        chromaprint_feed(context.get(), block.data(), int(block.size()));
    if (decoder.failed()) {
        result.error = decoder.error();
        return result;
    }
    char *text = nullptr;
    if (!chromaprint_finish(context.get()) || !chromaprint_get_fingerprint(context.get(), &text) ||
        !text) {
        result.error = QCoreApplication::translate("online", "Empreinte impossible pour « %1 »")
                           .arg(QDir::toNativeSeparators(path));
        return result;
    }
    result.fingerprint = QString::fromLatin1(text);
    chromaprint_dealloc(text);
    result.duration = durationOf(path, decoder.framesRead(), decoder.sampleRate());
    return result;
}

QString defaultFingerprintCache()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/tarvex/empreintes.json");
}

QList<Fingerprint> fingerprintFiles(const QStringList &paths, const QString &cachePath,
                                    int *computed)
{
    const QString cacheFile = cachePath.isEmpty() ? defaultFingerprintCache() : cachePath;
    QJsonObject cache;
    QFile file(cacheFile);
    if (file.size() <= maxCacheBytes && file.open(QIODevice::ReadOnly))
        cache = QJsonDocument::fromJson(file.readAll()).object();
    file.close();

    QList<Fingerprint> prints(paths.size());
    QStringList identities;
    std::vector<qsizetype> missing;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString identity = identityOf(paths[i]);
        identities.append(identity);
        const QJsonObject entry = cache.value(QFileInfo(paths[i]).absoluteFilePath()).toObject();
        if (!identity.isEmpty() && entry.value(u"id").toString() == identity &&
            !entry.value(u"fp").toString().isEmpty()) {
            prints[i] = {paths[i], entry.value(u"d").toDouble(), entry.value(u"fp").toString(), {}};
        } else {
            missing.push_back(i);
        }
    }
    if (computed)
        *computed = int(missing.size());
    if (missing.empty())
        return prints;

    // Each worker takes the next file until none is left: long and short files share the
    // cores evenly.
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t k = next++; k < missing.size(); k = next++)
            prints[missing[k]] = computeFingerprint(paths[missing[k]]);
    };
    const size_t workers =
        std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), missing.size());
    std::vector<std::thread> threads;
    for (size_t w = 1; w < workers; ++w)
        threads.emplace_back(work);
    work();
    for (std::thread &thread : threads)
        thread.join();

    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (size_t index : missing) {
        const Fingerprint &print = prints[qsizetype(index)];
        if (!print.error.isEmpty() || identities[qsizetype(index)].isEmpty())
            continue;
        const QString key = QFileInfo(print.fichier).absoluteFilePath();
        cache.insert(key, QJsonObject{{QStringLiteral("id"), identities[qsizetype(index)]},
                                      {QStringLiteral("d"), print.duration},
                                      {QStringLiteral("fp"), print.fingerprint},
                                      {QStringLiteral("t"), double(now)}});
    }
    if (cache.size() > maxCacheEntries) {
        QList<std::pair<double, QString>> ages;
        for (auto it = cache.begin(); it != cache.end(); ++it)
            ages.append({it.value().toObject().value(u"t").toDouble(), it.key()});
        std::sort(ages.begin(), ages.end());
        for (qsizetype i = 0; i < ages.size() - maxCacheEntries; ++i)
            cache.remove(ages[i].second);
    }
    // A cache that could not be written costs only the time of the next decoding.
    QDir().mkpath(QFileInfo(cacheFile).absolutePath());
    QSaveFile out(cacheFile);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(QJsonDocument(cache).toJson(QJsonDocument::Compact));
        out.commit();
    }
    return prints;
}

} // namespace online

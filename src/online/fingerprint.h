#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Acoustic fingerprints (Chromaprint, as AcoustID reads them) of MP3 files: the first two
// minutes of decoded audio, computed on every core, kept in a cache file keyed by the file's
// path, size and modification time so that an unchanged file is not decoded again.
namespace online {

struct Fingerprint
{
    QString fichier;
    double duration = 0; // seconds, of the whole file
    QString fingerprint; // compressed and base64-encoded, as fpcalc prints it
    QString error;       // French, empty when the fingerprint was computed
};

// Audio fingerprinted from the start of each file.
inline constexpr double fingerprintSeconds = 120;

// The fingerprint of one file, decoded now.
Fingerprint computeFingerprint(const QString &path);

// The cache file in the user's cache folder.
QString defaultFingerprintCache();

// The fingerprints of the files, in their order: from the cache at `cachePath` (the default one
// when empty) for the unchanged files, computed on every core for the others, which the cache
// then keeps. `computed`, when given, receives how many files were decoded.
QList<Fingerprint> fingerprintFiles(const QStringList &paths, const QString &cachePath = {},
                                    int *computed = nullptr);

} // namespace online

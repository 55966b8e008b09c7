#pragma once

#include "cd/outputfile.h"

#include <QString>

#include <QList>

#include <atomic>
#include <functional>
#include <vector>

namespace cd {

struct WavFile;

// Called with the bytes of the "data" chunk consumed so far and their total; false stops the
// conversion, which then leaves no file behind.
using EncodeProgress = std::function<bool(qint64 done, qint64 total)>;

struct EncodeResult
{
    bool ok = false;
    QString error; // French, names the file; empty when ok or cancelled
};

// Encodes the samples of a loaded WAV file into an MP3 file, converting them to 16-bit first.
// The samples are streamed from the file, never held whole. The MP3 gets its name only once
// complete (see OutputFile). vbrQuality 0 to 9 encodes at LAME's variable quality V0 to V9
// rather than the constant rate; infoFrame writes the LAME/Xing information frame.
EncodeResult encodeWavToMp3(const WavFile &wav, const QString &fileName,
                            Overwrite overwrite = Overwrite::Refuse,
                            const EncodeProgress &progress = {}, int vbrQuality = -1,
                            bool infoFrame = false);

// One WAV file to convert and the MP3 it makes.
struct WavJob
{
    QString wavPath;
    QString mp3Path;
    Overwrite overwrite = Overwrite::Refuse;
};

// Converts every job, one encoder per core. Each file is encoded alone, so its bytes are those
// one encoder gives whatever the others do. `finished(done, total)` is called from the encoding
// threads after each file, never two calls at once. Setting *cancel stops the file being
// encoded (no file left) and the ones not started; their results are not ok with no error.
// Results come in the order of the jobs.
std::vector<EncodeResult>
encodeWavFiles(const QList<WavJob> &jobs, int vbrQuality = -1, bool infoFrame = false,
               const std::function<void(qsizetype, qsizetype)> &finished = {},
               const std::atomic_bool *cancel = nullptr);

// The MP3 path of a WAV file: song.wav gives song.mp3, in folder, or beside the WAV file when
// folder is empty.
QString mp3PathForWav(const QString &wavPath, const QString &folder = {});

} // namespace cd

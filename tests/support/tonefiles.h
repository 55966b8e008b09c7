#pragma once

#include <QString>
#include <QStringList>

// Audio files for decoding and loudness tests: tones written as WAV, encoded by the lame
// command.
namespace tonefiles {

struct Tone
{
    int rate = 44100;
    int channels = 2;
    double seconds = 1;
    double frequency = 1000;
    double amplitude = 0.5; // of full scale
    // Each channel gets its own amplitude (the right one is this fraction of the left) and
    // the tone rises by a fifth in its second half, so that loudness is not that of a plain
    // sine and an album's tracks differ.
    double rightScale = 1;
};

// Writes a 16-bit PCM WAV file; false when it cannot.
bool writeWav(const QString &path, const Tone &tone);
// Encodes a WAV file with lame and the given arguments; false when lame is missing or fails.
bool encodeMp3(const QString &wav, const QString &mp3, const QStringList &lameArguments);
// Both steps: the tone as an MP3 file beside a WAV of the same base name.
bool writeMp3(const QString &mp3, const Tone &tone, const QStringList &lameArguments);

// What loudgain gives (ReplayGain 2.0, no clipping prevention, nothing written) for each file
// in order, then with `album` for the album: gain in dB and true peak.
struct PeerGain
{
    double gain = 0;
    double peak = 0;
};
QList<PeerGain> loudgain(const QStringList &files, bool album);

} // namespace tonefiles

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace testsupport {

// A CD image written as NAME.cue + NAME.bin (libcdio opens the .bin beside the .cue whatever
// the cue's FILE line says). Each track holds generated stereo PCM, a tone plus noise that
// differs from sector to sector, so a read at the wrong address cannot match by chance.
class DiscImage
{
public:
    // Writes the image into folder; trackSectors gives the length of each track in sectors,
    // firstTrack the number the disc gives its first track. isValid() tells whether the files
    // were written.
    DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
              int firstTrack = 1);

    bool isValid() const { return m_valid; }
    QString cuePath() const { return m_cuePath; }
    QString binPath() const { return m_binPath; }
    // The PCM bytes of one track, read back from the .bin file.
    QByteArray trackPcm(int trackIndex) const;

private:
    QList<int> m_sectors;
    QString m_cuePath, m_binPath;
    bool m_valid = false;
};

// The bytes of a canonical 44-byte-header PCM WAV file holding `samples`.
QByteArray wavBytes(const QByteArray &samples, int channels, int rate, int bits, int formatTag = 1);

// Interleaved 16-bit stereo or mono 440 Hz tone with a little noise, `frames` sample frames long.
QByteArray tonePcm16(int frames, int channels, int rate);

} // namespace testsupport

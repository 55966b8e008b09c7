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
    // What a track holds: the tone, full-scale noise (every sample anywhere in the 16-bit range,
    // as loud music can be), or data sectors (a MODE1/2352 track of the cue sheet).
    enum class Content { Tone, Noise, Data };
    struct Track
    {
        int sectors = 0;
        Content content = Content::Tone;
    };

    // Writes the image into folder; trackSectors gives the length of each track in sectors,
    // firstTrack the number the disc gives its first track. isValid() tells whether the files
    // were written.
    DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
              int firstTrack = 1);
    // An image whose tracks hold what `tracks` says.
    static DiscImage withContents(const QString &folder, const QString &name,
                                  const QList<Track> &tracks);

    bool isValid() const { return m_valid; }
    QString cuePath() const { return m_cuePath; }
    QString binPath() const { return m_binPath; }
    // The PCM bytes of one track, read back from the .bin file.
    QByteArray trackPcm(int trackIndex) const;

private:
    DiscImage(const QString &folder, const QString &name);
    void write(const QList<Track> &tracks, int firstTrack);

    QList<int> m_sectors;
    QString m_cuePath, m_binPath;
    bool m_valid = false;
};

// The bytes of a canonical 44-byte-header PCM WAV file holding `samples`.
QByteArray wavBytes(const QByteArray &samples, int channels, int rate, int bits, int formatTag = 1);

// Interleaved 16-bit stereo or mono 440 Hz tone with a little noise, `frames` sample frames long.
QByteArray tonePcm16(int frames, int channels, int rate);

} // namespace testsupport

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
        // Sectors of index 00 before the track's start (index 01): silence, or the tone (sound
        // hidden before track 1).
        int pregap = 0;
        bool audiblePregap = false;
        QString isrc = {};
    };
    // What the cue sheet says of the disc besides its tracks: CATALOG, and CD-Text packs written
    // to NAME.cdt and named by CDTEXTFILE.
    struct Extras
    {
        QString catalogue;
        QByteArray cdText;
    };

    // Writes the image into folder; trackSectors gives the length of each track in sectors,
    // firstTrack the number the disc gives its first track. isValid() tells whether the files
    // were written.
    DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
              int firstTrack = 1);
    // An image whose tracks hold what `tracks` says.
    static DiscImage withContents(const QString &folder, const QString &name,
                                  const QList<Track> &tracks, const Extras &extras = {});

    bool isValid() const { return m_valid; }
    QString cuePath() const { return m_cuePath; }
    QString binPath() const { return m_binPath; }
    // The PCM bytes of one track (from its index 01), read back from the .bin file; trackIndex
    // -1 gives the pre-gap of track 1.
    QByteArray trackPcm(int trackIndex) const;

private:
    DiscImage(const QString &folder, const QString &name);
    void write(const QList<Track> &tracks, int firstTrack, const Extras &extras = {});

    QList<int> m_sectors;
    QList<int> m_starts; // sector of each track's index 01 in the .bin file
    QString m_cuePath, m_binPath;
    bool m_valid = false;
};

// One language block of CD-Text: entry 0 of each list names the album, entry k track k.
struct CdTextBlock
{
    int language = 0x0F; // French
    QStringList titles;
    QStringList performers;
};
// Raw CD-Text packs (ISO-8859-1 texts, title, performer and size information packs with their
// CRC), as a CDTEXTFILE holds them.
QByteArray cdTextPacks(const QList<CdTextBlock> &blocks);

// The bytes of a canonical 44-byte-header PCM WAV file holding `samples`.
QByteArray wavBytes(const QByteArray &samples, int channels, int rate, int bits, int formatTag = 1);

// Interleaved 16-bit stereo or mono 440 Hz tone with a little noise, `frames` sample frames long.
QByteArray tonePcm16(int frames, int channels, int rate);

} // namespace testsupport

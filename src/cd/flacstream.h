#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

namespace cd {

// A Vorbis comment: field name ("TITLE", "REPLAYGAIN_TRACK_GAIN") and value.
using VorbisComment = std::pair<QString, QString>;

inline constexpr int defaultFlacLevel = 5;

// What a FLAC file of a CD track holds besides its samples (44100 Hz, 16-bit stereo).
struct FlacConfig
{
    int compressionLevel = defaultFlacLevel; // 0 (fastest) to 8 (smallest)
    qint64 totalFrames = 0;                  // stereo samples to come, 0 when unknown
    QList<VorbisComment> comments;
    QByteArray frontCover;   // a JPEG or PNG file's bytes, written as the front cover picture
    int paddingBytes = 8192; // room left for later comments (the ReplayGain of the disc)
};

// "FLAC niveau 5".
QString flacDescription(const FlacConfig &config);

// A FLAC encoder over libFLAC with its verify mode on: every frame is decoded again and
// compared with the samples given, so a wrong frame fails the stream instead of reaching a file.
class FlacStream
{
public:
    // Nothing when the encoder refuses the configuration.
    static std::optional<FlacStream> open(const FlacConfig &config);

    FlacStream(FlacStream &&) noexcept;
    FlacStream &operator=(FlacStream &&) noexcept;
    ~FlacStream();

    // Encodes `frames` interleaved stereo 16-bit samples; the bytes to append to the file
    // (the stream's header and metadata come with the first call), nothing on failure.
    std::optional<QByteArray> encode(const qint16 *samples, int frames);
    // Flushes the last frames; nothing on failure (a verify mismatch among them).
    std::optional<QByteArray> finish();
    // After finish(): bytes to write over what was appended before, at their offset (the
    // stream information with the samples' count and MD5 sum).
    QList<std::pair<qint64, QByteArray>> rewrites() const;

private:
    struct State;
    explicit FlacStream(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

// Sets the comments `comments` in a finished FLAC file, each replacing those of the same name,
// through its padding when they fit there. The French description of a failure, naming the
// file, or an empty text.
QString setFlacComments(const QString &path, const QList<VorbisComment> &comments);

} // namespace cd

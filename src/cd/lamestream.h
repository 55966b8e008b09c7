#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

struct lame_global_struct;

namespace cd {

// What the program asks of the encoder. Every stream is constant bit rate, MPEG-1 where the
// sample rate allows it (MPEG-2/2.5 below 32 kHz), original bit set, no CRC, no bit reservoir
// and no VBR header, so the file holds plain frames from its first byte.
struct EncoderConfig
{
    int inputRate = 44100;
    int outputRate = 44100;
    int mode = 0;      // 0 stereo, 3 mono
    int bitrate = 128; // kbit/s
    bool original = true;
    bool crc = false;
    bool copyright = false;
    bool privateBit = false;
    bool reservoirDisabled = true;
    int vbrQuality = -1;    // 0 to 9: LAME's variable quality V0 (best) to V9; -1 constant rate
    bool infoFrame = false; // write the LAME/Xing information frame that gapless players read

    int channels() const { return mode == 3 ? 1 : 2; }
};

// A CD track: 44100 Hz stereo at 128 kbit/s.
EncoderConfig cdTrackEncoderConfig();
// "MP3 CBR 128 kbit/s", "MP3 VBR V2", with ", trame d'information LAME" when it is written.
QString encoderDescription(const EncoderConfig &config);
// A WAV file: its own rate; mono at 32 kbit/s, stereo at 128 kbit/s.
EncoderConfig wavFileEncoderConfig(int samplesPerSec, int channels);

// An encoder stream over libmp3lame with the four operations the program relies on: open
// (with a configuration), encode a chunk, flush, close (the destructor).
class LameStream
{
public:
    // Nothing when the encoder refuses the configuration (an unsupported rate, for instance).
    static std::optional<LameStream> open(const EncoderConfig &config);

    LameStream(LameStream &&) noexcept;
    LameStream &operator=(LameStream &&) noexcept;
    ~LameStream();

    // 16-bit samples the encoder takes per frame, counted over all channels.
    int samplesPerChunk() const { return m_samplesPerChunk; }

    // Encodes sampleCount interleaved 16-bit samples (counted over all channels). The bytes
    // returned (possibly none while the encoder fills its first frames) stay valid until the
    // next call; nothing on an encoder failure.
    std::optional<QByteArrayView> encodeChunk(const qint16 *samples, int sampleCount);
    // Flushes the last frames; nothing on failure.
    std::optional<QByteArrayView> finish();
    // After finish(), with EncoderConfig::infoFrame: the information frame that replaces the
    // first frame of the stream (the encoder wrote a placeholder there). Empty otherwise.
    QByteArray infoFrame() const;

private:
    struct Closer
    {
        void operator()(lame_global_struct *gf) const;
    };
    LameStream(lame_global_struct *gf, int channels);
    std::unique_ptr<lame_global_struct, Closer> m_lame;
    int m_channels = 2;
    int m_samplesPerChunk = 0;
    QByteArray m_output;
};

} // namespace cd

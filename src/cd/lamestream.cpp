#include "cd/lamestream.h"

#include <lame/lame.h>

namespace cd {

EncoderConfig cdTrackEncoderConfig()
{
    return EncoderConfig{};
}

QString encoderDescription(const EncoderConfig &config)
{
    QString text = config.vbrQuality >= 0 ? QStringLiteral("MP3 VBR V%1").arg(config.vbrQuality)
                                          : QStringLiteral("MP3 CBR %1 kbit/s").arg(config.bitrate);
    if (config.infoFrame)
        text += QStringLiteral(", trame d'information LAME");
    return text;
}

EncoderConfig wavFileEncoderConfig(int samplesPerSec, int channels)
{
    EncoderConfig c;
    c.inputRate = samplesPerSec;
    c.outputRate = samplesPerSec;
    c.mode = channels == 1 ? 3 : 0;
    c.bitrate = channels == 1 ? 32 : channels == 2 ? 128 : 0;
    return c;
}

void LameStream::Closer::operator()(lame_global_struct *gf) const
{
    lame_close(gf);
}

LameStream::LameStream(lame_global_struct *gf, int channels)
    : m_lame(gf), m_channels(channels), m_samplesPerChunk(lame_get_framesize(gf) * channels)
{
}

LameStream::LameStream(LameStream &&) noexcept = default;
LameStream &LameStream::operator=(LameStream &&) noexcept = default;
LameStream::~LameStream() = default;

std::optional<LameStream> LameStream::open(const EncoderConfig &config)
{
    if (config.bitrate <= 0 || config.inputRate <= 0 || config.outputRate <= 0)
        return std::nullopt;
    lame_global_flags *gf = lame_init();
    if (!gf)
        return std::nullopt;
    LameStream stream(gf, config.channels());
    lame_set_num_channels(gf, config.channels());
    lame_set_in_samplerate(gf, config.inputRate);
    lame_set_out_samplerate(gf, config.outputRate);
    lame_set_mode(gf, config.mode == 3 ? MONO : STEREO);
    if (config.vbrQuality >= 0 && config.vbrQuality <= 9) {
        lame_set_VBR(gf, vbr_default);
        lame_set_VBR_quality(gf, float(config.vbrQuality));
    } else {
        lame_set_VBR(gf, vbr_off);
        lame_set_brate(gf, config.bitrate);
    }
    lame_set_original(gf, config.original);
    lame_set_error_protection(gf, config.crc);
    lame_set_copyright(gf, config.copyright);
    lame_set_extension(gf, config.privateBit);
    lame_set_emphasis(gf, 0);
    lame_set_disable_reservoir(gf, config.reservoirDisabled);
    lame_set_bWriteVbrTag(gf, config.infoFrame);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0)
        return std::nullopt;
    stream.m_samplesPerChunk = lame_get_framesize(gf) * config.channels();
    return stream;
}

std::optional<QByteArrayView> LameStream::encodeChunk(const qint16 *samples, int sampleCount)
{
    const int frames = sampleCount / m_channels;
    // The worst case the encoder documents: 1.25 times the frames plus 7200 bytes.
    const qsizetype needed = qsizetype(frames) * 5 / 4 + 7200;
    if (m_output.size() < needed)
        m_output.resize(needed);
    auto *out = reinterpret_cast<unsigned char *>(m_output.data());
    const int n =
        m_channels == 2
            ? lame_encode_buffer_interleaved(m_lame.get(), const_cast<short *>(samples), frames,
                                             out, int(m_output.size()))
            : lame_encode_buffer(m_lame.get(), samples, samples, frames, out, int(m_output.size()));
    if (n < 0)
        return std::nullopt;
    return QByteArrayView(m_output.constData(), n);
}

std::optional<QByteArrayView> LameStream::finish()
{
    if (m_output.size() < 7200)
        m_output.resize(7200);
    const int n = lame_encode_flush(
        m_lame.get(), reinterpret_cast<unsigned char *>(m_output.data()), int(m_output.size()));
    if (n < 0)
        return std::nullopt;
    return QByteArrayView(m_output.constData(), n);
}

QByteArray LameStream::infoFrame() const
{
    QByteArray frame(2880, '\0'); // larger than any MPEG-1 Layer III frame
    const size_t n = lame_get_lametag_frame(
        m_lame.get(), reinterpret_cast<unsigned char *>(frame.data()), size_t(frame.size()));
    return n <= size_t(frame.size()) ? frame.left(qsizetype(n)) : QByteArray();
}

} // namespace cd

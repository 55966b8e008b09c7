#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <span>
#include <vector>

namespace mpeg {

// Decodes an MPEG audio file to interleaved PCM samples through libmpg123, gapless: the
// encoder delay and padding that a LAME or Xing header declares are not delivered. Move-only.
//
//   mpeg::Mp3Decoder decoder;
//   if (!decoder.open(path, mpeg::Mp3Decoder::Format::Float, 120))
//       return decoder.error();
//   for (auto block = decoder.readFloat(); !block.empty(); block = decoder.readFloat())
//       meter.add(block, decoder.channels());
//   if (decoder.failed())
//       return decoder.error();
class Mp3Decoder
{
public:
    enum class Format { Float, Int16 };

    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(Mp3Decoder &&other) noexcept;
    Mp3Decoder &operator=(Mp3Decoder &&other) noexcept;

    // Opens the file and reads up to its first frame, so that the rate and the channel count
    // are known. Samples come as `format`; `maxSeconds` > 0 stops the decoding after that much
    // audio. False, with error(), for a file that cannot be read or holds no MPEG audio.
    bool open(const QString &path, Format format = Format::Float, double maxSeconds = 0);

    int sampleRate() const { return m_rate; }
    int channels() const { return m_channels; }
    // Samples per channel delivered so far.
    qint64 framesRead() const { return m_framesRead; }

    // The next block of interleaved samples (a whole number of frames), in the format given to
    // open(); empty at the end, after the time limit, or on an error (then failed() is true).
    // The block stays valid until the next call.
    std::span<const float> readFloat();
    std::span<const qint16> readInt16();

    bool failed() const { return !m_error.isEmpty(); }
    // The French description of what stopped the decoding; empty when nothing did.
    QString error() const { return m_error; }

private:
    struct Handle;
    // Decodes into m_buffer; the number of bytes of whole frames, 0 at the end or on an error.
    size_t decode();
    void fail(const QString &reason);

    std::unique_ptr<Handle> m_handle;
    std::vector<unsigned char> m_buffer;
    QString m_path;
    QString m_error;
    Format m_format = Format::Float;
    int m_rate = 0;
    int m_channels = 0;
    qint64 m_framesRead = 0;
    qint64 m_frameLimit = 0; // 0: none
};

} // namespace mpeg

#include "mpeg/mp3decoder.h"

#include "base/fileaccess.h"
#include "mpeg/confirmedaudio.h"

#include <QCoreApplication>
#include <QFile>

#include <mpg123.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace mpeg {

namespace {

// One read asks for this many bytes: several frames, so that the calls stay few.
constexpr size_t bufferBytes = 1 << 16;
// mpg123_read may return no sample for a frame it skips; a stream that gives nothing for this
// many calls in a row is stuck.
constexpr int maxEmptyReads = 1 << 16;

void initLibrary()
{
    static const bool done = mpg123_init() == MPG123_OK;
    Q_UNUSED(done);
}

} // namespace

struct Mp3Decoder::Handle
{
    base::Fd fd;
    mpg123_handle *mh = nullptr;
    ~Handle()
    {
        if (mh) {
            mpg123_close(mh);
            mpg123_delete(mh);
        }
    }
};

Mp3Decoder::Mp3Decoder() = default;
Mp3Decoder::~Mp3Decoder() = default;
Mp3Decoder::Mp3Decoder(Mp3Decoder &&other) noexcept = default;
Mp3Decoder &Mp3Decoder::operator=(Mp3Decoder &&other) noexcept = default;

void Mp3Decoder::fail(const QString &reason)
{
    m_error = QCoreApplication::translate("mpeg", "Décodage impossible de « %1 » : %2")
                  .arg(base::shownPath(m_path), reason);
    m_handle.reset();
}

bool Mp3Decoder::open(const QString &path, Format format, double maxSeconds)
{
    initLibrary();
    *this = Mp3Decoder();
    m_path = path;
    m_format = format;
    auto handle = std::make_unique<Handle>();
    // O_NONBLOCK: a FIFO must not hang the open; it is refused below.
    handle->fd =
        base::Fd(::open(base::nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (handle->fd.get() < 0) {
        fail(base::systemError(errno));
        return false;
    }
    struct stat info
    {
    };
    if (fstat(handle->fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        fail(QCoreApplication::translate("mpeg", "ce n'est pas un fichier ordinaire"));
        return false;
    }
    {
        // libmpg123 takes any bytes for a stream after a long enough search; what is not
        // MPEG audio (a WAV, a FLAC file) is refused first, as a save refuses it.
        QFile file;
        if (!file.open(handle->fd.get(), QIODevice::ReadOnly, QFile::DontCloseHandle) ||
            !checkMpegAudio(file).isMpeg()) {
            fail(QCoreApplication::translate("mpeg", "ce n'est pas un fichier audio MPEG"));
            return false;
        }
    }
    if (lseek(handle->fd.get(), 0, SEEK_SET) != 0) {
        fail(base::systemError(errno));
        return false;
    }

    int err = MPG123_OK;
    handle->mh = mpg123_new(nullptr, &err);
    if (!handle->mh) {
        fail(QString::fromUtf8(mpg123_plain_strerror(err)));
        return false;
    }
    mpg123_handle *mh = handle->mh;
    m_handle = std::move(handle);
    // Every rate and channel count as the stream has them, in the one encoding asked for.
    const int encoding = format == Format::Float ? MPG123_ENC_FLOAT_32 : MPG123_ENC_SIGNED_16;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    mpg123_format_none(mh);
    const long *rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, encoding);

    long rate = 0;
    int channels = 0;
    int actualEncoding = 0;
    if (mpg123_open_fd(mh, m_handle->fd.get()) != MPG123_OK ||
        mpg123_getformat(mh, &rate, &channels, &actualEncoding) != MPG123_OK) {
        fail(QString::fromUtf8(mpg123_strerror(mh)));
        return false;
    }
    if (rate <= 0 || (channels != 1 && channels != 2) || actualEncoding != encoding) {
        fail(QCoreApplication::translate("mpeg", "format audio inattendu"));
        return false;
    }
    m_rate = int(rate);
    m_channels = channels;
    if (maxSeconds > 0)
        m_frameLimit = std::max<qint64>(1, std::llround(maxSeconds * double(rate)));
    m_buffer.resize(std::max(bufferBytes, mpg123_outblock(mh)));
    return true;
}

size_t Mp3Decoder::decode()
{
    if (!m_handle || (m_frameLimit > 0 && m_framesRead >= m_frameLimit))
        return 0;
    mpg123_handle *mh = m_handle->mh;
    const size_t frameBytes =
        size_t(m_channels) * (m_format == Format::Float ? sizeof(float) : sizeof(qint16));
    for (int attempt = 0; attempt < maxEmptyReads; ++attempt) {
        size_t done = 0;
        const int err = mpg123_read(mh, m_buffer.data(), m_buffer.size(), &done);
        if (err == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mh, &rate, &channels, &encoding);
            if (rate != m_rate || channels != m_channels) {
                fail(QCoreApplication::translate("mpeg",
                                                 "le format audio change en cours de fichier"));
                return 0;
            }
        } else if (err != MPG123_OK && err != MPG123_DONE) {
            fail(QString::fromUtf8(mpg123_strerror(mh)));
            return 0;
        }
        qint64 frames = qint64(done / frameBytes);
        if (m_frameLimit > 0)
            frames = std::min(frames, m_frameLimit - m_framesRead);
        if (err == MPG123_DONE && frames == 0) {
            m_handle.reset();
            return 0;
        }
        if (frames > 0) {
            m_framesRead += frames;
            return size_t(frames) * frameBytes;
        }
    }
    fail(QCoreApplication::translate("mpeg", "le flux ne donne plus d'échantillons"));
    return 0;
}

std::span<const float> Mp3Decoder::readFloat()
{
    Q_ASSERT(m_format == Format::Float);
    if (m_format != Format::Float)
        return {};
    const size_t bytes = decode();
    return {reinterpret_cast<const float *>(m_buffer.data()), bytes / sizeof(float)};
}

std::span<const qint16> Mp3Decoder::readInt16()
{
    Q_ASSERT(m_format == Format::Int16);
    if (m_format != Format::Int16)
        return {};
    const size_t bytes = decode();
    return {reinterpret_cast<const qint16 *>(m_buffer.data()), bytes / sizeof(qint16)};
}

} // namespace mpeg

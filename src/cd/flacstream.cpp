#include "cd/flacstream.h"

#include "base/fileaccess.h"

#include <FLAC/metadata.h>
#include <FLAC/stream_encoder.h>

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace cd {

namespace {

struct MetadataDeleter
{
    void operator()(FLAC__StreamMetadata *block) const { FLAC__metadata_object_delete(block); }
};
using Metadata = std::unique_ptr<FLAC__StreamMetadata, MetadataDeleter>;

bool appendComment(FLAC__StreamMetadata *block, const VorbisComment &comment, bool replace)
{
    FLAC__StreamMetadata_VorbisComment_Entry entry;
    if (!FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair(
            &entry, comment.first.toUtf8().constData(), comment.second.toUtf8().constData()))
        return false;
    // The block takes the entry's bytes (copy = false).
    return replace ? FLAC__metadata_object_vorbiscomment_replace_comment(block, entry, true, false)
                   : FLAC__metadata_object_vorbiscomment_append_comment(block, entry, false);
}

Metadata pictureBlock(const QByteArray &image)
{
    Metadata block(FLAC__metadata_object_new(FLAC__METADATA_TYPE_PICTURE));
    const bool png = image.startsWith("\x89PNG");
    QByteArray mime = png ? "image/png" : "image/jpeg";
    QByteArray description;
    if (!block || !FLAC__metadata_object_picture_set_mime_type(block.get(), mime.data(), true) ||
        !FLAC__metadata_object_picture_set_description(
            block.get(), reinterpret_cast<FLAC__byte *>(description.data()), true) ||
        !FLAC__metadata_object_picture_set_data(
            block.get(), reinterpret_cast<FLAC__byte *>(const_cast<char *>(image.constData())),
            FLAC__uint32(image.size()), true))
        return {};
    block->data.picture.type = FLAC__STREAM_METADATA_PICTURE_TYPE_FRONT_COVER;
    return block;
}

} // namespace

QString flacDescription(const FlacConfig &config)
{
    return QStringLiteral("FLAC niveau %1").arg(config.compressionLevel);
}

struct FlacStream::State
{
    FLAC__StreamEncoder *encoder = nullptr;
    std::vector<Metadata> blocks;
    std::vector<FLAC__StreamMetadata *> blockList;
    std::vector<FLAC__int32> samples;
    QByteArray output;
    qint64 appended = 0; // bytes handed out or waiting in output
    qint64 position = 0; // where the encoder writes next
    QList<std::pair<qint64, QByteArray>> rewrites;

    ~State()
    {
        if (encoder)
            FLAC__stream_encoder_delete(encoder);
    }

    // The encoder writes in order, except when it goes back at the end to complete its header.
    static FLAC__StreamEncoderWriteStatus write(const FLAC__StreamEncoder *, const FLAC__byte *data,
                                                size_t bytes, uint32_t, uint32_t, void *client)
    {
        auto *s = static_cast<State *>(client);
        const char *at = reinterpret_cast<const char *>(data);
        qint64 size = qint64(bytes);
        if (s->position < s->appended) {
            const qint64 over = std::min(size, s->appended - s->position);
            s->rewrites.append({s->position, QByteArray(at, over)});
            s->position += over;
            at += over;
            size -= over;
        }
        if (s->position > s->appended)
            return FLAC__STREAM_ENCODER_WRITE_STATUS_FATAL_ERROR;
        s->output.append(at, size);
        s->appended += size;
        s->position += size;
        return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    }
    static FLAC__StreamEncoderSeekStatus seek(const FLAC__StreamEncoder *, FLAC__uint64 offset,
                                              void *client)
    {
        static_cast<State *>(client)->position = qint64(offset);
        return FLAC__STREAM_ENCODER_SEEK_STATUS_OK;
    }
    static FLAC__StreamEncoderTellStatus tell(const FLAC__StreamEncoder *, FLAC__uint64 *offset,
                                              void *client)
    {
        *offset = FLAC__uint64(static_cast<State *>(client)->position);
        return FLAC__STREAM_ENCODER_TELL_STATUS_OK;
    }
};

FlacStream::FlacStream(std::unique_ptr<State> state) : m_state(std::move(state)) {}
FlacStream::FlacStream(FlacStream &&) noexcept = default;
FlacStream &FlacStream::operator=(FlacStream &&) noexcept = default;
FlacStream::~FlacStream() = default;

std::optional<FlacStream> FlacStream::open(const FlacConfig &config)
{
    auto state = std::make_unique<State>();
    FLAC__StreamEncoder *encoder = state->encoder = FLAC__stream_encoder_new();
    if (!encoder || config.compressionLevel < 0 || config.compressionLevel > 8)
        return std::nullopt;
    FLAC__stream_encoder_set_verify(encoder, true);
    FLAC__stream_encoder_set_compression_level(encoder, unsigned(config.compressionLevel));
    FLAC__stream_encoder_set_channels(encoder, 2);
    FLAC__stream_encoder_set_bits_per_sample(encoder, 16);
    FLAC__stream_encoder_set_sample_rate(encoder, 44100);
    if (config.totalFrames > 0)
        FLAC__stream_encoder_set_total_samples_estimate(encoder, FLAC__uint64(config.totalFrames));

    if (!config.comments.isEmpty()) {
        Metadata comments(FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT));
        if (!comments)
            return std::nullopt;
        for (const VorbisComment &comment : config.comments) {
            if (!appendComment(comments.get(), comment, false))
                return std::nullopt;
        }
        state->blocks.push_back(std::move(comments));
    }
    if (!config.frontCover.isEmpty()) {
        Metadata picture = pictureBlock(config.frontCover);
        if (!picture)
            return std::nullopt;
        state->blocks.push_back(std::move(picture));
    }
    if (config.paddingBytes > 0) {
        Metadata padding(FLAC__metadata_object_new(FLAC__METADATA_TYPE_PADDING));
        if (!padding)
            return std::nullopt;
        padding->length = unsigned(config.paddingBytes);
        state->blocks.push_back(std::move(padding));
    }
    for (const Metadata &block : state->blocks)
        state->blockList.push_back(block.get());
    if (!state->blockList.empty() &&
        !FLAC__stream_encoder_set_metadata(encoder, state->blockList.data(),
                                           unsigned(state->blockList.size())))
        return std::nullopt;
    if (FLAC__stream_encoder_init_stream(encoder, State::write, State::seek, State::tell, nullptr,
                                         state.get()) != FLAC__STREAM_ENCODER_INIT_STATUS_OK)
        return std::nullopt;
    return FlacStream(std::move(state));
}

std::optional<QByteArray> FlacStream::encode(const qint16 *samples, int frames)
{
    State &s = *m_state;
    s.samples.assign(samples, samples + qsizetype(frames) * 2);
    if (!FLAC__stream_encoder_process_interleaved(s.encoder, s.samples.data(), unsigned(frames)))
        return std::nullopt;
    return std::exchange(s.output, {});
}

std::optional<QByteArray> FlacStream::finish()
{
    State &s = *m_state;
    if (!FLAC__stream_encoder_finish(s.encoder))
        return std::nullopt;
    return std::exchange(s.output, {});
}

QList<std::pair<qint64, QByteArray>> FlacStream::rewrites() const
{
    return m_state->rewrites;
}

QString setFlacComments(const QString &path, const QList<VorbisComment> &comments)
{
    const auto failed = [&path] {
        return QCoreApplication::translate(
                   "cd", "Les commentaires du fichier FLAC « %1 » n'ont pas pu être enregistrés.")
            .arg(base::shownPath(path));
    };
    struct ChainDeleter
    {
        void operator()(FLAC__Metadata_Chain *chain) const { FLAC__metadata_chain_delete(chain); }
    };
    struct IteratorDeleter
    {
        void operator()(FLAC__Metadata_Iterator *it) const { FLAC__metadata_iterator_delete(it); }
    };
    const std::unique_ptr<FLAC__Metadata_Chain, ChainDeleter> chain(FLAC__metadata_chain_new());
    const std::unique_ptr<FLAC__Metadata_Iterator, IteratorDeleter> it(
        FLAC__metadata_iterator_new());
    if (!chain || !it ||
        !FLAC__metadata_chain_read(chain.get(), base::nativePath(path).constData()))
        return failed();
    FLAC__metadata_iterator_init(it.get(), chain.get());
    FLAC__StreamMetadata *block = nullptr;
    do {
        if (FLAC__metadata_iterator_get_block_type(it.get()) ==
            FLAC__METADATA_TYPE_VORBIS_COMMENT) {
            block = FLAC__metadata_iterator_get_block(it.get());
            break;
        }
    } while (FLAC__metadata_iterator_next(it.get()));
    if (!block) {
        // The new block follows the stream information, which is always first.
        FLAC__metadata_iterator_init(it.get(), chain.get());
        block = FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT);
        if (!block || !FLAC__metadata_iterator_insert_block_after(it.get(), block)) {
            FLAC__metadata_object_delete(block);
            return failed();
        }
    }
    for (const VorbisComment &comment : comments) {
        if (!appendComment(block, comment, true))
            return failed();
    }
    // The padding takes up the difference, so the audio is not moved when the comments fit.
    FLAC__metadata_chain_sort_padding(chain.get());
    if (!FLAC__metadata_chain_write(chain.get(), true, true))
        return failed();
    return {};
}

} // namespace cd

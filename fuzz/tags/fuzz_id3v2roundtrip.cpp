// Reads a tag from arbitrary bytes, renders the tag that would replace it, reads that back and
// checks that the record is the same.
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const tags::TypeTagV2 first = tags::parseId3v2(bytes, false);
    if (!first.Valide())
        return 0;
    const tags::Result<QByteArray> rendered = tags::renderReplacement(first, {}, bytes);
    if (!rendered.ok())
        return 0;
    const tags::TypeTagV2 second = tags::parseId3v2(*rendered, false);
    if (!(second == first)) {
        fprintf(stderr, "record differs after the rewrite:\n%s\n",
                rendered->toHex(' ').constData());
        for (const tags::TypeTagV2 *t : {&first, &second})
            fprintf(stderr, "[%s|%s|%s|%s|%s|%s|%d|%s|%s|%s|%s|%s|%s|%s]\n", qPrintable(t->Titre()),
                    qPrintable(t->Artiste()), qPrintable(t->Album()), qPrintable(t->Annee()),
                    qPrintable(t->Piste()), qPrintable(t->Commentaire()), t->Genre(),
                    qPrintable(t->Compositeur()), qPrintable(t->Original()),
                    qPrintable(t->Copyright()), qPrintable(t->Url()), qPrintable(t->Encode()),
                    t->PictureBinary().toHex().constData(), qPrintable(t->picturePath()));
        abort();
    }
    // Writing the same record over its own output changes nothing.
    const tags::Result<QByteArray> again = tags::renderReplacement(second, {}, *rendered);
    if (!again.ok() || *again != *rendered) {
        fprintf(stderr, "second rewrite differs:\n%s\n%s\n", rendered->toHex(' ').constData(),
                again.ok() ? again->toHex(' ').constData() : "");
        abort();
    }
    return 0;
}

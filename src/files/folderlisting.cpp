#include "files/folderlisting.h"

#include "base/safefs.h"

#include <QCoreApplication>
#include <QLocale>

namespace files {

FilesBelow listFilesBelow(const QString &folder, const QString &pattern,
                          const std::atomic_bool &stop, ListingBounds bounds)
{
    FilesBelow listing;
    listing.names = base::listFilesBelow(
        folder, pattern, &listing.folders, [&](qsizetype files, qsizetype folders) {
            if (stop)
                listing.end = FilesBelow::End::Stopped;
            else if (files > bounds.files || folders >= bounds.folders)
                listing.end = FilesBelow::End::TooMany;
            return listing.end == FilesBelow::End::Complete;
        });
    // The last folder read may hold the files too many.
    if (listing.end == FilesBelow::End::Complete && listing.names.size() > bounds.files) {
        listing.end = FilesBelow::End::TooMany;
        listing.names.clear();
        listing.folders.clear();
    }
    return listing;
}

QString tooManyBelowText(ListingBounds bounds)
{
    const QLocale french(QLocale::French);
    return QCoreApplication::translate("files",
                                       "Plus de %1 fichiers ou de %2 dossiers sous ce dossier : "
                                       "seuls ses propres fichiers sont affichés.")
        .arg(french.toString(bounds.files), french.toString(bounds.folders));
}

} // namespace files

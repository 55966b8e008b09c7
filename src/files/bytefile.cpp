#include "files/bytefile.h"

#include "base/fileaccess.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace files {

QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return QCoreApplication::translate("files",
                                       "L'image n'a pas pu être enregistrée dans « %1 » : %2")
        .arg(base::shownPath(path), file.errorString());
}

} // namespace files

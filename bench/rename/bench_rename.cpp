// Times the preview of 10 000 checked rows and the renaming of 1 000 files, beside the plain
// rename(2) loop that is the floor for the second.
#include "base/safefs.h"
#include "rename/newname.h"
#include "rename/preview.h"
#include "rename/renamebatch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace renaming;
using base::joinPath;

namespace {

double previewSeconds(const RenameSettings &settings, int rows)
{
    QList<PreviewRow> list;
    for (int i = 0; i < rows; ++i)
        list.append({QStringLiteral("%1 - Artiste numéro %2 - Titre (Remix %3).mp3")
                         .arg(i % 100, 2, 10, QChar('0'))
                         .arg(i)
                         .arg(i % 7),
                     true});
    QElapsedTimer timer;
    timer.start();
    const QList<PreviewCell> cells = apercu(list, settings);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (cells.size() != rows)
        std::abort();
    return seconds;
}

QStringList makeFiles(const QString &folder, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names.append(QStringLiteral("%1 - Piste.mp3").arg(i, 4, 10, QChar('0')));
        QFile file(joinPath(folder, names.last()));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write("ID3");
    }
    return names;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    const int rows = 10000;
    const char *labels[] = {"Supprimer", "Remplacer",    "Lettrage",
                            "Inverser",  "Manuellement", "Ajouter"};
    for (int op = 0; op < 6; ++op) {
        RenameSettings settings;
        settings.operation = Operation(op);
        settings.nombre = 5;
        settings.recherche = QStringLiteral(" ");
        settings.remplacement = QStringLiteral("_");
        settings.lettrageNom = Initiales;
        settings.lettrageExt = Majuscule;
        settings.inversion = TitreParentheses;
        settings.nomManuel = QStringLiteral("x.mp3");
        settings.avant = QStringLiteral("01 ");
        double best = 1e9;
        for (int run = 0; run < 5; ++run)
            best = std::min(best, previewSeconds(settings, rows));
        out << QStringLiteral("aperçu de %1 lignes, %2 : %3 s (cible 0,2 s)\n")
                   .arg(rows)
                   .arg(labels[op], -12)
                   .arg(best, 0, 'f', 4);
    }

    const int files = 1000;
    QTemporaryDir dirTarvex, dirFloor;
    QList<RenameRow> batch;
    RenameSettings settings;
    settings.operation = Operation::Supprimer;
    settings.nombre = 3; // "0001 - Piste.mp3" becomes "0001Piste.mp3"
    settings.position = 4;
    for (const QString &name : makeFiles(dirTarvex.path(), files))
        batch.append({name, previewCell({name, true}, settings).text});
    const QStringList floorNames = makeFiles(dirFloor.path(), files);

    QElapsedTimer timer;
    timer.start();
    const RenameOutcome outcome = renameFiles(dirTarvex.path(), batch);
    const double tarvex = timer.nsecsElapsed() / 1e9;
    if (outcome.renamed != files)
        std::abort();

    timer.restart();
    for (const QString &name : floorNames) {
        const QByteArray from = QFile::encodeName(joinPath(dirFloor.path(), name));
        const QByteArray to =
            QFile::encodeName(joinPath(dirFloor.path(), name.left(4) + name.mid(7)));
        if (std::rename(from.constData(), to.constData()) != 0)
            std::abort();
    }
    const double floor = timer.nsecsElapsed() / 1e9;
    out << QStringLiteral("renommage de %1 fichiers : %2 s (cible 1 s) ; boucle rename(2) seule : "
                          "%3 s ; rapport %4\n")
               .arg(files)
               .arg(tarvex, 0, 'f', 4)
               .arg(floor, 0, 'f', 4)
               .arg(tarvex / floor, 0, 'f', 2);
    return 0;
}

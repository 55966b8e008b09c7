#include "app/form1.h"
#include "app/screenshots.h"
#include "app/windowstate.h"
#include "base/process.h"
#include "base/product.h"
#include "base/translation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>

#include <cstdio>

namespace {

// "--cd-image FILE" and "--cd-image=FILE", repeatable, in the order given.
QStringList cdImagesFromArguments(const QStringList &arguments, bool *ok)
{
    QStringList images;
    *ok = true;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--cd-image")) {
            if (i + 1 >= arguments.size()) {
                *ok = false;
                break;
            }
            images << arguments.at(++i);
        } else if (arg.startsWith(QLatin1String("--cd-image="))) {
            images << arg.mid(int(qstrlen("--cd-image=")));
        }
    }
    return images;
}

// The value of "--name VALUE"; empty when absent.
QString optionValue(const QStringList &arguments, const QString &name)
{
    const qsizetype at = arguments.indexOf(name);
    return at > 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

// The folder or file named on the command line: the first argument that is neither an option nor
// an option's value; empty when there is none.
QString pathFromArguments(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--"))
            return i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (arg == QLatin1String("--cd-image") || arg == QLatin1String("--captures") ||
            arg == QLatin1String("--taille"))
            ++i;
        else if (!arg.startsWith(u'-'))
            return arg;
    }
    return {};
}

// The installed help page, else the copy the build puts beside the program.
QString helpFilePath()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {appDir + QStringLiteral("/../share/tarvex/Tarvexfr.html"),
                                     appDir + QStringLiteral("/Tarvexfr.html")}) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return QDir::cleanPath(appDir + QStringLiteral("/../share/tarvex/Tarvexfr.html"));
}

const char Usage[] = QT_TRANSLATE_NOOP(
    "main",
    "Utilisation : tarvex [--cd-image FICHIER]... [--captures DOSSIER [--taille LxH]] "
    "[DOSSIER | FICHIER.mp3]\n"
    "Tarvex modifie les tags ID3 des fichiers MP3, les renomme et extrait les CD audio.\n"
    "Un DOSSIER donné s'ouvre dans la page « Tag et noms » ; pour un FICHIER.mp3, son dossier s'y "
    "ouvre et le fichier y est choisi.\n\n"
    "Options :\n"
    "  --cd-image FICHIER    ajoute une image de disque (.cue, .toc, .nrg) aux lecteurs\n"
    "  --captures DOSSIER    enregistre chaque page en PNG dans DOSSIER et quitte\n"
    "  --taille LxH          taille de la fenêtre des captures, par exemple 960x640\n"
    "  --help                affiche cette aide et quitte\n"
    "  --version             affiche la version et quitte\n");

// Answers --help and --version before any window, display or drive is looked for; false when
// neither is asked.
bool answeredInformation(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            const QCoreApplication application(argc, argv);
            base::installTranslation();
            std::fputs(qPrintable(QCoreApplication::translate("main", Usage)), stdout);
            return true;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::fputs("Tarvex " TARVEX_VERSION "\n", stdout);
            return true;
        }
        if (qstrcmp(argv[i], "--cd-image") == 0 || qstrcmp(argv[i], "--captures") == 0 ||
            qstrcmp(argv[i], "--taille") == 0)
            ++i; // the value of an option is no request
    }
    return false;
}

// Without a language (C or POSIX) the window speaks French, but Qt dates the file dialog's
// entries in the system's time locale: that one is made French too, for this process only.
void frenchDatesWithoutLanguage()
{
    if (!qEnvironmentVariableIsEmpty("LC_ALL"))
        return;
    QByteArray time = qgetenv("LC_TIME");
    if (time.isEmpty())
        time = qgetenv("LANG");
    if (time.isEmpty() || time == "C" || time == "POSIX" || time.startsWith("C."))
        qputenv("LC_TIME", "fr_FR.UTF-8");
}

} // namespace

int main(int argc, char *argv[])
{
    base::prepareProcess();
    if (answeredInformation(argc, argv))
        return 0;
    frenchDatesWithoutLanguage();
    QApplication application(argc, argv);
    QApplication::setApplicationName(base::productName);
    QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tarvex"));
    const bool english = base::installTranslation();
    if (!english)
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Without a desktop session (offscreen, bare X server) Qt knows neither an icon theme nor
    // where themes live.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        QStringList paths = QIcon::themeSearchPaths();
        const QString dataDirs =
            qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
        for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts)) {
            if (!paths.contains(dir + QStringLiteral("/icons")))
                paths << dir + QStringLiteral("/icons");
        }
        QIcon::setThemeSearchPaths(paths);
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

    bool argumentsOk = true;
    app::Form1::Setup setup;
    setup.cdImages = cdImagesFromArguments(QApplication::arguments(), &argumentsOk);
    if (!argumentsOk) {
        std::fputs(qPrintable(QCoreApplication::translate(
                       "main", "Tarvex : l'option --cd-image attend le chemin d'une image de "
                               "disque (.cue, .toc, .nrg).\n")),
                   stderr);
        return 2;
    }
    setup.helpFile = helpFilePath();
    const QString path = pathFromArguments(QApplication::arguments());
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        std::fputs(qPrintable(QCoreApplication::translate(
                                  "main", "Tarvex : aucun fichier ni dossier « %1 ».\n")
                                  .arg(path)),
                   stderr);
        return 2;
    }

    app::Form1 window(std::move(setup));
    window.startUp();
    // "--captures FOLDER [--taille 960x640]" renders every page into PNG files and ends.
    const QString captures = optionValue(QApplication::arguments(), QStringLiteral("--captures"));
    if (!captures.isEmpty()) {
        const QStringList size =
            optionValue(QApplication::arguments(), QStringLiteral("--taille")).split(u'x');
        if (size.size() == 2)
            window.resize(size[0].toInt(), size[1].toInt());
        return app::saveScreenshots(window, captures) ? 0 : 1;
    }
    // The state first: a path given lists its folder with the columns the user chose.
    const QString stateFile = app::defaultWindowStateFile();
    app::restoreWindowState(window, stateFile);
    if (!path.isEmpty())
        window.showPath(path);
    window.show();
    const int status = application.exec();
    if (!app::saveWindowState(window, stateFile))
        std::fputs(
            qPrintable(QCoreApplication::translate(
                           "main", "Tarvex : la taille et la position de la fenêtre n'ont pas pu "
                                   "être enregistrées dans %1.\n")
                           .arg(stateFile)),
            stderr);
    return status;
}

#include "app/fileinfopanel.h"

#include "app/widgets.h"

#include <QFormLayout>
#include <QLabel>

namespace app {

FileInfoPanel::FileInfoPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(QStringLiteral("Info Fichier"));
    setFlat(true);
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);
    auto add = [this, form](const char *name, const QString &caption) {
        auto *value = named<QLabel>(this, name);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, value);
        return value;
    };
    Mpeg_Taille_Fichier = add("Mpeg_Taille_Fichier", QStringLiteral("Taille :"));
    Mpeg_Longueur_Fichier = add("Mpeg_Longueur_Fichier", QStringLiteral("Durée :"));
    Mpeg_BitRate = add("Mpeg_BitRate", QStringLiteral("Débit :"));
    Mpeg_Mpeg = add("Mpeg_Mpeg", QStringLiteral("Version MPEG :"));
    Mpeg_Layer = add("Mpeg_Layer", QStringLiteral("Couche :"));
    Mpeg_Mode = add("Mpeg_Mode", QStringLiteral("Mode :"));
    Mpeg_ModeExt = add("Mpeg_ModeExt", QStringLiteral("Extension de mode :"));
    Mpeg_Frequence = add("Mpeg_Frequence", QStringLiteral("Fréquence :"));
    Mpeg_CRC = add("Mpeg_CRC", QStringLiteral("CRC :"));
    Mpeg_Copyright = add("Mpeg_Copyright", QStringLiteral("Copyright :"));
    Mpeg_Padded = add("Mpeg_Padded", QStringLiteral("Remplissage :"));
    Mpeg_Prive = add("Mpeg_Prive", QStringLiteral("Privé :"));
    Mpeg_Original = add("Mpeg_Original", QStringLiteral("Original :"));
    Mpeg_Emphasis = add("Mpeg_Emphasis", QStringLiteral("Emphase :"));
    Mpeg_VRB = add("Mpeg_VRB", QStringLiteral("Débit variable :"));
}

QList<QLabel *> FileInfoPanel::labels() const
{
    return {Mpeg_Taille_Fichier,
            Mpeg_Longueur_Fichier,
            Mpeg_BitRate,
            Mpeg_Mpeg,
            Mpeg_Layer,
            Mpeg_Mode,
            Mpeg_ModeExt,
            Mpeg_Frequence,
            Mpeg_CRC,
            Mpeg_Copyright,
            Mpeg_Padded,
            Mpeg_Prive,
            Mpeg_Original,
            Mpeg_Emphasis,
            Mpeg_VRB};
}

void FileInfoPanel::clear()
{
    for (QLabel *label : labels())
        label->clear();
}

} // namespace app

#include "app/fileinfopanel.h"

#include "app/widgets.h"

#include <QFormLayout>
#include <QLabel>

namespace app {

FileInfoPanel::FileInfoPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(tr("Info Fichier"));
    setFlat(true);
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);
    auto add = [this, form](const char *name, const QString &caption) {
        auto *value = named<QLabel>(this, name);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, value);
        return value;
    };
    Mpeg_Taille_Fichier = add("Mpeg_Taille_Fichier", tr("Taille :"));
    Mpeg_Longueur_Fichier = add("Mpeg_Longueur_Fichier", tr("Durée :"));
    Mpeg_BitRate = add("Mpeg_BitRate", tr("Débit :"));
    Mpeg_Mpeg = add("Mpeg_Mpeg", tr("Version MPEG :"));
    Mpeg_Layer = add("Mpeg_Layer", tr("Couche :"));
    Mpeg_Mode = add("Mpeg_Mode", tr("Mode :"));
    Mpeg_ModeExt = add("Mpeg_ModeExt", tr("Extension de mode :"));
    Mpeg_Frequence = add("Mpeg_Frequence", tr("Fréquence :"));
    Mpeg_CRC = add("Mpeg_CRC", tr("CRC :"));
    Mpeg_Copyright = add("Mpeg_Copyright", tr("Copyright :"));
    Mpeg_Padded = add("Mpeg_Padded", tr("Remplissage :"));
    Mpeg_Prive = add("Mpeg_Prive", tr("Privé :"));
    Mpeg_Original = add("Mpeg_Original", tr("Original :"));
    Mpeg_Emphasis = add("Mpeg_Emphasis", tr("Emphase :"));
    Mpeg_VRB = add("Mpeg_VRB", tr("Débit variable :"));
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

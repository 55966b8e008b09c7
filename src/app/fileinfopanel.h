#pragma once

#include <QGroupBox>
#include <QList>

class QLabel;

namespace app {

// The page "Info Fichier" (Frame3): one label per field of the file-information record.
class FileInfoPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit FileInfoPanel(QWidget *parent = nullptr);

    QLabel *Mpeg_Taille_Fichier;
    QLabel *Mpeg_Longueur_Fichier;
    QLabel *Mpeg_BitRate;
    QLabel *Mpeg_Mpeg;
    QLabel *Mpeg_Layer;
    QLabel *Mpeg_Mode;
    QLabel *Mpeg_ModeExt;
    QLabel *Mpeg_Frequence;
    QLabel *Mpeg_CRC;
    QLabel *Mpeg_Copyright;
    QLabel *Mpeg_Padded;
    QLabel *Mpeg_Prive;
    QLabel *Mpeg_Original;
    QLabel *Mpeg_Emphasis;
    QLabel *Mpeg_VRB;

    // The labels in the order of the record.
    QList<QLabel *> labels() const;
    void clear();
};

} // namespace app

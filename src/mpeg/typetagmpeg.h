#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

// Properties of the MPEG audio stream of one file: the first accepted frame header, the frame
// count and duration, and the Xing or VBRI header when there is one. Sizes and offsets are
// 64-bit so that files of 2 GiB and more are measured right.
class TypeTagMpeg
{
public:
    // Analyses a file and returns the record it fills in itself. When coucheIIouIII is true a
    // header whose layer is neither II nor III counts as a false sync. A file that cannot be
    // opened gives the reset record.
    TypeTagMpeg AnalyseMpeg(const QString &fichier, bool coucheIIouIII = false);

    bool Valide() const { return m_Valide; }
    qint64 Taille() const { return m_Taille; }
    qint64 EntetePos() const { return m_EntetePos; }
    qint64 Duree() const { return m_Duree; }
    QString Mpeg() const { return m_Mpeg; }
    QString Layer() const { return m_Layer; }
    bool CRC() const { return m_CRC; }
    int BitRate() const { return m_BitRate; }
    int Frequence() const { return m_Frequence; }
    bool Padded() const { return m_Padded; }
    qint64 Frames() const { return m_Frames; }
    bool PrivateBit() const { return m_PrivateBit; }
    QString Mode() const { return m_Mode; }
    QString ModeExt() const { return m_ModeExt; }
    bool Copyright() const { return m_Copyright; }
    bool Original() const { return m_Original; }
    QString Emphasis() const { return m_Emphasis; }
    QString Vbr() const { return m_Vbr; }

    void setValide(bool v) { m_Valide = v; }
    void setTaille(qint64 v) { m_Taille = v; }
    void setEntetePos(qint64 v) { m_EntetePos = v; }
    void setDuree(qint64 v) { m_Duree = v; }
    void setMpeg(const QString &v) { m_Mpeg = v; }
    void setLayer(const QString &v) { m_Layer = v; }
    void setCRC(bool v) { m_CRC = v; }
    void setBitRate(int v) { m_BitRate = v; }
    void setFrequence(int v) { m_Frequence = v; }
    void setPadded(bool v) { m_Padded = v; }
    void setFrames(qint64 v) { m_Frames = v; }
    void setPrivateBit(bool v) { m_PrivateBit = v; }
    void setMode(const QString &v) { m_Mode = v; }
    void setModeExt(const QString &v) { m_ModeExt = v; }
    void setCopyright(bool v) { m_Copyright = v; }
    void setOriginal(bool v) { m_Original = v; }
    void setEmphasis(const QString &v) { m_Emphasis = v; }
    void setVbr(const QString &v) { m_Vbr = v; }

    friend bool operator==(const TypeTagMpeg &, const TypeTagMpeg &) = default;

private:
    bool m_Valide = false;
    qint64 m_Taille = 0;
    qint64 m_EntetePos = 0;
    qint64 m_Duree = 0;
    QString m_Mpeg;
    QString m_Layer;
    bool m_CRC = false;
    int m_BitRate = 0;
    int m_Frequence = 0;
    bool m_Padded = false;
    qint64 m_Frames = 0;
    bool m_PrivateBit = false;
    QString m_Mode;
    QString m_ModeExt;
    bool m_Copyright = false;
    bool m_Original = false;
    QString m_Emphasis;
    QString m_Vbr;
};

// The analysis over any readable, seekable device (a file, or bytes in a QBuffer).
TypeTagMpeg analyseMpeg(QIODevice &device, bool coucheIIouIII = false);
TypeTagMpeg analyseMpeg(QByteArrayView bytes, bool coucheIIouIII = false);

// Samples in one frame: 384 for Layer I (layer field 3), 1152 for Layer II (field 2) and MPEG 1
// Layer III (field 1), 576 for MPEG 2 and 2.5 Layer III; 0 for the reserved layer.
int samplesPerFrame(int layerField, bool mpeg1);

// The largest bit rate the records hold: they keep it in 16 bits.
constexpr int MaxBitRate = 32767;

} // namespace mpeg

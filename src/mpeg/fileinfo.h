#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <array>
#include <utility>

class QIODevice;

namespace mpeg {

// What the "Info Fichier" page shows of one file, as ready-made French texts, with the ID3v1
// and ID3v2.3 texts read along the way. A cleared record is the default value.
struct FileInfo
{
    bool id3v1 = false;
    QString v1Title, v1Artist, v1Album, v1Year, v1Comment;
    int v1Track = 0;
    int v1Genre = 0;

    bool id3v2 = false;
    // Contents of the frames listed in FileInfo::v2FrameIds, in that order.
    std::array<QString, 12> v2Texts;
    static const std::array<const char *, 12> v2FrameIds;

    bool mpeg = false;
    qint64 headerPosition = 0; // 1-based position of the frame header's first byte
    QString version, layer, crc;
    int bitRate = 0;   // kbit/s
    int frequency = 0; // Hz
    QString padding, privateBit, mode, modeExtension, copyright, original, emphasis;
    QString size, duration, xing;

    friend bool operator==(const FileInfo &, const FileInfo &) = default;
};

// Fills info from the file; a file that does not exist or cannot be read leaves it unchanged.
// The size text uses the given locale's decimal separator.
void readFileInfo(const QString &fichier, FileInfo &info, const QLocale &locale = QLocale());
void readFileInfo(QIODevice &device, FileInfo &info, const QLocale &locale = QLocale());

// «4,77Mo»: the size in the largest unit it reaches, two decimals, no blank; empty for 0.
QString sizeText(qint64 bytes, const QLocale &locale = QLocale());
// «05», «03:05», «01:00:05».
QString durationText(qint64 seconds);

// The texts of the fifteen labels of the page, in their order, as (label name, text).
QList<std::pair<QString, QString>> labelTexts(const FileInfo &info);

} // namespace mpeg

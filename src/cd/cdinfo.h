#pragma once

#include "cd/cdtoc.h"

#include <QList>
#include <QString>

// Identifies an audio CD the way CDDB servers expect: the 8-digit disc ID and the text of the
// "cddb query" command, computed from the start address of every track and the disc length.
// One instance is made for each lookup.
class clsCdInfo
{
public:
    // Error codes of the multimedia layer this class stands in for.
    static constexpr int ErrorCannotOpen = 263;     // no such drive or image
    static constexpr int ErrorDeviceNotReady = 276; // no disc, unreadable table of contents
    static constexpr int ErrorOutOfRange = 282;     // a table of contents no disc can have

    // Reads the table of contents of a drive or disc image (as listed in the drive choice)
    // and computes the disc ID.
    void Init(const QString &sDrive);
    // Same from a table of contents already read.
    void InitFromToc(const cd::CdToc &toc);

    // Eight lowercase hexadecimal digits after a successful Init, "(unavailable)" otherwise.
    QString DiscID() const { return m_discId; }
    // The last error code, 0 when none.
    int ErrorCode() const { return m_errorCode; }
    // "cddb+query+<id>+<n>+<offset>...+<seconds>". Empty when the disc could not be read; the
    // French text to show the user is then put into *message.
    QString QueryString(QString *message = nullptr) const;

    QString drive() const { return m_drive; }

private:
    struct Entry
    {
        int minute = 0;
        int second = 0;
        int frame = 0;
        int offset = 0; // frames, lead-in included
    };

    void computeDiscId(const cd::CdToc &toc);

    QString m_discId = QStringLiteral("(unavailable)");
    QString m_drive;
    int m_errorCode = 0;
    int m_trackCount = 0;
    int m_discSeconds = 0;
    QList<Entry> m_tracks; // one per track, then the lead-out
};

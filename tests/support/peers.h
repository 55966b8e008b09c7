#pragma once

// Checks that need a peer tool (lame, mpg123, mediainfo, cd-paranoia, python3-mutagen) or the
// outside corpus. Run alone, such a check skips when what it needs is missing, saying why;
// ./test.sh sets TARVEX_REQUIRE_PEERS=1, and there a missing tool fails the check, naming it, so
// that a machine without the tools cannot pass without checking.

#include <QTest>
#include <QtGlobal>

namespace testsupport {

inline bool peersRequired()
{
    return qEnvironmentVariableIntValue("TARVEX_REQUIRE_PEERS") == 1;
}

} // namespace testsupport

// Ends the test function: a failure under ./test.sh, a skip otherwise. `why` names what is
// missing.
#define TARVEX_PEER_MISSING(why)                                                                   \
    do {                                                                                           \
        if (testsupport::peersRequired())                                                          \
            QFAIL(why);                                                                            \
        QSKIP(why);                                                                                \
    } while (false)

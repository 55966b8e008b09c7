// tarvex-cli empreinte: the Chromaprint fingerprint of MP3 files, as fpcalc -json gives it.
#include "command.h"

#include "online/fingerprint.h"

#include <cmath>

namespace {

const char usageText[] = QT_TRANSLATE_NOOP("cli", "empreinte FICHIER...");

int run(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usageText);
    int status = cli::AllSucceeded;
    cli::JsonArrayWriter out;
    for (const online::Fingerprint &print : online::fingerprintFiles(arguments.files)) {
        if (!print.error.isEmpty()) {
            cli::failure(print.error);
            status = cli::SomeFailed;
            continue;
        }
        out.append({{QStringLiteral("fichier"), print.fichier},
                    {QStringLiteral("duree"), std::round(print.duration * 100) / 100},
                    {QStringLiteral("empreinte"), print.fingerprint}});
    }
    out.finish();
    return status;
}

const cli::Registration registration({"empreinte", usageText, run});

} // namespace

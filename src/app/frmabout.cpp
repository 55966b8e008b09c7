#include "app/frmabout.h"

#include "app/dialogs.h"
#include "app/widgets.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#ifndef TARVEX_VERSION
#define TARVEX_VERSION "0.0.0"
#endif

namespace app {

QString frmAbout::webAddress()
{
    return QStringLiteral("https://tarvex.example.org");
}

QString frmAbout::mailAddress()
{
    return QStringLiteral("contact@tarvex.example.org");
}

QString frmAbout::systemInfoProgram()
{
    for (const char *program :
         {"hardinfo", "gnome-system-monitor", "ksysguard", "plasma-systemmonitor"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

frmAbout::frmAbout(const QString &product, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("A propos de %1").arg(product));
    setModal(false);

    picIcon = named<QLabel>(this, "picIcon");
    picIcon->setPixmap(QIcon(QStringLiteral(":/tarvex.svg")).pixmap(64, 64));
    lblTitle = named<QLabel>(this, "lblTitle", product);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion =
        named<QLabel>(this, "lblVersion", tr("Version %1").arg(QStringLiteral(TARVEX_VERSION)));
    lblDescription = named<QLabel>(this, "lblDescription",
                                   tr("Atelier MP3 : tags ID3, renommage, extraction de CD audio.\n"
                                      "© 2026 les auteurs de Tarvex."));
    lblDisclaimer =
        named<QLabel>(this, "lblDisclaimer",
                      tr("Ce programme est un logiciel libre : vous pouvez le redistribuer et "
                         "le modifier selon les termes de la Licence publique générale GNU, "
                         "version 3 ou (à votre choix) toute version ultérieure. Il est "
                         "distribué sans aucune garantie."));
    lblDisclaimer->setWordWrap(true);
    Label6 =
        named<QLabel>(this, "Label6", tr("Site Web : <a href=\"%1\">%1</a>").arg(webAddress()));
    Label1 = named<QLabel>(this, "Label1",
                           tr("E-Mail :  <a href=\"mailto:%1\">%1</a>").arg(mailAddress()));
    for (QLabel *link : {Label6, Label1}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        connect(link, &QLabel::linkActivated, this,
                [](const QString &url) { QDesktopServices::openUrl(QUrl(url)); });
    }
    cmdSysInfo = named<QPushButton>(this, "cmdSysInfo", tr("&Infos système..."));
    cmdOK = named<QPushButton>(this, "cmdOK", tr("&OK"));
    cmdOK->setDefault(true);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::startSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::close);

    auto *text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(lblDescription);
    text->addSpacing(8);
    text->addWidget(Label6);
    text->addWidget(Label1);
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblDisclaimer);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

frmAbout::~frmAbout() = default;

void frmAbout::startSysInfo()
{
    const QString program = systemInfoProgram();
    if (program.isEmpty()) {
        m_dialogs.inform(this,
                         tr("Aucun outil d'informations système n'est installé "
                            "(hardinfo, gnome-system-monitor, ksysguard ou "
                            "plasma-systemmonitor)."),
                         windowTitle(), Dialogs::Icon::Information);
    } else if (!QProcess::startDetached(program, {})) {
        m_dialogs.inform(this, tr("Impossible de lancer « %1 ».").arg(program), windowTitle(),
                         Dialogs::Icon::Error);
    }
}

} // namespace app

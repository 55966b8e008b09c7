#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class Dialogs;

// The about box: product name and version, a description and legal notice, the web page and
// e-mail lines, a system-information button and OK.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // Messages go through dialogs, which must outlive the box.
    frmAbout(const QString &product, Dialogs &dialogs, QWidget *parent = nullptr);
    ~frmAbout() override;

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QLabel *Label6; // web page
    QLabel *Label1; // e-mail
    QPushButton *cmdSysInfo;
    QPushButton *cmdOK;

    static QString webAddress();
    static QString mailAddress();
    // The first system-information program found on the PATH; empty when there is none.
    static QString systemInfoProgram();

private:
    void startSysInfo();

    Dialogs &m_dialogs;
};

} // namespace app

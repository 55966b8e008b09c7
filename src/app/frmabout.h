#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {


// The about box: product name and version, a description and legal notice, the web page and
// e-mail lines, a system-information button and OK.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(const QString &product, QWidget *parent = nullptr);
    ~frmAbout() override;

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QLabel *Label6;   // web page
    QLabel *Label1;   // e-mail
    QPushButton *cmdSysInfo;
    QPushButton *cmdOK;

    static QString webAddress();
    static QString mailAddress();
    // The first system-information program found on the PATH; empty when there is none.
    static QString systemInfoProgram();

private:
    void startSysInfo();
};

} // namespace app

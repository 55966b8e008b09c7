#include "app/coverpanel.h"

#include "app/tageditorpanel.h"
#include "app/tagwindow.h"
#include "app/widgets.h"
#include "base/product.h"
#include "files/bytefile.h"
#include "tags/tagbackup.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace app {

namespace {

constexpr int thumbnailSize = 128;

// The picture types of ID3v2 in the order of their numbers.
const char *const pictureTypes[] = {
    QT_TRANSLATE_NOOP("app::CoverPanel", "autre"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "icône 32×32"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "autre icône"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "couverture (recto)"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "couverture (verso)"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "livret"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "support"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "soliste"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "artiste"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "chef d'orchestre"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "groupe"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "compositeur"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "parolier"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "lieu d'enregistrement"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "pendant l'enregistrement"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "pendant l'interprétation"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "capture vidéo"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "poisson coloré"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "illustration"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "logo de l'artiste"),
    QT_TRANSLATE_NOOP("app::CoverPanel", "logo de l'éditeur"),
};

// The local JPEG or PNG file a drag carries, or empty.
QString droppedImage(const QMimeData *data)
{
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"jpg" || suffix == u"jpeg" || suffix == u"png" ? path : QString();
}

} // namespace

CoverPanel::CoverPanel(TagEditorPanel &editor, TagWindow &tagWindow, Dialogs &dialogs)
    : QWidget(editor.Frame5), m_editor(editor), m_window(tagWindow), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("CoverPanel"));
    lblPochette = named<QLabel>(this, "lblPochette");
    lblPochette->setFixedSize(thumbnailSize + 4, thumbnailSize + 4);
    lblPochette->setAlignment(Qt::AlignCenter);
    lblPochette->setFrameShape(QFrame::StyledPanel);
    lblPochette->setAcceptDrops(true);
    lblPochette->setAccessibleName(tr("Pochette"));
    lblPochette->installEventFilter(this);
    lblPochetteInfo = named<QLabel>(this, "lblPochetteInfo");
    lblPochetteInfo->setAccessibleName(tr("Détails de la pochette"));
    lblPochetteInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdAjouterPochette =
        named<QPushButton>(this, "cmdAjouterPochette", tr("Ajouter une &pochette..."));
    cmdSupprimerPochette =
        named<QPushButton>(this, "cmdSupprimerPochette", tr("&Supprimer la pochette"));
    cmdEnregistrerPochette =
        named<QPushButton>(this, "cmdEnregistrerPochette", tr("Enregistrer l'ima&ge..."));

    auto *commands = new QVBoxLayout;
    commands->addWidget(lblPochetteInfo);
    commands->addWidget(cmdAjouterPochette);
    commands->addWidget(cmdSupprimerPochette);
    commands->addWidget(cmdEnregistrerPochette);
    commands->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblPochette, 0, Qt::AlignTop);
    layout->addLayout(commands, 1);
    // Below the fields, above the frame's closing stretch.
    if (auto *frameLayout = qobject_cast<QBoxLayout *>(editor.Frame5->layout()))
        frameLayout->insertWidget(frameLayout->count() - 1, this);

    connect(cmdAjouterPochette, &QPushButton::clicked, this, [this] {
        const QString file =
            m_dialogs.chooseImageFile(window(), QFileInfo(m_editor.shownFile()).path());
        if (!file.isEmpty())
            setCover(file);
    });
    connect(cmdSupprimerPochette, &QPushButton::clicked, this, &CoverPanel::removeCover);
    connect(cmdEnregistrerPochette, &QPushButton::clicked, this, &CoverPanel::saveImage);
    connect(&editor, &TagEditorPanel::shownFileChanged, this, &CoverPanel::refresh);
    refresh();
}

QStringList CoverPanel::targetFiles() const
{
    return m_editor.shownFiles();
}

namespace {

// The picture the page shows for a file: its front cover, else its first picture.
qsizetype shownPicture(const QList<tags::TagPicture> &pictures)
{
    const auto front =
        std::find_if(pictures.cbegin(), pictures.cend(),
                     [](const tags::TagPicture &p) { return p.type == tags::FrontCover; });
    return front == pictures.cend() ? 0 : front - pictures.cbegin();
}

} // namespace

void CoverPanel::refresh()
{
    m_shown.reset();
    m_shownIndex = 0;
    const QString file = m_editor.shownFile();
    if (!file.isEmpty()) {
        const tags::Result<QList<tags::TagPicture>> pictures = tags::readPictures(file);
        if (pictures.ok() && !pictures->isEmpty()) {
            m_shownIndex = shownPicture(*pictures);
            m_shown = pictures->at(m_shownIndex);
        }
    }
    const QImage image = m_shown ? QImage::fromData(m_shown->data) : QImage();
    if (!image.isNull())
        lblPochette->setPixmap(QPixmap::fromImage(image.scaled(
            thumbnailSize, thumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    else
        lblPochette->setText(m_shown ? tr("Image illisible") : tr("Aucune pochette"));
    QString info;
    if (m_shown) {
        info = tr("%1 octets").arg(m_shown->data.size());
        if (!image.isNull())
            info += tr(", %1 × %2 pixels").arg(image.width()).arg(image.height());
        info += tr("\n%1, %2")
                    .arg(m_shown->type >= 0 && m_shown->type < int(std::size(pictureTypes))
                             ? tr(pictureTypes[m_shown->type])
                             : tr("type %1").arg(m_shown->type),
                         m_shown->mime);
    }
    lblPochetteInfo->setText(info);
    cmdAjouterPochette->setEnabled(!file.isEmpty());
    cmdSupprimerPochette->setEnabled(m_shown.has_value());
    cmdEnregistrerPochette->setEnabled(m_shown.has_value());
}

void CoverPanel::setCover(const QString &imageFile)
{
    if (targetFiles().isEmpty())
        return;
    const tags::Result<QByteArray> image = tags::readImageFile(imageFile);
    if (!image.ok()) {
        m_window.inform(image.error(), Dialogs::Icon::Warning);
        return;
    }
    if (!m_window.confirm(tr("Voulez vous enregistrer le Tag ?"), base::productName))
        return;
    applyToTargets(tr("Ajout de la pochette"), {tags::PictureEdit::SetFrontCover, *image, 0});
}

void CoverPanel::removeCover()
{
    if (!m_shown || !m_window.confirm(tr("Voulez vous supprimer la pochette ?"), base::productName))
        return;
    applyToTargets(tr("Suppression de la pochette"),
                   {tags::PictureEdit::RemoveOne, {}, m_shownIndex});
}

void CoverPanel::applyToTargets(const QString &label, const tags::PictureEdit &edit)
{
    tags::TagChanges changes;
    changes.pictures = edit;
    QList<tags::TagBackup> backups;
    QStringList failures;
    for (const QString &file : targetFiles()) {
        // Each file loses the picture the page would show for it.
        if (edit.action == tags::PictureEdit::RemoveOne) {
            const tags::Result<QList<tags::TagPicture>> pictures = tags::readPictures(file);
            if (!pictures.ok() || pictures->isEmpty())
                continue;
            changes.pictures->index = shownPicture(*pictures);
        }
        std::optional<tags::TagBackup> backup;
        const tags::Result<tags::SaveKind> saved = tags::saveTagsUndoable(file, changes, &backup);
        if (!saved.ok())
            failures << tr("Le tag de « %1 » n'a pas pu être enregistré : %2")
                            .arg(QFileInfo(file).fileName(), saved.error());
        if (backup)
            backups.append(*backup);
    }
    m_window.recordTagSaves(label, backups);
    refresh();
    if (!failures.isEmpty())
        m_window.inform(failures.join(u'\n'), Dialogs::Icon::Error);
}

void CoverPanel::saveImage()
{
    if (!m_shown)
        return;
    const QFileInfo shown(m_editor.shownFile());
    const QString suffix =
        m_shown->mime == u"image/png" ? QStringLiteral(".png") : QStringLiteral(".jpg");
    const QString path =
        m_dialogs.chooseSaveFile(window(), shown.dir().filePath(shown.completeBaseName() + suffix));
    if (path.isEmpty())
        return;
    const QString error = files::writeBytes(path, m_shown->data);
    if (!error.isEmpty())
        m_window.inform(error, Dialogs::Icon::Error);
}

bool CoverPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != lblPochette ||
        (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop))
        return QWidget::eventFilter(watched, event);
    // A JPEG or PNG file is taken while the editor shows a file; anything else is refused.
    auto *drop = static_cast<QDropEvent *>(event);
    const QString file = droppedImage(drop->mimeData());
    if (file.isEmpty() || targetFiles().isEmpty())
        return true;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        setCover(file);
    return true;
}

} // namespace app

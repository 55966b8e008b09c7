#include "app/tageditorpanel.h"

#include "app/otherframestable.h"
#include "app/widgets.h"
#include "tags/fieldrules.h"
#include "tags/genres.h"
#include "tags/tagframes.h"
#include "tags/tagsave.h"
#include "tags/zelltagctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QSet>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

void setFieldBackground(QWidget *field, bool enabled)
{
    QPalette palette = field->palette();
    const QColor colour = enabled ? field->style()->standardPalette().color(QPalette::Base)
                                  : field->style()->standardPalette().color(QPalette::Button);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    field->setPalette(palette);
}

// A field for a few characters, wide enough still for the placeholder several files show.
QLineEdit *shortField(QLineEdit *field, int width, const QString &placeholder)
{
    const int needed = field->fontMetrics().horizontalAdvance(placeholder) + 16;
    field->setMaximumWidth(std::max(width, needed));
    return field;
}

QString fieldText(const QWidget *field)
{
    if (auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (auto *text = qobject_cast<const QTextEdit *>(field))
        return text->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(field))
        return combo->currentText();
    return {};
}

void setFieldText(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *edit = qobject_cast<QTextEdit *>(field))
        edit->setPlainText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->isEditable())
        combo->setEditText(text);
    else if (combo)
        combo->setCurrentIndex(std::max(0, combo->findText(text)));
}

void setPlaceholder(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setPlaceholderText(text);
    else if (auto *edit = qobject_cast<QTextEdit *>(field))
        edit->setPlaceholderText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->lineEdit())
        combo->lineEdit()->setPlaceholderText(text);
}

} // namespace

TagEditorPanel::TagEditorPanel(QWidget *frameParent) : QObject(frameParent)
{
    setObjectName(QStringLiteral("TagEditorPanel"));
    buildV1(frameParent);
    buildV2(frameParent);
    connect(chkv1, &QCheckBox::clicked, this, [this] { enableVersion(1); });
    connect(chkv2, &QCheckBox::clicked, this, [this] { enableVersion(2); });
}

void TagEditorPanel::buildV1(QWidget *frameParent)
{
    Frame2 = named<QGroupBox>(frameParent, "Frame2");
    Frame2->setAccessibleName(tr("ID3 v1"));
    chkv1 = named<QCheckBox>(Frame2, "chkv1", tr("Tag ID3 &v1"));
    txtv1Piste =
        shortField(named<QLineEdit>(Frame2, "txtv1Piste"), 60, tr("<différentes valeurs>"));
    txtv1Titre = named<QLineEdit>(Frame2, "txtv1Titre");
    txtv1Artiste = named<QLineEdit>(Frame2, "txtv1Artiste");
    txtv1Album = named<QLineEdit>(Frame2, "txtv1Album");
    txtv1Annee =
        shortField(named<QLineEdit>(Frame2, "txtv1Annee"), 80, tr("<différentes valeurs>"));
    cmbv1Genre = named<QComboBox>(Frame2, "cmbv1Genre");
    txtv1Commentaire = named<QLineEdit>(Frame2, "txtv1Commentaire");

    auto *form = new QFormLayout;
    form->addRow(tr("Piste :"), txtv1Piste);
    form->addRow(tr("Titre :"), txtv1Titre);
    form->addRow(tr("Artiste :"), txtv1Artiste);
    form->addRow(tr("Album :"), txtv1Album);
    form->addRow(tr("Année :"), txtv1Annee);
    form->addRow(tr("Genre :"), cmbv1Genre);
    form->addRow(tr("Commentaire :"), txtv1Commentaire);
    auto *layout = new QVBoxLayout(Frame2);
    layout->addWidget(chkv1);
    layout->addLayout(form);
    layout->addStretch();
}

void TagEditorPanel::buildV2(QWidget *frameParent)
{
    Frame5 = named<QGroupBox>(frameParent, "Frame5");
    Frame5->setAccessibleName(tr("ID3 v2"));
    chkv2 = named<QCheckBox>(Frame5, "chkv2", tr("Tag ID3 &v2"));
    txtv2Piste =
        shortField(named<QLineEdit>(Frame5, "txtv2Piste"), 60, tr("<différentes valeurs>"));
    txtv2Titre = named<QLineEdit>(Frame5, "txtv2Titre");
    txtv2Artiste = named<QLineEdit>(Frame5, "txtv2Artiste");
    txtv2Album = named<QLineEdit>(Frame5, "txtv2Album");
    txtv2Annee =
        shortField(named<QLineEdit>(Frame5, "txtv2Annee"), 80, tr("<différentes valeurs>"));
    cmbv2Genre = named<QComboBox>(Frame5, "cmbv2Genre");
    // A genre of the tag's own words ("Chanson française") is shown and can be typed.
    cmbv2Genre->setEditable(true);
    cmbv2Genre->setAccessibleName(tr("Genre"));
    cmbv2Genre->lineEdit()->setAccessibleName(cmbv2Genre->accessibleName());
    cmbv2Genre->setInsertPolicy(QComboBox::NoInsert);
    txtv2Commentaire = named<QTextEdit>(Frame5, "txtv2Commentaire");
    txtv2Commentaire->setAcceptRichText(false);
    // Tab moves on to the next field, as in every other field, rather than typing a tab.
    txtv2Commentaire->setTabChangesFocus(true);
    txtv2Commentaire->setFixedHeight(txtv2Commentaire->fontMetrics().lineSpacing() * 4);
    txtv2Compositeur = named<QLineEdit>(Frame5, "txtv2Compositeur");
    txtv2Original = named<QLineEdit>(Frame5, "txtv2Original");
    txtv2Copyright = named<QLineEdit>(Frame5, "txtv2Copyright");
    txtv2Url = named<QLineEdit>(Frame5, "txtv2Url");
    txtv2Encode = named<QLineEdit>(Frame5, "txtv2Encode");

    auto *form = new QFormLayout;
    form->addRow(tr("Piste :"), txtv2Piste);
    form->addRow(tr("Titre :"), txtv2Titre);
    form->addRow(tr("Artiste :"), txtv2Artiste);
    form->addRow(tr("Album :"), txtv2Album);
    form->addRow(tr("Année :"), txtv2Annee);
    form->addRow(tr("Genre :"), cmbv2Genre);
    form->addRow(tr("Commentaire :"), txtv2Commentaire);
    form->addRow(tr("Compositeur :"), txtv2Compositeur);
    form->addRow(tr("Artiste original :"), txtv2Original);
    form->addRow(tr("Copyright :"), txtv2Copyright);
    form->addRow(tr("URL :"), txtv2Url);
    form->addRow(tr("Encodé par :"), txtv2Encode);
    autresChamps = new OtherFramesTable(Frame5);
    auto *layout = new QVBoxLayout(Frame5);
    layout->addWidget(chkv2);
    layout->addLayout(form);
    layout->addWidget(autresChamps, 1);
}

QList<QWidget *> TagEditorPanel::fieldsV1() const
{
    return {txtv1Piste, txtv1Titre, txtv1Artiste,    txtv1Album,
            txtv1Annee, cmbv1Genre, txtv1Commentaire};
}

QList<QWidget *> TagEditorPanel::fieldsV2() const
{
    return {txtv2Piste,    txtv2Titre,     txtv2Artiste,     txtv2Album,
            txtv2Annee,    cmbv2Genre,     txtv2Commentaire, txtv2Compositeur,
            txtv2Original, txtv2Copyright, txtv2Url,         txtv2Encode};
}

void TagEditorPanel::enableVersion(int version)
{
    const bool on = version == 1 ? chkv1->isChecked() : chkv2->isChecked();
    for (QWidget *field : version == 1 ? fieldsV1() : fieldsV2()) {
        field->setEnabled(on);
        setFieldBackground(field, on);
    }
    if (version == 2)
        autresChamps->setEnabled(on);
}

void TagEditorPanel::clearFields()
{
    for (QWidget *field : fieldsV1() + fieldsV2()) {
        setFieldText(field, QString());
        setPlaceholder(field, QString());
    }
    autresChamps->clearFrames();
    chkv1->setChecked(false);
    chkv2->setChecked(false);
}

void TagEditorPanel::remsezerotag()
{
    m_shownFile.clear();
    m_shownFiles.clear();
    m_loadedTexts.clear();
    for (QWidget *field : fieldsV1() + fieldsV2())
        setPlaceholder(field, QString());
    emit shownFileChanged();
    autresChamps->clearFrames();
    cmbv1Genre->clear();
    cmbv2Genre->clear();
    for (QWidget *field : fieldsV1() + fieldsV2()) {
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        else if (auto *text = qobject_cast<QTextEdit *>(field))
            text->clear();
    }
    cmbv1Genre->setCurrentText(QString());
    cmbv2Genre->setCurrentText(QString());
}

void TagEditorPanel::fillGenreLists()
{
    QStringList genres;
    tags::ZellTagCtrl().GetGenreListe(genres);
    for (QComboBox *combo : {cmbv1Genre, cmbv2Genre}) {
        combo->clear();
        combo->addItems(genres);
        combo->setCurrentIndex(0);
    }
}

void TagEditorPanel::showTagsOfFile(const QString &fichier)
{
    showTagsOfFiles({fichier});
}

void TagEditorPanel::fillFields(const tags::TagType &tags)
{
    const tags::TypeTagV1 &v1 = tags.TagV1;
    if (v1.Valide()) {
        chkv1->setChecked(true);
        enableVersion(1);
        txtv1Piste->setText(QString::number(v1.Piste()).trimmed());
        txtv1Titre->setText(v1.Titre());
        txtv1Artiste->setText(v1.Artiste());
        txtv1Album->setText(v1.Album());
        txtv1Annee->setText(v1.Annee());
        cmbv1Genre->setCurrentIndex(tags::genreListPosition(v1.Genre()));
        txtv1Commentaire->setText(v1.Commentaire());
    }
    const tags::TypeTagV2 &v2 = tags.TagV2;
    if (v2.Valide()) {
        chkv2->setChecked(true);
        enableVersion(2);
        txtv2Piste->setText(v2.Piste().trimmed());
        txtv2Titre->setText(v2.Titre());
        txtv2Artiste->setText(v2.Artiste());
        txtv2Album->setText(v2.Album());
        txtv2Annee->setText(v2.Annee());
        cmbv2Genre->setCurrentIndex(tags::genreListPosition(v2.Genre()));
        if (v2.Genre() == tags::NoGenre && !v2.GenreTexte().isEmpty())
            cmbv2Genre->setEditText(v2.GenreTexte());
        txtv2Commentaire->setPlainText(v2.Commentaire());
        txtv2Compositeur->setText(v2.Compositeur());
        txtv2Original->setText(v2.Original());
        txtv2Copyright->setText(v2.Copyright());
        txtv2Url->setText(v2.Url());
        txtv2Encode->setText(v2.Encode());
    }
}

QStringList TagEditorPanel::fieldTexts(const tags::TagType &tags)
{
    // The genre lists show no genre, and numbers without a name, as the empty entry.
    const tags::TypeTagV1 &v1 = tags.TagV1;
    const tags::TypeTagV2 &v2 = tags.TagV2;
    QStringList texts;
    if (v1.Valide())
        texts << QString::number(v1.Piste()) << v1.Titre() << v1.Artiste() << v1.Album()
              << v1.Annee() << tags::genreName(v1.Genre()) << v1.Commentaire();
    else
        texts << QStringList(7);
    if (v2.Valide()) {
        const bool typed = v2.Genre() == tags::NoGenre && !v2.GenreTexte().isEmpty();
        texts << v2.Piste().trimmed() << v2.Titre() << v2.Artiste() << v2.Album() << v2.Annee()
              << (typed ? v2.GenreTexte() : tags::genreName(v2.Genre())) << v2.Commentaire()
              << v2.Compositeur() << v2.Original() << v2.Copyright() << v2.Url() << v2.Encode();
    } else {
        texts << QStringList(12);
    }
    return texts;
}

void TagEditorPanel::showTagsOfFiles(const QStringList &files)
{
    showTags(files, readTags(files));
}

TagEditorPanel::ReadTags
TagEditorPanel::readTags(const QStringList &files,
                         const std::function<void(qsizetype, qsizetype)> &progress)
{
    ReadTags read;
    tags::FrameSummary frames;
    const auto addFrames = [&](const QString &fichier) {
        if (const tags::Result<QList<tags::TagFrame>> others = tags::readFrames(fichier, true);
            others.ok())
            frames.add(*others);
    };
    if (files.size() == 1) {
        const tags::Result<tags::TagType> tags = tags::ZellTagCtrl().GetAllTags(files.first());
        if (tags.ok())
            read.one = *tags;
        addFrames(files.first());
        read.frames = frames.rows();
        return read;
    }
    // The texts each file would show, compared without filling the widgets file by file.
    qsizetype done = 0;
    for (const QString &fichier : files) {
        const tags::Result<tags::TagType> tags = tags::ZellTagCtrl().GetAllTags(fichier);
        if (progress)
            progress(++done, files.size());
        if (!tags.ok())
            continue;
        addFrames(fichier);
        read.v1 = read.v1 || tags->TagV1.Valide();
        read.v2 = read.v2 || tags->TagV2.Valide();
        const QStringList texts = fieldTexts(*tags);
        if (read.shared.isEmpty()) {
            read.shared = texts;
            read.differing = QList<bool>(texts.size(), false);
        }
        for (qsizetype k = 0; k < texts.size(); ++k)
            read.differing[k] = read.differing[k] || texts[k] != read.shared[k];
    }
    read.frames = frames.rows();
    return read;
}

void TagEditorPanel::showTags(const QStringList &files, const ReadTags &read)
{
    fillGenreLists();
    m_shownFile.clear();
    m_shownFiles.clear();
    m_loadedTexts.clear();
    clearFields();
    const QList<QWidget *> fields = fieldsV1() + fieldsV2();
    if (files.size() == 1) {
        if (!read.one) {
            emit shownFileChanged();
            return;
        }
        fillFields(*read.one);
    } else {
        for (qsizetype k = 0; k < fields.size() && k < read.shared.size(); ++k) {
            setFieldText(fields[k], read.differing[k] ? QString() : read.shared[k]);
            if (read.differing[k])
                setPlaceholder(fields[k], tr("<différentes valeurs>"));
        }
        chkv1->setChecked(read.v1);
        chkv2->setChecked(read.v2);
    }
    autresChamps->showFrames(read.frames);
    enableVersion(1);
    enableVersion(2);
    m_shownFiles = files;
    rememberLoadedTexts(files.value(0));
}

void TagEditorPanel::followMoves(const QList<files::MovedFile> &moves)
{
    // In the order done, so that a file renamed twice ends under its last name.
    QHash<QString, qsizetype> position;
    for (qsizetype i = 0; i < m_shownFiles.size(); ++i)
        position.insert(m_shownFiles[i], i);
    bool moved = false;
    for (const files::MovedFile &move : moves) {
        const auto found = position.constFind(move.from);
        if (found == position.cend())
            continue;
        const qsizetype i = *found;
        position.erase(found);
        m_shownFiles[i] = move.to;
        position.insert(move.to, i);
        moved = true;
    }
    if (!moved)
        return;
    m_shownFile = m_shownFiles.value(0);
    emit shownFileChanged();
}

void TagEditorPanel::rememberLoadedTexts(const QString &fichier)
{
    m_shownFile = fichier;
    for (const QWidget *field : fieldsV1() + fieldsV2())
        m_loadedTexts.insert(field, fieldText(field));
    m_loadedV1 = chkv1->isChecked();
    m_loadedV2 = chkv2->isChecked();
    emit shownFileChanged();
}

bool TagEditorPanel::hasUnsavedEdits() const
{
    if (m_shownFile.isEmpty())
        return false;
    if (chkv1->isChecked() != m_loadedV1 || chkv2->isChecked() != m_loadedV2)
        return true;
    const QList<QWidget *> fields = fieldsV1() + fieldsV2();
    return !autresChamps->changes().isEmpty() ||
           std::any_of(fields.begin(), fields.end(),
                       [this](const QWidget *field) { return edited(m_shownFile, field); });
}

std::optional<tags::FieldEdit> TagEditorPanel::editedFields(int version) const
{
    tags::FieldEdit edit;
    bool any = false;
    const auto take = [&](const QWidget *field, std::optional<QString> &value) {
        if (edited(m_shownFile, field)) {
            value = fieldText(field);
            any = true;
        }
    };
    if (version == 1) {
        edit.v1 = true;
        take(txtv1Piste, edit.piste);
        take(txtv1Titre, edit.titre);
        take(txtv1Artiste, edit.artiste);
        take(txtv1Album, edit.album);
        take(txtv1Annee, edit.annee);
        take(txtv1Commentaire, edit.commentaire);
        if (edited(m_shownFile, cmbv1Genre)) {
            edit.genre =
                tags::TypedGenre{tags::genreAtListPosition(cmbv1Genre->currentIndex()), {}};
            any = true;
        }
    } else {
        edit.v2 = true;
        take(txtv2Piste, edit.piste);
        take(txtv2Titre, edit.titre);
        take(txtv2Artiste, edit.artiste);
        take(txtv2Album, edit.album);
        take(txtv2Annee, edit.annee);
        take(txtv2Commentaire, edit.commentaire);
        take(txtv2Compositeur, edit.compositeur);
        take(txtv2Original, edit.original);
        take(txtv2Copyright, edit.copyright);
        take(txtv2Url, edit.url);
        take(txtv2Encode, edit.encode);
        if (edited(m_shownFile, cmbv2Genre)) {
            edit.genre = tags::v2Genre(cmbv2Genre->currentText());
            any = true;
        }
        edit.frames = autresChamps->changes();
        any = any || !edit.frames.isEmpty();
    }
    if (!any)
        return std::nullopt;
    return edit;
}

QList<tags::FieldEdit> TagEditorPanel::savedEdits(const tags::FixedTexts &fixed) const
{
    QList<tags::FieldEdit> edits;
    for (int version : {1, 2}) {
        const bool loaded = version == 1 ? m_loadedV1 : m_loadedV2;
        const bool ticked = (version == 1 ? chkv1 : chkv2)->isChecked();
        if (!ticked) {
            if (loaded) {
                tags::FieldEdit removal;
                (version == 1 ? removal.removeV1 : removal.removeV2) = true;
                edits.append(removal);
            }
            continue;
        }
        const std::optional<tags::FieldEdit> typed = editedFields(version);
        // A version left as loaded is still written when the fixed texts replace its comment.
        if (!typed && loaded && !fixed.comment && !(version == 2 && fixed.encoder))
            continue;
        tags::FieldEdit edit = typed.value_or(tags::FieldEdit{});
        (version == 1 ? edit.v1 : edit.v2) = true;
        edit.create = typed.has_value() || !loaded;
        tags::applyFixedTexts(edit, fixed);
        edits.append(edit);
    }
    return edits;
}

void TagEditorPanel::showEdit(int version, const tags::FieldEdit &edit)
{
    const bool v1 = version == 1;
    (v1 ? chkv1 : chkv2)->setChecked(true);
    enableVersion(version);
    const std::pair<QWidget *, const std::optional<QString> *> texts[] = {
        {v1 ? static_cast<QWidget *>(txtv1Piste) : txtv2Piste, &edit.piste},
        {v1 ? txtv1Titre : txtv2Titre, &edit.titre},
        {v1 ? txtv1Artiste : txtv2Artiste, &edit.artiste},
        {v1 ? txtv1Album : txtv2Album, &edit.album},
        {v1 ? txtv1Annee : txtv2Annee, &edit.annee},
        {v1 ? static_cast<QWidget *>(txtv1Commentaire) : txtv2Commentaire, &edit.commentaire},
    };
    for (const auto &[field, value] : texts) {
        if (*value)
            setFieldText(field, **value);
    }
    if (edit.genre && v1)
        cmbv1Genre->setCurrentIndex(tags::genreListPosition(edit.genre->number));
    else if (edit.genre)
        cmbv2Genre->setEditText(
            edit.genre->number == tags::NoGenre
                ? edit.genre->text
                : cmbv2Genre->itemText(tags::genreListPosition(edit.genre->number)));
}

bool TagEditorPanel::edited(const QString &fichier, const QWidget *field) const
{
    return fichier != m_shownFile || !m_loadedTexts.contains(field) ||
           m_loadedTexts.value(field) != fieldText(field);
}

tags::TagType TagEditorPanel::tagsFromFields(const QString &fichier, const tags::TagType &base,
                                             const tags::FixedTexts &fixed) const
{
    tags::TagType record;
    // Sets a field from its widget when the user changed it.
    const auto take = [&](const QWidget *field, auto set) {
        if (edited(fichier, field))
            set(fieldText(field));
    };
    if (chkv1->isChecked()) {
        tags::TypeTagV1 &v1 = record.TagV1;
        if (base.TagV1.Valide()) {
            v1 = base.TagV1;
        } else {
            v1.setGenre(tags::NoGenre);
            v1.setValide(true);
        }
        take(txtv1Piste, [&](const QString &t) { v1.setPiste(tags::v1Track(t)); });
        take(txtv1Titre, [&](const QString &t) { v1.setTitre(t); });
        take(txtv1Artiste, [&](const QString &t) { v1.setArtiste(t); });
        take(txtv1Album, [&](const QString &t) { v1.setAlbum(t); });
        take(txtv1Annee, [&](const QString &t) { v1.setAnnee(t); });
        take(cmbv1Genre, [&](const QString &) {
            v1.setGenre(tags::genreAtListPosition(cmbv1Genre->currentIndex()));
        });
        take(txtv1Commentaire, [&](const QString &t) { v1.setCommentaire(t); });
    }
    if (chkv2->isChecked()) {
        tags::TypeTagV2 &v2 = record.TagV2;
        if (base.TagV2.Valide()) {
            v2 = base.TagV2;
        } else {
            v2.setGenre(tags::NoGenre);
            v2.setValide(true);
        }
        take(txtv2Piste, [&](const QString &t) { v2.setPiste(tags::v2Track(t)); });
        take(txtv2Titre, [&](const QString &t) { v2.setTitre(t); });
        take(txtv2Artiste, [&](const QString &t) { v2.setArtiste(t); });
        take(txtv2Album, [&](const QString &t) { v2.setAlbum(t); });
        take(txtv2Annee, [&](const QString &t) { v2.setAnnee(t); });
        take(cmbv2Genre, [&](const QString &t) {
            const tags::TypedGenre genre = tags::v2Genre(t);
            v2.setGenre(genre.number);
            v2.setGenreTexte(genre.text);
        });
        take(txtv2Commentaire, [&](const QString &t) { v2.setCommentaire(t); });
        take(txtv2Compositeur, [&](const QString &t) { v2.setCompositeur(t); });
        take(txtv2Original, [&](const QString &t) { v2.setOriginal(t); });
        take(txtv2Copyright, [&](const QString &t) { v2.setCopyright(t); });
        take(txtv2Url, [&](const QString &t) { v2.setUrl(t); });
        take(txtv2Encode, [&](const QString &t) { v2.setEncode(t); });
    }
    tags::applyFixedTexts(record, fixed);
    return record;
}

tags::Result<bool> TagEditorPanel::BtnUpdate(const QString &fichier, const tags::FixedTexts &fixed,
                                             std::optional<tags::TagBackup> *backup) const
{
    const auto changesFor = [&](const tags::TagType &held) {
        const tags::TagType record = tagsFromFields(fichier, held, fixed);
        tags::TagChanges changes;
        changes.v1 = record.TagV1;
        changes.v2 = record.TagV2;
        changes.removeV1 = fichier == m_shownFile && m_loadedV1 && !chkv1->isChecked();
        changes.v23 = fixed.writeV23;
        if (fichier == m_shownFile && chkv2->isChecked())
            changes.frames = autresChamps->changes();
        return changes;
    };
    const tags::Result<tags::SaveKind> saved =
        backup ? tags::saveTagsUndoable(fichier, changesFor, backup)
               : tags::saveTags(fichier, changesFor);
    if (!saved.ok())
        return tags::Result<bool>::failure(saved.error());
    return true;
}

void TagEditorPanel::copyV1FieldsToV2()
{
    chkv2->setChecked(true);
    enableVersion(2);
    txtv2Piste->setText(txtv1Piste->text());
    txtv2Titre->setText(txtv1Titre->text());
    txtv2Artiste->setText(txtv1Artiste->text());
    txtv2Album->setText(txtv1Album->text());
    txtv2Annee->setText(txtv1Annee->text());
    cmbv2Genre->setCurrentIndex(cmbv1Genre->currentIndex());
    txtv2Commentaire->setPlainText(txtv1Commentaire->text());
}

void TagEditorPanel::copyV2FieldsToV1()
{
    chkv1->setChecked(true);
    enableVersion(1);
    txtv1Piste->setText(txtv2Piste->text());
    txtv1Titre->setText(txtv2Titre->text());
    txtv1Artiste->setText(txtv2Artiste->text());
    txtv1Album->setText(txtv2Album->text());
    txtv1Annee->setText(txtv2Annee->text());
    // The v2 genre may be typed: the v1 list shows the same name, or no genre.
    cmbv1Genre->setCurrentIndex(
        std::max(0, cmbv1Genre->findText(cmbv2Genre->currentText(), Qt::MatchFixedString)));
    txtv1Commentaire->setText(txtv2Commentaire->toPlainText());
}

} // namespace app

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr_FR">
<context>
    <name>app::CdPage</name>
    <message>
        <source>Extraire CD</source>
        <translation>Rip CD</translation>
    </message>
    <message>
        <source>Pistes du disque</source>
        <translation>Disc tracks</translation>
    </message>
    <message>
        <source>Pistes</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>Genre du disque</source>
        <translation>Disc genre</translation>
    </message>
    <message>
        <source>Liste des &amp;Sites</source>
        <translation>&amp;Sites list</translation>
    </message>
    <message>
        <source>Plusieurs disques correspondent</source>
        <translation>Several discs match</translation>
    </message>
    <message>
        <source>Disques trouvés</source>
        <translation>Discs found</translation>
    </message>
    <message>
        <source>Lecteur :</source>
        <translation>Drive:</translation>
    </message>
    <message>
        <source>Arrête l&apos;extraction après la lecture en cours et supprime le fichier inachevé</source>
        <translation>Stops ripping after the current read and deletes the unfinished file</translation>
    </message>
    <message>
        <source>Disque</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Artiste :</source>
        <translation>Artist:</translation>
    </message>
    <message>
        <source>Album :</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Année :</source>
        <translation>Year:</translation>
    </message>
    <message>
        <source>Genre :</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Recherche en ligne</source>
        <translation>Online lookup</translation>
    </message>
    <message>
        <source>Choisir ce &amp;Site</source>
        <translation>Choose this &amp;site</translation>
    </message>
    <message>
        <source>Tout sele&amp;ctionner</source>
        <translation>Select a&amp;ll</translation>
    </message>
    <message>
        <source>Tout &amp;deselectionner</source>
        <translation>&amp;Deselect all</translation>
    </message>
    <message>
        <source>Déta&amp;ils</source>
        <translation>Deta&amp;ils</translation>
    </message>
    <message>
        <source>A&amp;nnuler</source>
        <translation>Ca&amp;ncel</translation>
    </message>
    <message>
        <source>O&amp;k</source>
        <translation>O&amp;K</translation>
    </message>
    <message>
        <source>Ann&amp;uler</source>
        <translation>C&amp;ancel</translation>
    </message>
    <message>
        <source>Désolé, je n&apos;ai pas détecté de lecteur de CD sur cette machine. Un lecteur branché apparaîtra ici de lui-même.</source>
        <translation>Sorry, no CD drive was found on this machine. A drive plugged in will appear here by itself.</translation>
    </message>
    <message>
        <source>État</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>AccurateRip</source>
        <translation>AccurateRip</translation>
    </message>
</context>
<context>
    <name>app::CddbPanel</name>
    <message>
        <source>Le lecteur n&apos;est pas prêt. Essayez plus tard.</source>
        <translation>The drive is not ready. Try again later.</translation>
    </message>
    <message>
        <source>%1 : &lt;a href=&quot;%2&quot;&gt;le proposer à MusicBrainz&lt;/a&gt;</source>
        <translation>%1: &lt;a href=&quot;%2&quot;&gt;submit it to MusicBrainz&lt;/a&gt;</translation>
    </message>
    <message>
        <source>Plusieurs éditions contiennent ce disque : choisissez la vôtre.</source>
        <translation>Several releases contain this disc: choose yours.</translation>
    </message>
    <message>
        <source>Aucune édition choisie : la liste des pistes reste telle quelle.</source>
        <translation>No release chosen: the track list stays as it is.</translation>
    </message>
    <message>
        <source>MusicBrainz : %1</source>
        <translation>MusicBrainz: %1</translation>
    </message>
    <message>
        <source>CDDB : %1</source>
        <translation>CDDB: %1</translation>
    </message>
    <message>
        <source>Le serveur CDDB ne connaît pas ce disque (réponse %1).</source>
        <translation>The CDDB server does not know this disc (reply %1).</translation>
    </message>
    <message>
        <source>Le serveur CDDB n&apos;a pas donné la fiche du disque (réponse %1).</source>
        <translation>The CDDB server did not send the disc entry (reply %1).</translation>
    </message>
    <message>
        <source>Le disque n&apos;a pas de CD-Text.</source>
        <translation>The disc has no CD-Text.</translation>
    </message>
    <message>
        <source>CD-Text : %1 / %2</source>
        <translation>CD-Text: %1 / %2</translation>
    </message>
</context>
<context>
    <name>app::CommandTable</name>
    <message>
        <source>Barre d&apos;outils</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Ouvrir un dossier</source>
        <translation>Open a folder</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Demande CDDB</source>
        <translation>CDDB lookup</translation>
    </message>
    <message>
        <source>CDDB</source>
        <translation>CDDB</translation>
    </message>
    <message>
        <source>Extraire les pistes du CD</source>
        <translation>Rip the CD tracks</translation>
    </message>
    <message>
        <source>Extraire</source>
        <translation>Rip</translation>
    </message>
    <message>
        <source>Aperçu du changement</source>
        <translation>Preview the change</translation>
    </message>
    <message>
        <source>Aperçu</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Renommer le fichier</source>
        <translation>Rename the file</translation>
    </message>
    <message>
        <source>Renommer</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Enregistrer le Tag ID3</source>
        <translation>Save the ID3 tag</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Effacer le Tag ID3</source>
        <translation>Remove the ID3 tag</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Copier l&apos;ID3 v1 vers ID3 v2</source>
        <translation>Copy ID3 v1 to ID3 v2</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ouvrir un dossier</source>
        <translation>&amp;Open a folder</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>E&amp;xtraction</source>
        <translation>&amp;Rip</translation>
    </message>
    <message>
        <source>&amp;Demande CDDB</source>
        <translation>&amp;CDDB lookup</translation>
    </message>
    <message>
        <source>&amp;Extraire d&apos;un CD</source>
        <translation>&amp;Rip a CD</translation>
    </message>
    <message>
        <source>Extraction &amp;MP3</source>
        <translation>Rip to &amp;MP3</translation>
    </message>
    <message>
        <source>Extraction &amp;WAV</source>
        <translation>Rip to &amp;WAV</translation>
    </message>
    <message>
        <source>&amp;Edition</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Recherche d&apos;une piste</source>
        <translation>&amp;Find a track</translation>
    </message>
    <message>
        <source>&amp;Copier les fichiers cochés</source>
        <translation>&amp;Copy checked files</translation>
    </message>
    <message>
        <source>&amp;Déplacer les fichiers cochés</source>
        <translation>&amp;Move checked files</translation>
    </message>
    <message>
        <source>&amp;Supprimer les fichiers cochés</source>
        <translation>&amp;Delete checked files</translation>
    </message>
    <message>
        <source>Supprimer &amp;définitivement les fichiers cochés</source>
        <translation>Delete checked files &amp;permanently</translation>
    </message>
    <message>
        <source>&amp;Lecteur MP3</source>
        <translation>MP3 &amp;Player</translation>
    </message>
    <message>
        <source>&amp;Lire un MP3</source>
        <translation>&amp;Play an MP3</translation>
    </message>
    <message>
        <source>&amp;Arrêter la lecture</source>
        <translation>&amp;Stop playback</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>A &amp;propos</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Recherche d&apos;une piste</source>
        <translation>Find a track</translation>
    </message>
    <message>
        <source>Lire la piste sélectionnée</source>
        <translation>Play the selected track</translation>
    </message>
    <message>
        <source>Arrêter la lecture</source>
        <translation>Stop playback</translation>
    </message>
    <message>
        <source>Copier les fichiers cochés</source>
        <translation>Copy checked files</translation>
    </message>
    <message>
        <source>Déplacer les fichiers cochés</source>
        <translation>Move checked files</translation>
    </message>
    <message>
        <source>Supprimer les fichiers cochés</source>
        <translation>Delete checked files</translation>
    </message>
    <message>
        <source>Extraction MP3</source>
        <translation>Rip to MP3</translation>
    </message>
    <message>
        <source>Extraction WAV</source>
        <translation>Rip to WAV</translation>
    </message>
    <message>
        <source>Ré&amp;tablir</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Calculer le Replay&amp;Gain</source>
        <translation>Compute Replay&amp;Gain</translation>
    </message>
    <message>
        <source>A&amp;ctualiser</source>
        <translation>Re&amp;fresh</translation>
    </message>
    <message>
        <source>Effacer le ReplayGain</source>
        <translation>Remove ReplayGain</translation>
    </message>
    <message>
        <source>Extraction &amp;FLAC</source>
        <translation>&amp;FLAC ripping</translation>
    </message>
    <message>
        <source>Extraction FLAC &amp;et MP3</source>
        <translation>FLAC &amp;and MP3 ripping</translation>
    </message>
    <message>
        <source>Extraction FLAC</source>
        <translation>FLAC ripping</translation>
    </message>
    <message>
        <source>Extraction FLAC et MP3</source>
        <translation>FLAC and MP3 ripping</translation>
    </message>
    <message>
        <source>Extraction WAV e&amp;t MP3</source>
        <translation>WAV and MP&amp;3 ripping</translation>
    </message>
    <message>
        <source>Extraction WAV et F&amp;LAC</source>
        <translation>WAV and FLA&amp;C ripping</translation>
    </message>
    <message>
        <source>Extraction WAV, FLAC et MP&amp;3</source>
        <translation>WAV, FLAC and MP3 r&amp;ipping</translation>
    </message>
    <message>
        <source>Extraction WAV et MP3</source>
        <translation>WAV and MP3 ripping</translation>
    </message>
    <message>
        <source>Extraction WAV et FLAC</source>
        <translation>WAV and FLAC ripping</translation>
    </message>
    <message>
        <source>Extraction WAV, FLAC et MP3</source>
        <translation>WAV, FLAC and MP3 ripping</translation>
    </message>
</context>
<context>
    <name>app::CoverPanel</name>
    <message>
        <source>Pochette</source>
        <translation>Cover</translation>
    </message>
    <message>
        <source>Détails de la pochette</source>
        <translation>Cover details</translation>
    </message>
    <message>
        <source>Image illisible</source>
        <translation>Unreadable image</translation>
    </message>
    <message>
        <source>Aucune pochette</source>
        <translation>No cover</translation>
    </message>
    <message>
        <source>%1 octets</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>, %1 × %2 pixels</source>
        <translation>, %1 × %2 pixels</translation>
    </message>
    <message>
        <source>
%1, %2</source>
        <translation>
%1, %2</translation>
    </message>
    <message>
        <source>type %1</source>
        <translation>type %1</translation>
    </message>
    <message>
        <source>Voulez vous enregistrer le Tag ?</source>
        <translation>Do you want to save the tag?</translation>
    </message>
    <message>
        <source>Ajout de la pochette</source>
        <translation>Adding the cover</translation>
    </message>
    <message>
        <source>Voulez vous supprimer la pochette ?</source>
        <translation>Do you want to remove the cover?</translation>
    </message>
    <message>
        <source>Suppression de la pochette</source>
        <translation>Removing the cover</translation>
    </message>
    <message>
        <source>Le tag de « %1 » n&apos;a pas pu être enregistré : %2</source>
        <translation>The tag of “%1” could not be saved: %2</translation>
    </message>
    <message>
        <source>autre</source>
        <translation>other</translation>
    </message>
    <message>
        <source>icône 32×32</source>
        <translation>32×32 icon</translation>
    </message>
    <message>
        <source>autre icône</source>
        <translation>other icon</translation>
    </message>
    <message>
        <source>couverture (recto)</source>
        <translation>front cover</translation>
    </message>
    <message>
        <source>couverture (verso)</source>
        <translation>back cover</translation>
    </message>
    <message>
        <source>livret</source>
        <translation>leaflet</translation>
    </message>
    <message>
        <source>support</source>
        <translation>media</translation>
    </message>
    <message>
        <source>soliste</source>
        <translation>lead artist</translation>
    </message>
    <message>
        <source>artiste</source>
        <translation>artist</translation>
    </message>
    <message>
        <source>chef d&apos;orchestre</source>
        <translation>conductor</translation>
    </message>
    <message>
        <source>groupe</source>
        <translation>band</translation>
    </message>
    <message>
        <source>compositeur</source>
        <translation>composer</translation>
    </message>
    <message>
        <source>parolier</source>
        <translation>lyricist</translation>
    </message>
    <message>
        <source>lieu d&apos;enregistrement</source>
        <translation>recording location</translation>
    </message>
    <message>
        <source>pendant l&apos;enregistrement</source>
        <translation>during recording</translation>
    </message>
    <message>
        <source>pendant l&apos;interprétation</source>
        <translation>during performance</translation>
    </message>
    <message>
        <source>capture vidéo</source>
        <translation>video screen capture</translation>
    </message>
    <message>
        <source>poisson coloré</source>
        <translation>bright coloured fish</translation>
    </message>
    <message>
        <source>illustration</source>
        <translation>illustration</translation>
    </message>
    <message>
        <source>logo de l&apos;artiste</source>
        <translation>artist logo</translation>
    </message>
    <message>
        <source>logo de l&apos;éditeur</source>
        <translation>publisher logo</translation>
    </message>
    <message>
        <source>Ajouter une &amp;pochette...</source>
        <translation>&amp;Add cover...</translation>
    </message>
    <message>
        <source>&amp;Supprimer la pochette</source>
        <translation>Remove co&amp;ver</translation>
    </message>
    <message>
        <source>Enregistrer l&apos;ima&amp;ge...</source>
        <translation>&amp;Save image...</translation>
    </message>
</context>
<context>
    <name>app::ExtractionController</name>
    <message>
        <source>Convertit en MP3 les fichiers WAV cochés de la liste</source>
        <translation>Converts the checked WAV files of the list to MP3</translation>
    </message>
    <message>
        <source>Extraction de : </source>
        <translation>Ripping: </translation>
    </message>
    <message>
        <source>Piste %1/%2</source>
        <translation>Track %1/%2</translation>
    </message>
    <message>
        <source> — temps restant : %1 min %2 s</source>
        <translation> — time left: %1 min %2 s</translation>
    </message>
    <message>
        <source>Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?</source>
        <translation>The file “%1” already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Aucun fichier WAV n&apos;est coché : cochez les fichiers à convertir, puis cliquez sur « Convertir en MP3 ».</source>
        <translation>No WAV file is checked: check the files to convert, then click “Convert to MP3”.</translation>
    </message>
    <message>
        <source>Conversion de %1 fichier(s)</source>
        <translation>Converting %1 file(s)</translation>
    </message>
    <message>
        <source>Une extraction ou une conversion est en cours. Voulez-vous l&apos;arrêter et quitter ?</source>
        <translation>A rip or a conversion is running. Do you want to stop it and quit?</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>(Annulé)</source>
        <translation>(Cancelled)</translation>
    </message>
    <message>
        <source>Convertir en MP&amp;3</source>
        <translation>Convert to MP&amp;3</translation>
    </message>
    <message>
        <source>Le dossier des fichiers convertis « %1 » n&apos;a pas pu être créé.</source>
        <translation>The folder for converted files “%1” could not be created.</translation>
    </message>
    <message>
        <source>Fichiers convertis : %1, dans « %2 ».</source>
        <translation>Files converted: %1, into “%2”.</translation>
    </message>
    <message>
        <source>Fichiers MP3 existants gardés : %1.</source>
        <translation>Existing MP3 files kept: %1.</translation>
    </message>
    <message>
        <source>Conversion annulée : %1 fichier(s) non converti(s).</source>
        <translation>Conversion cancelled: %1 file(s) not converted.</translation>
    </message>
    <message>
        <source>Échecs :</source>
        <translation>Failures:</translation>
    </message>
    <message>
        <source>Lecture des informations du disque…</source>
        <translation>Reading the disc’s details…</translation>
    </message>
</context>
<context>
    <name>app::FileCommands</name>
    <message>
        <source>Renommage</source>
        <translation>Renaming</translation>
    </message>
    <message>
        <source>Voulez vous copier le(s) fichier(s) sélectionné(s) ?</source>
        <translation>Do you want to copy the selected file(s)?</translation>
    </message>
    <message>
        <source>Voulez vous déplacer le(s) fichier(s) sélectionné(s) ?</source>
        <translation>Do you want to move the selected file(s)?</translation>
    </message>
    <message>
        <source>Déplacement</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>Supprimer définitivement %1 : %2 ? Cette suppression ne peut pas être annulée.</source>
        <translation>Permanently delete %1: %2? This cannot be undone.</translation>
    </message>
    <message>
        <source>Mettre %1 à la corbeille : %2 ?</source>
        <translation>Move %1 to the trash: %2?</translation>
    </message>
    <message>
        <source>Lecture de : </source>
        <translation>Playing: </translation>
    </message>
    <message>
        <source> et %1 autre(s)</source>
        <translation> and %1 other(s)</translation>
    </message>
    <message>
        <source>1 fichier</source>
        <translation>1 file</translation>
    </message>
    <message>
        <source>%1 fichiers</source>
        <translation>%1 files</translation>
    </message>
    <message>
        <source>Aucun fichier à renommer : cochez les fichiers et choisissez leur nom.</source>
        <translation>No file to rename: tick the files and choose their names.</translation>
    </message>
    <message>
        <source>Renommer %1 fichier(s) comme l&apos;aperçu l&apos;indique ?</source>
        <translation>Rename %1 file(s) as the preview shows?</translation>
    </message>
    <message>
        <source> ; gardés à la place : %1</source>
        <translation>; kept in place: %1</translation>
    </message>
    <message>
        <source> ; en échec : %1</source>
        <translation>; failed: %1</translation>
    </message>
    <message>
        <source> ; le reste a été annulé</source>
        <translation>; the rest was cancelled</translation>
    </message>
    <message>
        <source>Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?</source>
        <translation>The file “%1” already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Copie</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Fichiers copiés : %1</source>
        <translation>Files copied: %1</translation>
    </message>
    <message>
        <source>Fichiers déplacés : %1</source>
        <translation>Files moved: %1</translation>
    </message>
    <message>
        <source>Mise à la corbeille</source>
        <translation>Move to trash</translation>
    </message>
    <message>
        <source>Fichiers supprimés définitivement : %1</source>
        <translation>Files deleted for good: %1</translation>
    </message>
    <message>
        <source>Fichiers mis à la corbeille : %1</source>
        <translation>Files moved to the trash: %1</translation>
    </message>
</context>
<context>
    <name>app::FileInfoPanel</name>
    <message>
        <source>Info Fichier</source>
        <translation>File info</translation>
    </message>
    <message>
        <source>Taille :</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Durée :</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>Débit :</source>
        <translation>Bit rate:</translation>
    </message>
    <message>
        <source>Version MPEG :</source>
        <translation>MPEG version:</translation>
    </message>
    <message>
        <source>Couche :</source>
        <translation>Layer:</translation>
    </message>
    <message>
        <source>Mode :</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>Extension de mode :</source>
        <translation>Mode extension:</translation>
    </message>
    <message>
        <source>Fréquence :</source>
        <translation>Sample rate:</translation>
    </message>
    <message>
        <source>CRC :</source>
        <translation>CRC:</translation>
    </message>
    <message>
        <source>Copyright :</source>
        <translation>Copyright:</translation>
    </message>
    <message>
        <source>Remplissage :</source>
        <translation>Padding:</translation>
    </message>
    <message>
        <source>Privé :</source>
        <translation>Private:</translation>
    </message>
    <message>
        <source>Original :</source>
        <translation>Original:</translation>
    </message>
    <message>
        <source>Emphase :</source>
        <translation>Emphasis:</translation>
    </message>
    <message>
        <source>Débit variable :</source>
        <translation>Variable bit rate:</translation>
    </message>
</context>
<context>
    <name>app::FileListModel</name>
    <message>
        <source>Nom du fichier</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>Nouveau nom de fichier</source>
        <translation>New file name</translation>
    </message>
    <message>
        <source>Titre</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Artiste</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Piste</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Année</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>Gain piste</source>
        <translation>Track gain</translation>
    </message>
    <message>
        <source>Gain album</source>
        <translation>Album gain</translation>
    </message>
</context>
<context>
    <name>app::FolderCommands</name>
    <message>
        <source>Lecture des sous-dossiers…</source>
        <translation>Reading the subfolders…</translation>
    </message>
</context>
<context>
    <name>app::Form1</name>
    <message>
        <source>Artiste - Titre</source>
        <translation>Artist - Title</translation>
    </message>
    <message>
        <source>Titre - Artiste</source>
        <translation>Title - Artist</translation>
    </message>
    <message>
        <source>Titre (Artiste)</source>
        <translation>Title (Artist)</translation>
    </message>
    <message>
        <source>Titre</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Tarvex : %1 ; elle est ignorée.
</source>
        <translation>Tarvex: %1; it is ignored.
</translation>
    </message>
    <message>
        <source>Voulez-vous quitter ?</source>
        <translation>Do you want to quit?</translation>
    </message>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Le fichier d&apos;aide « %1 » est introuvable.</source>
        <translation>The help file “%1” cannot be found.</translation>
    </message>
    <message>
        <source>Aucun programme ne peut ouvrir le fichier d&apos;aide « %1 ». Installez un navigateur Web ou ouvrez ce fichier vous-même.</source>
        <translation>No program can open the help file “%1”. Install a web browser or open this file yourself.</translation>
    </message>
    <message>
        <source>Ext&amp;raire CD</source>
        <translation>Rip &amp;CD</translation>
    </message>
    <message>
        <source>&amp;Tag et noms</source>
        <translation>&amp;Tags and names</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Arrêter</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Arrêter après le fichier en cours</source>
        <translation>Stop after the current file</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Tout annuler : rien n&apos;est écrit</source>
        <translation>Cancel everything: nothing is written</translation>
    </message>
</context>
<context>
    <name>app::Form2</name>
    <message>
        <source>Recherche</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Mot à chercher :</source>
        <translation>&amp;Word to find:</translation>
    </message>
</context>
<context>
    <name>app::GainCommands</name>
    <message>
        <source>silence</source>
        <translation>silence</translation>
    </message>
    <message>
        <source>Sélectionnez les fichiers dont calculer le ReplayGain.</source>
        <translation>Select the files whose ReplayGain is to be computed.</translation>
    </message>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Sonie</source>
        <translation>Loudness</translation>
    </message>
    <message>
        <source>Gain piste</source>
        <translation>Track gain</translation>
    </message>
    <message>
        <source>Crête</source>
        <translation>Peak</translation>
    </message>
    <message>
        <source>Gain album</source>
        <translation>Album gain</translation>
    </message>
    <message>
        <source>Aucun fichier n&apos;a pu être mesuré.</source>
        <translation>No file could be measured.</translation>
    </message>
    <message>
        <source>Écrire le ReplayGain dans ces fichiers (%1) ?</source>
        <translation>Write the ReplayGain into these files (%1)?</translation>
    </message>
    <message>
        <source>Calculer le ReplayGain</source>
        <translation>Compute ReplayGain</translation>
    </message>
    <message>
        <source>ReplayGain de %1 fichiers</source>
        <translation>ReplayGain of %1 files</translation>
    </message>
    <message>
        <source>Effacer le ReplayGain des fichiers sélectionnés (%1) ?</source>
        <translation>Remove the ReplayGain of the selected files (%1)?</translation>
    </message>
    <message>
        <source>Effacer le ReplayGain</source>
        <translation>Remove ReplayGain</translation>
    </message>
    <message>
        <source>Effacement du ReplayGain de %1 fichiers</source>
        <translation>Removal of the ReplayGain of %1 files</translation>
    </message>
    <message>
        <source>ReplayGain enregistré dans %1 fichiers sur %2</source>
        <translation>ReplayGain saved in %1 files of %2</translation>
    </message>
    <message>
        <source>Calcul du ReplayGain annulé</source>
        <translation>ReplayGain computation cancelled</translation>
    </message>
</context>
<context>
    <name>app::IdentifyDialog</name>
    <message>
        <source>%1 - %2 (%3), %4/%5 pistes</source>
        <translation>%1 - %2 (%3), %4/%5 tracks</translation>
    </message>
    <message>
        <source>Identifier en ligne</source>
        <translation>Identify online</translation>
    </message>
    <message>
        <source>Éditions trouvées</source>
        <translation>Releases found</translation>
    </message>
    <message>
        <source>Édition ou fichier</source>
        <translation>Release or file</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Ajouter la &amp;pochette de l&apos;édition (Cover Art Archive)</source>
        <translation>Add the release&apos;s front &amp;cover (Cover Art Archive)</translation>
    </message>
    <message>
        <source>Valeurs actuelles</source>
        <translation>Current values</translation>
    </message>
    <message>
        <source>Nouvelles valeurs</source>
        <translation>New values</translation>
    </message>
</context>
<context>
    <name>app::OnlineOptions</name>
    <message>
        <source>Recherche du disque en ligne</source>
        <translation>Online disc lookup</translation>
    </message>
    <message>
        <source>MusicBrainz</source>
        <translation>MusicBrainz</translation>
    </message>
    <message>
        <source>MusicBrainz puis CDDB</source>
        <translation>MusicBrainz, then CDDB</translation>
    </message>
    <message>
        <source> Ko</source>
        <translation> KiB</translation>
    </message>
    <message>
        <source>6 (UTF-8)</source>
        <translation>6 (UTF-8)</translation>
    </message>
    <message>
        <source>5 (anciens serveurs)</source>
        <translation>5 (older servers)</translation>
    </message>
    <message>
        <source>Service :</source>
        <translation>Service:</translation>
    </message>
    <message>
        <source>Serveur MusicBrainz :</source>
        <translation>MusicBrainz server:</translation>
    </message>
    <message>
        <source>Serveur des pochettes :</source>
        <translation>Cover server:</translation>
    </message>
    <message>
        <source>Taille maximale d&apos;une pochette :</source>
        <translation>Largest cover:</translation>
    </message>
    <message>
        <source>Protocole CDDB :</source>
        <translation>CDDB protocol:</translation>
    </message>
    <message>
        <source>Serveur AcoustID :</source>
        <translation>AcoustID server:</translation>
    </message>
    <message>
        <source>Clé AcoustID :</source>
        <translation>AcoustID key:</translation>
    </message>
    <message>
        <source>CD-Text du disque seul</source>
        <translation>The disc&apos;s CD-Text only</translation>
    </message>
</context>
<context>
    <name>app::OptionsPage</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Extraction d&apos;un CD</source>
        <translation>CD ripping</translation>
    </message>
    <message>
        <source>Taggeur</source>
        <translation>Tagger</translation>
    </message>
    <message>
        <source>Conversion de fichier</source>
        <translation>File conversion</translation>
    </message>
    <message>
        <source>Dossier des pistes extraites</source>
        <translation>Folder of ripped tracks</translation>
    </message>
    <message>
        <source>Tags des pistes extraites</source>
        <translation>Tags of ripped tracks</translation>
    </message>
    <message>
        <source>Dossier des pistes extraites :</source>
        <translation>Folder of ripped tracks:</translation>
    </message>
    <message>
        <source>Nom des fichiers :</source>
        <translation>File names:</translation>
    </message>
    <message>
        <source>Adresse e-mail (CDDB) :</source>
        <translation>E-mail address (CDDB):</translation>
    </message>
    <message>
        <source>Relit et compare chaque secteur ; plus lent, mais exact</source>
        <translation>Reads every sector again and compares; slower, but exact</translation>
    </message>
    <message>
        <source> échantillons</source>
        <translation> samples</translation>
    </message>
    <message>
        <source>Débit constant (128 kbit/s)</source>
        <translation>Constant bit rate (128 kbit/s)</translation>
    </message>
    <message>
        <source>Débit variable V%1</source>
        <translation>Variable bit rate V%1</translation>
    </message>
    <message>
        <source>Décalage de lecture du lecteur :</source>
        <translation>Drive read offset:</translation>
    </message>
    <message>
        <source>Adresse AccurateRip :</source>
        <translation>AccurateRip address:</translation>
    </message>
    <message>
        <source>Encodage MP3 :</source>
        <translation>MP3 encoding:</translation>
    </message>
    <message>
        <source>Commentaire par défaut</source>
        <translation>Default comment</translation>
    </message>
    <message>
        <source>Encodé par, par défaut</source>
        <translation>Default encoded by</translation>
    </message>
    <message>
        <source>Commentaire par défaut :</source>
        <translation>Default comment:</translation>
    </message>
    <message>
        <source>Encodé par :</source>
        <translation>Encoded by:</translation>
    </message>
    <message>
        <source>Quand ils ne sont pas vides, ces textes remplacent le commentaire et le champ « Encodé par » de chaque tag enregistré.</source>
        <translation>When they are not empty, these texts replace the comment and the “Encoded by” field of every tag saved.</translation>
    </message>
    <message>
        <source>Dossier des fichiers convertis</source>
        <translation>Folder of converted files</translation>
    </message>
    <message>
        <source>Dossier des fichiers convertis :</source>
        <translation>Folder of converted files:</translation>
    </message>
    <message>
        <source>Pour convertir des fichiers WAV en MP3 : sur la page « Tag et noms », choisissez le type *.wav, cochez les fichiers, puis cliquez sur « Convertir en MP3 ».</source>
        <translation>To convert WAV files to MP3: on the “Tags and names” page, choose the type *.wav, check the files, then click “Convert to MP3”.</translation>
    </message>
    <message>
        <source>Extraction d&apos;un &amp;CD</source>
        <translation>C&amp;D ripping</translation>
    </message>
    <message>
        <source>Ta&amp;ggeur</source>
        <translation>Ta&amp;gger</translation>
    </message>
    <message>
        <source>Con&amp;version de fichier</source>
        <translation>File con&amp;version</translation>
    </message>
    <message>
        <source>&amp;Parcourir...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>ID3 v&amp;1 seulement</source>
        <translation>ID3 v&amp;1 only</translation>
    </message>
    <message>
        <source>ID3 v&amp;2 seulement</source>
        <translation>ID3 v&amp;2 only</translation>
    </message>
    <message>
        <source>&amp;ID3 v1 et ID3 v2</source>
        <translation>&amp;ID3 v1 and ID3 v2</translation>
    </message>
    <message>
        <source>Pa&amp;s de tag</source>
        <translation>&amp;No tag</translation>
    </message>
    <message>
        <source>Prendre le &amp;nom de l&apos;artiste dans le titre CDDB (« Artiste - Titre »)</source>
        <translation>Take the &amp;artist&apos;s name from the CDDB title (“Artist - Title”)</translation>
    </message>
    <message>
        <source>Extraction séc&amp;urisée</source>
        <translation>Sec&amp;ure ripping</translation>
    </message>
    <message>
        <source>Écrire la trame d&apos;information LAME (lecture sans &amp;blanc)</source>
        <translation>&amp;Write the LAME info frame (gapless playback)</translation>
    </message>
    <message>
        <source>Écrire un &amp;journal et une feuille .cue à côté des pistes</source>
        <translation>Write a &amp;log and a cue sheet beside the tracks</translation>
    </message>
    <message>
        <source>E&amp;nregistrer</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Enreg&amp;istrer</source>
        <translation>S&amp;ave</translation>
    </message>
    <message>
        <source>Écrire les tags ID3v2 en version &amp;2.3</source>
        <translation>Write ID3v2 tags as version &amp;2.3</translation>
    </message>
    <message>
        <source>Pour les lecteurs anciens qui ne lisent pas la version 2.4 : chaque tag enregistré est converti en version 2.3.</source>
        <translation>For old players that do not read version 2.4: every tag saved is converted to version 2.3.</translation>
    </message>
    <message>
        <source>Demander avant d&apos;enregistrer &amp;un tag</source>
        <translation>As&amp;k before saving a tag</translation>
    </message>
    <message>
        <source>Demander avant de &amp;quitter</source>
        <translation>Ask before &amp;quitting</translation>
    </message>
    <message>
        <source>Écrire aussi le ReplayGain en tra&amp;mes RVA2</source>
        <translation>Also &amp;write the ReplayGain as RVA2 frames</translation>
    </message>
    <message>
        <source>De 0, le plus rapide, à 8, les fichiers les plus petits ; le son est le même à tous les niveaux.</source>
        <translation>From 0, the fastest, to 8, the smallest files; the sound is the same at every level.</translation>
    </message>
    <message>
        <source>Compression FLAC :</source>
        <translation>FLAC compression:</translation>
    </message>
    <message>
        <source>Dossier des MP3 :</source>
        <translation>MP3 folder:</translation>
    </message>
    <message>
        <source>Dossier des FLAC :</source>
        <translation>FLAC folder:</translation>
    </message>
    <message>
        <source>Dossier des WAV :</source>
        <translation>WAV folder:</translation>
    </message>
    <message>
        <source>Sous le dossier des pistes extraites, avec les champs %artiste% %album% %annee% %genre%, par exemple FLAC/%artiste%/%album% ; vide : le dossier même.</source>
        <translation>Below the folder of ripped tracks, with the fields %artiste% %album% %annee% %genre%, for example FLAC/%artiste%/%album%; empty: that folder itself.</translation>
    </message>
    <message>
        <source>Créer une liste &amp;de lecture .m3u8 par format</source>
        <translation>Create an .m3u8 playlist for each for&amp;mat</translation>
    </message>
    <message>
        <source>« Calculer le ReplayGain » et les extractions MP3 écrivent alors aussi les trames RVA2 « track » et « album », que lisent certains lecteurs.</source>
        <translation>“Calculer le ReplayGain” and MP3 rips then also write the RVA2 frames “track” and “album”, which some players read.</translation>
    </message>
    <message>
        <source>Extraire la piste cac&amp;hée avant la piste 1, s&apos;il y en a une</source>
        <translation>Rip the hidden trac&amp;k before track 1, if there is one</translation>
    </message>
    <message>
        <source>Écrire le Repla&amp;yGain des pistes MP3 et FLAC et du disque</source>
        <translation>Write the Repla&amp;yGain of the MP3 and FLAC tracks and of the disc</translation>
    </message>
    <message>
        <source>&amp;Éjecter le disque à la fin</source>
        <translation>E&amp;ject the disc at the end</translation>
    </message>
</context>
<context>
    <name>app::OtherFramesTable</name>
    <message>
        <source>&lt;différentes valeurs&gt;</source>
        <translation>&lt;different values&gt;</translation>
    </message>
    <message>
        <source>%1 octets</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>Autres champs</source>
        <translation>Other fields</translation>
    </message>
    <message>
        <source>Champ</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Champ à ajouter</source>
        <translation>Field to add</translation>
    </message>
    <message>
        <source>Nom ou identifiant (TXXX:Description)</source>
        <translation>Name or identifier (TXXX:Description)</translation>
    </message>
    <message>
        <source>A&amp;jouter</source>
        <translation>Add ob&amp;ject</translation>
    </message>
    <message>
        <source>S&amp;upprimer le champ</source>
        <translation>Remove entr&amp;y</translation>
    </message>
</context>
<context>
    <name>app::QtDialogs</name>
    <message>
        <source>Selectionnez un répertoire</source>
        <translation>Select a folder</translation>
    </message>
    <message>
        <source>Choisir une pochette</source>
        <translation>Choose a cover</translation>
    </message>
    <message>
        <source>Images (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)</source>
        <translation>Images (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)</translation>
    </message>
    <message>
        <source>Enregistrer l&apos;image</source>
        <translation>Save the image</translation>
    </message>
    <message>
        <source>&amp;Remplacer</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>&amp;Ignorer</source>
        <translation>&amp;Skip</translation>
    </message>
    <message>
        <source>&amp;Tout remplacer</source>
        <translation>Replace &amp;all</translation>
    </message>
    <message>
        <source>&amp;Enregistrer</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Ignorer</source>
        <comment>unsaved changes</comment>
        <translation>&amp;Don&apos;t save</translation>
    </message>
    <message>
        <source>&amp;Ne plus demander</source>
        <translation>Do&amp;n&apos;t ask again</translation>
    </message>
</context>
<context>
    <name>app::RenamePanel</name>
    <message>
        <source>Modèle de nom</source>
        <translation>Name pattern</translation>
    </message>
    <message>
        <source>Champs : %titre% %artiste% %album% %annee% %piste% %piste:2% %genre% %commentaire% ; « / » crée des dossiers, « %% » écrit « % ».</source>
        <translation>Fields: %titre% (title) %artiste% (artist) %album% %annee% (year) %piste% (track) %piste:2% %genre% %commentaire% (comment); “/” makes folders, “%%” writes “%”.</translation>
    </message>
    <message>
        <source>Texte à remplacer</source>
        <translation>Text to replace</translation>
    </message>
    <message>
        <source>Caractère de remplacement</source>
        <translation>Replacement character</translation>
    </message>
    <message>
        <source>Nouveau nom</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>Texte avant le nom</source>
        <translation>Text before the name</translation>
    </message>
    <message>
        <source>Texte après le nom</source>
        <translation>Text after the name</translation>
    </message>
    <message>
        <source>caractère(s) à partir de</source>
        <translation>character(s) from</translation>
    </message>
    <message>
        <source>la position :</source>
        <translation>position:</translation>
    </message>
    <message>
        <source>par :</source>
        <translation>with:</translation>
    </message>
    <message>
        <source>(Nom de fichier)</source>
        <translation>(File name)</translation>
    </message>
    <message>
        <source>(Extension)</source>
        <translation>(Extension)</translation>
    </message>
    <message>
        <source>+ nom du fichier actuel +</source>
        <translation>+ current file name +</translation>
    </message>
    <message>
        <source>Ne pas changer</source>
        <translation>Do not change</translation>
    </message>
    <message>
        <source>Majuscule</source>
        <translation>Upper case</translation>
    </message>
    <message>
        <source>Minuscule</source>
        <translation>Lower case</translation>
    </message>
    <message>
        <source>1ere lettre en Majuscule</source>
        <translation>First letter upper case</translation>
    </message>
    <message>
        <source>1er mot en Majuscule</source>
        <translation>First word upper case</translation>
    </message>
    <message>
        <source>Artiste - Titre &lt;--&gt; Titre - Artiste</source>
        <translation>Artist - Title &lt;--&gt; Title - Artist</translation>
    </message>
    <message>
        <source>Titre (Artiste) &lt;--&gt; Artiste - Titre</source>
        <translation>Title (Artist) &lt;--&gt; Artist - Title</translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation>Re&amp;move</translation>
    </message>
    <message>
        <source>Re&amp;mplacer</source>
        <translation>Repl&amp;ace</translation>
    </message>
    <message>
        <source>Lettra&amp;ge</source>
        <translation>Ca&amp;se</translation>
    </message>
    <message>
        <source>In&amp;verser</source>
        <translation>S&amp;wap</translation>
    </message>
    <message>
        <source>Man&amp;uellement</source>
        <translation>Man&amp;ually</translation>
    </message>
    <message>
        <source>A&amp;jouter</source>
        <translation>Add te&amp;xt</translation>
    </message>
    <message>
        <source>D&apos;a&amp;près le tag</source>
        <translation>From ta&amp;g</translation>
    </message>
    <message>
        <source>.ext</source>
        <translation>.ext</translation>
    </message>
</context>
<context>
    <name>app::TagCommands</name>
    <message>
        <source>Enregistrer les modifications ?</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>%1 fichiers sélectionnés</source>
        <translation>%1 files selected</translation>
    </message>
    <message>
        <source>Enregistrement du tag de %1 fichiers</source>
        <translation>Saving the tag of %1 files</translation>
    </message>
    <message>
        <source>Tag enregistré dans %1 fichiers sur %2</source>
        <translation>Tag saved in %1 files of %2</translation>
    </message>
    <message>
        <source>Modèle invalide : %1</source>
        <translation>Invalid pattern: %1</translation>
    </message>
    <message>
        <source>Remplir le tag de %1 fichier(s) d&apos;après leur nom ?

</source>
        <translation>Fill the tag of %1 file(s) from their names?

</translation>
    </message>
    <message>
        <source>
et %1 autres.</source>
        <translation>
and %1 more.</translation>
    </message>
    <message>
        <source>

Laissés tels quels :
</source>
        <translation>

Left as they are:
</translation>
    </message>
    <message>
        <source>Remplissage du tag d&apos;après le nom</source>
        <translation>Filling the tag from the name</translation>
    </message>
    <message>
        <source>le fichier ne peut pas être modifié.</source>
        <translation>the file cannot be changed.</translation>
    </message>
    <message>
        <source>le fichier n&apos;existe plus.</source>
        <translation>the file no longer exists.</translation>
    </message>
    <message>
        <source>Le tag de « %1 » n&apos;a pas pu être enregistré : %2</source>
        <translation>The tag of “%1” could not be saved: %2</translation>
    </message>
    <message>
        <source>Voulez vous enregistrer le Tag ?</source>
        <translation>Do you want to save the tag?</translation>
    </message>
    <message>
        <source>Voulez vous supprimer le Tag ?</source>
        <translation>Do you want to remove the tag?</translation>
    </message>
    <message>
        <source>Suppression du tag</source>
        <translation>Removing the tag</translation>
    </message>
    <message>
        <source>Voulez vous copier le Tag ?</source>
        <translation>Do you want to copy the tag?</translation>
    </message>
    <message>
        <source>Copie du tag</source>
        <translation>Copying the tag</translation>
    </message>
    <message>
        <source>et %1 autres.</source>
        <translation>and %1 more.</translation>
    </message>
    <message>
        <source>Le tag n&apos;a pas pu être enregistré dans %1 fichier(s) :
</source>
        <translation>The tag could not be saved in %1 file(s):
</translation>
    </message>
    <message>
        <source>Enregistrement du tag</source>
        <translation>Saving the tag</translation>
    </message>
    <message>
        <source>Identification en ligne…</source>
        <translation>Identifying online…</translation>
    </message>
    <message>
        <source>Identification en ligne</source>
        <translation>Online identification</translation>
    </message>
</context>
<context>
    <name>app::TagEditorPanel</name>
    <message>
        <source>ID3 v1</source>
        <translation>ID3 v1</translation>
    </message>
    <message>
        <source>Piste :</source>
        <translation>Track:</translation>
    </message>
    <message>
        <source>Titre :</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>Artiste :</source>
        <translation>Artist:</translation>
    </message>
    <message>
        <source>Album :</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Année :</source>
        <translation>Year:</translation>
    </message>
    <message>
        <source>Genre :</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Commentaire :</source>
        <translation>Comment:</translation>
    </message>
    <message>
        <source>ID3 v2</source>
        <translation>ID3 v2</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Compositeur :</source>
        <translation>Composer:</translation>
    </message>
    <message>
        <source>Artiste original :</source>
        <translation>Original artist:</translation>
    </message>
    <message>
        <source>Copyright :</source>
        <translation>Copyright:</translation>
    </message>
    <message>
        <source>URL :</source>
        <translation>URL:</translation>
    </message>
    <message>
        <source>Encodé par :</source>
        <translation>Encoded by:</translation>
    </message>
    <message>
        <source>&lt;différentes valeurs&gt;</source>
        <translation>&lt;different values&gt;</translation>
    </message>
    <message>
        <source>Tag ID3 &amp;v1</source>
        <translation>ID3 v1 ta&amp;g</translation>
    </message>
    <message>
        <source>Tag ID3 &amp;v2</source>
        <translation>ID3 v2 ta&amp;g</translation>
    </message>
</context>
<context>
    <name>app::TagPage</name>
    <message>
        <source>Taggeur et renommeur</source>
        <translation>Tagger and renamer</translation>
    </message>
    <message>
        <source>Fichiers du dossier</source>
        <translation>Files of the folder</translation>
    </message>
    <message>
        <source>Dossier affiché</source>
        <translation>Folder shown</translation>
    </message>
    <message>
        <source>Type :</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Renommeur</source>
        <translation>Renamer</translation>
    </message>
    <message>
        <source>Modèle lu dans le nom</source>
        <translation>Pattern read in the name</translation>
    </message>
    <message>
        <source>Champs : %titre% %artiste% %album% %annee% %piste% %genre% %commentaire%</source>
        <translation>Fields: %titre% (title) %artiste% (artist) %album% %annee% (year) %piste% (track) %genre% %commentaire% (comment)</translation>
    </message>
    <message>
        <source>%1 pistes</source>
        <translation>%1 tracks</translation>
    </message>
    <message>
        <source>Tout sele&amp;ctionner</source>
        <translation>Select a&amp;ll</translation>
    </message>
    <message>
        <source>Tout &amp;deselectionner</source>
        <translation>&amp;Deselect all</translation>
    </message>
    <message>
        <source>Tag ID3 v&amp;1</source>
        <translation>ID3 v&amp;1 tag</translation>
    </message>
    <message>
        <source>Tag ID3 v&amp;2</source>
        <translation>ID3 v&amp;2 tag</translation>
    </message>
    <message>
        <source>Re&amp;nomeur</source>
        <translation>Re&amp;namer</translation>
    </message>
    <message>
        <source>Re&amp;mplir le tag d&apos;après le nom</source>
        <translation>Fill tag from file na&amp;me</translation>
    </message>
    <message>
        <source>&amp;Colonnes</source>
        <translation>&amp;Columns</translation>
    </message>
    <message>
        <source>Identifier sur MusicBrain&amp;z…</source>
        <translation>Identify on MusicBrain&amp;z…</translation>
    </message>
    <message>
        <source>Dossiers</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>&amp;Inclure les sous-dossiers</source>
        <translation>Include su&amp;bfolders</translation>
    </message>
    <message>
        <source>Info Fic&amp;hier</source>
        <translation>File &amp;info</translation>
    </message>
</context>
<context>
    <name>app::UndoCommands</name>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Annuler : %1</source>
        <translation>&amp;Undo: %1</translation>
    </message>
    <message>
        <source>Ré&amp;tablir : %1</source>
        <translation>&amp;Redo: %1</translation>
    </message>
    <message>
        <source>Ré&amp;tablir</source>
        <translation>&amp;Redo</translation>
    </message>
</context>
<context>
    <name>app::frmAbout</name>
    <message>
        <source>A propos de %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Atelier MP3 : tags ID3, renommage, extraction de CD audio.
© 2026 les auteurs de Tarvex.</source>
        <translation>MP3 workshop: ID3 tags, renaming, audio CD ripping.
© 2026 the Tarvex authors.</translation>
    </message>
    <message>
        <source>Site Web : &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</source>
        <translation>Web site: &lt;a href=&quot;%1&quot;&gt;%1&lt;/a&gt;</translation>
    </message>
    <message>
        <source>E-Mail :  &lt;a href=&quot;mailto:%1&quot;&gt;%1&lt;/a&gt;</source>
        <translation>E-mail: &lt;a href=&quot;mailto:%1&quot;&gt;%1&lt;/a&gt;</translation>
    </message>
    <message>
        <source>&amp;Infos système...</source>
        <translation>&amp;System information...</translation>
    </message>
    <message>
        <source>Aucun outil d&apos;informations système n&apos;est installé (hardinfo, gnome-system-monitor, ksysguard ou plasma-systemmonitor).</source>
        <translation>No system information tool is installed (hardinfo, gnome-system-monitor, ksysguard or plasma-systemmonitor).</translation>
    </message>
    <message>
        <source>Impossible de lancer « %1 ».</source>
        <translation>Cannot start “%1”.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Ce programme est un logiciel libre : vous pouvez le redistribuer et le modifier selon les termes de la Licence publique générale GNU, version 3 ou (à votre choix) toute version ultérieure. Il est distribué sans aucune garantie.</source>
        <translation>This program is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License, version 3 or (at your option) any later version. It comes with no warranty.</translation>
    </message>
</context>
<context>
    <name>base</name>
    <message>
        <source>un fichier de ce nom existe déjà</source>
        <translation>a file of this name already exists</translation>
    </message>
    <message>
        <source>fichier introuvable</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>accès refusé</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>support en lecture seule</source>
        <translation>read-only medium</translation>
    </message>
    <message>
        <source>plus de place sur le disque</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>c&apos;est un dossier</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>fichier en cours d&apos;utilisation</source>
        <translation>file in use</translation>
    </message>
    <message>
        <source>autre système de fichiers</source>
        <translation>other file system</translation>
    </message>
    <message>
        <source>erreur de lecture ou d&apos;écriture</source>
        <translation>read or write error</translation>
    </message>
    <message>
        <source>fichier trop grand</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>un élément du chemin n&apos;est pas un dossier</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>nom trop long</source>
        <translation>name too long</translation>
    </message>
    <message>
        <source>nom ou opération refusés par le système de fichiers</source>
        <translation>name or operation refused by the file system</translation>
    </message>
    <message>
        <source>trop de liens symboliques</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>erreur système %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>« %1 » a été modifié par un autre programme pendant l&apos;enregistrement : il garde ce que ce programme a écrit, rien n&apos;a été enregistré</source>
        <translation>“%1” was changed by another program during the save: it keeps what that program wrote, nothing was saved</translation>
    </message>
    <message>
        <source>Écriture impossible de « %1 » : %2</source>
        <translation>Cannot write “%1”: %2</translation>
    </message>
    <message>
        <source>« %1 » a d&apos;autres liens physiques (%2 noms) : il faudrait le réécrire, ce qui le séparerait d&apos;eux ; rien n&apos;a été écrit</source>
        <translation>“%1” has other hard links (%2 names): it would have to be rewritten, which would split it from them; nothing was written</translation>
    </message>
    <message>
        <source>« %1 » appartient à un autre utilisateur ou groupe : le réécrire lui ferait changer de propriétaire ; rien n&apos;a été écrit</source>
        <translation>“%1” belongs to another user or group: rewriting it would change its owner; nothing was written</translation>
    </message>
    <message>
        <source>Les attributs étendus de « %1 » ne peuvent pas être gardés (%2) : rien n&apos;a été écrit</source>
        <translation>The extended attributes of “%1” cannot be kept (%2): nothing was written</translation>
    </message>
</context>
<context>
    <name>cd</name>
    <message>
        <source>l&apos;image de disque « %1 » n&apos;existe pas</source>
        <translation>the disc image “%1” does not exist</translation>
    </message>
    <message>
        <source>l&apos;image de disque « %1 » ne peut pas être lue</source>
        <translation>the disc image “%1” cannot be read</translation>
    </message>
    <message>
        <source>l&apos;image de disque « %1 » n&apos;est pas reconnue</source>
        <translation>the disc image “%1” is not recognised</translation>
    </message>
    <message>
        <source>l&apos;image de disque « %1 » n&apos;a pas de table des matières lisible</source>
        <translation>the disc image “%1” has no readable table of contents</translation>
    </message>
    <message>
        <source>Adresse de serveur CDDB invalide : </source>
        <translation>Invalid CDDB server address: </translation>
    </message>
    <message>
        <source>Le serveur CDDB a envoyé une réponse vide</source>
        <translation>The CDDB server sent an empty reply</translation>
    </message>
    <message>
        <source>Pas de connection internet</source>
        <translation>No Internet connection</translation>
    </message>
    <message>
        <source>Réponse du serveur CDDB trop longue (plus de %1 Ko)</source>
        <translation>CDDB server reply too long (over %1 KiB)</translation>
    </message>
    <message>
        <source>Erreur du serveur CDDB (HTTP %1)</source>
        <translation>CDDB server error (HTTP %1)</translation>
    </message>
    <message>
        <source>Le lecteur n&apos;est pas prêt. Essayez plus tard.</source>
        <translation>The drive is not ready. Try again later.</translation>
    </message>
    <message>
        <source>Erreur : 7<byte value="xd"/>Mémoire insuffisante</source>
        <translation>Error: 7<byte value="xd"/>Not enough memory</translation>
    </message>
    <message>
        <source>Des secteurs illisibles ont été remplacés par du silence dans les pistes suivantes :</source>
        <translation>Unreadable sectors were replaced by silence in these tracks:</translation>
    </message>
    <message>
        <source>Le fichier « %1 » existe déjà.</source>
        <translation>The file “%1” already exists.</translation>
    </message>
    <message>
        <source>Impossible de remplacer le fichier « %1 » : il est en lecture seule.</source>
        <translation>Cannot replace the file “%1”: it is read-only.</translation>
    </message>
    <message>
        <source>Impossible de créer le fichier « %1 » : le dossier « %2 » n&apos;existe pas.</source>
        <translation>Cannot create the file “%1”: the folder “%2” does not exist.</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire le fichier « %1 » : %2</source>
        <translation>Cannot write the file “%1”: %2</translation>
    </message>
    <message>
        <source>Impossible de créer le fichier « %1 » : %2</source>
        <translation>Cannot create the file “%1”: %2</translation>
    </message>
    <message>
        <source>Lecture du disque impossible</source>
        <translation>Cannot read the disc</translation>
    </message>
    <message>
        <source>N° de piste incorrecte</source>
        <translation>Wrong track number</translation>
    </message>
    <message>
        <source>Initialisation de Lame Encoder impossible</source>
        <translation>Cannot start the LAME encoder</translation>
    </message>
    <message>
        <source>Impossible de lire le fichier « %1 » : %2</source>
        <translation>Cannot read the file “%1”: %2</translation>
    </message>
    <message>
        <source>Le fichier « %1 » n&apos;a pas de bloc « fmt ».</source>
        <translation>The file “%1” has no “fmt” chunk.</translation>
    </message>
    <message>
        <source>Le fichier « %1 » n&apos;a pas de bloc « data ».</source>
        <translation>The file “%1” has no “data” chunk.</translation>
    </message>
    <message>
        <source>Le fichier « %1 » a %2 canaux : seuls les fichiers mono et stéréo peuvent être convertis.</source>
        <translation>The file “%1” has %2 channels: only mono and stereo files can be converted.</translation>
    </message>
    <message>
        <source>Le fichier « %1 » utilise un codage audio non pris en charge (format %2, %3 bits).</source>
        <translation>The file “%1” uses an unsupported audio coding (format %2, %3 bits).</translation>
    </message>
    <message>
        <source>Le fichier « %1 » indique une fréquence d&apos;échantillonnage nulle.</source>
        <translation>The file “%1” gives a sample rate of zero.</translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir le fichier « %1 » : %2</source>
        <translation>Cannot open the file “%1”: %2</translation>
    </message>
    <message>
        <source>Aucun serveur HTTP dans la liste des sites</source>
        <translation>No HTTP server in the sites list</translation>
    </message>
    <message>
        <source>La piste %1 contient des données, pas du son.</source>
        <translation>Track %1 holds data, not sound.</translation>
    </message>
    <message>
        <source>La piste %1 dépasse la fin du disque (image incomplète ?).</source>
        <translation>Track %1 runs past the end of the disc (incomplete image?).</translation>
    </message>
    <message>
        <source>Le tag de « %1 » n&apos;a pas pu être enregistré : %2</source>
        <translation>The tag of “%1” could not be saved: %2</translation>
    </message>
    <message>
        <source>Artiste inconnu</source>
        <translation>Unknown artist</translation>
    </message>
    <message>
        <source>Album inconnu</source>
        <translation>Unknown album</translation>
    </message>
    <message>
        <source>Année inconnue</source>
        <translation>Unknown year</translation>
    </message>
    <message>
        <source>Genre inconnu</source>
        <translation>Unknown genre</translation>
    </message>
    <message>
        <source>Le dossier « %1 » n&apos;a pas pu être créé.</source>
        <translation>The folder “%1” could not be created.</translation>
    </message>
    <message>
        <source>Les commentaires du fichier FLAC « %1 » n&apos;ont pas pu être enregistrés.</source>
        <translation>The comments of the FLAC file “%1” could not be saved.</translation>
    </message>
    <message>
        <source>L&apos;encodage FLAC de « %1 » a échoué.</source>
        <translation>The FLAC encoding of “%1” failed.</translation>
    </message>
    <message>
        <source>Le modèle de dossier « %1 » ne convient pas : %2</source>
        <translation>The folder pattern “%1” does not fit: %2</translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>Disque introuvable sur le serveur CDDB : </source>
        <translation>Disc not found on the CDDB server: </translation>
    </message>
    <message>
        <source>Choix %1 impossible : le serveur CDDB donne %2 disque(s)</source>
        <translation>Choice %1 impossible: the CDDB server gives %2 disc(s)</translation>
    </message>
    <message>
        <source>Plusieurs disques correspondent : choisissez-en un avec --choix=N</source>
        <translation>Several discs match: choose one with --choix=N</translation>
    </message>
    <message>
        <source>Lecture de la fiche CDDB impossible : </source>
        <translation>Cannot read the CDDB entry: </translation>
    </message>
    <message>
        <source>Niveau de protocole CDDB invalide : %1 (5 ou 6)</source>
        <translation>Invalid CDDB protocol level: %1 (5 or 6)</translation>
    </message>
    <message>
        <source>clear [--v1] [--v2] FICHIER...  (supprime les tags)</source>
        <translation>clear [--v1] [--v2] FILE...  (removes the tags)</translation>
    </message>
    <message>
        <source>Aucun fichier indiqué.</source>
        <translation>No file given.</translation>
    </message>
    <message>
        <source>Valeur manquante pour %1 (%1=VALEUR)</source>
        <translation>Missing value for %1 (%1=VALUE)</translation>
    </message>
    <message>
        <source>Option inconnue : %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Un seul disque à la fois.</source>
        <translation>One disc at a time.</translation>
    </message>
    <message>
        <source>Argument inattendu : %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>Choix invalide : %1 (un numéro à partir de 1)</source>
        <translation>Invalid choice: %1 (a number from 1)</translation>
    </message>
    <message>
        <source>Utilisation : tarvex-cli %1</source>
        <translation>Usage: tarvex-cli %1</translation>
    </message>
    <message>
        <source>convert [--ecraser] [--vbr=0..9] [--trame-lame] FICHIER.wav...  (crée FICHIER.mp3 à côté de chaque WAV, un encodeur par cœur ; --ecraser remplace un MP3 existant ; --vbr encode en débit variable V0 à V9 ; --trame-lame écrit la trame d&apos;information LAME)</source>
        <translation>convert [--ecraser] [--vbr=0..9] [--trame-lame] FILE.wav...  (makes FILE.mp3 beside each WAV, one encoder per core; --ecraser replaces an existing MP3; --vbr encodes at variable bit rate V0 to V9; --trame-lame writes the LAME info frame)</translation>
    </message>
    <message>
        <source>Enregistrement terminé : %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FICHIER...  (copie un tag dans l&apos;autre)</source>
        <translation>copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FILE...  (copies one tag into the other)</translation>
    </message>
    <message>
        <source>Une seule direction de copie à la fois.</source>
        <translation>One copy direction at a time.</translation>
    </message>
    <message>
        <source>Indiquez --v1-vers-v2 ou --v2-vers-v1.</source>
        <translation>Give --v1-vers-v2 or --v2-vers-v1.</translation>
    </message>
    <message>
        <source>Mode invalide : %1</source>
        <translation>Invalid mode: %1</translation>
    </message>
    <message>
        <source>Le nom ne finit pas par .mp3 : rien n&apos;a été copié</source>
        <translation>The name does not end in .mp3: nothing was copied</translation>
    </message>
    <message>
        <source>Pas de tag ID3v1 à copier</source>
        <translation>No ID3v1 tag to copy</translation>
    </message>
    <message>
        <source>Pas de tag ID3v2 à copier</source>
        <translation>No ID3v2 tag to copy</translation>
    </message>
    <message>
        <source>discid (--cd-image=FICHIER | --lecteur=PERIPHERIQUE)</source>
        <translation>discid (--cd-image=FILE | --lecteur=DEVICE)</translation>
    </message>
    <message>
        <source>info FICHIER...  (propriétés MPEG et page Info Fichier, en JSON)</source>
        <translation>info FILE...  (MPEG properties and the File info page, in JSON)</translation>
    </message>
    <message>
        <source>Impossible de lire le fichier : %1</source>
        <translation>Cannot read the file: %1</translation>
    </message>
    <message>
        <source>Utilisation : tarvex-cli COMMANDE [OPTIONS] FICHIER...
              tarvex-cli COMMANDE --help | help [COMMANDE] | --version

Commandes :
</source>
        <translation>Usage: tarvex-cli COMMAND [OPTIONS] FILE...
       tarvex-cli COMMAND --help | help [COMMAND] | --version

Commands:
</translation>
    </message>
    <message>
        <source>Commande inconnue : %1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <source>musicbrainz (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--serveur=URL] [--email=ADRESSE] [--choix=N]</source>
        <translation>musicbrainz (--cd-image=FILE | --lecteur=DEVICE) [--serveur=URL] [--email=ADDRESS] [--choix=N]</translation>
    </message>
    <message>
        <source>Le lecteur n&apos;est pas prêt. Essayez plus tard. (%1)</source>
        <translation>The drive is not ready. Try again later. (%1)</translation>
    </message>
    <message>
        <source>Choix %1 impossible : MusicBrainz donne %2 édition(s)</source>
        <translation>Choice %1 impossible: MusicBrainz gives %2 release(s)</translation>
    </message>
    <message>
        <source>option inconnue ou sans valeur : %1</source>
        <translation>unknown option or option without a value: %1</translation>
    </message>
    <message>
        <source>nombre invalide : %1</source>
        <translation>invalid number: %1</translation>
    </message>
    <message>
        <source>règle de lettrage invalide : %1</source>
        <translation>invalid case rule: %1</translation>
    </message>
    <message>
        <source>règle d&apos;inversion invalide : %1</source>
        <translation>invalid swap rule: %1</translation>
    </message>
    <message>
        <source>option inconnue : %1</source>
        <translation>unknown option: %1</translation>
    </message>
    <message>
        <source>une seule opération à la fois : %1</source>
        <translation>one operation at a time: %1</translation>
    </message>
    <message>
        <source>aucune opération donnée</source>
        <translation>no operation given</translation>
    </message>
    <message>
        <source>aucun fichier donné</source>
        <translation>no file given</translation>
    </message>
    <message>
        <source>pas de nouveau nom (nom vide)</source>
        <translation>no new name (empty name)</translation>
    </message>
    <message>
        <source>pas de nouveau nom %1</source>
        <translation>no new name %1</translation>
    </message>
    <message>
        <source>rename OPERATION [--apercu] FICHIER...   renomme les fichiers ; OPERATION est --supprimer=N [--position=P], --remplacer=S [--par=R], --lettrage-nom=K --lettrage-ext=K, --inverser=K, --nom=NOM, --avant=TEXTE --apres=TEXTE ou --format=MODELE (d&apos;après le tag : %titre% %artiste% %album% %annee% %piste% %piste:2% %genre% %commentaire%, %% pour %, / pour un dossier)</source>
        <translation>rename OPERATION [--apercu] FILE...   renames the files; OPERATION is --supprimer=N [--position=P], --remplacer=S [--par=R], --lettrage-nom=K --lettrage-ext=K, --inverser=K, --nom=NAME, --avant=TEXT --apres=TEXT or --format=PATTERN (from the tag: %titre% %artiste% %album% %annee% %piste% %piste:2% %genre% %commentaire%, %% for %, / for a folder)</translation>
    </message>
    <message>
        <source>Numéro de piste invalide : --piste=%1</source>
        <translation>Invalid track number: --piste=%1</translation>
    </message>
    <message>
        <source>Option de tags inconnue : --tags=%1</source>
        <translation>Unknown tags option: --tags=%1</translation>
    </message>
    <message>
        <source>Les tags ne s&apos;écrivent que dans un MP3 (--mp3).</source>
        <translation>Tags are written only into an MP3 (--mp3).</translation>
    </message>
    <message>
        <source>Choix invalide : --cddb=%1 (un numéro à partir de 1)</source>
        <translation>Invalid choice: --cddb=%1 (a number from 1)</translation>
    </message>
    <message>
        <source>Décalage invalide : --decalage=%1 (de -%2 à %2)</source>
        <translation>Invalid offset: --decalage=%1 (from -%2 to %2)</translation>
    </message>
    <message>
        <source>Format invalide : --format=%1 (0 à 3)</source>
        <translation>Invalid format: --format=%1 (0 to 3)</translation>
    </message>
    <message>
        <source>Une seule sortie à la fois.</source>
        <translation>One output at a time.</translation>
    </message>
    <message>
        <source>Aucun lecteur de CD trouvé : indiquez --cd-image ou --lecteur.</source>
        <translation>No CD drive found: give --cd-image or --lecteur.</translation>
    </message>
    <message>
        <source>Il manque la piste, le format ou la sortie.</source>
        <translation>The track, the format or the output is missing.</translation>
    </message>
    <message>
        <source>Lecture du disque impossible</source>
        <translation>Cannot read the disc</translation>
    </message>
    <message>
        <source>Impossible d&apos;ouvrir le lecteur « %1 »</source>
        <translation>Cannot open the drive “%1”</translation>
    </message>
    <message>
        <source>N° de piste incorrecte</source>
        <translation>Wrong track number</translation>
    </message>
    <message>
        <source>Le fichier « %1 » existe déjà.</source>
        <translation>The file “%1” already exists.</translation>
    </message>
    <message>
        <source>Genre inconnu : %1</source>
        <translation>Unknown genre: %1</translation>
    </message>
    <message>
        <source>Image refusée : %1</source>
        <translation>Image refused: %1</translation>
    </message>
    <message>
        <source>Modèle invalide : %1</source>
        <translation>Invalid pattern: %1</translation>
    </message>
    <message>
        <source>Piste hors de 0 à 255, impossible en ID3v1 : %1</source>
        <translation>Track outside 0 to 255, impossible in ID3v1: %1</translation>
    </message>
    <message>
        <source>tags FICHIER...  (tags ID3v1 et ID3v2, en JSON)</source>
        <translation>tags FILE...  (ID3v1 and ID3v2 tags, in JSON)</translation>
    </message>
    <message>
        <source>verify (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--piste=1,3,5-7] [--accuraterip=URL] FICHIER.wav...  (vérifie des extractions WAV auprès d&apos;AccurateRip ; les fichiers sont les pistes du disque dans l&apos;ordre, ou celles de --piste)</source>
        <translation>verify (--cd-image=FILE | --lecteur=DEVICE) [--piste=1,3,5-7] [--accuraterip=URL] FILE.wav...  (checks WAV rips against AccurateRip; the files are the disc&apos;s tracks in order, or those of --piste)</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas de l&apos;audio de CD (PCM 16 bits stéréo 44100 Hz).</source>
        <translation>“%1” is not CD audio (16-bit stereo PCM at 44100 Hz).</translation>
    </message>
    <message>
        <source>Impossible de lire « %1 »</source>
        <translation>Cannot read “%1”</translation>
    </message>
    <message>
        <source>Liste de pistes invalide : --piste=%1</source>
        <translation>Invalid track list: --piste=%1</translation>
    </message>
    <message>
        <source>Il faut un fichier par piste (%1 pistes, %2 fichiers).</source>
        <translation>One file per track is needed (%1 tracks, %2 files).</translation>
    </message>
    <message>
        <source>Qualité VBR invalide : --vbr=%1 (de 0 à 9)</source>
        <translation>Invalid VBR quality: --vbr=%1 (from 0 to 9)</translation>
    </message>
    <message>
        <source>Fichier introuvable</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Fichier inaccessible : %1</source>
        <translation>File not accessible: %1</translation>
    </message>
    <message>
        <source>C&apos;est un dossier, pas un fichier</source>
        <translation>This is a folder, not a file</translation>
    </message>
    <message>
        <source>Ce n&apos;est pas un fichier ordinaire (tube, périphérique...)</source>
        <translation>This is not a regular file (pipe, device...)</translation>
    </message>
    <message>
        <source>set [--v1] [--v2] [--titre=T] [--artiste=A] [--album=..] [--annee=..] [--commentaire=..] [--piste=..] [--genre=NOMBRE|NOM] [--compositeur=..] [--original=..] [--copyright=..] [--url=..] [--encode=..] [--image=JPEG|PNG] [--champ=ID=VALEUR] [--retirer=ID] [--v23] [--depuis-nom=MODELE] FICHIER...  (modifie les tags ; --champ donne une valeur à une trame ID3v2 (TPE2, TXXX:DESCRIPTION, COMM:DESCRIPTION, USLT, ...), --retirer la retire, --v23 écrit le tag ID3v2 en version 2.3 ; --depuis-nom lit les champs dans le nom du fichier sans extension, par exemple &quot;%piste% - %artiste% - %titre%&quot;)</source>
        <translation>set [--v1] [--v2] [--titre=T] [--artiste=A] [--album=..] [--annee=..] [--commentaire=..] [--piste=..] [--genre=NUMBER|NAME] [--compositeur=..] [--original=..] [--copyright=..] [--url=..] [--encode=..] [--image=JPEG|PNG] [--champ=ID=VALUE] [--retirer=ID] [--v23] [--depuis-nom=PATTERN] FILE...  (changes the tags; --champ gives a value to an ID3v2 frame (TPE2, TXXX:DESCRIPTION, COMM:DESCRIPTION, USLT, ...), --retirer removes it, --v23 writes the ID3v2 tag as version 2.3; --depuis-nom reads the fields in the file name without extension, for instance &quot;%piste% - %artiste% - %titre%&quot;)</translation>
    </message>
    <message>
        <source>empreinte FICHIER...</source>
        <translation>empreinte FILE...</translation>
    </message>
    <message>
        <source>--appliquer attend un numéro à partir de 1</source>
        <translation>--appliquer expects a number from 1</translation>
    </message>
    <message>
        <source>Choix %1 impossible pour « %2 » : %3 édition(s)</source>
        <translation>Choice %1 impossible for “%2”: %3 release(s)</translation>
    </message>
    <message>
        <source>--champ attend ID=VALEUR : %1</source>
        <translation>--champ expects ID=VALUE: %1</translation>
    </message>
    <message>
        <source>identifier [--serveur=URL] [--acoustid=URL] [--cle=CLE] [--email=ADRESSE] [--appliquer[=N]] [--pochette] [--pochettes=URL] FICHIER...</source>
        <translation>identifier [--serveur=URL] [--acoustid=URL] [--cle=KEY] [--email=ADDRESS] [--appliquer[=N]] [--pochette] [--pochettes=URL] FILE...</translation>
    </message>
    <message>
        <source>gain [--album] [--ecrire] [--crete-echantillon] [--reference] [--rva2] [--effacer] FICHIER...  (sonie EBU R128 et ReplayGain 2.0, en JSON ; --album mesure aussi les albums, fichiers d&apos;un même dossier et d&apos;un même album ; --ecrire écrit les valeurs dans le tag ID3v2, aussi en trames RVA2 avec --rva2 ; --effacer les supprime)</source>
        <translation>gain [--album] [--ecrire] [--crete-echantillon] [--reference] [--rva2] [--effacer] FILE...  (EBU R128 loudness and ReplayGain 2.0, in JSON; --album also measures albums, files of one folder with the same album; --ecrire writes the values into the ID3v2 tag, also as RVA2 frames with --rva2; --effacer removes them)</translation>
    </message>
    <message>
        <source>cddb (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--serveur=URL] [--email=ADRESSE] [--choix=N] [--protocole=5|6] [--cd-text]  (sans réponse du serveur, ou avec --cd-text, les noms viennent du CD-Text du disque)</source>
        <translation>cddb (--cd-image=FILE | --lecteur=DEVICE) [--serveur=URL] [--email=ADDRESS] [--choix=N] [--protocole=5|6] [--cd-text]  (without an answer from the server, or with --cd-text, the names come from the disc&apos;s CD-Text)</translation>
    </message>
    <message>
        <source>Le disque n&apos;a pas de CD-Text (%1)</source>
        <translation>The disc has no CD-Text (%1)</translation>
    </message>
    <message>
        <source>--piste-cachee écrit dans un dossier : SORTIE doit en être un.</source>
        <translation>--piste-cachee writes into a folder: OUTPUT must be one.</translation>
    </message>
    <message>
        <source>Niveau invalide : --niveau-flac=%1 (0 à 8)</source>
        <translation>Invalid level: --niveau-flac=%1 (0 to 8)</translation>
    </message>
    <message>
        <source>rip (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) (--piste=1,3,5-7 | --toutes) [--wav] [--mp3] [--flac] [--niveau-flac=0..8] [--dossier-wav=MODELE] [--dossier-mp3=MODELE] [--dossier-flac=MODELE] [--sans-liste] [--ecraser] [--rapide] [--decalage=ECHANTILLONS] [--accuraterip=URL] [--format=0..3] [--vbr=0..9] [--trame-lame] [--sans-replaygain] [--rva2] [--tags=v1|v2|les-deux|aucun] [--artiste=A] [--album=..] [--annee=..] [--genre=NOM] [--titre=T] [--commentaire=..] [--encode=..] [--cddb=CHOIX [--serveur=URL] [--email=ADRESSE]] [--cd-text] [--piste-cachee] [--ejecter] SORTIE  (extrait la piste N, comptée à partir de 1 ; --ecraser remplace une SORTIE existante ; --tags écrit les tags d&apos;un MP3 comme l&apos;extraction de la fenêtre, titre par défaut « Piste N » ; --cddb prend les champs absents dans la fiche CDDB choisie, 1 quand un seul disque correspond, le CD-Text du disque quand le serveur ne donne rien ; --cd-text prend les noms dans le CD-Text seul ; --piste-cachee extrait aussi le son caché avant la piste 1 ; --ejecter éjecte le disque à la fin ; SORTIE est le fichier d&apos;une seule piste, ou un dossier qui reçoit les fichiers nommés comme dans la fenêtre, un journal et une feuille .cue ; --rapide lit sans relectures ; --decalage corrige le décalage de lecture du lecteur ; le ReplayGain des pistes et du disque est écrit dans les FLAC et les MP3 à tag ID3v2, sauf avec --sans-replaygain ; plusieurs formats viennent d&apos;une seule lecture du disque, chacun dans le dossier que donne son modèle sous SORTIE, par exemple --dossier-flac=FLAC/%artiste%/%album% ; chaque format reçoit une liste de lecture .m3u8, sauf avec --sans-liste ; --niveau-flac va de 0, le plus rapide, à 8, le plus compact, 5 par défaut ; --rva2 écrit aussi le ReplayGain des MP3 en trames RVA2)</source>
        <translation>rip (--cd-image=FILE | --lecteur=DEVICE) (--piste=1,3,5-7 | --toutes) [--wav] [--mp3] [--flac] [--niveau-flac=0..8] [--dossier-wav=PATTERN] [--dossier-mp3=PATTERN] [--dossier-flac=PATTERN] [--sans-liste] [--ecraser] [--rapide] [--decalage=SAMPLES] [--accuraterip=URL] [--format=0..3] [--vbr=0..9] [--trame-lame] [--sans-replaygain] [--rva2] [--tags=v1|v2|les-deux|aucun] [--artiste=A] [--album=..] [--annee=..] [--genre=NAME] [--titre=T] [--commentaire=..] [--encode=..] [--cddb=CHOICE [--serveur=URL] [--email=ADDRESS]] [--cd-text] [--piste-cachee] [--ejecter] OUTPUT  (rips track N, counted from 1; --ecraser replaces an existing OUTPUT; --tags writes the tags of an MP3 as the window&apos;s ripping does, default title “Piste N”; --cddb takes the missing fields from the chosen CDDB entry, 1 when a single disc matches, the disc&apos;s CD-Text when the server gives nothing; --cd-text takes the names from the CD-Text alone; --piste-cachee also rips the sound hidden before track 1; --ejecter ejects the disc at the end; OUTPUT is the file of a single track, or a folder that receives the files named as in the window, a log and a cue sheet; --rapide reads without rereads; --decalage corrects the drive&apos;s read offset; the ReplayGain of the tracks and of the disc is written into the FLAC files and the MP3 files with an ID3v2 tag, unless --sans-replaygain is given; several formats come from one reading of the disc, each into the folder its pattern gives below OUTPUT, for example --dossier-flac=FLAC/%artiste%/%album%; each format gets an .m3u8 playlist, unless --sans-liste is given; --niveau-flac goes from 0, the fastest, to 8, the smallest, 5 by default; --rva2 also writes the ReplayGain of the MP3 files as RVA2 frames)</translation>
    </message>
    <message>
        <source>Le disque n&apos;a pas de piste cachée.</source>
        <translation>The disc has no hidden track.</translation>
    </message>
</context>
<context>
    <name>files</name>
    <message>
        <source>L&apos;image n&apos;a pas pu être enregistrée dans « %1 » : %2</source>
        <translation>The image could not be saved in “%1”: %2</translation>
    </message>
    <message>
        <source>Ces fichiers n&apos;ont pas pu être copiés :</source>
        <translation>These files could not be copied:</translation>
    </message>
    <message>
        <source>Ces fichiers n&apos;ont pas pu être déplacés :</source>
        <translation>These files could not be moved:</translation>
    </message>
    <message>
        <source>Ces fichiers n&apos;ont pas pu être supprimés :</source>
        <translation>These files could not be deleted:</translation>
    </message>
    <message>
        <source>
« %1 » : %2</source>
        <translation>
“%1”: %2</translation>
    </message>
    <message>
        <source>fichier en lecture seule dans le dossier de destination</source>
        <translation>read-only file in the destination folder</translation>
    </message>
    <message>
        <source>copié, mais l&apos;original n&apos;a pas pu être supprimé (%1)</source>
        <translation>copied, but the original could not be deleted (%1)</translation>
    </message>
    <message>
        <source>nom de fichier interdit</source>
        <translation>forbidden file name</translation>
    </message>
    <message>
        <source>Ces fichiers n&apos;ont pas été restaurés :</source>
        <translation>These files were not restored:</translation>
    </message>
    <message>
        <source>a été supprimé, renommé ou remplacé depuis : il n&apos;a pas été remis à sa place</source>
        <translation>was deleted, renamed or replaced since: it was not put back</translation>
    </message>
    <message>
        <source>la destination est le fichier lui-même</source>
        <translation>the destination is the file itself</translation>
    </message>
    <message>
        <source>le fichier qu&apos;il remplacerait n&apos;a pas pu être mis à la corbeille (%1)</source>
        <translation>the file it would replace could not be moved to the trash (%1)</translation>
    </message>
    <message>
        <source>ce disque n&apos;a pas de corbeille utilisable (« %1 » : %2) ; le fichier n&apos;a pas été supprimé</source>
        <translation>this disk has no usable trash (“%1”: %2); the file was not deleted</translation>
    </message>
    <message>
        <source>impossible de créer la corbeille « %1 » (%2) ; le fichier n&apos;a pas été supprimé</source>
        <translation>cannot create the trash “%1” (%2); the file was not deleted</translation>
    </message>
    <message>
        <source>le fichier n&apos;a pas été retrouvé dans la corbeille « %1 »</source>
        <translation>the file was not found in the trash “%1”</translation>
    </message>
    <message>
        <source>son dossier n&apos;existe plus</source>
        <translation>its folder no longer exists</translation>
    </message>
    <message>
        <source>a été modifié depuis la copie : il a été gardé</source>
        <translation>was changed since the copy: it was kept</translation>
    </message>
    <message>
        <source>Plus de %1 fichiers ou de %2 dossiers sous ce dossier : seuls ses propres fichiers sont affichés.</source>
        <translation>More than %1 files or %2 folders below this folder: only its own files are shown.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Utilisation : tarvex [--cd-image FICHIER]... [--captures DOSSIER [--taille LxH]] [DOSSIER | FICHIER.mp3]
Tarvex modifie les tags ID3 des fichiers MP3, les renomme et extrait les CD audio.
Un DOSSIER donné s&apos;ouvre dans la page « Tag et noms » ; pour un FICHIER.mp3, son dossier s&apos;y ouvre et le fichier y est choisi.

Options :
  --cd-image FICHIER    ajoute une image de disque (.cue, .toc, .nrg) aux lecteurs
  --captures DOSSIER    enregistre chaque page en PNG dans DOSSIER et quitte
  --taille LxH          taille de la fenêtre des captures, par exemple 960x640
  --help                affiche cette aide et quitte
  --version             affiche la version et quitte
</source>
        <translation>Usage: tarvex [--cd-image FILE]... [--captures FOLDER [--taille WxH]] [FOLDER | FILE.mp3]
Tarvex edits the ID3 tags of MP3 files, renames them and rips audio CDs.
A FOLDER given opens in the “Tags and names” page; for a FILE.mp3, its folder opens there and the file is chosen.

Options:
  --cd-image FILE       adds a disc image (.cue, .toc, .nrg) to the drives
  --captures FOLDER     saves each page as PNG in FOLDER and quits
  --taille WxH          size of the window for the captures, for instance 960x640
  --help                shows this help and quits
  --version             shows the version and quits
</translation>
    </message>
    <message>
        <source>Tarvex : l&apos;option --cd-image attend le chemin d&apos;une image de disque (.cue, .toc, .nrg).
</source>
        <translation>Tarvex: the option --cd-image expects the path of a disc image (.cue, .toc, .nrg).
</translation>
    </message>
    <message>
        <source>Tarvex : aucun fichier ni dossier « %1 ».
</source>
        <translation>Tarvex: no file or folder “%1”.
</translation>
    </message>
    <message>
        <source>Tarvex : la taille et la position de la fenêtre n&apos;ont pas pu être enregistrées dans %1.
</source>
        <translation>Tarvex: the size and position of the window could not be saved in %1.
</translation>
    </message>
</context>
<context>
    <name>mpeg</name>
    <message>
        <source>Décodage impossible de « %1 » : %2</source>
        <translation>Cannot decode “%1”: %2</translation>
    </message>
    <message>
        <source>ce n&apos;est pas un fichier ordinaire</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>ce n&apos;est pas un fichier audio MPEG</source>
        <translation>it is not an MPEG audio file</translation>
    </message>
    <message>
        <source>format audio inattendu</source>
        <translation>unexpected audio format</translation>
    </message>
    <message>
        <source>le format audio change en cours de fichier</source>
        <translation>the audio format changes within the file</translation>
    </message>
    <message>
        <source>le flux ne donne plus d&apos;échantillons</source>
        <translation>the stream yields no more samples</translation>
    </message>
</context>
<context>
    <name>online</name>
    <message>
        <source>Pas de réponse de %1 : pas de connexion internet, serveur injoignable ou trop lent</source>
        <translation>No reply from %1: no Internet connection, server unreachable or too slow</translation>
    </message>
    <message>
        <source>Réponse de %1 trop longue (plus de %2 Ko)</source>
        <translation>Reply from %1 too long (over %2 KiB)</translation>
    </message>
    <message>
        <source>Erreur du serveur %1 (HTTP %2)</source>
        <translation>%1 server error (HTTP %2)</translation>
    </message>
    <message>
        <source>Adresse de serveur MusicBrainz invalide : </source>
        <translation>Invalid MusicBrainz server address: </translation>
    </message>
    <message>
        <source>MusicBrainz ne connaît pas ce disque</source>
        <translation>MusicBrainz does not know this disc</translation>
    </message>
    <message>
        <source>MusicBrainz est surchargé : réessayez dans %1 s</source>
        <translation>MusicBrainz is overloaded: try again in %1 s</translation>
    </message>
    <message>
        <source>Pas de pochette pour cette édition</source>
        <translation>No cover for this release</translation>
    </message>
    <message>
        <source>La pochette reçue n&apos;est pas une image JPEG</source>
        <translation>The cover received is not a JPEG image</translation>
    </message>
    <message>
        <source>AcoustID refuse la demande : %1</source>
        <translation>AcoustID refuses the request: %1</translation>
    </message>
    <message>
        <source>La réponse d&apos;AcoustID est illisible</source>
        <translation>The answer of AcoustID cannot be read</translation>
    </message>
    <message>
        <source>Adresse de serveur AcoustID invalide : </source>
        <translation>Invalid AcoustID server address: </translation>
    </message>
    <message>
        <source>AcoustID est surchargé : réessayez dans %1 s</source>
        <translation>AcoustID is overloaded: try again in %1 s</translation>
    </message>
    <message>
        <source>Empreinte impossible pour « %1 »</source>
        <translation>No fingerprint could be computed for “%1”</translation>
    </message>
    <message>
        <source>Recherche de « %1 » sur MusicBrainz</source>
        <translation>Searching MusicBrainz for “%1”</translation>
    </message>
    <message>
        <source>Aucune édition trouvée pour « %1 »</source>
        <translation>No release found for “%1”</translation>
    </message>
    <message>
        <source>La réponse de MusicBrainz est illisible</source>
        <translation>The answer of MusicBrainz cannot be read</translation>
    </message>
    <message>
        <source>Pas de clé AcoustID : les fichiers ne peuvent être reconnus par leur empreinte</source>
        <translation>No AcoustID key: the files cannot be recognised by their fingerprint</translation>
    </message>
    <message numerus="yes">
        <source>Empreintes de %n fichier(s)</source>
        <translation>
            <numerusform>Fingerprints of %n file</numerusform>
            <numerusform>Fingerprints of %n files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>rename</name>
    <message>
        <source>Ces fichiers n&apos;ont pas été renommés :</source>
        <translation>These files were not renamed:</translation>
    </message>
    <message>
        <source>
« %1 » → « %2 » : %3</source>
        <translation>
“%1” → “%2”: %3</translation>
    </message>
    <message>
        <source>nom de fichier interdit</source>
        <translation>forbidden file name</translation>
    </message>
    <message>
        <source>Fichiers renommés : %1</source>
        <translation>Files renamed: %1</translation>
    </message>
    <message>
        <source>« %1 » (%2)</source>
        <translation>“%1” (%2)</translation>
    </message>
    <message>
        <source> ; non renommés : %1</source>
        <translation>; not renamed: %1</translation>
    </message>
</context>
<context>
    <name>tags</name>
    <message>
        <source>le tag ID3v2.%1 contient des trames que la version 2.3 ne peut pas garder (%2)</source>
        <translation>the ID3v2.%1 tag holds frames that version 2.3 cannot keep (%2)</translation>
    </message>
    <message>
        <source>Lecture impossible de « %1 » : %2</source>
        <translation>Cannot read “%1”: %2</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un fichier ordinaire</source>
        <translation>“%1” is not a regular file</translation>
    </message>
    <message>
        <source>le nouveau tag ne tient pas à sa place</source>
        <translation>the new tag does not fit in its place</translation>
    </message>
    <message>
        <source>le tag ID3v2 atteindrait %1 octets, au-delà de la taille permise</source>
        <translation>the ID3v2 tag would reach %1 bytes, beyond the size allowed</translation>
    </message>
    <message>
        <source>l&apos;enregistrement de « %1 » ne pourra pas être annulé</source>
        <translation>the save of “%1” cannot be undone</translation>
    </message>
    <message>
        <source>Lecture impossible de « %1 »</source>
        <translation>Cannot read “%1”</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un fichier MP3</source>
        <translation>“%1” is not an MP3 file</translation>
    </message>
    <message>
        <source>« %1 » a été modifié par un autre programme depuis l&apos;enregistrement : il n&apos;a pas été restauré</source>
        <translation>“%1” was changed by another program since the save: it was not restored</translation>
    </message>
    <message>
        <source>Écriture impossible de « %1 » : %2 ; il n&apos;a pas été entièrement restauré</source>
        <translation>Cannot write “%1”: %2; it was not fully restored</translation>
    </message>
    <message>
        <source>Ouverture impossible de « %1 » : %2</source>
        <translation>Cannot open “%1”: %2</translation>
    </message>
    <message>
        <source>Piste</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Titre</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Artiste</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Année</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>Commentaire</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Compositeur</source>
        <translation>Composer</translation>
    </message>
    <message>
        <source>Artiste original</source>
        <translation>Original artist</translation>
    </message>
    <message>
        <source>Copyright</source>
        <translation>Copyright</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>Encodé par</source>
        <translation>Encoded by</translation>
    </message>
    <message>
        <source>Genre = %1</source>
        <translation>Genre = %1</translation>
    </message>
    <message>
        <source>le nom « %1 » ne correspond pas au modèle « %2 »</source>
        <translation>the name “%1” does not match the pattern “%2”</translation>
    </message>
    <message>
        <source>annulé avant d&apos;être traité</source>
        <translation>cancelled before being processed</translation>
    </message>
    <message>
        <source>Les données n&apos;ont pas pu être écrites sur le disque : %1</source>
        <translation>The data could not be written to the disk: %1</translation>
    </message>
    <message>
        <source>« %% » sans fin dans le modèle</source>
        <translation>“%%” without an end in the pattern</translation>
    </message>
    <message>
        <source>champ inconnu dans le modèle : %1</source>
        <translation>unknown field in the pattern: %1</translation>
    </message>
    <message>
        <source>largeur invalide : %1 (seule la piste en prend une, de 1 à 9)</source>
        <translation>invalid width: %1 (only the track takes one, from 1 to 9)</translation>
    </message>
    <message>
        <source>le champ %%1% est vide</source>
        <translation>the field %%1% is empty</translation>
    </message>
    <message>
        <source>« %1 » ne peut pas être un nom de fichier ou de dossier</source>
        <translation>“%1” cannot be a file or folder name</translation>
    </message>
    <message>
        <source>nom trop long (plus de %1 octets) : « %2 »</source>
        <translation>name too long (over %1 bytes): “%2”</translation>
    </message>
    <message>
        <source>Lecture impossible de l&apos;image « %1 » : %2</source>
        <translation>Cannot read the image “%1”: %2</translation>
    </message>
    <message>
        <source>L&apos;image « %1 » est trop grande pour un tag ID3v2</source>
        <translation>The image “%1” is too large for an ID3v2 tag</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas une image JPEG ou PNG</source>
        <translation>“%1” is not a JPEG or PNG image</translation>
    </message>
    <message>
        <source>le tag n&apos;a pas d&apos;image n° %1</source>
        <translation>the tag has no image number %1</translation>
    </message>
    <message>
        <source>l&apos;image n&apos;est ni JPEG ni PNG</source>
        <translation>the image is neither JPEG nor PNG</translation>
    </message>
    <message>
        <source>L&apos;image « %1 » est trop grande pour un tag ID3v2 : rien n&apos;a été écrit</source>
        <translation>The image “%1” is too large for an ID3v2 tag: nothing was written</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas une image JPEG : rien n&apos;a été écrit</source>
        <translation>“%1” is not a JPEG image: nothing was written</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un fichier ordinaire : rien n&apos;a été écrit</source>
        <translation>“%1” is not a regular file: nothing was written</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un fichier MP3 : rien n&apos;a été écrit</source>
        <translation>“%1” is not an MP3 file: nothing was written</translation>
    </message>
    <message>
        <source>Piste %1 hors de 0 à 255, impossible en ID3v1 : rien n&apos;a été écrit dans « %2 »</source>
        <translation>Track %1 outside 0 to 255, impossible in ID3v1: nothing was written in “%2”</translation>
    </message>
    <message>
        <source>« %1 » est trop court pour un tag ID3v1 : rien n&apos;a été écrit</source>
        <translation>“%1” is too short for an ID3v1 tag: nothing was written</translation>
    </message>
    <message>
        <source>« %1 » : %2 ; rien n&apos;a été écrit</source>
        <translation>“%1”: %2; nothing was written</translation>
    </message>
    <message>
        <source>Le tag ID3v2 de « %1 » a plus de %2 trames : rien n&apos;a été écrit</source>
        <translation>The ID3v2 tag of “%1” has more than %2 frames: nothing was written</translation>
    </message>
    <message>
        <source>Le tag ID3v2 de « %1 » contient des octets illisibles qu&apos;une réécriture perdrait : rien n&apos;a été écrit</source>
        <translation>The ID3v2 tag of “%1” holds unreadable bytes that a rewrite would lose: nothing was written</translation>
    </message>
    <message>
        <source>« %1 » est en lecture seule (%2) : rien n&apos;a été écrit</source>
        <translation>“%1” is read-only (%2): nothing was written</translation>
    </message>
    <message>
        <source>accès en écriture refusé</source>
        <translation>write access denied</translation>
    </message>
    <message>
        <source>Écriture impossible de « %1 » : %2 ; le fichier est resté tel quel</source>
        <translation>Cannot write “%1”: %2; the file stayed as it was</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Artiste de l&apos;album</source>
        <translation>Album artist</translation>
    </message>
    <message>
        <source>Disque</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Paroles</source>
        <translation>Lyrics</translation>
    </message>
    <message>
        <source>BPM</source>
        <translation>BPM</translation>
    </message>
    <message>
        <source>Tri de l&apos;artiste</source>
        <translation>Artist sort order</translation>
    </message>
    <message>
        <source>Tri de l&apos;album</source>
        <translation>Album sort order</translation>
    </message>
    <message>
        <source>Tri du titre</source>
        <translation>Title sort order</translation>
    </message>
    <message>
        <source>Tri de l&apos;artiste de l&apos;album</source>
        <translation>Album artist sort order</translation>
    </message>
    <message>
        <source>Tri du compositeur</source>
        <translation>Composer sort order</translation>
    </message>
    <message>
        <source>Chef d&apos;orchestre</source>
        <translation>Conductor</translation>
    </message>
    <message>
        <source>Remixé par</source>
        <translation>Remixed by</translation>
    </message>
    <message>
        <source>Éditeur</source>
        <translation>Publisher</translation>
    </message>
    <message>
        <source>ISRC</source>
        <translation>ISRC</translation>
    </message>
    <message>
        <source>Regroupement</source>
        <translation>Grouping</translation>
    </message>
    <message>
        <source>Regroupement (iTunes)</source>
        <translation>Grouping (iTunes)</translation>
    </message>
    <message>
        <source>Sous-titre</source>
        <translation>Subtitle</translation>
    </message>
    <message>
        <source>Sous-titre du disque</source>
        <translation>Disc subtitle</translation>
    </message>
    <message>
        <source>Parolier</source>
        <translation>Lyricist</translation>
    </message>
    <message>
        <source>Parolier original</source>
        <translation>Original lyricist</translation>
    </message>
    <message>
        <source>Album original</source>
        <translation>Original album</translation>
    </message>
    <message>
        <source>Nom de fichier original</source>
        <translation>Original file name</translation>
    </message>
    <message>
        <source>Année originale</source>
        <translation>Original year</translation>
    </message>
    <message>
        <source>Date de sortie originale</source>
        <translation>Original release date</translation>
    </message>
    <message>
        <source>Date d&apos;enregistrement</source>
        <translation>Recording date</translation>
    </message>
    <message>
        <source>Date de sortie</source>
        <translation>Release date</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Heure</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Dates d&apos;enregistrement</source>
        <translation>Recording dates</translation>
    </message>
    <message>
        <source>Date d&apos;encodage</source>
        <translation>Encoding date</translation>
    </message>
    <message>
        <source>Date du marquage</source>
        <translation>Tagging date</translation>
    </message>
    <message>
        <source>Tonalité</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Durée (ms)</source>
        <translation>Length (ms)</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Ambiance</source>
        <translation>Mood</translation>
    </message>
    <message>
        <source>Compilation</source>
        <translation>Compilation</translation>
    </message>
    <message>
        <source>Logiciel d&apos;encodage</source>
        <translation>Encoder software</translation>
    </message>
    <message>
        <source>Type de fichier</source>
        <translation>File type</translation>
    </message>
    <message>
        <source>Propriétaire du fichier</source>
        <translation>File owner</translation>
    </message>
    <message>
        <source>Station de radio</source>
        <translation>Radio station</translation>
    </message>
    <message>
        <source>Production</source>
        <translation>Produced notice</translation>
    </message>
    <message>
        <source>Intervenants</source>
        <translation>Involved people</translation>
    </message>
    <message>
        <source>Musiciens</source>
        <translation>Musicians</translation>
    </message>
    <message>
        <source>Mouvement</source>
        <translation>Movement</translation>
    </message>
    <message>
        <source>Numéro du mouvement</source>
        <translation>Movement number</translation>
    </message>
    <message>
        <source>Texte libre</source>
        <translation>User text</translation>
    </message>
    <message>
        <source>Site de l&apos;artiste</source>
        <translation>Artist web page</translation>
    </message>
    <message>
        <source>Site du fichier</source>
        <translation>File web page</translation>
    </message>
    <message>
        <source>Site de la source</source>
        <translation>Source web page</translation>
    </message>
    <message>
        <source>Page d&apos;achat</source>
        <translation>Purchase page</translation>
    </message>
    <message>
        <source>Conditions de copie</source>
        <translation>Copyright web page</translation>
    </message>
    <message>
        <source>Site de l&apos;éditeur</source>
        <translation>Publisher web page</translation>
    </message>
    <message>
        <source>Site de la radio</source>
        <translation>Radio station web page</translation>
    </message>
    <message>
        <source>Paiement</source>
        <translation>Payment</translation>
    </message>
    <message>
        <source>Données privées</source>
        <translation>Private data</translation>
    </message>
    <message>
        <source>Identifiant unique</source>
        <translation>Unique identifier</translation>
    </message>
    <message>
        <source>Popularité</source>
        <translation>Popularity</translation>
    </message>
    <message>
        <source>Nombre d&apos;écoutes</source>
        <translation>Play count</translation>
    </message>
    <message>
        <source>Réglage du volume</source>
        <translation>Volume adjustment</translation>
    </message>
    <message>
        <source>Chapitre</source>
        <translation>Chapter</translation>
    </message>
    <message>
        <source>Table des chapitres</source>
        <translation>Table of contents</translation>
    </message>
    <message>
        <source>Objet joint</source>
        <translation>Attached object</translation>
    </message>
    <message>
        <source>Table du CD</source>
        <translation>CD table of contents</translation>
    </message>
    <message>
        <source>Paroles synchronisées</source>
        <translation>Synchronised lyrics</translation>
    </message>
    <message>
        <source>Repères temporels</source>
        <translation>Event timing codes</translation>
    </message>
    <message>
        <source>Égalisation</source>
        <translation>Equalisation</translation>
    </message>
    <message>
        <source>Conditions d&apos;utilisation</source>
        <translation>Terms of use</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas un identifiant de trame</source>
        <translation>“%1” is not a frame identifier</translation>
    </message>
    <message>
        <source>« %1 » n&apos;est pas une trame de texte : elle ne peut qu&apos;être retirée</source>
        <translation>“%1” is not a text frame: it can only be removed</translation>
    </message>
</context>
</TS>

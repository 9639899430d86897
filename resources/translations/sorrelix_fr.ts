<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>Langue du système</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Site web</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Aide et FAQ</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Politique de confidentialité</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>À propos de Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Chaque fichier remplacé est d’abord sauvegardé</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O Choisir les dossiers</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ Inverser</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D Comparer</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z Annuler</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Quitter Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Annuler la dernière fusion</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Historique des fusions</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>Aucune fusion pour l’instant.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Afficher le dossier de sauvegarde</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Copier le chemin de la cible</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Terminée</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Arrêtée</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Échouée</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Interrompue</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Annulée</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Peut être annulée</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>Dossier cible introuvable</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Choisir le dossier source…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Choisir le dossier cible…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Inverser source et cible</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Comparer les dossiers</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Choisissez le dossier à copier</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Choisissez le dossier dans lequel fusionner</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Choisir un dossier…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Changer…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Déposez un dossier ici</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Copier le chemin</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Afficher dans le gestionnaire de fichiers</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>DE</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>Cible</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>VERS</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Inverser la source et la cible</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (interne)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (externe)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>Disque local</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>Prêt à comparer</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix indique ce que la source ajouterait ou mettrait à jour dans la cible. Rien ne change avant la fusion.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Comparer</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Comparaison des dossiers…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Lecture des deux dossiers et recherche des fichiers qui diffèrent.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>Fichiers comparés : %1 · Lu : %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Déjà synchronisés</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>La cible contient déjà tous les fichiers de la source. Il n’y a rien à fusionner.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Comparer à nouveau</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>La source et la cible sont le même dossier.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>Une fusion précédente dans ce dossier ne s’est pas terminée.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>Ajoutés : %1</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>Mis à jour : %1</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>À copier : %1</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Espace insuffisant : %1 à copier, %2 disponibles</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Lorsque le système de fichiers le permet, les fichiers sont copiés sous forme de clones instantanés qui partagent l’espace disque jusqu’à leur modification.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Fusionner</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Fusion de %1 sur %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Fusion terminée</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>La cible contient désormais tous les fichiers nouveaux et mis à jour. Les fichiers remplacés ont d’abord été sauvegardés.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Annuler la fusion</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Fusion arrêtée après %1 fichiers sur %2</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>Les fichiers déjà copiés restent dans la cible. Annuler les retire.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Rechercher des fichiers</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>Tous (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Ajoutés (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Mis à jour (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Identiques (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 écartés par les règles</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Ajouté</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Mis à jour</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Identique</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Afficher la source dans le gestionnaire de fichiers</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Afficher la cible dans le gestionnaire de fichiers</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>La source et la cible doivent être des dossiers différents. Choisissez un autre dossier.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>La comparaison a été annulée.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>Impossible de lire un dossier. Vérifiez qu’il existe et que vous avez le droit de le lire.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>La fusion a échoué : %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Appuyez sur Ctrl+Z pour annuler ce qui a été copié.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>La dernière fusion a été annulée. La cible est revenue à son état précédent.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>L’annulation a échoué : %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>Les fichiers modifiés après la fusion ont été conservés au lieu d’être supprimés (%1) : ils se trouvent maintenant dans %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>Rien n’a été comparé : une règle d’exclusion enregistrée n’est pas un motif. Corrigez-la dans Édition → Règles d’exclusion...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>« %1 » : %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Afficher les fichiers conservés</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>Un « [ » ouvre un ensemble de caractères qui n’est jamais fermé par « ] ».</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>Une plage dans « […] » va à rebours, comme z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Les ensembles nommés comme [:digit:] ne sont pas pris en charge. Énumérez plutôt les caractères, comme [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>La règle se termine par « \ », qui n’a plus rien à échapper.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>« / » ne peut pas être échappé par « \ » : il sépare toujours les dossiers.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>La règle n’est que « / » ou contient « // » : aucun chemin n’a de partie vide.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>Les chemins ne contiennent jamais « . » ni « .. » comme partie.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>« ** » doit être seul entre deux barres obliques, comme dans a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>Un « ! » au début ne peut pas réintégrer de fichiers. Écrivez « \! » pour un nom qui commence par « ! ».</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>La règle contient un octet NUL, qu’aucun nom ne peut contenir.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>La règle commence ou se termine par une espace ou une tabulation, facile à ne pas voir. Placez « \ » devant si le nom en contient vraiment une à cet endroit.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Règles d’exclusion</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>Un motif par ligne, comparé aux noms de la source : * remplace n’importe quels caractères dans un nom (*.tmp), ** n’importe quel nombre de dossiers (docs/**/*.bak). Une règle avec un / au début ou au milieu s’applique au chemin depuis la racine de la source (/build) ; un / final ne vise que les dossiers (node_modules/). Les lignes commençant par # sont des commentaires. Ce qui correspond est écarté de chaque comparaison et fusion, ici et dans sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Ligne %1 : %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>Elle contient « � », qui représente des octets qui ne sont pas du texte. Laissez la ligne telle qu’elle était enregistrée, ou supprimez-la.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>Pas du texte UTF-8 : les octets illisibles apparaissent comme « � » ; conservé octet par octet tel qu’enregistré tant qu’il n’est pas modifié : ligne %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>Les règles n’ont pas pu être enregistrées : le fichier de réglages ne peut pas être écrit.</translation>
    </message>
</context>
</TS>

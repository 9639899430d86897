<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>Systemsprache</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Website</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Hilfe &amp; FAQ</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Datenschutzerklärung</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Über Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Jede überschriebene Datei wird vorher gesichert</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Strg+O Ordner wählen</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Strg+[ Tauschen</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Strg+D Vergleichen</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Strg+Z Rückgängig</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Sorrelix beenden</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Letzte Zusammenführung widerrufen</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Verlauf der Zusammenführungen</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>Noch keine Zusammenführungen.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Sicherungsordner anzeigen</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Zielpfad kopieren</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Gestoppt</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Unterbrochen</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Widerrufen</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Kann widerrufen werden</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>Zielordner nicht gefunden</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Quellordner wählen…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Zielordner wählen…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Quelle und Ziel tauschen</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Ordner vergleichen</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Wählen Sie den Ordner, aus dem kopiert wird</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Wählen Sie den Ordner, in den zusammengeführt wird</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Ordner wählen…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Ändern…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Ordner hierher ziehen</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Entfernen</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Im Dateimanager anzeigen</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>VON</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>NACH</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Quelle und Ziel tauschen</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (intern)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (extern)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>Lokaler Datenträger</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>Bereit zum Vergleichen</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix zeigt, was die Quelle im Ziel ergänzen oder aktualisieren würde. Bis zum Zusammenführen ändert sich nichts.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Ordner werden verglichen…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Beide Ordner werden gelesen und auf abweichende Dateien geprüft.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>Verglichene Dateien: %1 · Gelesen: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Bereits synchron</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>Das Ziel enthält bereits alle Dateien der Quelle. Es gibt nichts zusammenzuführen.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Erneut vergleichen</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>Quelle und Ziel sind derselbe Ordner.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>Eine frühere Zusammenführung in diesen Ordner wurde nicht abgeschlossen.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1 neu</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1 aktualisiert</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>%1 zu kopieren</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Nicht genug Speicherplatz: %1 zu kopieren, %2 verfügbar</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Wo das Dateisystem es erlaubt, werden Dateien als sofortige Klone kopiert, die sich den Speicher teilen, bis sie geändert werden.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Jetzt zusammenführen</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Zusammenführen: %1 von %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Stoppen</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Zusammenführung abgeschlossen</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>Das Ziel enthält jetzt alle neuen und aktualisierten Dateien. Ersetzte Dateien wurden vorher gesichert.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Zusammenführung widerrufen</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Zusammenführung nach %1 von %2 Dateien gestoppt</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>Die bisher kopierten Dateien bleiben im Ziel. Widerrufen nimmt sie zurück.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Dateien durchsuchen</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>Alle (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Neu (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Aktualisiert (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Identisch (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 durch Regeln ausgelassen</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Neu</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Aktualisiert</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Identisch</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Quelle im Dateimanager anzeigen</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Ziel im Dateimanager anzeigen</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>Quelle und Ziel müssen verschiedene Ordner sein. Wählen Sie einen anderen Ordner.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>Der Vergleich wurde abgebrochen.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>Ein Ordner konnte nicht gelesen werden. Prüfen Sie, ob er existiert und ob Sie ihn lesen dürfen.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>Das Zusammenführen ist fehlgeschlagen: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Mit Strg+Z widerrufen Sie, was bereits kopiert wurde.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>Die letzte Zusammenführung wurde widerrufen. Das Ziel ist wieder im vorherigen Zustand.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>Widerrufen fehlgeschlagen: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>Dateien, die Sie nach der Zusammenführung geändert haben, wurden behalten statt gelöscht (%1): Sie liegen jetzt in %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>Es wurde nichts verglichen: Eine gespeicherte Ausschlussregel ist kein Muster. Korrigieren Sie sie unter Bearbeiten → Ausschlussregeln...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Behaltene Dateien anzeigen</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>Ein „[“ beginnt eine Zeichenmenge, die nie mit „]“ geschlossen wird.</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>Ein Bereich in „[…]“ verläuft rückwärts, etwa z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Benannte Mengen wie [:digit:] werden nicht unterstützt. Geben Sie stattdessen die Zeichen an, etwa [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>Die Regel endet mit „\“, danach bleibt nichts zu maskieren.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>„/“ kann nicht mit „\“ maskiert werden: Es trennt immer Ordner.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>Die Regel besteht nur aus „/“ oder enthält „//“: Kein Pfad hat einen leeren Teil.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>Pfade enthalten nie „.“ oder „..“ als Teil.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>„**“ muss allein zwischen Schrägstrichen stehen, wie in a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>Ein „!“ am Anfang kann keine Dateien zurückholen. Schreiben Sie „\!“ für einen Namen, der mit „!“ beginnt.</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>Die Regel enthält ein NUL-Byte, das kein Name enthalten kann.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>Die Regel beginnt oder endet mit einem Leer- oder Tabulatorzeichen, das leicht übersehen wird. Setzen Sie „\“ davor, wenn der Name dort wirklich eines hat.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Ausschlussregeln</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>Ein Muster pro Zeile, verglichen mit den Namen in der Quelle: * steht für beliebige Zeichen innerhalb eines Namens (*.tmp), ** für beliebig viele Ordner (docs/**/*.bak). Eine Regel mit / am Anfang oder in der Mitte gilt für den Pfad ab dem obersten Ordner der Quelle (/build); ein / am Ende trifft nur Ordner (node_modules/). Zeilen, die mit # beginnen, sind Kommentare. Was passt, wird bei jedem Vergleich und jeder Zusammenführung ausgelassen, hier und in sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>Sie enthält „�“, das für Bytes steht, die kein Text sind. Lassen Sie die Zeile, wie sie gespeichert war, oder löschen Sie sie.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>Kein UTF-8-Text, daher erscheinen unlesbare Bytes als „�“; bleibt Byte für Byte wie gespeichert, solange unverändert: Zeile %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>Die Regeln konnten nicht gespeichert werden: Die Einstellungsdatei lässt sich nicht schreiben.</translation>
    </message>
</context>
</TS>

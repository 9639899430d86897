<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Lingua</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>Lingua di sistema</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Sito web</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Assistenza e FAQ</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Informativa sulla privacy</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Informazioni su Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Ogni file sovrascritto viene prima salvato in un backup</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O Scegli cartelle</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ Scambia</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D Confronta</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z Annulla</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>File</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Modifica</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Aiuto</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Esci da Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Annulla l’ultima unione</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Cronologia delle unioni</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>Nessuna unione finora.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Mostra cartella di backup</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Copia percorso di destinazione</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Completata</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Fermata</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Non riuscita</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Interrotta</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Annullata</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Si può annullare</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>Cartella di destinazione non trovata</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Scegli cartella di origine…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Scegli cartella di destinazione…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Scambia origine e destinazione</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Confronta cartelle</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Scegli la cartella da cui copiare</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Scegli la cartella in cui unire</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Scegli cartella…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Cambia…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Trascina qui una cartella</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Copia percorso</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Rimuovi</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Mostra nel gestore file</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Origine</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>DA</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>Destinazione</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>A</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Scambia origine e destinazione</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (interno)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (esterno)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>Disco locale</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>Pronto per il confronto</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix mostra cosa l’origine aggiungerebbe o aggiornerebbe nella destinazione. Nulla cambia finché non unisci.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Confronta</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Confronto delle cartelle…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Lettura di entrambe le cartelle e ricerca dei file diversi.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>File confrontati: %1 · Letti: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Già sincronizzate</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>La destinazione contiene già tutti i file dell’origine. Non c’è nulla da unire.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Confronta di nuovo</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>Origine e destinazione sono la stessa cartella.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>Un’unione precedente in questa cartella non è stata completata.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1 aggiunti</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1 aggiornati</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>%1 da copiare</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Spazio insufficiente: %1 da copiare, %2 disponibili</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Dove il file system lo consente, i file vengono copiati come cloni istantanei che condividono lo spazio finché non vengono modificati.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Unisci ora</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Unione di %1 su %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Interrompi</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Unione completata</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>La destinazione ora contiene tutti i file nuovi e aggiornati. I file sostituiti sono stati prima salvati in un backup.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Annulla unione</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Unione fermata dopo %1 file su %2</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>I file copiati finora restano nella destinazione. Annulla li rimuove.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Cerca file</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>Tutti (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Aggiunti (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Aggiornati (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Identici (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 esclusi dalle regole</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Aggiunto</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Aggiornato</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Identico</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Mostra origine nel gestore file</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Mostra destinazione nel gestore file</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>Origine e destinazione devono essere cartelle diverse. Scegli un’altra cartella.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>Il confronto è stato annullato.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>Impossibile leggere una cartella. Verifica che esista e di avere il permesso di leggerla.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>Unione non riuscita: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Premi Ctrl+Z per annullare ciò che è stato copiato.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>L’ultima unione è stata annullata. La destinazione è tornata allo stato precedente.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>Annullamento non riuscito: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>I file modificati dopo l’unione sono stati conservati anziché eliminati (%1): ora si trovano in %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>Non è stato confrontato nulla: una regola di esclusione salvata non è un modello. Correggila in Modifica → Regole di esclusione...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>«%1»: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Mostra file conservati</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>Una «[» apre un insieme di caratteri che non viene mai chiuso con «]».</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>Un intervallo dentro «[…]» va all’indietro, come z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Gli insiemi con nome come [:digit:] non sono supportati. Elenca invece i caratteri, come [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>La regola termina con «\», dopo il quale non resta nulla da rendere letterale.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>«/» non può essere reso letterale con «\»: separa sempre le cartelle.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>La regola è solo «/» o contiene «//»: nessun percorso ha una parte vuota.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>I percorsi non contengono mai «.» o «..» come parte.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>«**» deve stare da solo tra due barre, come in a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>Un «!» iniziale non può recuperare file. Scrivi «\!» per un nome che inizia con «!».</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>La regola contiene un byte NUL, che nessun nome può contenere.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>La regola inizia o finisce con uno spazio o una tabulazione, facile da non notare. Metti «\» davanti se il nome lo contiene davvero in quel punto.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Regole di esclusione</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>Un modello per riga, confrontato con i nomi nell’origine: * sta per qualsiasi carattere all’interno di un nome (*.tmp), ** per un numero qualsiasi di cartelle (docs/**/*.bak). Una regola con / all’inizio o in mezzo vale per il percorso dalla radice dell’origine (/build); una / finale riguarda solo le cartelle (node_modules/). Le righe che iniziano con # sono commenti. Ciò che corrisponde resta escluso da ogni confronto e unione, qui e in sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Riga %1: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>Contiene «�», che sta per byte che non sono testo. Lascia la riga com’era salvata, oppure eliminala.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>Non è testo UTF-8, quindi i byte illeggibili appaiono come «�»; resta byte per byte com’era salvato finché non viene modificato: riga %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>Impossibile salvare le regole: non si può scrivere il file delle impostazioni.</translation>
    </message>
</context>
</TS>

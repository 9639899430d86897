<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>Idioma del sistema</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Sitio web</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Ayuda y preguntas frecuentes</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Política de privacidad</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Acerca de Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Cada archivo sobrescrito se respalda antes</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O Elegir carpetas</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ Intercambiar</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D Comparar</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z Deshacer</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Edición</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Salir de Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Deshacer la última fusión</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Historial de fusiones</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>Aún no hay fusiones.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Mostrar carpeta de respaldo</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Copiar ruta de destino</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Completada</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Detenida</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Fallida</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Interrumpida</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Deshecha</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Se puede deshacer</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>No se encuentra la carpeta de destino</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Elegir carpeta de origen…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Elegir carpeta de destino…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Intercambiar origen y destino</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Comparar carpetas</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Elige la carpeta desde la que copiar</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Elige la carpeta en la que fusionar</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Elegir carpeta…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Cambiar…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Suelta una carpeta aquí</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Copiar ruta</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Quitar</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Mostrar en el gestor de archivos</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Origen</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>DE</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>Destino</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>A</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Intercambiar origen y destino</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (interno)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (externo)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>Disco local</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>Listo para comparar</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix muestra lo que el origen añadiría o actualizaría en el destino. Nada cambia hasta que fusiones.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Comparar</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Comparando carpetas…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Leyendo ambas carpetas y buscando los archivos que difieren.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>Archivos comparados: %1 · Leído: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Ya están sincronizadas</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>El destino ya tiene todos los archivos del origen. No hay nada que fusionar.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Volver a comparar</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>El origen y el destino son la misma carpeta.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>Una fusión anterior en esta carpeta no terminó.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1 añadidos</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1 actualizados</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>%1 por copiar</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Espacio insuficiente: %1 por copiar, %2 disponibles</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Cuando el sistema de archivos lo permite, los archivos se copian como clones instantáneos que comparten espacio hasta que cambian.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Fusionar ahora</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Fusionando %1 de %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Fusión completada</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>El destino ya tiene todos los archivos nuevos y actualizados. Los archivos reemplazados se respaldaron antes.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Deshacer fusión</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Fusión detenida tras %1 de %2 archivos</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>Los archivos copiados hasta ahora quedan en el destino. Deshacer los retira.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Buscar archivos</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>Todos (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Añadidos (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Actualizados (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Idénticos (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 excluidos por reglas</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Añadido</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Actualizado</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Idéntico</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Mostrar origen en el gestor de archivos</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Mostrar destino en el gestor de archivos</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>El origen y el destino deben ser carpetas distintas. Elige otra carpeta.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>Se canceló la comparación.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>No se pudo leer una carpeta. Comprueba que existe y que tienes permiso para leerla.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>La fusión falló: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Pulse Ctrl+Z para deshacer lo que se copió.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>Se deshizo la última fusión. El destino ha vuelto a su estado anterior.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>No se pudo deshacer: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>Los archivos que cambió después de la fusión se conservaron en lugar de eliminarse (%1): ahora están en %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>No se comparó nada: una regla de exclusión guardada no es un patrón. Corrígela en Edición → Reglas de exclusión...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>«%1»: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Mostrar archivos conservados</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>Un «[» abre un conjunto de caracteres que nunca se cierra con «]».</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>Un rango dentro de «[…]» va al revés, como z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Los conjuntos con nombre como [:digit:] no se admiten. Enumera los caracteres, como [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>La regla termina con «\», que no deja nada que escapar.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>«/» no se puede escapar con «\»: siempre separa carpetas.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>La regla es solo «/» o contiene «//»: ninguna ruta tiene una parte vacía.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>Las rutas nunca contienen «.» ni «..» como parte.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>«**» debe ir solo entre barras, como en a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>Un «!» al principio no puede recuperar archivos. Escribe «\!» para un nombre que empieza por «!».</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>La regla contiene un byte NUL, que ningún nombre puede contener.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>La regla empieza o termina con un espacio o un tabulador, fácil de pasar por alto. Pon «\» delante si el nombre de verdad lo tiene ahí.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Reglas de exclusión</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>Un patrón por línea, comparado con los nombres del origen: * equivale a cualquier carácter dentro de un nombre (*.tmp) y ** a cualquier número de carpetas (docs/**/*.bak). Una regla con / al principio o en medio se aplica a la ruta desde la raíz del origen (/build); una / al final solo afecta a carpetas (node_modules/). Las líneas que empiezan por # son comentarios. Lo que coincide queda fuera de toda comparación y fusión, aquí y en sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Línea %1: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>Contiene «�», que representa bytes que no son texto. Deja la línea como estaba guardada o bórrala.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>No es texto UTF-8, así que los bytes ilegibles aparecen como «�»; se guarda byte a byte tal como estaba mientras no se cambie: línea %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>No se pudieron guardar las reglas: no se puede escribir el archivo de ajustes.</translation>
    </message>
</context>
</TS>

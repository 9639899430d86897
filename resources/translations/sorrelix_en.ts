<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>System Language</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Website</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Help &amp; FAQ</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Privacy Policy</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>About Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Every overwritten file is backed up first</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O Choose folders</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ Swap</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D Compare</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z Undo</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>File</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Quit Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Undo Last Merge</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Merge History</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>No merges yet.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Show Backup Folder</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Copy Target Path</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Completed</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Interrupted</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Undone</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Can be undone</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>Target folder not found</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Choose Source Folder…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Choose Target Folder…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Swap Source and Target</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Compare Folders</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Choose the folder to copy from</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Choose the folder to merge into</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Choose Folder…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Change…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Drop a folder here</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Copy Path</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Show in File Manager</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Source</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>FROM</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>Target</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>TO</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Swap source and target</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (internal)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (external)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>Local Disk</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>Ready to compare</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Compare</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Comparing folders…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Reading both folders and checking which files differ.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>Files compared: %1 · Read: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Already in sync</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>The target already has every file from the source. There is nothing to merge.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Compare Again</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>Source and target are the same folder.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>An earlier merge into this folder did not finish.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1 added</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1 updated</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>%1 to copy</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Not enough space: %1 to copy, %2 available</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Where the file system allows it, files are copied as instant clones that share storage until they change.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Merge Now</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Merging %1 of %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Merge complete</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>The target now has every new and updated file. Replaced files were backed up first.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Undo Merge</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Merge stopped after %1 of %2 files</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>The files copied so far stay in the target. Undo takes them back.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Search files</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>All (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Added (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Updated (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Identical (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 left out by rules</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Added</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Updated</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Identical</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Show Source in File Manager</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Show Target in File Manager</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>Source and target must be different folders. Choose another folder.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>The comparison was cancelled.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>A folder could not be read. Check that it exists and that you may read it.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>The merge failed: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Press Ctrl+Z to undo what was copied.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>The last merge was undone. The target is back to how it was.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>Undo failed: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>“%1”: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Show Kept Files</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>A “[” opens a set of characters that is never closed with “]”.</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>A range inside “[…]” runs backwards, like z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>The rule ends with “\”, which leaves nothing to escape.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>“/” cannot be escaped with “\”: it always separates folders.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>The rule is only “/” or holds “//”: no path has an empty part.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>Paths never hold “.” or “..” as a part.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>“**” must stand alone between slashes, as in a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>The rule holds a NUL byte, which no name can hold.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Exclude Rules</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>The rules could not be saved: the settings file cannot be written.</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>跟隨系統</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>官方網站</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>支援與常見問題</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>隱私權政策</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>關於 Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>每個被覆寫的檔案都會先備份</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O 選擇資料夾</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ 對調</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D 比較</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z 復原</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>檔案</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>編輯</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>結束 Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>復原上次合併</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>合併記錄</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>尚無合併記錄。</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>顯示備份資料夾</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>複製目標路徑</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>已完成</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>已停止</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>已中斷</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>已復原</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>可復原</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>找不到目標資料夾</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>選擇來源資料夾…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>選擇目標資料夾…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>對調來源與目標</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>比較資料夾</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>選擇要從中複製的資料夾</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>選擇要合併到的資料夾</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>選擇資料夾…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>變更…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>將資料夾拖放到這裡</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>複製路徑</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>在檔案管理員中顯示</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>來源資料夾</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>從</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>目標資料夾</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>到</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>對調來源與目標</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1（內建）</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1（外接）</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>本機磁碟</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>可以開始比較</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix 會列出來源將在目標中新增或更新的檔案。合併之前不會做任何變更。</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>開始比較</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>正在比較資料夾…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>正在讀取兩個資料夾並檢查哪些檔案不同。</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>已比較檔案：%1 · 已讀取：%2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>已經同步</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>目標已包含來源中的所有檔案，無需合併。</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>重新比較</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>來源與目標是同一個資料夾。</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>先前合併到此資料夾的作業未完成。</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>新增 %1 個</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>更新 %1 個</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>需複製 %1</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>空間不足：需複製 %1，可用 %2</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>在檔案系統支援時，檔案會以即時的寫入時複製方式建立副本，修改之前共用儲存空間。</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>立即合併</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>正在合併 %1/%2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>合併完成</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>目標現已包含所有新增和更新的檔案。被取代的檔案已事先備份。</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>復原合併</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>合併已停止：已完成 %1/%2 個檔案</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>已複製的檔案保留在目標中。復原可將其撤回。</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>搜尋檔案</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>全部 (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>新增 (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>更新 (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>相同 (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 項被規則排除</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>新增</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>更新</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>相同</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>在檔案管理員中顯示來源資料夾</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>在檔案管理員中顯示目標資料夾</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>來源與目標必須是不同的資料夾。請選擇其他資料夾。</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>已取消比較。</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>無法讀取某個資料夾。請確認它存在，且你有讀取權限。</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>合併失敗：%1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>按 Ctrl+Z 可復原已複製的內容。</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>已復原上次合併，目標已回到原本的狀態。</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>無法復原：%1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>合併後您變更過的檔案已保留，未被刪除（%1 個）：現位於 %2。</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>未進行比較：儲存的排除規則中有一行不是模式。請在「編輯 → 排除規則...」中修正。</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>「%1」：%2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>顯示保留的檔案</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>以「[」開始的字元集合沒有用「]」關閉。</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>「[…]」中的範圍是反向的，例如 z-a。</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>不支援 [:digit:] 這類具名集合。請改為列出字元，例如 [0-9]。</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>規則以「\」結尾，後面沒有可跳脫的字元。</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>「/」無法用「\」跳脫：它一律用來分隔資料夾。</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>規則只有「/」或包含「//」：任何路徑都沒有空白的部分。</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>路徑中從不包含「.」或「..」這樣的部分。</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>「**」必須單獨位於兩個斜線之間，例如 a/**/b。</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>開頭的「!」無法找回檔案。以「!」開頭的名稱請寫成「\!」。</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>規則包含 NUL 位元組，任何名稱都不能包含它。</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>規則以不易察覺的空格或定位字元開頭或結尾。如果名稱中確實有，請在它前面加上「\」。</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>排除規則</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>每行一個模式，與來源中的名稱比對：* 代表名稱內的任意字元（*.tmp），** 代表任意層資料夾（docs/**/*.bak）。開頭或中間有 / 的規則比對從來源頂層開始的路徑（/build）；結尾的 / 只比對資料夾（node_modules/）。以 # 開頭的行是註解。符合的項目在這裡和 sorrelix-cli 中都不參與任何比較與合併。</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>其中有「�」，它代表不是文字的位元組。請讓該行保持儲存時的樣子，或刪除它。</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>不是 UTF-8 文字，無法讀取的位元組顯示為「�」；只要不修改，就依儲存時的位元組原樣保留：第 %1 行</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>無法儲存規則：設定檔無法寫入。</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
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
        <translation>言語</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>システムの言語</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Webサイト</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>サポートとよくある質問</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>プライバシーポリシー</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Sorrelixについて</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>上書きされるファイルは必ず先にバックアップされます</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O フォルダを選択</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ 入れ替え</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D 比較</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z 取り消す</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Sorrelixを終了</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>直前のマージを取り消す</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>マージ履歴</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>マージはまだありません。</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>バックアップフォルダを表示</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>コピー先のパスをコピー</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>完了</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>停止</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>中断</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>取り消し済み</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>取り消し可能</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>コピー先フォルダが見つかりません</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>コピー元フォルダを選択…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>コピー先フォルダを選択…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>コピー元とコピー先を入れ替え</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>フォルダを比較</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>コピー元のフォルダを選択してください</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>マージ先のフォルダを選択してください</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>フォルダを選択…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>変更…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>ここにフォルダをドロップ</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>パスをコピー</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>ファイルマネージャで表示</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>コピー元</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>元</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>コピー先</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>先</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>コピー元とコピー先を入れ替え</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1（内蔵）</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1（外付け）</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>ローカルディスク</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>比較の準備ができました</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>コピー元からコピー先へ追加・更新されるファイルを一覧にします。マージするまで何も変更されません。</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>比較</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>フォルダを比較中…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>両方のフォルダを読み込み、異なるファイルを調べています。</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>比較したファイル: %1 · 読み込み: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>すでに同期済み</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>コピー先にはコピー元のファイルがすべて揃っています。マージするものはありません。</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>再比較</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>コピー元とコピー先が同じフォルダです。</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>このフォルダへの以前のマージが完了していません。</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>追加 %1</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>更新 %1</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>コピー %1</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>空き容量が足りません：コピー %1、空き %2</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>ファイルシステムが対応していれば、変更されるまで容量を共有する瞬時のクローンとしてコピーします。</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>今すぐマージ</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>マージ中 %1 / %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>マージが完了しました</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>コピー先に新規・更新ファイルがすべて揃いました。置き換えたファイルは事前にバックアップ済みです。</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>マージを取り消す</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>%2 件中 %1 件でマージを停止しました</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>ここまでにコピーしたファイルはコピー先に残ります。取り消すと元に戻ります。</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>ファイルを検索</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>すべて (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>追加 (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>更新 (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>同一 (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>ルールで除外: %1</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>追加</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>更新</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>同一</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>コピー元をファイルマネージャで表示</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>コピー先をファイルマネージャで表示</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>コピー元とコピー先には別々のフォルダを選んでください。</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>比較をキャンセルしました。</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>フォルダを読み込めませんでした。フォルダが存在し、読み取る権限があるか確認してください。</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>マージに失敗しました：%1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Ctrl+Z でコピー済みの分を取り消せます。</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>直前のマージを取り消しました。コピー先は元の状態に戻りました。</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>取り消しに失敗しました：%1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>マージ後に変更されたファイルは削除せずに保管しました（%1 件）：現在の場所は %2 です。</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>比較は行われませんでした。保存されている除外ルールにパターンではない行があります。編集 → 除外ルール... で修正してください。</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>「%1」: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>保管したファイルを表示</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>「[」で始まる文字の集合が「]」で閉じられていません。</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>「[…]」内の範囲が逆順です（例: z-a）。</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>[:digit:] のような名前付きの集合には対応していません。代わりに [0-9] のように文字を並べてください。</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>ルールが「\」で終わっていて、エスケープする文字がありません。</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>「/」は「\」でエスケープできません。常にフォルダの区切りです。</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>ルールが「/」だけか、「//」を含んでいます。空の部分を持つパスはありません。</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>パスに「.」や「..」という部分が含まれることはありません。</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>「**」は a/**/b のように、スラッシュの間に単独で置いてください。</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>先頭の「!」でファイルを戻すことはできません。「!」で始まる名前には「\!」と書いてください。</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>ルールに NUL バイトが含まれています。名前に NUL バイトは使えません。</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>ルールの先頭か末尾に、見落としやすいスペースかタブがあります。名前に本当に含まれる場合は、その前に「\」を付けてください。</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>除外ルール</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>1 行に 1 つのパターンを書き、コピー元の名前と照合します。* は名前の中の任意の文字 (*.tmp)、** は任意の数のフォルダ (docs/**/*.bak) に一致します。先頭または途中に / があるルールはコピー元の最上位からのパス (/build) に、末尾の / はフォルダだけ (node_modules/) に一致します。# で始まる行はコメントです。一致したものは、ここでも sorrelix-cli でも、すべての比較とマージから除外されます。</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>テキストではないバイトを表す「�」が含まれています。保存されていたとおりに残すか、行を削除してください。</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>UTF-8 テキストではないため、読めないバイトは「�」で表示されます。変更しない限り、保存されたとおりバイト単位で保持されます: %1 行目</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>ルールを保存できませんでした。設定ファイルに書き込めません。</translation>
    </message>
</context>
</TS>

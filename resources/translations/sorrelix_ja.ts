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
    <message id="close">
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
</TS>

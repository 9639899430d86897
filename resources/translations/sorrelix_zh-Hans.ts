<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>跟随系统</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>官方网站</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>支持与常见问题</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>隐私政策</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>关于 Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>每个被覆盖的文件都会先备份</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O 选择文件夹</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ 交换</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D 比较</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z 撤销</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>退出 Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>撤销上次合并</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>合并历史</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>尚无合并记录。</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>显示备份文件夹</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>复制目标路径</translation>
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
        <translation>失败</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>已中断</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>已撤销</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>可撤销</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>找不到目标文件夹</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>选择源文件夹…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>选择目标文件夹…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>交换源和目标</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>比较文件夹</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>选择要从中复制的文件夹</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>选择要合并到的文件夹</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>选择文件夹…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>更改…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>将文件夹拖放到此处</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>复制路径</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>在文件管理器中显示</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>源文件夹</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>从</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>目标文件夹</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>到</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>交换源和目标</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1（内置）</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1（外置）</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>本地磁盘</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>可以开始比较</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>Sorrelix 会列出源文件夹将在目标中新增或更新的文件。合并之前不会做任何改动。</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>开始比较</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>正在比较文件夹…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>正在读取两个文件夹并检查哪些文件不同。</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>已比较文件：%1 · 已读取：%2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>已经同步</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>目标已包含源中的所有文件，无需合并。</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>重新比较</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>源和目标是同一个文件夹。</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>之前合并到此文件夹的操作未完成。</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>新增 %1 个</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>更新 %1 个</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>需复制 %1</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>空间不足：需复制 %1，可用 %2</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>在文件系统支持时，文件将以即时克隆（写时复制）的方式复制，修改之前共享存储空间。</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>立即合并</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>正在合并 %1/%2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>合并完成</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>目标现已包含所有新增和更新的文件。被替换的文件已先备份。</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>撤销合并</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>合并已停止：已完成 %1/%2 个文件</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>已复制的文件保留在目标中。撤销可将其撤回。</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>搜索文件</translation>
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
        <translation>%1 项被规则排除</translation>
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
        <translation>在文件管理器中显示源文件夹</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>在文件管理器中显示目标文件夹</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>源和目标必须是不同的文件夹。请选择其他文件夹。</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>比较已取消。</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>无法读取某个文件夹。请检查它是否存在，以及你是否有读取权限。</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>合并失败：%1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>按 Ctrl+Z 可撤销已复制的内容。</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>已撤销上次合并，目标已恢复原状。</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>撤销失败：%1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>合并后您更改过的文件已保留，未被删除（%1 个）：现位于 %2。</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>未进行比较：保存的排除规则中有一行不是模式。请在“编辑 → 排除规则...”中修改。</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>“%1”：%2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>显示保留的文件</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>以“[”开始的字符集合没有用“]”闭合。</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>“[…]”中的范围是反向的，例如 z-a。</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>不支持 [:digit:] 这样的命名集合。请改为列出字符，例如 [0-9]。</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>规则以“\”结尾，后面没有可转义的字符。</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>“/”不能用“\”转义：它始终用于分隔文件夹。</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>规则只有“/”或包含“//”：任何路径都没有空的部分。</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>路径中从不包含“.”或“..”这样的部分。</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>“**”必须单独位于两个斜杠之间，例如 a/**/b。</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>开头的“!”无法恢复文件。以“!”开头的名称请写作“\!”。</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>规则包含 NUL 字节，任何名称都不能包含它。</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>规则以不易察觉的空格或制表符开头或结尾。如果名称中确实有，请在它前面加上“\”。</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>排除规则</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>每行一个模式，与源中的名称匹配：* 代表名称内的任意字符（*.tmp），** 代表任意层文件夹（docs/**/*.bak）。开头或中间带 / 的规则匹配从源的顶层开始的路径（/build）；末尾的 / 只匹配文件夹（node_modules/）。以 # 开头的行是注释。匹配的内容在这里和 sorrelix-cli 中都不参与任何比较和合并。</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>其中有“�”，它代表不是文本的字节。请保持该行与保存时一致，或删除它。</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>不是 UTF-8 文本，无法读取的字节显示为“�”；只要不修改，就按保存时的字节原样保留：第 %1 行</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>无法保存规则：设置文件无法写入。</translation>
    </message>
</context>
</TS>

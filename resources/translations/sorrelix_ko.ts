<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>시스템 언어</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>웹사이트</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>지원 및 FAQ</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>개인정보 처리방침</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Sorrelix 정보</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>덮어쓰는 모든 파일은 먼저 백업됩니다</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O 폴더 선택</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ 바꾸기</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D 비교</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z 실행 취소</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>파일</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>편집</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>도움말</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Sorrelix 종료</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>마지막 병합 취소</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>병합 기록</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>아직 병합 기록이 없습니다.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>백업 폴더 보기</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>대상 경로 복사</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>완료</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>중지됨</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>실패</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>중단됨</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>취소됨</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>취소 가능</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>대상 폴더를 찾을 수 없음</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>원본 폴더 선택…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>대상 폴더 선택…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>원본과 대상 바꾸기</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>폴더 비교</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>복사할 원본 폴더를 선택하세요</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>병합할 대상 폴더를 선택하세요</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>폴더 선택…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>변경…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>여기에 폴더를 놓으세요</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>경로 복사</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>지우기</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>파일 관리자에서 보기</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>원본</translation>
    </message>
    <message id="source_badge">
        <source>FROM</source>
        <translation>출발</translation>
    </message>
    <message id="target_title">
        <source>Target</source>
        <translation>대상</translation>
    </message>
    <message id="target_badge">
        <source>TO</source>
        <translation>도착</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>원본과 대상 바꾸기</translation>
    </message>
    <message id="volume_internal">
        <source>%1 (internal)</source>
        <translation>%1 (내장)</translation>
    </message>
    <message id="volume_external">
        <source>%1 (external)</source>
        <translation>%1 (외장)</translation>
    </message>
    <message id="volume_local">
        <source>Local Disk</source>
        <translation>로컬 디스크</translation>
    </message>
    <message id="ready_title">
        <source>Ready to compare</source>
        <translation>비교 준비 완료</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>원본에서 대상으로 추가되거나 업데이트될 파일을 보여 줍니다. 병합하기 전에는 아무것도 바뀌지 않습니다.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>비교</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>폴더 비교 중…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>두 폴더를 읽고 서로 다른 파일을 확인하고 있습니다.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>비교한 파일: %1 · 읽은 용량: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>이미 동기화됨</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>대상에 원본의 모든 파일이 이미 있습니다. 병합할 항목이 없습니다.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>다시 비교</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>원본과 대상이 같은 폴더입니다.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>이 폴더로의 이전 병합이 끝나지 않았습니다.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1개 추가됨</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1개 업데이트됨</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>복사할 용량 %1</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>공간 부족: 복사할 용량 %1, 사용 가능 %2</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>파일 시스템이 지원하면 변경될 때까지 저장 공간을 공유하는 즉시 복제본으로 복사합니다.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>지금 병합</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>병합 중 %1/%2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>중지</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>병합 완료</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>이제 대상에 새 파일과 업데이트된 파일이 모두 있습니다. 교체된 파일은 먼저 백업되었습니다.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>병합 취소</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>파일 %2개 중 %1개에서 병합을 중지했습니다</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>지금까지 복사한 파일은 대상에 남아 있습니다. 취소하면 되돌립니다.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>파일 검색</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>전체 (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>추가됨 (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>업데이트됨 (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>동일 (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>규칙으로 제외됨: %1</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>추가됨</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>업데이트됨</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>동일</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>파일 관리자에서 원본 보기</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>파일 관리자에서 대상 보기</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>원본과 대상은 서로 다른 폴더여야 합니다. 다른 폴더를 선택하세요.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>비교가 취소되었습니다.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>폴더를 읽을 수 없습니다. 폴더가 있는지, 읽기 권한이 있는지 확인하세요.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>병합하지 못했습니다: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Ctrl+Z를 누르면 복사된 내용을 취소할 수 있습니다.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>마지막 병합을 취소했습니다. 대상이 이전 상태로 돌아갔습니다.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>실행 취소하지 못했습니다: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>병합 후 변경한 파일은 삭제하지 않고 보관했습니다(%1개): 현재 위치는 %2입니다.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>아무것도 비교하지 않았습니다. 저장된 제외 규칙 중 패턴이 아닌 줄이 있습니다. 편집 → 제외 규칙...에서 고치세요.</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>‘%1’: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>보관한 파일 보기</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>‘[’로 시작한 문자 집합이 ‘]’로 닫히지 않았습니다.</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>‘[…]’ 안의 범위가 거꾸로 되어 있습니다(예: z-a).</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>[:digit:] 같은 이름 있는 집합은 지원하지 않습니다. 대신 [0-9]처럼 문자를 나열하세요.</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>규칙이 ‘\’로 끝나서 이스케이프할 문자가 없습니다.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>‘/’는 ‘\’로 이스케이프할 수 없습니다. 항상 폴더를 구분합니다.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>규칙이 ‘/’뿐이거나 ‘//’를 포함합니다. 빈 부분이 있는 경로는 없습니다.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>경로에는 ‘.’이나 ‘..’ 부분이 들어가지 않습니다.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>‘**’는 a/**/b처럼 슬래시 사이에 단독으로 있어야 합니다.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>맨 앞의 ‘!’로 파일을 되살릴 수 없습니다. ‘!’로 시작하는 이름에는 ‘\!’를 쓰세요.</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>규칙에 NUL 바이트가 있습니다. 어떤 이름에도 NUL 바이트는 들어갈 수 없습니다.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>규칙이 눈에 잘 띄지 않는 공백이나 탭으로 시작하거나 끝납니다. 이름에 정말 있는 경우에는 그 앞에 ‘\’를 붙이세요.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>제외 규칙</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>한 줄에 패턴 하나씩 쓰며, 원본의 이름과 비교합니다. *는 이름 안의 임의의 문자(*.tmp), **는 임의 개수의 폴더(docs/**/*.bak)에 해당합니다. 앞이나 중간에 /가 있는 규칙은 원본 최상위부터의 경로(/build)에 적용되고, 끝의 /는 폴더에만 적용됩니다(node_modules/). #으로 시작하는 줄은 주석입니다. 일치하는 항목은 여기서도 sorrelix-cli에서도 모든 비교와 병합에서 제외됩니다.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>%1번째 줄: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>텍스트가 아닌 바이트를 나타내는 ‘�’가 들어 있습니다. 저장된 그대로 두거나 줄을 삭제하세요.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>UTF-8 텍스트가 아니어서 읽을 수 없는 바이트는 ‘�’로 표시됩니다. 바꾸지 않는 한 저장된 그대로 바이트 단위로 유지됩니다: %1번째 줄</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>규칙을 저장하지 못했습니다. 설정 파일에 쓸 수 없습니다.</translation>
    </message>
</context>
</TS>

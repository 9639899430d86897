<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name></name>
    <message id="app_name">
        <source>Sorrelix</source>
        <translation>Sorrelix</translation>
    </message>
    <message id="settings_menu">
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message id="menu_language">
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message id="language_system">
        <source>System Language</source>
        <translation>Idioma do sistema</translation>
    </message>
    <message id="website_menu">
        <source>Website</source>
        <translation>Site</translation>
    </message>
    <message id="support_faq_menu">
        <source>Help &amp; FAQ</source>
        <translation>Ajuda e perguntas frequentes</translation>
    </message>
    <message id="privacy_menu">
        <source>Privacy Policy</source>
        <translation>Política de privacidade</translation>
    </message>
    <message id="about_menu">
        <source>About Sorrelix</source>
        <translation>Sobre o Sorrelix</translation>
    </message>
    <message id="bottom_security_badge">
        <source>Every overwritten file is backed up first</source>
        <translation>Todo arquivo sobrescrito ganha um backup antes</translation>
    </message>
    <message id="shortcut_select">
        <source>Ctrl+O Choose folders</source>
        <translation>Ctrl+O Escolher pastas</translation>
    </message>
    <message id="shortcut_swap">
        <source>Ctrl+[ Swap</source>
        <translation>Ctrl+[ Inverter</translation>
    </message>
    <message id="shortcut_diff">
        <source>Ctrl+D Compare</source>
        <translation>Ctrl+D Comparar</translation>
    </message>
    <message id="shortcut_undo">
        <source>Ctrl+Z Undo</source>
        <translation>Ctrl+Z Desfazer</translation>
    </message>
    <message id="menu_file">
        <source>File</source>
        <translation>Arquivo</translation>
    </message>
    <message id="menu_edit">
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message id="menu_help">
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message id="quit_menu">
        <source>Quit Sorrelix</source>
        <translation>Sair do Sorrelix</translation>
    </message>
    <message id="undo_merge_menu">
        <source>Undo Last Merge</source>
        <translation>Desfazer última mesclagem</translation>
    </message>
    <message id="history_title">
        <source>Merge History</source>
        <translation>Histórico de mesclagens</translation>
    </message>
    <message id="history_empty">
        <source>No merges yet.</source>
        <translation>Nenhuma mesclagem ainda.</translation>
    </message>
    <message id="history_show_backup">
        <source>Show Backup Folder</source>
        <translation>Mostrar pasta de backup</translation>
    </message>
    <message id="history_copy_target">
        <source>Copy Target Path</source>
        <translation>Copiar caminho do destino</translation>
    </message>
    <message id="history_outcome_completed">
        <source>Completed</source>
        <translation>Concluída</translation>
    </message>
    <message id="history_outcome_stopped">
        <source>Stopped</source>
        <translation>Parada</translation>
    </message>
    <message id="history_outcome_failed">
        <source>Failed</source>
        <translation>Falhou</translation>
    </message>
    <message id="history_outcome_interrupted">
        <source>Interrupted</source>
        <translation>Interrompida</translation>
    </message>
    <message id="history_outcome_undone">
        <source>Undone</source>
        <translation>Desfeita</translation>
    </message>
    <message id="history_can_undo">
        <source>Can be undone</source>
        <translation>Pode ser desfeita</translation>
    </message>
    <message id="history_target_missing">
        <source>Target folder not found</source>
        <translation>Pasta de destino não encontrada</translation>
    </message>
    <message id="choose_source_menu">
        <source>Choose Source Folder…</source>
        <translation>Escolher pasta de origem…</translation>
    </message>
    <message id="choose_target_menu">
        <source>Choose Target Folder…</source>
        <translation>Escolher pasta de destino…</translation>
    </message>
    <message id="swap_menu">
        <source>Swap Source and Target</source>
        <translation>Inverter origem e destino</translation>
    </message>
    <message id="start_analysis_menu">
        <source>Compare Folders</source>
        <translation>Comparar pastas</translation>
    </message>
    <message id="choose_source_prompt">
        <source>Choose the folder to copy from</source>
        <translation>Escolha a pasta de onde copiar</translation>
    </message>
    <message id="choose_target_prompt">
        <source>Choose the folder to merge into</source>
        <translation>Escolha a pasta onde mesclar</translation>
    </message>
    <message id="choose_folder">
        <source>Choose Folder…</source>
        <translation>Escolher pasta…</translation>
    </message>
    <message id="change_folder">
        <source>Change…</source>
        <translation>Alterar…</translation>
    </message>
    <message id="drop_guide">
        <source>Drop a folder here</source>
        <translation>Solte uma pasta aqui</translation>
    </message>
    <message id="copy_path">
        <source>Copy Path</source>
        <translation>Copiar caminho</translation>
    </message>
    <message id="clear">
        <source>Clear</source>
        <translation>Remover</translation>
    </message>
    <message id="reveal_in_finder">
        <source>Show in File Manager</source>
        <translation>Mostrar no gerenciador de arquivos</translation>
    </message>
    <message id="source_title">
        <source>Source</source>
        <translation>Origem</translation>
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
        <translation>PARA</translation>
    </message>
    <message id="swap_tooltip">
        <source>Swap source and target</source>
        <translation>Inverter origem e destino</translation>
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
        <translation>Pronto para comparar</translation>
    </message>
    <message id="ready_subtitle">
        <source>Sorrelix lists what the source would add to or update in the target. Nothing changes until you merge.</source>
        <translation>O Sorrelix mostra o que a origem adicionaria ou atualizaria no destino. Nada muda até você mesclar.</translation>
    </message>
    <message id="start_analysis">
        <source>Compare</source>
        <translation>Comparar</translation>
    </message>
    <message id="scanning_title">
        <source>Comparing folders…</source>
        <translation>Comparando pastas…</translation>
    </message>
    <message id="scanning_subtitle">
        <source>Reading both folders and checking which files differ.</source>
        <translation>Lendo as duas pastas e verificando quais arquivos diferem.</translation>
    </message>
    <message id="scanning_progress">
        <source>Files compared: %1 · Read: %2</source>
        <translation>Arquivos comparados: %1 · Lido: %2</translation>
    </message>
    <message id="cancel">
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message id="in_sync_title">
        <source>Already in sync</source>
        <translation>Já sincronizadas</translation>
    </message>
    <message id="in_sync_subtitle">
        <source>The target already has every file from the source. There is nothing to merge.</source>
        <translation>O destino já tem todos os arquivos da origem. Não há nada para mesclar.</translation>
    </message>
    <message id="re_analyze">
        <source>Compare Again</source>
        <translation>Comparar novamente</translation>
    </message>
    <message id="warning_same_folder">
        <source>Source and target are the same folder.</source>
        <translation>Origem e destino são a mesma pasta.</translation>
    </message>
    <message id="interrupted_merge_warning">
        <source>An earlier merge into this folder did not finish.</source>
        <translation>Uma mesclagem anterior nesta pasta não terminou.</translation>
    </message>
    <message id="diff_added">
        <source>%1 added</source>
        <translation>%1 adicionados</translation>
    </message>
    <message id="diff_updated">
        <source>%1 updated</source>
        <translation>%1 atualizados</translation>
    </message>
    <message id="diff_transfer">
        <source>%1 to copy</source>
        <translation>%1 a copiar</translation>
    </message>
    <message id="warning_disk_space">
        <source>Not enough space: %1 to copy, %2 available</source>
        <translation>Espaço insuficiente: %1 a copiar, %2 disponíveis</translation>
    </message>
    <message id="apfs_ready_subtitle">
        <source>Where the file system allows it, files are copied as instant clones that share storage until they change.</source>
        <translation>Quando o sistema de arquivos permite, os arquivos são copiados como clones instantâneos que compartilham espaço até serem alterados.</translation>
    </message>
    <message id="merge_now">
        <source>Merge Now</source>
        <translation>Mesclar agora</translation>
    </message>
    <message id="syncing_progress">
        <source>Merging %1 of %2…</source>
        <translation>Mesclando %1 de %2…</translation>
    </message>
    <message id="stop_button">
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message id="success_title">
        <source>Merge complete</source>
        <translation>Mesclagem concluída</translation>
    </message>
    <message id="success_subtitle">
        <source>The target now has every new and updated file. Replaced files were backed up first.</source>
        <translation>O destino agora tem todos os arquivos novos e atualizados. Os arquivos substituídos ganharam um backup antes.</translation>
    </message>
    <message id="undo_button">
        <source>Undo Merge</source>
        <translation>Desfazer mesclagem</translation>
    </message>
    <message id="stopped_title">
        <source>Merge stopped after %1 of %2 files</source>
        <translation>Mesclagem parada após %1 de %2 arquivos</translation>
    </message>
    <message id="stopped_subtitle">
        <source>The files copied so far stay in the target. Undo takes them back.</source>
        <translation>Os arquivos copiados até agora ficam no destino. Desfazer os remove.</translation>
    </message>
    <message id="diff_search_placeholder">
        <source>Search files</source>
        <translation>Pesquisar arquivos</translation>
    </message>
    <message id="diff_tab_all">
        <source>All (%1)</source>
        <translation>Todos (%1)</translation>
    </message>
    <message id="diff_tab_added">
        <source>Added (%1)</source>
        <translation>Adicionados (%1)</translation>
    </message>
    <message id="diff_tab_updated">
        <source>Updated (%1)</source>
        <translation>Atualizados (%1)</translation>
    </message>
    <message id="diff_tab_identical">
        <source>Identical (%1)</source>
        <translation>Idênticos (%1)</translation>
    </message>
    <message id="diff_excluded_count">
        <source>%1 left out by rules</source>
        <translation>%1 deixados de fora por regras</translation>
    </message>
    <message id="diff_kind_added">
        <source>Added</source>
        <translation>Adicionado</translation>
    </message>
    <message id="diff_kind_updated">
        <source>Updated</source>
        <translation>Atualizado</translation>
    </message>
    <message id="diff_kind_identical">
        <source>Identical</source>
        <translation>Idêntico</translation>
    </message>
    <message id="reveal_in_finder_source">
        <source>Show Source in File Manager</source>
        <translation>Mostrar origem no gerenciador de arquivos</translation>
    </message>
    <message id="reveal_in_finder_target">
        <source>Show Target in File Manager</source>
        <translation>Mostrar destino no gerenciador de arquivos</translation>
    </message>
    <message id="alert_same_folder">
        <source>Source and target must be different folders. Choose another folder.</source>
        <translation>Origem e destino precisam ser pastas diferentes. Escolha outra pasta.</translation>
    </message>
    <message id="alert_cancel_analysis">
        <source>The comparison was cancelled.</source>
        <translation>A comparação foi cancelada.</translation>
    </message>
    <message id="alert_folder_inaccessible">
        <source>A folder could not be read. Check that it exists and that you may read it.</source>
        <translation>Não foi possível ler uma pasta. Verifique se ela existe e se você tem permissão para lê-la.</translation>
    </message>
    <message id="alert_merge_failed">
        <source>The merge failed: %1</source>
        <translation>A mesclagem falhou: %1</translation>
    </message>
    <message id="alert_merge_failed_undo">
        <source>Press Ctrl+Z to undo what was copied.</source>
        <translation>Pressione Ctrl+Z para desfazer o que foi copiado.</translation>
    </message>
    <message id="alert_undo_success">
        <source>The last merge was undone. The target is back to how it was.</source>
        <translation>A última mesclagem foi desfeita. O destino voltou ao estado anterior.</translation>
    </message>
    <message id="alert_undo_failed">
        <source>Undo failed: %1</source>
        <translation>Não foi possível desfazer: %1</translation>
    </message>
    <message id="alert_undo_kept_files">
        <source>Files you changed after the merge were kept, not deleted (%1): they are now in %2.</source>
        <translation>Os arquivos alterados após a mesclagem foram mantidos em vez de excluídos (%1): agora estão em %2.</translation>
    </message>
    <message id="alert_exclude_rules_invalid">
        <source>Nothing was compared: a stored exclude rule is not a pattern. Correct it in Edit → Exclude Rules...</source>
        <translation>Nada foi comparado: uma regra de exclusão salva não é um padrão. Corrija-a em Editar → Regras de exclusão...</translation>
    </message>
    <message id="alert_exclude_rule_item">
        <source>“%1”: %2</source>
        <translation>“%1”: %2</translation>
    </message>
    <message id="show_kept_files">
        <source>Show Kept Files</source>
        <translation>Mostrar arquivos mantidos</translation>
    </message>
    <message id="close">
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message id="exclude_rule_unclosed_class">
        <source>A “[” opens a set of characters that is never closed with “]”.</source>
        <translation>Um “[” abre um conjunto de caracteres que nunca é fechado com “]”.</translation>
    </message>
    <message id="exclude_rule_reversed_range">
        <source>A range inside “[…]” runs backwards, like z-a.</source>
        <translation>Um intervalo dentro de “[…]” está invertido, como z-a.</translation>
    </message>
    <message id="exclude_rule_named_class">
        <source>Named sets such as [:digit:] are not supported. List the characters instead, such as [0-9].</source>
        <translation>Conjuntos nomeados como [:digit:] não são suportados. Liste os caracteres, como [0-9].</translation>
    </message>
    <message id="exclude_rule_trailing_backslash">
        <source>The rule ends with “\”, which leaves nothing to escape.</source>
        <translation>A regra termina com “\”, que não deixa nada para escapar.</translation>
    </message>
    <message id="exclude_rule_escaped_slash">
        <source>“/” cannot be escaped with “\”: it always separates folders.</source>
        <translation>“/” não pode ser escapado com “\”: ele sempre separa pastas.</translation>
    </message>
    <message id="exclude_rule_empty_part">
        <source>The rule is only “/” or holds “//”: no path has an empty part.</source>
        <translation>A regra é só “/” ou contém “//”: nenhum caminho tem uma parte vazia.</translation>
    </message>
    <message id="exclude_rule_dot_part">
        <source>Paths never hold “.” or “..” as a part.</source>
        <translation>Os caminhos nunca contêm “.” ou “..” como parte.</translation>
    </message>
    <message id="exclude_rule_partial_globstar">
        <source>“**” must stand alone between slashes, as in a/**/b.</source>
        <translation>“**” deve ficar sozinho entre barras, como em a/**/b.</translation>
    </message>
    <message id="exclude_rule_negation">
        <source>A leading “!” cannot bring files back. Write “\!” for a name that begins with “!”.</source>
        <translation>Um “!” no início não pode trazer arquivos de volta. Escreva “\!” para um nome que começa com “!”.</translation>
    </message>
    <message id="exclude_rule_nul_byte">
        <source>The rule holds a NUL byte, which no name can hold.</source>
        <translation>A regra contém um byte NUL, que nenhum nome pode conter.</translation>
    </message>
    <message id="exclude_rule_outer_space">
        <source>The rule begins or ends with a space or tab, which is easy to miss. Put “\” before it if the name really has one there.</source>
        <translation>A regra começa ou termina com um espaço ou uma tabulação, fácil de passar despercebido. Coloque “\” antes se o nome realmente tiver um ali.</translation>
    </message>
    <message id="exclude_rules_title">
        <source>Exclude Rules</source>
        <translation>Regras de exclusão</translation>
    </message>
    <message id="exclude_rules_help">
        <source>One pattern per line, matched against the names in the source: * stands for any characters within a name (*.tmp), ** for any number of folders (docs/**/*.bak). A rule with a leading or inner / matches the path from the top of the source (/build); a trailing / matches folders only (node_modules/). Lines starting with # are comments. What matches is left out of every comparison and merge, here and in sorrelix-cli.</source>
        <translation>Um padrão por linha, comparado com os nomes na origem: * representa quaisquer caracteres dentro de um nome (*.tmp), ** qualquer número de pastas (docs/**/*.bak). Uma regra com / no início ou no meio vale para o caminho a partir do topo da origem (/build); uma / no final vale só para pastas (node_modules/). Linhas que começam com # são comentários. O que corresponder fica de fora de toda comparação e mesclagem, aqui e no sorrelix-cli.</translation>
    </message>
    <message id="exclude_rules_line_error">
        <source>Line %1: %2</source>
        <translation>Linha %1: %2</translation>
    </message>
    <message id="exclude_rules_not_text">
        <source>It holds “�”, which stands for bytes that are not text. Leave the line as it was stored, or delete it.</source>
        <translation>Contém “�”, que representa bytes que não são texto. Deixe a linha como estava salva ou exclua-a.</translation>
    </message>
    <message id="exclude_rules_kept_bytes">
        <source>Not UTF-8 text, so unreadable bytes show as “�”; kept byte for byte as stored while left unchanged: line %1</source>
        <translation>Não é texto UTF-8, então bytes ilegíveis aparecem como “�”; é mantido byte a byte como estava salvo enquanto não for alterado: linha %1</translation>
    </message>
    <message id="exclude_rules_save">
        <source>Save</source>
        <translation>Salvar</translation>
    </message>
    <message id="exclude_rules_save_failed">
        <source>The rules could not be saved: the settings file cannot be written.</source>
        <translation>Não foi possível salvar as regras: o arquivo de configurações não pode ser gravado.</translation>
    </message>
</context>
</TS>

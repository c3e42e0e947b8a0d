#pragma once
// The "Ferramentas" menu, after "Arquivo" and "Dispositivo": "Teste de leitura".
class MainWindow;

void addToolsMenu(MainWindow *window);

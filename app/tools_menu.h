#pragma once
// The "Ferramentas" menu, after "Arquivo" and "Dispositivo": "Teste de leitura".
class MainWindow;

void addToolsMenu(MainWindow *window);

// Deletes the read test, if open, while the main window's form and link
// session it reads still exist.
void closeReadTest(MainWindow *window);

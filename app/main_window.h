#pragma once
#include "commands/command_set.h"

#include <QMainWindow>

namespace Ui {
class MainWindowForm;
}

// Raised while the program itself sets form controls (construction, form
// refresh); the character-list and BCC handlers then leave the record alone.
extern bool fillingForm;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void changeEvent(QEvent *event) override;

private slots:
    // Application shell (app/)
    void on_actionSair_triggered();
    void show_error(int error);

    // Reader commands (commands/)
    void on_pushButton_firmware_clicked();
    void on_pushButton_getSerial_clicked();
    void on_pushButton_wrtSerial_clicked();
    void on_lineEdit_serial_textChanged(const QString &text);
    void on_actionDFU_triggered();
    void on_pushButton_getConfig_clicked();
    void on_pushButton_config_clicked();
    void on_actionDefault_triggered();

    // Configuration: one-bit controls (config/editing_rules_bits.cpp)
    void on_checkBox_SKM_clicked();
    void on_checkBox_CR_clicked();
    void on_checkBox_zeros_clicked();
    void on_checkBox_recuperarCMC7_clicked();
    void on_checkBox_enviarInvertido_clicked();
    void on_checkBox_tipoDecodificado_clicked();
    void on_checkBox_subPorLetra_clicked();
    void on_checkBox_enviarQuestion_clicked();
    void on_checkBox_esperarDocumento_clicked();
    void on_checkBox_check2de5_clicked();
    void on_checkBox_ackNak_clicked();
    void on_radioButton_abnt_clicked();
    void on_radioButton_eng_clicked();
    void on_radioButton_entrada_clicked();
    void on_radioButton_saida_clicked();

    // Configuration: lists and spin box (config/editing_rules_lists.cpp)
    void on_comboBox_velocidade_currentIndexChanged(int index);
    void on_comboBox_baud_currentIndexChanged(int index);
    void on_comboBox_paridade_currentIndexChanged(int index);
    void on_comboBox_byte_currentIndexChanged(int index);
    void on_comboBox_stopBits_currentIndexChanged(int index);
    void on_comboBox_protocol_currentIndexChanged(int index);
    void on_spinBox_releituras_valueChanged(int value);
    void on_comboBox_bcc_currentIndexChanged(int index);
    void on_comboBox_indicadorErro_currentIndexChanged(int index);
    void on_comboBox_erroCMC7_currentIndexChanged(int index);
    void on_comboBox_bbSep1_currentIndexChanged(int index);
    void on_comboBox_bbSep2_currentIndexChanged(int index);
    void on_comboBox_concSep1_currentIndexChanged(int index);
    void on_comboBox_concSep2_currentIndexChanged(int index);
    void on_comboBox_CR_currentIndexChanged(int index);
    void on_comboBox_separadorCMC7_currentIndexChanged(int index);

    // Configuration: dependent controls (config/editing_rules_dependent.cpp)
    void on_checkBox_valor_clicked();
    void on_checkBox_digitoBarras_clicked();
    void on_radioButton_leituraOptica_clicked();
    void on_radioButton_leituraDigitado_clicked();
    void on_checkBox_separadorCMC7_clicked();
    void on_checkBox_checkCMC7_clicked();
    void on_checkBox_indicaErro_clicked();
    void on_checkBox_bcc_clicked();
    void on_radioButton_modeloBandeja_clicked();
    void on_radioButton_modeloFreio_clicked();
    void on_checkBox_freio_clicked();

    // Configuration: interface actions (config/interface_actions.cpp)
    void on_actionTeclado_triggered();
    void on_actionSerial_triggered();

    // Configuration: form refresh (config/form_refresh.cpp)
    void update_gui_from_file(char *file);

    // Configuration: file (config/config_file.cpp)
    void on_actionSalvar_triggered();
    void on_actionAbrir_triggered();

    // Reader detection (link/)
    bool GetSerialParams();

private:
    // Sets every form text again, refilling the six lists that the form defines.
    void setFormTexts();
    void hideUnofferedControls();

    // The one request/answer exchange of every reader command. Reports a
    // failure itself, once, and returns whether the answer was accepted.
    bool exchange(const CommandExchange &command, uint8_t *answer);
    CommandFailure serialExchange(const CommandExchange &command, uint8_t *answer);
    // Shows a progress text on the status bar and paints it at once.
    void showProgress(const QString &text);

    // Form refresh steps (config/form_refresh*.cpp)
    void refreshSerialInterface();
    void refreshKeyboardInterface();
    void refreshCmc7();
    void refreshSendMode();
    void refreshTraction();
    void refreshErrorIndicator();

    Ui::MainWindowForm *ui;
};

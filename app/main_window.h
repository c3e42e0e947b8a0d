#pragma once
#include "app/status_progress.h"
#include "commands/link_session.h"
#include "commands/reader_commands.h"
#include "config/config_form.h"

#include <QMainWindow>
#include <functional>

namespace Ui {
class MainWindowForm;
} // namespace Ui

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The form's state and its rules: every slot of a control forwards to it
    // and shows what it changed. Its record is what is saved and written to
    // the reader.
    ConfigForm form;
    // The COM port, the detected baud rate and the loaded HID access library.
    LinkSession linkSession;

protected:
    void changeEvent(QEvent *event) override;
    // A close asked for while a command runs waits until it has ended.
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Application shell (app/)
    void on_actionSair_triggered();
    // Shows message number error of the catalogue (a command failure's
    // failureMessage, or a MESSAGE_* number); numbers outside the catalogue,
    // and MESSAGE_CLOSE_FAILED, show nothing.
    void show_error(int error);

    // Reader commands (app/command_slots.cpp)
    void on_pushButton_firmware_clicked();
    void on_pushButton_getSerial_clicked();
    void on_pushButton_wrtSerial_clicked();
    void on_lineEdit_serial_textChanged(const QString &text);
    void on_actionDFU_triggered();
    void on_pushButton_getConfig_clicked();
    void on_pushButton_config_clicked();
    void on_actionDefault_triggered();

    // Configuration: each control's slot forwards to the form model (app/form_slots.cpp)
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

    // Configuration: interface actions (app/interface_actions.cpp)
    void on_actionTeclado_triggered();
    void on_actionSerial_triggered();

    // Configuration: form refresh (app/form_slots.cpp)
    void update_gui_from_file(char *file);

    // Configuration: file (app/config_file.cpp)
    void on_actionSalvar_triggered();
    void on_actionAbrir_triggered();

    // Reader detection on the chosen COM port (app/command_slots.cpp)
    bool GetSerialParams();

private:
    // The form's view (app/form_view.cpp): fills every list from the field
    // table, finds each control's widget, connects the controls that have no
    // slot of their own, and shows the model's state.
    void bindForm();
    void showForm(const ChangedControls &changed);
    // The operator clicked a check box or radio button of the form.
    void operatorClicked(Control button);
    // Sets every form text again, refilling the six lists that the form defines.
    void setFormTexts();
    void hideUnofferedControls();
    // The port dialog: the COM port number of the operator's choice.
    int askSerialPort();

    // Runs a reader command, or "Abrir" or "Salvar", unless one is already
    // running: during a command's waits the window still serves queued calls
    // and accessibility actions, and a second command reached that way does
    // nothing at all.
    void runExclusive(const std::function<void()> &command);
    void readConfigurationIntoForm();
    void saveToFile();
    void openFromFile();

    // The reader the commands take: the first over HID while "Teclado" is
    // checked, else the one on the chosen COM port.
    Reader selectedReader() const;
    // Reports a command's failure, once; true when the command succeeded.
    bool succeeded(CommandFailure failure);

    Ui::MainWindowForm *ui;
    QObject *controlWidgets[FORM_CONTROL_COUNT] = {};
    StatusProgress progress;
    bool commandRunning = false;
    bool closeRequested = false;
    ReaderCommands commands{linkSession, progress};
};

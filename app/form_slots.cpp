// The slots of the form's controls, connected by name: each forwards the
// operator's action to the form model and shows the controls it changed. The
// rules themselves are the model's (config/config_form*.cpp).
#include "app/main_window.h"
#include "ui_MainWindowForm.h"

#include <QAbstractButton>

void MainWindow::operatorClicked(Control button)
{
    const auto *widget = qobject_cast<const QAbstractButton *>(controlWidgets[size_t(button)]);
    showForm(form.click(button, widget->isChecked()));
}

void MainWindow::on_checkBox_SKM_clicked()
{
    operatorClicked(Control::checkBox_SKM);
}

void MainWindow::on_checkBox_CR_clicked()
{
    operatorClicked(Control::checkBox_CR);
}

void MainWindow::on_checkBox_zeros_clicked()
{
    operatorClicked(Control::checkBox_zeros);
}

void MainWindow::on_checkBox_recuperarCMC7_clicked()
{
    operatorClicked(Control::checkBox_recuperarCMC7);
}

void MainWindow::on_checkBox_enviarInvertido_clicked()
{
    operatorClicked(Control::checkBox_enviarInvertido);
}

void MainWindow::on_checkBox_tipoDecodificado_clicked()
{
    operatorClicked(Control::checkBox_tipoDecodificado);
}

void MainWindow::on_checkBox_subPorLetra_clicked()
{
    operatorClicked(Control::checkBox_subPorLetra);
}

void MainWindow::on_checkBox_enviarQuestion_clicked()
{
    operatorClicked(Control::checkBox_enviarQuestion);
}

void MainWindow::on_checkBox_esperarDocumento_clicked()
{
    operatorClicked(Control::checkBox_esperarDocumento);
}

void MainWindow::on_checkBox_check2de5_clicked()
{
    operatorClicked(Control::checkBox_check2de5);
}

void MainWindow::on_checkBox_ackNak_clicked()
{
    operatorClicked(Control::checkBox_ackNak);
}

void MainWindow::on_radioButton_abnt_clicked()
{
    operatorClicked(Control::radioButton_abnt);
}

void MainWindow::on_radioButton_eng_clicked()
{
    operatorClicked(Control::radioButton_eng);
}

void MainWindow::on_radioButton_entrada_clicked()
{
    operatorClicked(Control::radioButton_entrada);
}

void MainWindow::on_radioButton_saida_clicked()
{
    operatorClicked(Control::radioButton_saida);
}

void MainWindow::on_checkBox_valor_clicked()
{
    operatorClicked(Control::checkBox_valor);
}

void MainWindow::on_checkBox_digitoBarras_clicked()
{
    operatorClicked(Control::checkBox_digitoBarras);
}

void MainWindow::on_radioButton_leituraOptica_clicked()
{
    operatorClicked(Control::radioButton_leituraOptica);
}

void MainWindow::on_radioButton_leituraDigitado_clicked()
{
    operatorClicked(Control::radioButton_leituraDigitado);
}

void MainWindow::on_checkBox_separadorCMC7_clicked()
{
    operatorClicked(Control::checkBox_separadorCMC7);
}

void MainWindow::on_checkBox_checkCMC7_clicked()
{
    operatorClicked(Control::checkBox_checkCMC7);
}

void MainWindow::on_checkBox_indicaErro_clicked()
{
    operatorClicked(Control::checkBox_indicaErro);
}

void MainWindow::on_checkBox_bcc_clicked()
{
    operatorClicked(Control::checkBox_bcc);
}

void MainWindow::on_radioButton_modeloBandeja_clicked()
{
    operatorClicked(Control::radioButton_modeloBandeja);
}

void MainWindow::on_radioButton_modeloFreio_clicked()
{
    operatorClicked(Control::radioButton_modeloFreio);
}

void MainWindow::on_checkBox_freio_clicked()
{
    operatorClicked(Control::checkBox_freio);
}

void MainWindow::on_comboBox_velocidade_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_velocidade, index));
}

void MainWindow::on_comboBox_baud_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_baud, index));
}

void MainWindow::on_comboBox_paridade_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_paridade, index));
}

void MainWindow::on_comboBox_byte_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_byte, index));
}

void MainWindow::on_comboBox_stopBits_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_stopBits, index));
}

void MainWindow::on_comboBox_protocol_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_protocol, index));
}

void MainWindow::on_comboBox_bcc_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_bcc, index));
}

void MainWindow::on_comboBox_indicadorErro_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_indicadorErro, index));
}

void MainWindow::on_comboBox_erroCMC7_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_erroCMC7, index));
}

void MainWindow::on_comboBox_bbSep1_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_bbSep1, index));
}

void MainWindow::on_comboBox_bbSep2_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_bbSep2, index));
}

void MainWindow::on_comboBox_concSep1_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_concSep1, index));
}

void MainWindow::on_comboBox_concSep2_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_concSep2, index));
}

void MainWindow::on_comboBox_CR_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_CR, index));
}

void MainWindow::on_comboBox_separadorCMC7_currentIndexChanged(int index)
{
    showForm(form.select(Control::comboBox_separadorCMC7, index));
}

void MainWindow::on_spinBox_releituras_valueChanged(int value)
{
    showForm(form.select(Control::spinBox_releituras, value));
}

void MainWindow::update_gui_from_file(char *file)
{
    showForm(form.load(reinterpret_cast<const uint8_t *>(file)));
}

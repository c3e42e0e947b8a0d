#pragma once
// The controls of the configuration form that hold a setting or that the
// editing rules enable, disable, check or uncheck, by their object names on
// the form. One list, so that the names and the enumeration cannot drift.
#include <cstddef>

// What a control holds: a check mark (check boxes, radio buttons, the two
// interface actions), a position (lists, -1 for none) or a value (the spin
// box), a text, or only its enabled state (group boxes).
enum class ControlKind
{
    CheckBox,
    RadioButton,
    Action,
    List,
    SpinBox,
    Text,
    Group,
};

// X(object name, kind), in the form's order.
#define VELORIX_FORM_CONTROLS(X)                                                                   \
    X(groupBox_teclado, Group)                                                                     \
    X(comboBox_velocidade, List)                                                                   \
    X(radioButton_abnt, RadioButton)                                                               \
    X(radioButton_eng, RadioButton)                                                                \
    X(checkBox_SKM, CheckBox)                                                                      \
    X(checkBox_CR, CheckBox)                                                                       \
    X(comboBox_CR, List)                                                                           \
    X(groupBox_CDC, Group)                                                                         \
    X(comboBox_baud, List)                                                                         \
    X(comboBox_byte, List)                                                                         \
    X(comboBox_stopBits, List)                                                                     \
    X(comboBox_paridade, List)                                                                     \
    X(checkBox_bcc, CheckBox)                                                                      \
    X(comboBox_bcc, List)                                                                          \
    X(checkBox_ackNak, CheckBox)                                                                   \
    X(comboBox_protocol, List)                                                                     \
    X(checkBox_separadorCMC7, CheckBox)                                                            \
    X(checkBox_recuperarCMC7, CheckBox)                                                            \
    X(checkBox_checkCMC7, CheckBox)                                                                \
    X(comboBox_erroCMC7, List)                                                                     \
    X(comboBox_separadorCMC7, List)                                                                \
    X(checkBox_enviarInvertido, CheckBox)                                                          \
    X(checkBox_enviarQuestion, CheckBox)                                                           \
    X(checkBox_subPorLetra, CheckBox)                                                              \
    X(checkBox_indicaErro, CheckBox)                                                               \
    X(checkBox_esperarDocumento, CheckBox)                                                         \
    X(comboBox_indicadorErro, List)                                                                \
    X(radioButton_modeloBandeja, RadioButton)                                                      \
    X(radioButton_modeloFreio, RadioButton)                                                        \
    X(groupBox_estacionar, Group)                                                                  \
    X(radioButton_entrada, RadioButton)                                                            \
    X(radioButton_saida, RadioButton)                                                              \
    X(checkBox_freio, CheckBox)                                                                    \
    X(spinBox_releituras, SpinBox)                                                                 \
    X(checkBox_tipoDecodificado, CheckBox)                                                         \
    X(radioButton_leituraOptica, RadioButton)                                                      \
    X(radioButton_leituraDigitado, RadioButton)                                                    \
    X(checkBox_check2de5, CheckBox)                                                                \
    X(groupBox_cpSep, Group)                                                                       \
    X(comboBox_concSep1, List)                                                                     \
    X(comboBox_concSep2, List)                                                                     \
    X(groupBox_bbSep, Group)                                                                       \
    X(comboBox_bbSep1, List)                                                                       \
    X(comboBox_bbSep2, List)                                                                       \
    X(checkBox_zeros, CheckBox)                                                                    \
    X(checkBox_valor, CheckBox)                                                                    \
    X(checkBox_digitoBarras, CheckBox)                                                             \
    X(lineEdit_cliente, Text)                                                                      \
    X(actionTeclado, Action)                                                                       \
    X(actionSerial, Action)

enum class Control
{
#define VELORIX_CONTROL_ENUMERATOR(name, kind) name,
    VELORIX_FORM_CONTROLS(VELORIX_CONTROL_ENUMERATOR)
#undef VELORIX_CONTROL_ENUMERATOR
};

// The same list once more, only to count it.
enum ControlCount : size_t
{
#define VELORIX_CONTROL_COUNTED(name, kind) COUNTED_##name,
    VELORIX_FORM_CONTROLS(VELORIX_CONTROL_COUNTED)
#undef VELORIX_CONTROL_COUNTED
        FORM_CONTROL_COUNT
};

// The control's object name on the form ("checkBox_SKM").
const char *controlName(Control control);
ControlKind controlKind(Control control);
// The control with this object name; false when the form has none of that name.
bool controlNamed(const char *objectName, Control *control);

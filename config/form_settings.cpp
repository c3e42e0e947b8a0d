#include "config/form_settings.h"

#include "config/config_profile.h"
#include "config/protocol_choices.h"

#include <algorithm>
#include <iterator>

namespace {
using C = Control;

// Start-up hides them for good.
const Control hiddenControls[] = {C::comboBox_bcc, C::checkBox_check2de5};

// The group boxes that hold a setting's control: disabling the box puts every
// control in it out of reach.
struct Containment
{
    Control member;
    Control group;
};

const Containment containments[] = {
    {C::comboBox_velocidade, C::groupBox_teclado},
    {C::radioButton_abnt, C::groupBox_teclado},
    {C::radioButton_eng, C::groupBox_teclado},
    {C::checkBox_SKM, C::groupBox_teclado},
    {C::checkBox_CR, C::groupBox_teclado},
    {C::comboBox_CR, C::groupBox_teclado},
    {C::comboBox_baud, C::groupBox_CDC},
    {C::comboBox_byte, C::groupBox_CDC},
    {C::comboBox_stopBits, C::groupBox_CDC},
    {C::comboBox_paridade, C::groupBox_CDC},
    {C::checkBox_bcc, C::groupBox_CDC},
    {C::comboBox_bcc, C::groupBox_CDC},
    {C::checkBox_ackNak, C::groupBox_CDC},
    {C::comboBox_protocol, C::groupBox_CDC},
    {C::radioButton_entrada, C::groupBox_estacionar},
    {C::radioButton_saida, C::groupBox_estacionar},
    {C::comboBox_concSep1, C::groupBox_cpSep},
    {C::comboBox_concSep2, C::groupBox_cpSep},
    {C::comboBox_bbSep1, C::groupBox_bbSep},
    {C::comboBox_bbSep2, C::groupBox_bbSep},
};

// The option whose choice enables a control (for a list, its item).
struct Dependency
{
    Control dependent;
    Control decider;
    int position = 0;
};

const Dependency dependencies[] = {
    {C::groupBox_teclado, C::actionTeclado},
    {C::groupBox_CDC, C::actionSerial},
    {C::checkBox_bcc, C::comboBox_protocol, PROTOCOL_STX_D_ETX},
    {C::checkBox_separadorCMC7, C::checkBox_checkCMC7},
    {C::comboBox_separadorCMC7, C::checkBox_separadorCMC7},
    {C::checkBox_subPorLetra, C::checkBox_checkCMC7},
    {C::comboBox_indicadorErro, C::checkBox_indicaErro},
    {C::groupBox_estacionar, C::radioButton_modeloFreio},
    {C::groupBox_estacionar, C::checkBox_freio},
    {C::spinBox_releituras, C::checkBox_freio},
    {C::checkBox_digitoBarras, C::radioButton_leituraDigitado},
    {C::groupBox_bbSep, C::radioButton_leituraDigitado},
    {C::groupBox_cpSep, C::radioButton_leituraDigitado},
    {C::checkBox_valor, C::checkBox_digitoBarras},
    {C::checkBox_zeros, C::checkBox_digitoBarras},
};

// The choice of the decider that enables its dependents, in the form's words.
QString enablingChoice(const Dependency &dependency)
{
    const FormField &field = *fieldEditedBy(dependency.decider);
    switch (field.kind) {
    case FieldKind::Pair:
        return QString::fromUtf8(dependency.decider == field.input ? field.whenSet
                                                                   : field.whenClear);
    case FieldKind::Flag:
        return QStringLiteral("sim");
    default:
        return formListItems(field.list).value(dependency.position);
    }
}

QString disabledReason(const ConfigForm &form, Control control)
{
    QStringList deciders;
    QString further;
    for (const Dependency &dependency : dependencies) {
        if (dependency.dependent != control)
            continue;
        const FormField &decider = *fieldEditedBy(dependency.decider);
        const QString choice = enablingChoice(dependency);
        deciders << QStringLiteral("%1 = %2 (%3=%2)")
                        .arg(fieldTitle(decider), choice, QLatin1String(decider.key));
        if (const QString before = unreachableReason(form, dependency.decider);
            further.isEmpty() && !before.isEmpty())
            further = QStringLiteral("; %1: %2").arg(fieldTitle(decider), before);
    }
    if (deciders.isEmpty())
        return QString::fromUtf8("o formulário o mantém desabilitado");
    return QString::fromUtf8("desabilitado no formulário: depende de %1")
               .arg(deciders.join(QString::fromUtf8(" e "))) +
           further;
}

// The control whose action gives the value: for a pair, the one of that choice.
Control controlFor(const FormField &field, const FieldValue &value)
{
    if (field.kind == FieldKind::Pair && value.value == 0)
        return field.inputWhenClear;
    return field.input;
}

int positionFor(const FormField &field, const FieldValue &value)
{
    if (field.kind == FieldKind::Rereads)
        return int(value.value) - 1;
    if (field.kind == FieldKind::Protocol) {
        ConfigRecord record{};
        storeFieldValue(record, field, value);
        return protocolOf(record);
    }
    return formListPosition(field.list, value.value);
}

// The operator's action. A control that already shows the value while the
// record holds another is moved away and back (or unticked and ticked), as
// the operator would have to.
void act(ConfigForm &form, const FormField &field, Control control, const FieldValue &value)
{
    const bool holds = fieldHolds(form.record(), field, value);
    const bool shows = form.state(control).checked;
    switch (controlKind(control)) {
    case ControlKind::Action:
        if (!holds || !shows)
            control == C::actionSerial ? form.chooseSerial(form.serialPort())
                                       : form.chooseKeyboard();
        return;
    case ControlKind::RadioButton:
        if (!holds || !shows)
            form.click(control, true);
        return;
    case ControlKind::CheckBox:
        if (shows != (value.value != 0)) {
            form.click(control, !shows);
        } else if (!holds) {
            form.click(control, !shows);
            form.click(control, shows);
        }
        return;
    default:
        break;
    }
    const int position = positionFor(field, value);
    if (form.state(control).value == position && holds)
        return;
    if (form.state(control).value == position)
        form.select(control, position > 0 ? position - 1 : position + 1);
    form.select(control, position);
}
} // namespace

QString unreachableReason(const ConfigForm &form, Control control)
{
    if (std::find(std::begin(hiddenControls), std::end(hiddenControls), control) !=
        std::end(hiddenControls))
        return QString::fromUtf8("não está no formulário (oculto)");
    for (const Containment &containment : containments)
        if (containment.member == control && !form.state(containment.group).enabled)
            return disabledReason(form, containment.group);
    if (!form.state(control).enabled)
        return disabledReason(form, control);
    return {};
}

bool performSetting(ConfigForm &form, const FormField &field, const FieldValue &value, QString *why)
{
    auto refuse = [&](const QString &reason) {
        *why = QStringLiteral("%1: %2").arg(fieldTitle(field), reason);
        return false;
    };
    if (field.kind == FieldKind::Reserved)
        return refuse(
            QString::fromUtf8("bits reservados, que nenhum controle do formulário grava"));
    if (field.kind == FieldKind::Name) {
        ConfigRecord record = form.record();
        storeFieldValue(record, field, value);
        form.replaceRecord(record);
        return true;
    }
    if (!value.offered)
        return refuse(QString::fromUtf8("o formulário não oferece esse valor (aceitos: %1)")
                          .arg(acceptedValues(field)));
    const Control control = controlFor(field, value);
    if (const QString reason = unreachableReason(form, control); !reason.isEmpty())
        return refuse(reason);
    act(form, field, control, value);
    if (!fieldHolds(form.record(), field, value))
        return refuse(QString::fromUtf8("o formulário guardou outro valor"));
    return true;
}

bool performProfile(ConfigForm &form, const Profile &profile, QString *why)
{
    for (const ProfileSetting &setting : profile.settings)
        if (!performSetting(form, *setting.field, setting.value, why)) {
            *why = QString::fromUtf8("linha %1: %2").arg(setting.line).arg(*why);
            return false;
        }
    return true;
}

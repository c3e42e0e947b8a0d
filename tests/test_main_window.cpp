#include "app/application_icon.h"
#include "app/serial_port_dialog.h"
#include "app/toolkit_translation.h"
#include "config/form_fields.h"
#include "config_form_helpers.h"
#include "modal_responder.h"
#include "port_folder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocumentFragment>
#include <QTranslator>

namespace {
const QString missingLibrary = QStringLiteral("/nonexistent/libhid_usb.so");

// The words an operator reads on a control, on one line.
QString visibleText(QObject *object)
{
    QString text =
        object->property(object->property("title").isValid() ? "title" : "text").toString();
    if (qobject_cast<QLabel *>(object))
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    return text.replace(QChar::LineSeparator, ' ').replace('\n', ' ');
}

// The object that shows a control's label: the control itself, the group box
// it sits in, a label beside it, or for an action its menu.
QObject *labelOf(QObject *input, const QString &label)
{
    if (auto *action = qobject_cast<QAction *>(input))
        return action->associatedObjects().value(0);
    if (visibleText(input) == label)
        return input;
    QObject *parent = input->parent();
    if (qobject_cast<QGroupBox *>(parent) && visibleText(parent) == label)
        return parent;
    for (QLabel *beside : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (visibleText(beside) == label)
            return beside;
    return nullptr;
}

QString groupTitleAround(QObject *object)
{
    QWidget *group = qobject_cast<QWidget *>(object)->parentWidget();
    while (group && !qobject_cast<QGroupBox *>(group))
        group = group->parentWidget();
    return group ? group->property("title").toString() : QString();
}
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void libraryLackingAnEntryPointIsReportedBeforeTheWindowShows()
    {
        ModalResponder responder;
        auto window = makeWindow(QStringLiteral(PARTIAL_HID_LIBRARY));
        QCOMPARE(responder.boxes,
                 (QVector<ShownBox>{
                     {"critical", "Erro!", "Falha no carregamento do componente hid_usb.dll"}}));
        QVERIFY(!window->isVisible() && statusText(window.get()).isEmpty() &&
                !window->form.fillingForm());
    }

    void startUpState()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        MainWindow *w = window.get();
        window->show();
        installApplicationIcon();
        QVERIFY(!window->windowIcon().availableSizes().isEmpty());
        // The default record; hidden and disabled controls; fixed size.
        FORM_IS(w, "P= s0=d2f7c44402213f09090909000d020003000203 .minimumWidth=702 "
                   ".maximumWidth=702 .minimumHeight=543 .maximumHeight=543 checkBox_bcc.x=10 "
                   "checkBox_bcc.y=65 .windowTitle=Configurador_Velorix_II_V1.0c lineEdit_cliente= "
                   "lineEdit_cliente.readOnly=true actionDFU:ve actionDefault:ve "
                   "pushButton_wrtSerial:ve checkBox_check2de5:ve comboBox_bcc:ve "
                   "label_bccInicial:v actionTeclado:C actionSerial:c actionBancos:E");
        FORM_IS(
            w,
            "comboBox_erroCMC7#34 comboBox_erroCMC7=? comboBox_bbSep1#1 comboBox_bbSep1=TAB "
            "comboBox_bbSep2#1 comboBox_bbSep2=TAB comboBox_concSep1#1 comboBox_concSep1=TAB "
            "comboBox_concSep2#1 comboBox_concSep2=TAB comboBox_separadorCMC7#2 "
            "comboBox_separadorCMC7=ENTER comboBox_indicadorErro#4 comboBox_indicadorErro=! "
            "comboBox_CR#0 comboBox_CR=NULL comboBox_erroCMC7.count=99 comboBox_bbSep1.count=99 "
            "comboBox_bbSep2.count=99 comboBox_concSep1.count=99 comboBox_concSep2.count=99 "
            "comboBox_separadorCMC7.count=99 comboBox_indicadorErro.count=99 comboBox_CR.count=99");
        FORM_IS(w, "comboBox_bcc.count=256 comboBox_bcc=02 s17=02 "
                   "comboBox_velocidade.count=4 comboBox_velocidade=140_toques_por_segundo "
                   "comboBox_baud.count=8 comboBox_baud=2400 comboBox_byte.count=2 "
                   "comboBox_byte=7_Bits comboBox_stopBits.count=2 comboBox_stopBits=2_Stop_Bits "
                   "comboBox_paridade.count=3 comboBox_paridade=Nenhum "
                   "comboBox_protocol.count=4 comboBox_protocol=STX-D-ETX");
        QCOMPARE(control<QComboBox>(w, "comboBox_bcc")->itemText(255), QStringLiteral("FF"));

        // The leading separator line of the device menu is drawn, not collapsed away.
        auto *menu = control<QMenu>(w, "menuDispositivo");
        const QList<QAction *> device = menu->actions();
        QCOMPARE(device.size(), 4);
        QVERIFY(device[0]->isSeparator() && !menu->separatorsCollapsible());
        QCOMPARE(QStringList({device[1]->text(), device[2]->text(), device[3]->objectName()}),
                 QStringList({"Teclado", "Serial", "actionDFU"}));

        // The headless program decodes with the same table: its labels, group
        // titles and choices are the ones the form shows beside each field's control.
        for (const FormField &field : formFields()) {
            if (field.kind == FieldKind::Reserved)
                continue;
            QObject *input = control<QObject>(w, controlName(field.input));
            QObject *labelled = labelOf(input, QString::fromUtf8(field.label));
            QVERIFY2(labelled, field.key);
            if (field.kind == FieldKind::Pair)
                QCOMPARE(QStringList(
                             {visibleText(input),
                              visibleText(control<QObject>(w, controlName(field.inputWhenClear)))}),
                         QStringList({field.whenSet, field.whenClear}));
            if (!qobject_cast<QMenu *>(labelled))
                QCOMPARE(groupTitleAround(labelled), QString::fromUtf8(field.group));
        }
        control<QAction>(w, "actionSair")->trigger();
        QVERIFY(!window->isVisible());
    }

    void messageCatalogue()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        const std::tuple<int, ShownBox, bool> rows[] = {
            // number, box, on the status bar (1, 3, 4 and 6: in test_commands_window)
            {2, {"warning", "Aviso", "Dispositivo tipo Teclado detectado"}, true},
            {7, {"warning", "Aviso!", "Somente caracteres numéricos(0-9) são permitidos"}, true},
            {8, {"critical", "Erro!", "Não foi possível abrir arquivo especificado"}, true},
            {9, {"critical", "Erro!", "Arquivo hid_usb.dll não enconrado"}, false},
            {10, {"critical", "Erro!", "Falha no carregamento do componente hid_usb.dll"}, false},
        };
        auto show = [&](int number) {
            responder.boxes.clear();
            window->statusBar()->showMessage(QStringLiteral("antes"));
            QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, number));
        };
        for (const auto &[number, box, onStatusBar] : rows) {
            show(number);
            QVERIFY2(responder.boxes == QVector<ShownBox>{box}, qPrintable(box.text));
            QCOMPARE(statusText(window.get()), onStatusBar ? box.text : "antes");
        }
        for (int ignored : {5, 0, 11, -1}) {
            show(ignored);
            QVERIFY(responder.boxes.isEmpty() && statusText(window.get()) == "antes");
        }
        // The same message twice shows two boxes.
        show(2);
        QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, 2));
        QCOMPARE(responder.boxes, (QVector<ShownBox>{std::get<1>(rows[0]), std::get<1>(rows[0])}));

        // A language change restores the title and the first entries.
        editForm(window.get(), "comboBox_velocidade#1 comboBox_baud#1 comboBox_byte#1 "
                               "comboBox_stopBits#1 comboBox_paridade#1 comboBox_protocol#1");
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window.get(), &change);
        // Their handlers store the first entries: 115200, no parity, 7 bits, 1 stop bit,
        // 18 per second, STX-D-ETX.
        FORM_IS(window.get(), "s0=48 s1=37 s13=02000300 P=USERCONF "
                              ".windowTitle=Configurador_Velorix_2_V1.0 comboBox_velocidade#0 "
                              "comboBox_baud#0 comboBox_byte#0 comboBox_stopBits#0 "
                              "comboBox_paridade#0 comboBox_protocol#0 comboBox_baud.count=8");
        QCOMPARE(control<QComboBox>(window.get(), "comboBox_paridade")->itemText(1),
                 QString::fromUtf8("Ímpar"));
    }

    // Qt's own texts follow the locale; the configurator's texts, its title
    // and the record stay as they are whatever the locale.
    void toolkitTextsFollowTheLocale()
    {
        for (const auto &[locale, cancel] :
             {std::pair{"pt_BR", "Cancelar"}, {"C", "Cancel"}, {"en_US", "Cancel"}}) {
            const std::unique_ptr<QTranslator> translator(installToolkitTranslation(
                *QCoreApplication::instance(), QLocale(QString::fromLatin1(locale))));
            ModalResponder responder;
            auto window = makeWindow(missingLibrary);
            const QByteArray record = serializedRecord();
            QCoreApplication::processEvents();
            QCOMPARE(responder.boxes, (QVector<ShownBox>{{"critical", "Erro!",
                                                          "Arquivo hid_usb.dll não enconrado"}}));
            FORM_IS(window.get(),
                    ".windowTitle=Configurador_Velorix_II_V1.0c actionSair.text=Sair");
            QCOMPARE(serializedRecord(), record);

            PortFolder ports;
            SerialPortDialog dialog;
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Porta COM"));
            QCOMPARE(
                dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text(),
                QString::fromLatin1(cancel));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

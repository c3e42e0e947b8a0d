#include "app/serial_port_dialog.h"
#include "app/toolkit_translation.h"
#include "config/config_record.h"
#include "modal_responder.h"
#include "port_folder.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTranslator>
#include <memory>

namespace {
const QString missingLibrary = QStringLiteral("/nonexistent/libhid_usb.so");

ShownBox box(const char *kind, const char *title, const char *text)
{
    return {QString::fromUtf8(kind), QString::fromUtf8(title), QString::fromUtf8(text)};
}
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void missingLibraryIsReportedBeforeTheWindowShows()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        QCOMPARE(responder.boxes,
                 QVector<ShownBox>{box("critical", "Erro!", "Arquivo hid_usb.dll não enconrado")});
        QVERIFY(!window->isVisible());
        QVERIFY(statusText(window.get()).isEmpty());
        QVERIFY(!window->fillingForm);
    }

    void libraryLackingAnEntryPointIsReported()
    {
        ModalResponder responder;
        auto window = makeWindow(QStringLiteral(PARTIAL_HID_LIBRARY));
        QCOMPARE(responder.boxes,
                 QVector<ShownBox>{
                     box("critical", "Erro!", "Falha no carregamento do componente hid_usb.dll")});
        QVERIFY(statusText(window.get()).isEmpty());
    }

    void recordAfterStartHoldsTheDefaults()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        QCOMPARE(serializedRecord().toHex(' '),
                 QByteArray("00 00 00 00 00 00 00 00 d2 f7 c4 44 02 21 3f 09 09 09 09 00 0d 02 "
                            "00 03 00 02 03"));
        QVERIFY(control<QLineEdit>(window.get(), "lineEdit_cliente")->text().isEmpty());
    }

    void startUpHidesDisablesAndMoves()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        MainWindow *w = window.get();
        window->show();
        QCOMPARE(window->windowTitle(), QStringLiteral("Configurador Velorix II V1.0c"));
        QCOMPARE(window->minimumSize(), QSize(702, 543));
        QCOMPARE(window->maximumSize(), QSize(702, 543));

        for (const char *name : {"actionDFU", "actionDefault"}) {
            QVERIFY2(!control<QAction>(w, name)->isVisible(), name);
            QVERIFY2(!control<QAction>(w, name)->isEnabled(), name);
        }
        for (const char *name : {"pushButton_wrtSerial", "checkBox_check2de5", "comboBox_bcc"}) {
            QVERIFY2(control<QWidget>(w, name)->isHidden(), name);
            QVERIFY2(!control<QWidget>(w, name)->isEnabled(), name);
        }
        QVERIFY(control<QLabel>(w, "label_bccInicial")->isHidden());
        QVERIFY(control<QLineEdit>(w, "lineEdit_cliente")->isReadOnly());
        QCOMPARE(control<QCheckBox>(w, "checkBox_bcc")->pos(), QPoint(10, 65));
        QVERIFY(control<QAction>(w, "actionTeclado")->isChecked());
        QVERIFY(!control<QAction>(w, "actionSerial")->isChecked());
        QVERIFY(control<QAction>(w, "actionBancos")->isEnabled());

        const QList<QAction *> device = control<QMenu>(w, "menuDispositivo")->actions();
        QCOMPARE(device.size(), 4);
        QVERIFY(device[0]->isSeparator());
        // The leading separator line is drawn, not collapsed away.
        QVERIFY(!control<QMenu>(w, "menuDispositivo")->separatorsCollapsible());
        QCOMPARE(device[1]->text(), QStringLiteral("Teclado"));
        QCOMPARE(device[2]->text(), QStringLiteral("Serial"));
        QCOMPARE(device[3]->objectName(), QStringLiteral("actionDFU"));
    }

    void characterListsStandOnTheDefaults()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        const struct
        {
            const char *list;
            int position;
            const char *text;
        } expected[] = {
            {"comboBox_erroCMC7", 34, "?"},     {"comboBox_bbSep1", 1, "TAB"},
            {"comboBox_bbSep2", 1, "TAB"},      {"comboBox_concSep1", 1, "TAB"},
            {"comboBox_concSep2", 1, "TAB"},    {"comboBox_separadorCMC7", 2, "ENTER"},
            {"comboBox_indicadorErro", 4, "!"}, {"comboBox_CR", 0, "NULL"},
        };
        for (const auto &e : expected) {
            auto *list = control<QComboBox>(window.get(), e.list);
            QCOMPARE(list->count(), 99);
            QCOMPARE(list->currentIndex(), e.position);
            QCOMPARE(list->currentText(), QString::fromLatin1(e.text));
        }
        auto *bcc = control<QComboBox>(window.get(), "comboBox_bcc");
        QCOMPARE(bcc->count(), 256);
        QCOMPARE(bcc->currentText(), QStringLiteral("02"));
        QCOMPARE(bcc->itemText(255), QStringLiteral("FF"));
        QCOMPARE(record().settings[bccInitialValue], uint8_t(2));
    }

    void messageCatalogue_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("onStatusBar");
        auto row = [](int n, const char *kind, const char *title, const char *text, bool status) {
            QTest::addRow("%d", n) << n << QString::fromUtf8(kind) << QString::fromUtf8(title)
                                   << QString::fromUtf8(text) << status;
        };
        row(1, "critical", "Erro", "Dispositivo não encontrado", true);
        row(2, "warning", "Aviso", "Dispositivo tipo Teclado detectado", true);
        row(3, "warning", "Aviso", "Dispositivo tipo CDC detectado", true);
        row(4, "critical", "Erro", "Erro de comunicação", true);
        row(6, "warning", "Aviso!", "Número de série deve possuir 6 digitos", true);
        row(7, "warning", "Aviso!", "Somente caracteres numéricos(0-9) são permitidos", true);
        row(8, "critical", "Erro!", "Não foi possível abrir arquivo especificado", true);
        row(9, "critical", "Erro!", "Arquivo hid_usb.dll não enconrado", false);
        row(10, "critical", "Erro!", "Falha no carregamento do componente hid_usb.dll", false);
    }

    void messageCatalogue()
    {
        QFETCH(int, number);
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(bool, onStatusBar);
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        responder.boxes.clear();
        window->statusBar()->showMessage(QStringLiteral("antes"));
        QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, number));
        QCOMPARE(responder.boxes, (QVector<ShownBox>{{kind, title, text}}));
        QCOMPARE(statusText(window.get()), onStatusBar ? text : QStringLiteral("antes"));
    }

    void ignoredNumbersChangeNothing()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        responder.boxes.clear();
        window->statusBar()->showMessage(QStringLiteral("antes"));
        for (int number : {5, 0, 11, -1})
            QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, number));
        QVERIFY(responder.boxes.isEmpty());
        QCOMPARE(statusText(window.get()), QStringLiteral("antes"));
    }

    void sameMessageTwiceShowsTwoBoxes()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        responder.boxes.clear();
        QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, 1));
        QMetaObject::invokeMethod(window.get(), "show_error", Q_ARG(int, 1));
        QCOMPARE(responder.boxes.size(), 2);
        QCOMPARE(statusText(window.get()), QString::fromUtf8("Dispositivo não encontrado"));
    }

    void languageChangeRestoresTitleAndFirstEntries()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        const char *lists[] = {"comboBox_velocidade", "comboBox_baud",     "comboBox_byte",
                               "comboBox_stopBits",   "comboBox_paridade", "comboBox_protocol"};
        for (const char *name : lists)
            control<QComboBox>(window.get(), name)->setCurrentIndex(1);
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window.get(), &change);
        QCOMPARE(window->windowTitle(), QStringLiteral("Configurador Velorix 2 V1.0"));
        for (const char *name : lists)
            QCOMPARE(control<QComboBox>(window.get(), name)->currentIndex(), 0);
        QCOMPARE(control<QComboBox>(window.get(), "comboBox_baud")->count(), 8);
        QCOMPARE(control<QComboBox>(window.get(), "comboBox_paridade")->itemText(1),
                 QString::fromUtf8("Ímpar"));
    }

    // Qt's own texts follow the locale; the configurator's texts, its title
    // and the record stay as they are whatever the locale.
    void toolkitTextsFollowTheLocale()
    {
        const struct
        {
            const char *locale;
            const char *cancel;
        } cases[] = {{"pt_BR", "Cancelar"}, {"C", "Cancel"}, {"en_US", "Cancel"}};
        for (const auto &c : cases) {
            const std::unique_ptr<QTranslator> translator(installToolkitTranslation(
                *QCoreApplication::instance(), QLocale(QString::fromLatin1(c.locale))));
            {
                ModalResponder responder;
                auto window = makeWindow(missingLibrary);
                const QByteArray record = serializedRecord();
                QCoreApplication::processEvents();
                QCOMPARE(responder.boxes,
                         QVector<ShownBox>{
                             box("critical", "Erro!", "Arquivo hid_usb.dll não enconrado")});
                QCOMPARE(window->windowTitle(), QStringLiteral("Configurador Velorix II V1.0c"));
                QCOMPARE(control<QAction>(window.get(), "actionSair")->text(),
                         QStringLiteral("Sair"));
                QCOMPARE(serializedRecord(), record);

                PortFolder ports;
                SerialPortDialog dialog;
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Porta COM"));
                const auto *buttons = dialog.findChild<QDialogButtonBox *>();
                QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(),
                         QString::fromLatin1(c.cancel));
            }
        }
    }

    void sairClosesTheWindow()
    {
        ModalResponder responder;
        auto window = makeWindow(missingLibrary);
        window->show();
        control<QAction>(window.get(), "actionSair")->trigger();
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

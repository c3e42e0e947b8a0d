// The read test's window and its list of reads (the serial port: read_test_port.cpp).
#include "app/read_test_window.h"

#include "app/key_capture.h"
#include "commands/link_session.h"
#include "config/config_form.h"
#include "config/read_expectation.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Column
{
    TIME_COLUMN,
    READ_COLUMN,
    EXPECTED_COLUMN,
    CHECK_COLUMN,
    COLUMNS,
};

const char *const TIME_FORMAT = "HH:mm:ss.zzz";

QPushButton *button(const char *text, const char *name, QWidget *parent)
{
    auto *made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QLatin1String(name));
    made->setFocusPolicy(Qt::NoFocus); // the focus stays on the capture area
    return made;
}

QRadioButton *choice(const char *text, const char *name, QWidget *parent)
{
    auto *made = new QRadioButton(QString::fromUtf8(text), parent);
    made->setObjectName(QLatin1String(name));
    made->setFocusPolicy(Qt::NoFocus);
    return made;
}
} // namespace

ReadTestWindow::ReadTestWindow(const ConfigForm &configForm, LinkSession &linkSession,
                               ByteNaming mode, QWidget *parent)
    : QWidget(parent, Qt::Window), form(configForm), session(linkSession), currentMode(mode)
{
    setObjectName(QStringLiteral("ReadTestWindow"));
    setWindowTitle(QStringLiteral("Teste de leitura"));
    setAttribute(Qt::WA_DeleteOnClose);
    gap.setSingleShot(true);
    gap.setInterval(READ_GAP_MS);
    connect(&gap, &QTimer::timeout, this, &ReadTestWindow::endRead);
    buildWindow();
    session.releasePort = [this] {
        releasePort(QString::fromUtf8("liberada para a janela principal"));
    };
    setMode(mode);
}

ReadTestWindow::~ReadTestWindow()
{
    session.releasePort = nullptr;
    releasePort(QString());
}

void ReadTestWindow::buildWindow()
{
    keyboardChoice = choice("Teclado", "radioButton_testeTeclado", this);
    serialChoice = choice("Serial", "radioButton_testeSerial", this);
    portButton = button("Abrir porta", "pushButton_abrirPorta", this);
    auto *modes = new QHBoxLayout;
    modes->addWidget(new QLabel(QString::fromUtf8("Interface:"), this));
    modes->addWidget(keyboardChoice);
    modes->addWidget(serialChoice);
    modes->addStretch();
    modes->addWidget(portButton);

    state = new QLabel(this);
    state->setObjectName(QStringLiteral("label_estado"));
    state->setWordWrap(true);
    capture = new KeyCapture(this);
    capture->setObjectName(QStringLiteral("captura"));
    setFocusProxy(capture);

    table = new QTableWidget(0, COLUMNS, this);
    table->setObjectName(QStringLiteral("tableWidget_leituras"));
    table->setHorizontalHeaderLabels({QStringLiteral("Hora"), QStringLiteral("Leitura"),
                                      QStringLiteral("Esperado"),
                                      QString::fromUtf8("Conferência")});
    table->setFocusPolicy(Qt::NoFocus);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);

    auto *actions = new QHBoxLayout;
    QPushButton *clear = button("Limpar", "pushButton_limpar", this);
    QPushButton *copy = button("Copiar", "pushButton_copiar", this);
    QPushButton *save = button("Salvar...", "pushButton_salvar", this);
    QPushButton *quit = button("Fechar", "pushButton_fechar", this);
    for (QPushButton *each : {clear, copy, save})
        actions->addWidget(each);
    actions->addStretch();
    actions->addWidget(quit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(state);
    layout->addWidget(capture);
    layout->addWidget(table, 1);
    layout->addLayout(actions);
    resize(900, 420);

    connect(capture, &KeyCapture::typed, this, [this](uint8_t byte) { received(&byte, 1); });
    connect(keyboardChoice, &QRadioButton::clicked, this,
            [this] { setMode(ByteNaming::Keyboard); });
    connect(serialChoice, &QRadioButton::clicked, this, [this] { setMode(ByteNaming::Serial); });
    connect(portButton, &QPushButton::clicked, this, &ReadTestWindow::openPort);
    connect(clear, &QPushButton::clicked, this, &ReadTestWindow::clearReads);
    connect(copy, &QPushButton::clicked, this, &ReadTestWindow::copyReads);
    connect(save, &QPushButton::clicked, this, &ReadTestWindow::saveReadsAs);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
}

void ReadTestWindow::setMode(ByteNaming mode)
{
    endRead();
    currentMode = mode;
    const bool serial = mode == ByteNaming::Serial;
    keyboardChoice->setChecked(!serial);
    serialChoice->setChecked(serial);
    portButton->setVisible(serial);
    capture->setVisible(!serial);
    if (serial) {
        openPort();
        return;
    }
    releasePort(QString());
    capture->setText(QString::fromUtf8("Clique aqui e leia um documento: o que o leitor digitar "
                                       "aparece abaixo, uma leitura por linha."));
    showState(QString::fromUtf8("Teclado: o leitor digita nesta janela."));
    capture->setFocus();
}

void ReadTestWindow::received(const uint8_t *bytes, size_t n)
{
    if (pending.bytes.isEmpty())
        pending.time = QTime::currentTime();
    pending.bytes.append(reinterpret_cast<const char *>(bytes), qsizetype(n));
    if (currentMode == ByteNaming::Keyboard)
        capture->setText(byteText(reinterpret_cast<const uint8_t *>(pending.bytes.constData()),
                                  size_t(pending.bytes.size()), currentMode));
    gap.start();
}

void ReadTestWindow::endRead()
{
    gap.stop();
    if (pending.bytes.isEmpty())
        return;
    showRead(pending);
    pending = Read();
}

void ReadTestWindow::showRead(const Read &read)
{
    const ReadVerdict verdict = judgeRead(form.record(), currentMode, read.bytes);
    const int row = table->rowCount();
    table->insertRow(row);
    const QString cells[COLUMNS] = {
        read.time.toString(QLatin1String(TIME_FORMAT)),
        byteText(reinterpret_cast<const uint8_t *>(read.bytes.constData()),
                 size_t(read.bytes.size()), currentMode),
        expectationText(verdict.expectation) + QStringLiteral(" (") +
            documentName(verdict.expectation.kind) + QLatin1Char(')'),
        verdict.check.matches ? verdict.check.mark
                              : QString::fromUtf8("%1 (posição %2)")
                                    .arg(verdict.check.mark)
                                    .arg(verdict.check.position + 1),
    };
    for (int column = 0; column < COLUMNS; ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    if (!verdict.check.matches)
        table->item(row, CHECK_COLUMN)->setForeground(Qt::red);
    table->scrollToBottom();
}

QString ReadTestWindow::readsText() const
{
    QString text;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < COLUMNS; ++column)
            cells << table->item(row, column)->text();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

bool ReadTestWindow::saveReads(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QByteArray text = readsText().toUtf8();
    return file.write(text) == text.size() && file.commit();
}

void ReadTestWindow::clearReads()
{
    gap.stop();
    pending = Read();
    table->setRowCount(0);
    if (currentMode == ByteNaming::Keyboard)
        capture->clear();
}

void ReadTestWindow::copyReads() const
{
    QApplication::clipboard()->setText(readsText());
}

void ReadTestWindow::saveReadsAs()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar leituras"),
                                                      QStringLiteral("leituras.txt"),
                                                      QStringLiteral("Texto (*.txt)"));
    if (!path.isEmpty() && !saveReads(path))
        QMessageBox::critical(this, QStringLiteral("Teste de leitura"),
                              QString::fromUtf8("Não foi possível salvar %1.").arg(path));
}

void ReadTestWindow::showState(const QString &text)
{
    state->setText(text);
}

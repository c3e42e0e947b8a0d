#pragma once
// "Teste de leitura": a window beside the main window that shows exactly what
// the reader sends when it reads a document, one read per line with its time,
// beside what the form's record leads one to expect, and marks where a read
// departs from it.
//
// As a keyboard ("Teclado") the reader types into the capture area, which
// keeps the focus. Over the serial interface ("Serial") the window holds the
// chosen COM port, set to the record's line settings, exclusively while it is
// open, as velorix-cli watch does; it gives the port up when it closes and
// whenever a reader command is about to take the port. Everything runs on the
// event loop: the port is watched with a socket notifier, and a read ends
// when nothing has arrived for READ_GAP_MS.
#include "config/byte_names.h"

#include <QByteArray>
#include <QList>
#include <QTime>
#include <QTimer>
#include <QWidget>

class ConfigForm;
struct LinkSession;
class KeyCapture;
class QLabel;
class QPushButton;
class QRadioButton;
class QSocketNotifier;
class QTableWidget;

class ReadTestWindow : public QWidget
{
    Q_OBJECT

public:
    // How long the line stays quiet before a read is taken as ended: far
    // longer than the pause between two keys at the slowest typing speed.
    static constexpr int READ_GAP_MS = 400;

    // The form's record is read at every read, so a change on the form counts at once.
    ReadTestWindow(const ConfigForm &form, LinkSession &session, ByteNaming mode,
                   QWidget *parent = nullptr);
    ~ReadTestWindow() override;

    // Switches between the capture area and the serial port.
    void setMode(ByteNaming mode);
    ByteNaming mode() const { return currentMode; }

    // Takes the form's COM port, at the form's line settings (again, when it
    // holds one); false when it could not be had.
    bool openPort();
    // Gives the port up, saying why.
    void releasePort(const QString &why);
    bool portOpen() const { return device >= 0; }

    // Ends the read being received and shows it; nothing when none is.
    void endRead();
    // Every read shown, a line each: time, read, expected, the check.
    QString readsText() const;
    bool saveReads(const QString &path) const;

private:
    struct Read
    {
        QTime time;
        QByteArray bytes;
    };

    void buildWindow();
    void received(const uint8_t *bytes, size_t n);
    void portReadable();
    void showRead(const Read &read);
    void showState(const QString &text);
    void clearReads();
    void copyReads() const;
    void saveReadsAs();

    const ConfigForm &form;
    LinkSession &session;
    ByteNaming currentMode;
    Read pending;
    QTimer gap;
    int device = -1;
    int heldPort = 0; // the COM number of device
    QSocketNotifier *notifier = nullptr;

    KeyCapture *capture = nullptr;
    QLabel *state = nullptr;
    QTableWidget *table = nullptr;
    QRadioButton *keyboardChoice = nullptr;
    QRadioButton *serialChoice = nullptr;
    QPushButton *portButton = nullptr;
};

#pragma once
// The read test's capture area: it keeps the keyboard focus and turns every
// key the reader types into the byte the reader stands for (TAB, ENTER,
// BCKSPC included, which would otherwise move the focus or edit a field).
// Keys that stand for no byte (Shift alone, F1...) are left out.
#include <QLabel>
#include <cstdint>

class QKeyEvent;

class KeyCapture : public QLabel
{
    Q_OBJECT

public:
    explicit KeyCapture(QWidget *parent = nullptr);

signals:
    void typed(uint8_t byte);

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The byte a key event stands for; false for a key that stands for none.
bool byteOfKey(const QKeyEvent &event, uint8_t *byte);

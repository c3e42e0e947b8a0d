#include "app/main_window.h"
#include "link/serial_detection.h"

bool MainWindow::GetSerialParams()
{
    return serial_detect_reader();
}

#include "commands/hid_command_link.h"

#include "link/hid_link.h"

CommandFailure HidCommandLink::open(bool refuseCdc)
{
    int found = HID_NOT_FOUND;
    if (device.path[0] != 0)
        found = hid_open_reader(&library, &device);
    else if (refuseCdc)
        found = hid_open_identify(&library);
    else
        found = hid_open(&library);
    if (found == HID_NOT_FOUND)
        return READER_NOT_FOUND;
    if (refuseCdc && found == HID_FOUND_CDC)
        return CDC_READER_ON_HID;
    return COMMAND_OK;
}

bool HidCommandLink::send(const uint8_t *payload, size_t n)
{
    return hid_send_frame(&library, payload, n) != 0;
}

bool HidCommandLink::receive(uint8_t *answer)
{
    return hid_receive_frame(&library, answer) != 0;
}

CommandFailure HidCommandLink::close()
{
    return library.CloseHandles() == 0 ? COMMAND_OK : CLOSE_FAILED;
}

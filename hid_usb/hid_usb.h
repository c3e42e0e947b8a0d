#ifndef HID_USB_H
#define HID_USB_H
/* The HID access library: opens a USB HID device by vendor and product id, or
 * one of the devices it lists by path, and exchanges 65-byte reports with it
 * (byte 0 the report id, bytes 1-64 data). One device at a time; plain C ABI
 * so that any program can load it. */

#ifdef __cplusplus
extern "C" {
#endif

#define HID_USB_REPORT_SIZE 65

#if defined(_WIN32)
#define HID_USB_API __declspec(dllexport)
#else
#define HID_USB_API __attribute__((visibility("default")))
#endif

/* Opens a device with these ids, closing any device still open (of either
 * id). Of a composite reader it takes the configuration interface, never the
 * keyboard collection unless no interface is known to be something else.
 * reserved is 0. Nonzero: the device is open; 0: none could be opened, which
 * includes a device present but refused (permissions) and a zero vendor or
 * product id. */
HID_USB_API int Init_HID(unsigned short vendorId, unsigned short productId, int reserved);

/* Sends one output report of HID_USB_REPORT_SIZE bytes, report id in byte 0.
 * Nonzero: all of it was sent; 0: not sent, or no device is open. */
HID_USB_API int WriteOutputReport(unsigned char *report);

/* Waits up to timeoutMs for one input report and stores it in report
 * (HID_USB_REPORT_SIZE bytes): the report id in byte 0, the data from byte 1,
 * zeros after a short report. Nonzero: a report was stored; 0: none came in
 * time, the read failed or no device is open (report is then all zeros). */
HID_USB_API int ReadInputReport(unsigned int timeoutMs, unsigned char *report);

/* Closes the open device. 0: closed, or nothing was open; nonzero: failure. */
HID_USB_API int CloseHandles(void);

/* One device as Enumerate_HID lists it: one entry per USB device, the
 * interface Init_HID would take of it. */
#define HID_USB_PATH_SIZE 256
#define HID_USB_PORT_PATH_SIZE 64
typedef struct HidUsbDevice
{
    char path[HID_USB_PATH_SIZE];          /* the node Open_HID_Path takes ("/dev/hidraw3") */
    char portPath[HID_USB_PORT_PATH_SIZE]; /* USB port path ("1-1.2"); empty when unknown */
    unsigned short productId;
} HidUsbDevice;

/* Lists the devices with these ids (neither may be 0) into devices, at most
 * capacity entries, in the system's order. The port path is read from sysfs:
 * /sys, or the folder named by the environment variable HID_USB_SYSFS_ROOT.
 * Interfaces of one USB device (same port path) make one entry; a device
 * whose node path does not fit HID_USB_PATH_SIZE is left out. Returns how
 * many devices there are, which may exceed capacity (only capacity are
 * stored); 0 also when hidapi cannot start. A device open stays open. */
HID_USB_API int Enumerate_HID(unsigned short vendorId, unsigned short productId,
                              HidUsbDevice *devices, int capacity);

/* Opens the device at path, closing any device still open, as Init_HID does.
 * Nonzero: open, and the other exports talk to it; 0: it could not be opened
 * (no such device, permissions, a null or empty path). */
HID_USB_API int Open_HID_Path(const char *path);

typedef int (*Init_HID_fn)(unsigned short, unsigned short, int);
typedef int (*WriteOutputReport_fn)(unsigned char *);
typedef int (*ReadInputReport_fn)(unsigned int, unsigned char *);
typedef int (*CloseHandles_fn)(void);
typedef int (*Enumerate_HID_fn)(unsigned short, unsigned short, HidUsbDevice *, int);
typedef int (*Open_HID_Path_fn)(const char *);

#ifdef __cplusplus
}
#endif

#endif

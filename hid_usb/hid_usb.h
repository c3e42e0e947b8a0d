#ifndef HID_USB_H
#define HID_USB_H
/* The HID access library: opens a USB HID device by vendor and product id and
 * exchanges 65-byte reports with it (byte 0 the report id, bytes 1-64 data).
 * One device at a time; plain C ABI so that any program can load it. */

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

typedef int (*Init_HID_fn)(unsigned short, unsigned short, int);
typedef int (*WriteOutputReport_fn)(unsigned char *);
typedef int (*ReadInputReport_fn)(unsigned int, unsigned char *);
typedef int (*CloseHandles_fn)(void);

#ifdef __cplusplus
}
#endif

#endif

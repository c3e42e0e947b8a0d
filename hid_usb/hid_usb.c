/* The HID access library on hidapi (hidraw backend). One device is open at a
 * time; hidapi itself is kept initialised only while that device is open, so
 * a program that closes after every exchange holds nothing between them. */
#include "hid_usb/hid_usb.h"

#include <hidapi.h>

#include <limits.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The reader sends unnumbered reports: hidapi hands back the data bytes alone,
 * which land after the report id byte of the caller's report. */
#define REPORT_DATA_SIZE (HID_USB_REPORT_SIZE - 1)
#define UNNUMBERED_REPORT_ID 0

static hid_device *openDevice;
static int hidapiReady;

static int start_hidapi(void)
{
    if (!hidapiReady)
        hidapiReady = hid_init() == 0;
    return hidapiReady;
}

static void stop_hidapi(void)
{
    if (hidapiReady)
        hid_exit();
    hidapiReady = 0;
}

static void close_device(void)
{
    if (openDevice)
        hid_close(openDevice);
    openDevice = NULL;
    stop_hidapi();
}

/* A boot keyboard collection. The reader in keyboard mode presents one beside
 * its configuration interface, with the same ids: Windows keeps it to itself,
 * and on hidraw it opens but takes no configuration reports. */
#define USAGE_PAGE_GENERIC_DESKTOP 0x01
#define USAGE_KEYBOARD 0x06

static int is_keyboard(const struct hid_device_info *info)
{
    return info->usage_page == USAGE_PAGE_GENERIC_DESKTOP && info->usage == USAGE_KEYBOARD;
}

/* hidraw lists one entry per top-level collection, so the keyboard's node may
 * also show up under another usage (consumer keys) with the same path. */
static int on_keyboard_node(const struct hid_device_info *list, const struct hid_device_info *info)
{
    for (; list; list = list->next)
        if (is_keyboard(list) && strcmp(list->path, info->path) == 0)
            return 1;
    return 0;
}

/* An interface known to be something else than the keyboard. A usage of 0/0
 * is unknown (the backend could not tell) and proves nothing. */
static int is_configuration(const struct hid_device_info *list, const struct hid_device_info *info)
{
    int known = info->usage_page != 0 || info->usage != 0;
    return known && !is_keyboard(info) && !on_keyboard_node(list, info);
}

static int any_configuration(const struct hid_device_info *list)
{
    for (const struct hid_device_info *info = list; info; info = info->next)
        if (is_configuration(list, info))
            return 1;
    return 0;
}

/* Opens the first configuration interface that lets itself be opened; only
 * when none is listed does any match do, the first that opens. */
static hid_device *open_configuration(const struct hid_device_info *list)
{
    int configurationOnly = any_configuration(list);
    for (const struct hid_device_info *info = list; info; info = info->next) {
        if (configurationOnly && !is_configuration(list, info))
            continue;
        hid_device *device = hid_open_path(info->path);
        if (device)
            return device;
    }
    return NULL;
}

/* The USB port path of a hidraw node: in the node's sysfs device path the
 * USB interface shows as "<port>:<configuration>.<interface>" (1-1.2:1.0),
 * the HID device after it as "<bus>:<vendor>:<product>.<n>", without '-'. */
static const char *sysfs_root(void)
{
    const char *root = getenv("HID_USB_SYSFS_ROOT");
    return root && *root ? root : "/sys";
}

static int is_interface_name(const char *name, size_t length)
{
    const char *colon = memchr(name, ':', length);
    if (!colon || !memchr(name, '-', (size_t)(colon - name)))
        return 0;
    for (const char *c = name; c < colon; ++c)
        if (!strchr("0123456789-.", *c))
            return 0;
    return colon + 1 < name + length;
}

static void read_port_path(const char *nodePath, char *port, size_t size)
{
    port[0] = 0;
    const char *slash = strrchr(nodePath, '/');
    const char *node = slash ? slash + 1 : nodePath;
    char link[PATH_MAX];
    if (snprintf(link, sizeof link, "%s/class/hidraw/%s/device", sysfs_root(), node) >=
        (int)sizeof link)
        return;
    char *resolved = realpath(link, NULL);
    if (!resolved)
        return;
    for (char *part = resolved; *part;) {
        size_t length = strcspn(part, "/");
        if (is_interface_name(part, length)) {
            size_t portLength = (size_t)((char *)memchr(part, ':', length) - part);
            if (portLength < size) {
                memcpy(port, part, portLength);
                port[portLength] = 0;
            }
        }
        part += length + (part[length] == '/');
    }
    free(resolved);
}

static int same_port(const struct hid_device_info *info, const char *port)
{
    char other[HID_USB_PORT_PATH_SIZE];
    read_port_path(info->path, other, sizeof other);
    return strcmp(other, port) == 0;
}

/* Whether an entry before this one is on the same, known, port. */
static int port_seen(const struct hid_device_info *list, const struct hid_device_info *entry,
                     const char *port)
{
    for (; port[0] != 0 && list != entry; list = list->next)
        if (same_port(list, port))
            return 1;
    return 0;
}

/* The interface of the device on port (or of the entry alone, on no known
 * port) that Init_HID would try first: its first configuration interface,
 * else the entry itself. */
static const struct hid_device_info *choose_interface(const struct hid_device_info *list,
                                                      const struct hid_device_info *entry,
                                                      const char *port)
{
    if (port[0] == 0 || is_configuration(list, entry))
        return entry;
    for (const struct hid_device_info *info = entry; info; info = info->next)
        if (is_configuration(list, info) && same_port(info, port))
            return info;
    return entry;
}

static void store_device(HidUsbDevice *device, const struct hid_device_info *info, const char *port)
{
    snprintf(device->path, sizeof device->path, "%s", info->path);
    snprintf(device->portPath, sizeof device->portPath, "%s", port);
    device->productId = info->product_id;
}

int Enumerate_HID(unsigned short vendorId, unsigned short productId, HidUsbDevice *devices,
                  int capacity)
{
    if (vendorId == 0 || productId == 0 || !start_hidapi())
        return 0;
    struct hid_device_info *list = hid_enumerate(vendorId, productId);
    int found = 0;
    for (const struct hid_device_info *entry = list; entry; entry = entry->next) {
        char port[HID_USB_PORT_PATH_SIZE];
        read_port_path(entry->path, port, sizeof port);
        if (port_seen(list, entry, port))
            continue;
        const struct hid_device_info *chosen = choose_interface(list, entry, port);
        if (strlen(chosen->path) >= HID_USB_PATH_SIZE)
            continue;
        if (devices && found < capacity)
            store_device(&devices[found], chosen, port);
        ++found;
    }
    hid_free_enumeration(list);
    if (!openDevice)
        stop_hidapi();
    return found;
}

int Open_HID_Path(const char *path)
{
    close_device();
    if (!path || *path == 0 || !start_hidapi())
        return 0;
    openDevice = hid_open_path(path);
    if (!openDevice) {
        stop_hidapi();
        return 0;
    }
    return 1;
}

int Init_HID(unsigned short vendorId, unsigned short productId, int reserved)
{
    (void)reserved;
    close_device();
    /* hidapi reads a zero id as "any", which would open some other device. */
    if (vendorId == 0 || productId == 0 || !start_hidapi())
        return 0;
    struct hid_device_info *matches = hid_enumerate(vendorId, productId);
    openDevice = open_configuration(matches);
    hid_free_enumeration(matches);
    /* A device that is there but will not open (permissions) is not found. */
    if (!openDevice) {
        stop_hidapi();
        return 0;
    }
    return 1;
}

int WriteOutputReport(unsigned char *report)
{
    if (!openDevice || !report)
        return 0;
    /* Byte 0 is the report id; hidraw drops an id of 0 on the way out. A
     * partial write would leave the reader with a cut frame, so it fails. */
    return hid_write(openDevice, report, HID_USB_REPORT_SIZE) == HID_USB_REPORT_SIZE;
}

int ReadInputReport(unsigned int timeoutMs, unsigned char *report)
{
    if (!report)
        return 0;
    memset(report, 0, HID_USB_REPORT_SIZE);
    if (!openDevice)
        return 0;
    /* hidapi takes a signed wait where -1 means forever; keep huge waits finite. */
    int wait = timeoutMs > INT_MAX ? INT_MAX : (int)timeoutMs;
    int got = hid_read_timeout(openDevice, report + 1, REPORT_DATA_SIZE, wait);
    if (got <= 0)
        return 0;
    report[0] = UNNUMBERED_REPORT_ID;
    return 1;
}

int CloseHandles(void)
{
    /* Closing when nothing is open leaves the state the caller asked for. */
    close_device();
    return 0;
}

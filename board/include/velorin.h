/* Board access library for the clock-generator evaluation board.
 *
 * Every function returns 0 on success and 1 on failure, except Velorin_SetMessageHandler.
 * All calls are blocking and must come from one thread at a time. */
#ifndef VELORIN_H
#define VELORIN_H

#include <stdint.h>

#if defined(VELORIN_BUILDING_LIBRARY)
#define VELORIN_API __attribute__((visibility("default")))
#else
#define VELORIN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Connection */
VELORIN_API int Velorin_OpenUsbDevice(void);
VELORIN_API int Velorin_CloseUsbDevice(void);

/* Board commands */
VELORIN_API int Velorin_SetI2CHWAddress(void);
VELORIN_API int Velorin_SetI2CDeviceAddress(int32_t address, uint8_t option);
VELORIN_API int Velorin_WritePort(uint16_t port, uint8_t value);
VELORIN_API int Velorin_ReadPort(uint16_t port, uint8_t *value);
VELORIN_API int Velorin_GetEvmId(uint8_t *id);
VELORIN_API int Velorin_WriteOneWire(uint16_t index, uint8_t value);
VELORIN_API int Velorin_WriteToRam(int32_t block);
VELORIN_API int Velorin_WriteOneWord(int32_t block, uint16_t address, uint8_t value);
VELORIN_API int Velorin_ReadBack(uint16_t block);
VELORIN_API int Velorin_WriteSdataBits(uint16_t bits);
VELORIN_API int Velorin_WriteScanout(uint16_t bits);
VELORIN_API int Velorin_UnlockEeprom(uint16_t block);
VELORIN_API int Velorin_WriteI2C(uint16_t start, int32_t count, const uint8_t *data);
VELORIN_API int Velorin_ReadI2C(uint16_t start, int32_t count, uint8_t *buffer);
VELORIN_API int Velorin_ReadDataBack(uint16_t start, int32_t count, uint8_t *buffer);
VELORIN_API int Velorin_WriteI2CWord(uint16_t start, int32_t count, const uint16_t *words);
VELORIN_API int Velorin_ReadI2CWord(uint16_t start, int32_t count, uint16_t *words);

/* Driver registration */
VELORIN_API int Velorin_ForceInstall(const char *directory);
VELORIN_API int Velorin_Install_qv_driver(const char *directory);
VELORIN_API int Velorin_Install(const char *directory);

/* USB devices and the board's configured USB ids, for listing and udev tools. Nothing here
 * sends a request to a board. */
#define VELORIN_USB_ROLE_NONE 0
#define VELORIN_USB_ROLE_BOARD 1
#define VELORIN_USB_ROLE_BOOT_LOADER 2

typedef struct VelorinUsbId {
    uint16_t vendor;
    uint16_t product;
} VelorinUsbId;

typedef struct VelorinUsbDevice {
    char port[40]; /* "B-P.P.P", as the kernel names the device */
    char node[32]; /* "/dev/bus/usb/BBB/DDD" */
    VelorinUsbId id;
    int role;      /* VELORIN_USB_ROLE_...; a board id wins over a boot-loader id */
    int openError; /* 0 when this user can open the device, otherwise an errno value */
} VelorinUsbDevice;

/* "vvvv:pppp" in hexadecimal (1 to 4 digits each side), surrounding blanks allowed. */
VELORIN_API int Velorin_ParseUsbId(const char *text, VelorinUsbId *id);
/* The configured ids of `role` (board or boot loader): *count is how many there are, of which
 * the first `capacity` are stored. */
VELORIN_API int Velorin_GetUsbIds(int role, VelorinUsbId *ids, int32_t capacity, int32_t *count);
/* Where the ids of `role` come from: "VELORIN_USB_IDS" or the configuration file's path.
 * Always NUL-terminated; fails when `size` is too small for the whole text. */
VELORIN_API int Velorin_GetUsbIdSource(int role, char *text, int32_t size);
/* The configured entries that are not ids, as written, each followed by '\n'. Always
 * NUL-terminated; fails when `size` is too small for the whole text. */
VELORIN_API int Velorin_GetInvalidUsbIds(char *text, int32_t size);
/* 0 when `id` is configured for `role`, 1 when it is not. */
VELORIN_API int Velorin_IsUsbIdConfigured(int role, VelorinUsbId id);
/* The USB devices in bus and port order: *count is how many there are, of which the first
 * `capacity` are stored. Fails with *error set (errno style) when USB is not available. */
VELORIN_API int Velorin_ListUsbDevices(VelorinUsbDevice *devices, int32_t capacity, int32_t *count,
                                       int *error);

/* Where the library's messages go: kind 0 information, 1 error. Without a handler they are
 * written to standard error as "caption: text". Passing NULL restores that default. */
VELORIN_API void Velorin_SetMessageHandler(void (*handler)(const char *text, const char *caption,
                                                           int kind));

#ifdef __cplusplus
}
#endif

#endif

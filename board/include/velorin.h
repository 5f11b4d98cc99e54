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

/* Where the library's messages go: kind 0 information, 1 error. Without a handler they are
 * written to standard error as "caption: text". Passing NULL restores that default. */
VELORIN_API void Velorin_SetMessageHandler(void (*handler)(const char *text, const char *caption,
                                                           int kind));

#ifdef __cplusplus
}
#endif

#endif

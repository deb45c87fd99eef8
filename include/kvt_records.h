/*
 * Parameter records of the factory API ("oxrmsg.dll") and of the event procedures of
 * its camera settings plug-in. All fields are little-endian 32-bit values; the sizes
 * are fixed and checked at compile time.
 *
 * Plain C (C89 and later) and C++.
 */
#ifndef KVT_RECORDS_H
#define KVT_RECORDS_H

#if defined(_MSC_VER) && _MSC_VER < 1600
typedef unsigned __int32 kvt_u32;
typedef __int32 kvt_i32;
#else
#include <stdint.h>
typedef uint32_t kvt_u32;
typedef int32_t kvt_i32;
#endif

/* Compile-time check; `name` must be a valid identifier. */
#if defined(__cplusplus) && (__cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1600))
#define KVT_STATIC_ASSERT(cond, name) static_assert(cond, #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define KVT_STATIC_ASSERT(cond, name) _Static_assert(cond, #name)
#else
#define KVT_STATIC_ASSERT(cond, name) typedef char kvt_static_assert_##name[(cond) ? 1 : -1]
#endif

/*
 * ReleaseParameter (80 bytes): the shooting parameters that KVT_SetReleaseParameter
 * writes to the camera and KVT_GetReleaseParameter reads back.
 *
 *   Word 0      mode word (property 0x80000000). Mode 3 leaves words 1 and 7
 *               unwritten, mode 1 word 6, mode 2 word 5.
 *   Words 1-7   properties 0x80000002, 0x80000003, 0x8000000D, 0x80000007,
 *               0x80000005, 0x80000006, 0x80000008
 *   Words 8-10  only their low bytes reach the camera: one packed word whose bytes 0
 *               and 1 hold word 8, byte 2 word 9 (the quality code) and byte 3 word 10
 *   Word 11     FlavorMode, 129 to 135 (property 0x80000028)
 *   Words 12-19 the 32 bytes of the flavor data that FlavorMode selects
 */
typedef struct ReleaseParameter {
    kvt_u32 Word[20];
} ReleaseParameter;

#define KVT_RELEASE_WORD_MODE          0
#define KVT_RELEASE_WORD_QUALITY       9
#define KVT_RELEASE_WORD_FLAVOR_MODE  11
#define KVT_RELEASE_WORD_FLAVOR_DATA  12

/* Quality codes (word 9): which images a release gives. */
#define KVT_QUALITY_JPEG       1u
#define KVT_QUALITY_RAW        6u
#define KVT_QUALITY_RAW_JPEG   7u

/*
 * PROPERTY_DATA_T (72 bytes): one adjustment property of the plug-in's catalogue. The
 * parameter of the event procedure "SearchPropertyData": the caller fills szName
 * (zero-terminated, at most 63 characters), the procedure fills ID and Size.
 */
#define KVT_PROPERTY_NAME_SIZE 64
typedef struct PROPERTY_DATA_T {
    char szName[KVT_PROPERTY_NAME_SIZE];
    kvt_u32 ID;
    kvt_u32 Size;
} PROPERTY_DATA_T;

/*
 * BODYID_T (20 bytes): the camera body number in its decimal digit groups, the
 * parameter of "GetBodyID" and "SetBodyID":
 *   body number = ManufactureMonth * 10^10 + Second * 10^8 + Third * 10^7
 *               + Fourth * 10^6 + SerialNo        (2, 2, 1, 1 and 6 digits)
 */
typedef struct BODYID_T {
    kvt_u32 ManufactureMonth;
    kvt_u32 Second;
    kvt_u32 Third;
    kvt_u32 Fourth;
    kvt_u32 SerialNo;
} BODYID_T;

/*
 * ABOARD_EEPROM_DATA_T (520 bytes): the parameter of "GetABoardEepromData" and
 * "SetABoardEepromData". Data is indexed by the EEPROM word address: Address 10 and
 * Count 3 read or write Data[10], Data[11] and Data[12]. Address + Count <= 128.
 */
#define KVT_ABOARD_EEPROM_WORDS 128
typedef struct ABOARD_EEPROM_DATA_T {
    kvt_u32 Data[KVT_ABOARD_EEPROM_WORDS];
    kvt_u32 Address;
    kvt_u32 Count;
} ABOARD_EEPROM_DATA_T;

/* DIGITAL_PARA_ADJ_T (8 bytes): the parameter of "GetDigitalParaAdjData". */
typedef struct DIGITAL_PARA_ADJ_T {
    kvt_i32 DeltaX;
    kvt_i32 DeltaY;
} DIGITAL_PARA_ADJ_T;

/*
 * DATETIME_T (24 bytes): the parameter of "GetDateTime" and "SetDateTime". The values
 * are the camera calendar's own, copied without conversion.
 */
typedef struct DATETIME_T {
    kvt_i32 Year;
    kvt_i32 Month;
    kvt_i32 Day;
    kvt_i32 Hour;
    kvt_i32 Minute;
    kvt_i32 Second;
} DATETIME_T;

/* Sizes of the byte and text parameters of event procedures. */
#define KVT_FIRMWARE_VERSION_SIZE   36  /* GetIcuFirmwareVersion, GetIcu{Master,Slave}Version */
#define KVT_SENSOR_NUMBER_SIZE      16  /* Get/SetSensorNumber: zero-terminated text */
#define KVT_OWNER_NAME_SIZE         32  /* Get/SetOwnerName: zero-terminated text */
#define KVT_VISTA_UNIQUE_ID_SIZE    20  /* GetWindowsVistaUniqueID */
#define KVT_FILE_PREFIX_SIZE         8  /* GetFilePrefix: text of at most 7 characters */

KVT_STATIC_ASSERT(sizeof(kvt_u32) == 4 && sizeof(kvt_i32) == 4, kvt_u32_is_4_bytes);
KVT_STATIC_ASSERT(sizeof(ReleaseParameter) == 80, ReleaseParameter_is_80_bytes);
KVT_STATIC_ASSERT(sizeof(PROPERTY_DATA_T) == 72, PROPERTY_DATA_T_is_72_bytes);
KVT_STATIC_ASSERT(sizeof(BODYID_T) == 20, BODYID_T_is_20_bytes);
KVT_STATIC_ASSERT(sizeof(ABOARD_EEPROM_DATA_T) == 520, ABOARD_EEPROM_DATA_T_is_520_bytes);
KVT_STATIC_ASSERT(sizeof(DIGITAL_PARA_ADJ_T) == 8, DIGITAL_PARA_ADJ_T_is_8_bytes);
KVT_STATIC_ASSERT(sizeof(DATETIME_T) == 24, DATETIME_T_is_24_bytes);

#endif /* KVT_RECORDS_H */

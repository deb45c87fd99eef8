/*
 * factory_example: a small factory program on the factory API (oxrmsg.dll).
 *
 * Opens the device, reads the body ID and the ICU and MPU firmware versions through
 * event procedures, dumps the adjustment properties into a folder, releases and
 * transfers the images into the same folder, and closes the device. Each step prints
 * one line "<step> = <result code> (<meaning>)", followed by what it read.
 *
 *     factory_example [output folder]        (default: FactoryOutput)
 *
 * Run it from the deploy folder (beside oxrmsg.dll, Corvane.dll and _Q517_). Exit code:
 * 0 when every step succeeded, 1 when one failed, 2 for an unusable output folder.
 *
 * Build (plain C, C89 or later), from the deploy folder:
 *     MinGW-w64:  i686-w64-mingw32-gcc -Isdk/include sdk/examples/factory_example.c
 *                     -Lsdk/lib -loxrmsg -static -o factory_example.exe
 *     MSVC:       cl /c sdk\lib\oxrmsg_stubs.c
 *                 lib /def:sdk\lib\oxrmsg.def oxrmsg_stubs.obj /machine:x86 /out:oxrmsg.lib
 *                 cl /W4 /Isdk\include sdk\examples\factory_example.c oxrmsg.lib
 */
#include <direct.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kvt_factory.h"

static const char kImageName[] = "Release.jpg";

static int g_steps = 0;
static int g_failedSteps = 0;

static const char* ResultText(unsigned long result) {
#define KVT_EXAMPLE_RESULT_ROW(code, text) \
    if (result == (code)) {                \
        return text;                       \
    }
    KVT_RESULT_TABLE(KVT_EXAMPLE_RESULT_ROW)
#undef KVT_EXAMPLE_RESULT_ROW
    return "passed on from the camera or its transport";
}

/* Prints one step and its result; counts the failures. */
static unsigned long Step(const char* step, unsigned long result) {
    ++g_steps;
    if (KVT_FAILED(result)) {
        ++g_failedSteps;
    }
    printf("%s = %lu (%s)\n", step, result, ResultText(result));
    fflush(stdout);
    return result;
}

/* The folder as an absolute path ending in a backslash, created if missing, with room
 * for the image name behind it. */
static int PrepareFolder(const char* name, char* folder, size_t size) {
    size_t length;
    if (_fullpath(folder, name, size) == NULL) {
        return 0;
    }
    length = strlen(folder);
    if (length > 0 && folder[length - 1] != '\\') {
        if (length + 1 >= size) {
            return 0;
        }
        folder[length++] = '\\';
        folder[length] = '\0';
    }
    if (length + sizeof kImageName > size) {
        return 0;
    }
    if (_mkdir(folder) != 0 && errno != EEXIST) {
        return 0;
    }
    return 1;
}

static void PrintBodyID(const BODYID_T* id) {
    char digits[32];
    const char* number = digits;
    sprintf(digits, "%lu%02lu%lu%lu%06lu", (unsigned long)id->ManufactureMonth,
            (unsigned long)id->Second, (unsigned long)id->Third, (unsigned long)id->Fourth,
            (unsigned long)id->SerialNo);
    while (number[0] == '0' && number[1] != '\0') {
        ++number;
    }
    printf("  ManufactureMonth %lu, Second %lu, Third %lu, Fourth %lu, SerialNo %lu: body number %s\n",
           (unsigned long)id->ManufactureMonth, (unsigned long)id->Second,
           (unsigned long)id->Third, (unsigned long)id->Fourth, (unsigned long)id->SerialNo,
           number);
}

static void PrintBytes(const char* label, const unsigned char* bytes, size_t count) {
    size_t i;
    printf("  %s", label);
    for (i = 0; i < count; ++i) {
        printf(" %02x", bytes[i]);
    }
    printf("\n");
}

int main(int argc, char** argv) {
    char folder[KVT_PATH_MAX + 1];
    char imagePath[KVT_PATH_MAX + 1];
    BODYID_T bodyId;
    unsigned char icuVersion[KVT_FIRMWARE_VERSION_SIZE];
    kvt_u32 mpuVersion = 0;

    if (!PrepareFolder(argc > 1 ? argv[1] : "FactoryOutput", folder, sizeof folder)) {
        fprintf(stderr, "factory_example: cannot use the output folder %s\n",
                argc > 1 ? argv[1] : "FactoryOutput");
        return 2;
    }
    printf("factory_example: output folder %s\n", folder);

    if (KVT_FAILED(Step("KVT_OpenDevice", KVT_OpenDevice()))) {
        printf("factory_example: no device, nothing else to do\n");
        return 1;
    }

    memset(&bodyId, 0, sizeof bodyId);
    if (!KVT_FAILED(Step("GetBodyID",
                         KVT_ExecuteEventProcS("GetBodyID", &bodyId, sizeof bodyId)))) {
        PrintBodyID(&bodyId);
    }

    memset(icuVersion, 0, sizeof icuVersion);
    if (!KVT_FAILED(Step("GetIcuFirmwareVersion",
                         KVT_ExecuteEventProcS("GetIcuFirmwareVersion", icuVersion,
                                               sizeof icuVersion)))) {
        PrintBytes("ICU firmware:", icuVersion, sizeof icuVersion);
    }

    if (!KVT_FAILED(Step("GetMpuFirmwareVersion",
                         KVT_ExecuteEventProcS("GetMpuFirmwareVersion", &mpuVersion,
                                               sizeof mpuVersion)))) {
        printf("  MPU firmware: 0x%08lx (version %lu)\n", (unsigned long)mpuVersion,
               (unsigned long)(mpuVersion & 0xFFu));
    }

    /* LoadPropertyData writes one "<id>.bin" per adjustment property into the folder
     * published here. */
    if (!KVT_FAILED(Step("KVT_SetFolderPath", KVT_SetFolderPath(folder)))) {
        if (!KVT_FAILED(Step("LoadPropertyData",
                             KVT_ExecuteEventProcS("LoadPropertyData", NULL, 0)))) {
            printf("  property files in %s\n", folder);
        }
    }

    /* The images get the extension of their format: .jpg and/or .tr2. */
    strcpy(imagePath, folder);
    strcat(imagePath, kImageName);
    if (!KVT_FAILED(Step("KVT_ReleaseAndTransfer", KVT_ReleaseAndTransfer(imagePath)))) {
        printf("  images beside %s\n", imagePath);
    }

    Step("KVT_CloseDevice", KVT_CloseDevice());

    printf("factory_example: %d steps, %d failed\n", g_steps, g_failedSteps);
    return g_failedSteps == 0 ? 0 : 1;
}

/*
 * Result codes of the factory API ("oxrmsg.dll") and of its event procedures.
 *
 * Every export and every event procedure returns an unsigned 32-bit code: 0 for
 * success, anything else is a failure. The codes below are the ones the libraries
 * raise themselves; they are all odd. Codes of the camera transport and results of
 * camera-side procedures are passed through unchanged, so a program must treat any
 * nonzero value as a failure, not only the ones listed here.
 *
 * Plain C (C89 and later) and C++.
 */
#ifndef KVT_RESULTS_H
#define KVT_RESULTS_H

/* Success. */
#define KVT_OK                   0ul
/* An operating-system or runtime call failed, or a called operation failed and its
 * failure is passed on under the caller's name. */
#define KVT_E_FAILED             1ul
/* A required pointer argument is null, an argument is out of range, or the size given
 * to KVT_ExecuteEventProcS differs from the procedure's registered parameter size. */
#define KVT_E_ARGUMENT           3ul
/* An object, named block or buffer cannot be created. */
#define KVT_E_CREATE             5ul
/* A runtime text or file function failed inside the plug-in. */
#define KVT_E_PLUGIN_RUNTIME     7ul
/* The adjustment property name is not in the plug-in's catalogue. */
#define KVT_E_UNKNOWN_PROPERTY  25ul
/* The device is not open: call KVT_OpenDevice first. */
#define KVT_E_NOT_OPEN          29ul
/* A failure of an unexpected kind (not one the libraries raise themselves). */
#define KVT_E_UNEXPECTED        33ul
/* A required object, handle or value is missing or not acceptable (no monitor session,
 * more than two cameras, procedure not registered, ...). */
#define KVT_E_MISSING           35ul
/* A plug-in failed its version check when the library was loaded. */
#define KVT_E_PLUGIN_VERSION    51ul
/* The property INI files failed their version check when the library was loaded. */
#define KVT_E_INI_VERSION       53ul

/* Nonzero when a result is a failure. */
#define KVT_FAILED(result) ((result) != KVT_OK)

/*
 * The table of the codes above, for programs that print them:
 *
 *   #define NAME_ROW(name, text) case name: return text;
 *   switch (code) { KVT_RESULT_TABLE(NAME_ROW) default: return "passed-through code"; }
 */
#define KVT_RESULT_TABLE(ROW)                                                          \
    ROW(KVT_OK, "success")                                                             \
    ROW(KVT_E_FAILED, "a system or runtime call failed, or a called operation failed") \
    ROW(KVT_E_ARGUMENT, "null pointer, argument out of range or parameter size differs") \
    ROW(KVT_E_CREATE, "an object, block or buffer cannot be created")                 \
    ROW(KVT_E_PLUGIN_RUNTIME, "a text or file function failed in the plug-in")       \
    ROW(KVT_E_UNKNOWN_PROPERTY, "adjustment property name not in the catalogue")     \
    ROW(KVT_E_NOT_OPEN, "the device is not open")                                     \
    ROW(KVT_E_UNEXPECTED, "unexpected failure")                                       \
    ROW(KVT_E_MISSING, "a required object or value is missing or not acceptable")    \
    ROW(KVT_E_PLUGIN_VERSION, "a plug-in failed its version check")                  \
    ROW(KVT_E_INI_VERSION, "the property INI files failed their version check")

#endif /* KVT_RESULTS_H */

// The event-procedure registry of the process: 313 buckets of EventProcRecord chains,
// filled from the plug-ins at library load and emptied at unload, before the
// plug-ins are freed (the records point at the plug-ins' name texts).
#pragma once

#include "factory_api/plugin/PlugInContract.h"

// The host function handed to the plug-ins. Copies the three numbers (a null pointer
// reads as 0), keeps the name and procedure pointers, and puts the new record at the
// head of the name's bucket, so a later registration of a name hides an earlier one.
// Returns the previous head. A null name or procedure is refused (logged, nothing
// added, null returned). Never lets an exception out.
EventProcRecord* __cdecl RegisterEventProc(const char* name, EventProc_t procedure,
                                           const unsigned long* parameterSize,
                                           const unsigned long* direction,
                                           const unsigned long* reserved) noexcept;

// The first record of the name's bucket whose name is byte-equal (case-sensitive), or
// null after the log line "[CMNT] Not Found - <name>".
EventProcRecord* FindEventProc(const char* name);

// The head of one bucket (diagnostics and tests).
const EventProcRecord* EventProcBucketHead(unsigned bucket) noexcept;

// Asks every loaded plug-in, in list order, to register its procedures.
// No plug-ins: "[VALU] PlugInList.size()" (35); a plug-in without the export:
// "[WAPI] GetProcAddress : RegisterEventProcList" (1), later plug-ins not asked.
unsigned long RegisterEventProcList();

// Frees every record and empties all buckets; always 0.
unsigned long DeregisterEventProcList();

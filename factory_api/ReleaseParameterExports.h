// The release-parameter exports of the factory API library: standard-call, exported by
// undecorated name (KvtQ517.def). They move a ReleaseParameter record between the
// caller and the camera; none of them needs KVT_OpenDevice to have succeeded, they act
// on the cameras Corvane has connected.
//
// The S variants select the camera slot first and select slot 0 again when they end:
// slot 0 sets and gets all 20 words, slot 1 all but the flavor data (words 12-19 read
// as the defaults, FlavorMode is not written), other slots the core words 0-7 only.
// The Ex variants never write property 0x80000006 (word 6).
//
// A set pauses 100 ms twice; a set fails halfway without undoing the writes made.
#pragma once

#include "factory_api/ReleaseParameter.h"

extern "C" {

unsigned long __stdcall KVT_SetReleaseParameter(const ReleaseParameter* pReleaseParameter);
unsigned long __stdcall KVT_GetReleaseParameter(ReleaseParameter* pReleaseParameter);
unsigned long __stdcall KVT_SetReleaseParameterEx(const ReleaseParameter* pReleaseParameter);
unsigned long __stdcall KVT_GetReleaseParameterEx(ReleaseParameter* pReleaseParameter);
unsigned long __stdcall KVT_SetReleaseParameterS(const ReleaseParameter* pReleaseParameter,
                                                 unsigned long slot);
unsigned long __stdcall KVT_GetReleaseParameterS(ReleaseParameter* pReleaseParameter,
                                                 unsigned long slot);

}  // extern "C"

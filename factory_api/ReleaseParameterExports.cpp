// The six release-parameter exports. None of them needs KVT_OpenDevice to have
// succeeded: they act on the cameras Corvane has connected.
//
// The S variants select the camera slot first and select slot 0 again when they end:
// slot 0 sets and gets all 20 words, slot 1 all but the flavor data (words 12-19 read
// as the defaults, FlavorMode is not written), other slots the core words 0-7 only.
// The Ex variants never write property 0x80000006 (word 6).
//
// A set pauses 100 ms twice; a set fails halfway without undoing the writes made.
#include "include/kvt_factory.h"

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "factory_api/ModuleState.h"
#include "factory_api/ReleaseCoreParameter.h"
#include "factory_api/ReleaseExtraParameter.h"
#include "factory_api/ReleaseSlotFrame.h"

using namespace kvtq517;

namespace {

using Flavor = CReleaseExtraParameter::Flavor;

template <class Record>
Record& RequireRecord(Record* pReleaseParameter) {
    if (pReleaseParameter == nullptr) {
        kvt::Fail("[VALU] pReleaseParameter", 3);
    }
    return *pReleaseParameter;
}

void SetAll(const ReleaseParameter* pReleaseParameter, bool ex) {
    CReleaseCoreParameter core;
    CReleaseExtraParameter extra;
    const ReleaseParameter& record = RequireRecord(pReleaseParameter);
    if (ex) {
        core.SetExFlag();
    }
    core.Send(record);
    extra.Send(record, Flavor::With);
}

void GetAll(ReleaseParameter* pReleaseParameter) {
    CReleaseCoreParameter core;
    CReleaseExtraParameter extra;
    ReleaseParameter& record = RequireRecord(pReleaseParameter);
    core.Receive(record);
    extra.Receive(record, Flavor::With);
}

}  // namespace

unsigned long __stdcall KVT_SetReleaseParameter(const ReleaseParameter* pReleaseParameter) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_SetReleaseParameter"},
                            [&] { SetAll(pReleaseParameter, false); });
}

unsigned long __stdcall KVT_GetReleaseParameter(ReleaseParameter* pReleaseParameter) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_GetReleaseParameter"},
                            [&] { GetAll(pReleaseParameter); });
}

unsigned long __stdcall KVT_SetReleaseParameterEx(const ReleaseParameter* pReleaseParameter) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_SetReleaseParameterEx"},
                            [&] { SetAll(pReleaseParameter, true); });
}

unsigned long __stdcall KVT_GetReleaseParameterEx(ReleaseParameter* pReleaseParameter) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_GetReleaseParameterEx"},
                            [&] { GetAll(pReleaseParameter); });
}

unsigned long __stdcall KVT_SetReleaseParameterS(const ReleaseParameter* pReleaseParameter,
                                                 unsigned long slot) {
    return RunSlotFrame({"[FUNC] KVT_SetReleaseParameterS"}, [&] {
        SelectCameraSlot(slot);
        CReleaseCoreParameter core;
        CReleaseExtraParameter extra;
        const ReleaseParameter& record = RequireRecord(pReleaseParameter);
        core.Send(record);
        if (slot == 0) {
            extra.Send(record, Flavor::With);
        } else if (slot == 1) {
            extra.Send(record, Flavor::Without);
        }
    });
}

unsigned long __stdcall KVT_GetReleaseParameterS(ReleaseParameter* pReleaseParameter,
                                                 unsigned long slot) {
    return RunSlotFrame({"[FUNC] KVT_GetReleaseParameterS"}, [&] {
        SelectCameraSlot(slot);
        CReleaseCoreParameter core;
        CReleaseExtraParameter extra;
        ReleaseParameter& record = RequireRecord(pReleaseParameter);
        core.Receive(record);
        if (slot == 0) {
            extra.Receive(record, Flavor::With);
        } else if (slot == 1) {
            extra.Receive(record, Flavor::Without);
        }
    });
}

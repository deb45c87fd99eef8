#include "core/camera/Property.h"

#include <cstdint>
#include <cstring>
#include <iomanip>
#include <memory>
#include <vector>

#include "common/LogFile.h"
#include "common/LogStream.h"

namespace {

kvtlog::LogStream s_log;

// Identifiers registered per "FA_RegistSavePropertyList" call.
constexpr unsigned kSaveListBatch = 9;

int AsParameter(unsigned value) {
    return static_cast<int>(value);
}

unsigned long AsCode(int result) {
    return static_cast<unsigned long>(static_cast<unsigned>(result));
}

// A procedure with one 4-byte argument, for the static members.
int RunWithValue(const char* name, unsigned value) {
    CEventProcedure procedure;
    int result = 0;
    procedure.Execute(name, AsParameter(value), &result);
    return result;
}

}  // namespace

class CProperty::Impl {
public:
    std::string _SetName;
    std::string _GetName;
    std::string _SaveName;   // kept as given; the save members use "FA_SaveProperty"
    std::vector<unsigned> _SaveList;
    unsigned _ListSize = 0;
    unsigned _PropertyIndex = 0;
};

bool CProperty::_IsSetupDigitalProperty = false;

CException* CProperty::_Construct(const std::string& SetName, const std::string& GetName,
                                  const std::string& SaveName) noexcept {
    return kvt::ReportFailure([&] {
        std::unique_ptr<Impl> impl(new Impl);
        impl->_SetName = SetName;
        impl->_GetName = GetName;
        impl->_SaveName = SaveName;
        _pImpl = impl.release();
    });
}

CProperty::~CProperty() {
    delete _pImpl;
}

CPublicProperty::~CPublicProperty() = default;
CPrivateProperty::~CPrivateProperty() = default;
CAdapterProperty::~CAdapterProperty() = default;

CException* CProperty::_Set(const unsigned& PropertyID, const unsigned& size,
                            void* pData) noexcept {
    return kvt::ReportFailure([&] {
        if (pData == nullptr) {
            kvt::Fail("[VALU] pData", 3);
        }
        const unsigned id = PropertyID;
        const unsigned n = size;
        ClearParameters();
        PushParameterAsInteger(AsParameter(id), 2);
        PushParameterAsInteger(AsParameter(n), 2);
        PushParameterAsSafeArray(pData, n);
        int result = 0;
        Execute(_pImpl->_SetName, &result);
        // Only bit 0 marks a refusal; the other bits carry the camera's own information.
        if ((result & 1) != 0) {
            kvtlog::Stamp(s_log) << "[VALU] PropertyID - " << std::dec << id << '\n';
            kvtlog::CommitLog(s_log);
            kvt::Fail("[EVNT] FA_Set*Property", AsCode(result));
        }
    });
}

CException* CProperty::_Set(const unsigned& PropertyID, const unsigned& size,
                            unsigned value) noexcept {
    return kvt::ReportFailure([&] {
        // The value holds four bytes; more would send whatever lies beyond it.
        if (size > sizeof(value)) {
            kvt::Fail("[VALU] size", 3);
        }
        Set(PropertyID, size, static_cast<void*>(&value));
    });
}

CException* CProperty::_Get(const unsigned& PropertyID, const unsigned& capacity,
                            unsigned* returned, void* pData) noexcept {
    return kvt::ReportFailure([&] {
        if (pData == nullptr) {
            kvt::Fail("[VALU] pData", 3);
        }
        const unsigned room = capacity;   // `returned` may point at the capacity itself
        ClearParameters();
        PushParameterAsInteger(AsParameter(PropertyID), 2);
        PushParameterAsInteger(AsParameter(room), 2);
        int result = 0;
        ExecuteAndGetData(_pImpl->_GetName, pData, room, returned, &result);
    });
}

CException* CProperty::_Save(const unsigned& PropertyID) noexcept {
    return kvt::ReportFailure([&] {
        const int result = RunWithValue("FA_SaveProperty", PropertyID);
        if (result != 0) {
            kvt::Fail("[EVNT] FA_SaveProperty", AsCode(result));
        }
    });
}

CException* CProperty::_Load(const unsigned& PropertyID) noexcept {
    return kvt::ReportFailure([&] {
        const int result = RunWithValue("FA_LoadProperty", PropertyID);
        if (result != 0) {
            kvt::Fail("[EVNT] FA_LoadProperty", AsCode(result));
        }
    });
}

void CProperty::Initialize() noexcept {
    _IsSetupDigitalProperty = false;
}

CException* CProperty::_Setup() noexcept {
    return kvt::ReportFailure([&] {
        if (_IsSetupDigitalProperty) {
            return;
        }
        int result = 0;
        Execute("FA_SetupDigitalPropertyData", 0, &result);
        if (result != 0) {
            _IsSetupDigitalProperty = false;
            kvt::Fail("[EVNT] FA_SetupDigitalPropertyData", 1);
        }
        _IsSetupDigitalProperty = true;
    });
}

CException* CProperty::_GetSize(const unsigned& PropertyID, int* size) noexcept {
    return kvt::ReportFailure([&] {
        if (size == nullptr) {
            kvt::Fail("[VALU] size", 3);
        }
        int result = 0;
        Execute("FA_GetPropertyDataSize", AsParameter(PropertyID), &result);
        if (result == -1) {
            kvt::Fail("[EVNT] FA_GetPropertyDataSize", 1);
        }
        *size = result;
    });
}

CException* CProperty::_GetOffset(const unsigned& PropertyID, const std::string& Name,
                                  int* offset) noexcept {
    return kvt::ReportFailure([&] {
        if (offset == nullptr) {
            kvt::Fail("[VALU] offset", 3);
        }
        ClearParameters();
        PushParameterAsInteger(AsParameter(PropertyID), 2);
        PushParameterAsString(Name);
        int result = 0;
        Execute("FA_GetDigitalPropertyDataOffset", &result);
        if (result == -1) {
            kvt::Fail("[EVNT] FA_GetDigitalPropertyDataOffset", 1);
        }
        *offset = result;
    });
}

void CProperty::ClearList() noexcept {
    _pImpl->_SaveList.clear();
    _pImpl->_ListSize = 0;
    _pImpl->_PropertyIndex = 0;
}

CException* CProperty::_InitializeList(const unsigned& PropertyCountMax) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned n = PropertyCountMax;
        if (n == 0) {
            kvt::Fail("[VALU] PropertyCountMax", 3);
        }
        _pImpl->_SaveList.assign(n, 0u);
        _pImpl->_ListSize = n;
        _pImpl->_PropertyIndex = 0;
    });
}

CException* CProperty::_PushList(const unsigned& PropertyID) noexcept {
    return kvt::ReportFailure([&] {
        Impl& impl = *_pImpl;
        if (static_cast<std::uint64_t>(impl._PropertyIndex) + 1 > impl._ListSize) {
            kvt::Fail("[VALU] _pImpl->_PropertyIndex + 1", 35);
        }
        impl._SaveList[impl._PropertyIndex] = PropertyID;
        ++impl._PropertyIndex;
    });
}

CException* CProperty::_SaveList() noexcept {
    return kvt::ReportFailure([&] {
        const std::vector<unsigned>& list = _pImpl->_SaveList;
        const unsigned n = _pImpl->_ListSize;
        int result = 0;
        Execute("FA_SetSavePropertyListNum", AsParameter(n), &result);
        if (result != 0) {
            kvt::Fail("[EVNT] FA_SetSavePropertyListNum", AsCode(result));
        }
        // Full batches first, then the remainder; entries never pushed go as 0.
        for (unsigned first = 0; first < n; first += kSaveListBatch) {
            const unsigned count = (n - first < kSaveListBatch) ? n - first : kSaveListBatch;
            ClearParameters();
            PushParameterAsInteger(AsParameter(count), 2);
            for (unsigned i = first; i < first + count; ++i) {
                kvtlog::Stamp(s_log) << "[VALU] PropertyID - 0x" << std::hex << std::setw(8)
                                     << std::setfill('0') << list[i] << std::dec << '\n';
                kvtlog::CommitLog(s_log);
                PushParameterAsInteger(AsParameter(list[i]), 2);
            }
            Execute("FA_RegistSavePropertyList", &result);
            if (result != 0) {
                kvt::Fail("[EVNT] FA_RegistSavePropertyList", AsCode(result));
            }
        }
        Execute("FA_SavePropertyList", 0, &result);
        if (result != 0) {
            kvt::Fail("[EVNT] FA_SavePropertyList", AsCode(result));
        }
    });
}

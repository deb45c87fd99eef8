#include "core/camera/TransparentMemory.h"

#include <memory>
#include <new>

#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/LogStream.h"

namespace {

kvtlog::LogStream s_log;

int AsParameter(unsigned value) {
    return static_cast<int>(value);
}

unsigned long AsCode(int result) {
    return static_cast<unsigned long>(static_cast<unsigned>(result));
}

void Require(const void* pointer, const char* message) {
    if (pointer == nullptr) {
        kvt::Fail(message, 3);
    }
}

}  // namespace

class CTransparentMemory::Impl {
public:
    std::string _AttachedName;   // the registration made last; "" when none
};

namespace {

// Clear, push the name and the two values, run. A nonzero result fails with `failure`
// and that result, leaving `attached` as it was; else Name becomes the attached name.
void Register(CEventProcedure& client, std::string& attached, const char* procedure,
              const char* failure, const std::string& Name, unsigned First, unsigned Second) {
    client.ClearParameters();
    client.PushParameterAsString(Name);
    client.PushParameterAsInteger(AsParameter(First), 2);
    client.PushParameterAsInteger(AsParameter(Second), 2);
    int result = 0;
    client.Execute(procedure, &result);
    if (result != 0) {
        kvt::Fail(failure, AsCode(result));
    }
    attached = Name;
}

int RunRemove(CEventProcedure& client, const std::string& Name) {
    client.ClearParameters();
    client.PushParameterAsString(Name);
    int result = 0;
    client.Execute("RemoveTransMemory", &result);
    return result;
}

// Selects the named memory-data block for the next GetData and checks its size.
void SelectBlockOfSize(CEventProcedure& client, const std::string& Name, unsigned DataSize) {
    unsigned size = 0;
    client.GetDataSize(Name, &size);
    if (size != DataSize) {
        kvt::Fail("[VALU] DataSize", 35);
    }
}

}  // namespace

CException* CTransparentMemory::_Construct() noexcept {
    return kvt::ReportFailure([&] { _pImpl = new Impl; });
}

CTransparentMemory::~CTransparentMemory() {
    if (_pImpl != nullptr) {
        kvtlog::LogSwallowedFailure(s_log, _Remove(), "CTransparentMemory::~CTransparentMemory");
    }
    delete _pImpl;
    _pImpl = nullptr;
}

CException* CTransparentMemory::_Attach(const std::string& Name, const unsigned& First,
                                        const unsigned& Second) noexcept {
    return kvt::ReportFailure([&] {
        Register(*this, _pImpl->_AttachedName, "AttachToTransMemory", "[EVNT] AttachToTransMemory",
                 Name, First, Second);
    });
}

CException* CTransparentMemory::_Add(const std::string& Name, const unsigned& First,
                                     const unsigned& Second) noexcept {
    return kvt::ReportFailure([&] {
        Register(*this, _pImpl->_AttachedName, "AddTransMemory", "[EVNT] AddTransMemory", Name,
                 First, Second);
    });
}

CException* CTransparentMemory::_Remove(const std::string& Name) noexcept {
    return kvt::ReportFailure([&] {
        const std::string name = Name;   // Name may be the attached name itself
        const int result = RunRemove(*this, name);
        _pImpl->_AttachedName.clear();
        if (result != 0) {
            kvt::Fail("[EVNT] RemoveTransMemory", 1);
        }
    });
}

CException* CTransparentMemory::_Remove() noexcept {
    return kvt::ReportFailure([&] {
        if (_pImpl->_AttachedName.empty()) {
            return;
        }
        RunRemove(*this, _pImpl->_AttachedName);
        _pImpl->_AttachedName.clear();
    });
}

CException* CTransparentMemory::_QuerySize(const std::string& Name, unsigned* pDataSize) noexcept {
    return kvt::ReportFailure([&] {
        Require(pDataSize, "[VALU] pDataSize");
        GetDataSize(Name, pDataSize);
    });
}

CException* CTransparentMemory::_QueryPosition(const std::string& Name,
                                               unsigned* pPosition) noexcept {
    return kvt::ReportFailure([&] {
        Require(pPosition, "[VALU] pPosition");
        ClearParameters();
        PushParameterAsString(Name);
        int result = 0;
        Execute("GetTransMemory", &result);
        *pPosition = static_cast<unsigned>(result);
        if (*pPosition == 0) {
            kvt::Fail("[VALU] *pPosition", 35);
        }
    });
}

CException* CTransparentMemory::_Read(const std::string& Name, unsigned char** ppData,
                                      const unsigned& DataSize) noexcept {
    return kvt::ReportFailure([&] {
        Require(ppData, "[VALU] ppData");
        *ppData = nullptr;
        const unsigned size = DataSize;
        SelectBlockOfSize(*this, Name, size);
        std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[size]);
        if (!data) {
            kvt::Fail("[VALU] ppData", 1);
        }
        unsigned read = 0;
        GetData(data.get(), size, &read);
        *ppData = data.release();
    });
}

CException* CTransparentMemory::_Read(const std::string& Name, void* pData,
                                      const unsigned& DataSize) noexcept {
    return kvt::ReportFailure([&] {
        Require(pData, "[VALU] pData");
        const unsigned size = DataSize;
        SelectBlockOfSize(*this, Name, size);
        unsigned read = 0;
        GetData(pData, size, &read);
    });
}

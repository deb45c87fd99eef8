// CFilePath: where the system's files live. Everything is found relative to the
// folder of the core library (its module handle is published in "SHARED_NAME_HANDLE")
// and the model folder "_Q<model>_" beside it.
//
// Every path it returns fits 260 characters (a MAX_PATH buffer with its zero); a longer
// one fails with "[VALU] FullPath.length()" (code 3), and GetFullPath returns "".
//
// Members that can fail come in two halves (see common/ModuleBoundary.h): the public
// inline member raises in the caller's module what the exported "_" member reports.
#pragma once

#include <string>

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"
#include "common/Win32.h"

class KVT_FILEPATH_API CFilePath {
public:
    // Opens "SHARED_NAME_HANDLE" and reads the core library's handle;
    // fails with "[VALU] _pImpl->_hCommonModule" (35) when it is 0.
    CFilePath() : _pImpl(nullptr) { kvt::RaiseReported(_Construct()); }
    virtual ~CFilePath();

    // Copying would leave two owners of one implementation object: refused.
    CFilePath(const CFilePath&) = delete;
    CFilePath& operator=(const CFilePath&) = delete;

    // The common folder followed by FileName; never fails (empty on any failure).
    std::string GetFullPath(const std::string& FileName);
    std::string GetFullPath() const;

    std::string GetParserFullPath() { return _Text(&CFilePath::_GetParserFullPath); }
    std::string GetCommonFullPath() { return _Text(&CFilePath::_GetCommonFullPath); }
    std::string GetPropertyFullPath() { return _Text(&CFilePath::_GetPropertyFullPath); }
    // Fails like GetPropertyFullPath(); also when the joined path exceeds 260 characters.
    std::string GetPropertyFullPath(const std::string& FileName) {
        std::string out;
        kvt::RaiseReported(_GetPropertyFullPathOf(FileName, out));
        return out;
    }
    std::string GetPlugInFullPath() { return _Text(&CFilePath::_GetPlugInFullPath); }
    std::string GetCompilerFullPath() { return _Text(&CFilePath::_GetCompilerFullPath); }
    std::string GetCompilerFullPath(const std::string& FileName) {
        std::string out;
        kvt::RaiseReported(_GetCompilerFullPathOf(FileName, out));
        return out;
    }
    std::string CreateCommonDirectory(const std::string& DirectoryName) {
        std::string out;
        kvt::RaiseReported(_CreateCommonDirectory(DirectoryName, out));
        return out;
    }
    std::string CreateDebugDataDirectory() { return _Text(&CFilePath::_CreateDebugDataDirectory); }
    // Callers that include <windows.h> see it as CreateDirectoryA (the character-set
    // macro renames it in every module alike); it binds the exported _CreateDirectory.
    std::string CreateDirectory(const std::string& DirectoryName) {
        std::string out;
        kvt::RaiseReported(_CreateDirectory(DirectoryName, out));
        return out;
    }
    std::string CreateIndividualDirectory(const std::string& DirectoryNameMain,
                                          const std::string& DirectoryNameSub) {
        std::string out;
        kvt::RaiseReported(_CreateIndividualDirectory(DirectoryNameMain, DirectoryNameSub, out));
        return out;
    }

    // The exported halves: each returns its failure instead of raising it.
    CException* _Construct() noexcept;
    CException* _GetParserFullPath(std::string& out) noexcept;
    CException* _GetCommonFullPath(std::string& out) noexcept;
    CException* _GetPropertyFullPath(std::string& out) noexcept;
    CException* _GetPropertyFullPathOf(const std::string& FileName, std::string& out) noexcept;
    CException* _GetPlugInFullPath(std::string& out) noexcept;
    CException* _GetCompilerFullPath(std::string& out) noexcept;
    CException* _GetCompilerFullPathOf(const std::string& FileName, std::string& out) noexcept;
    CException* _CreateCommonDirectory(const std::string& DirectoryName, std::string& out) noexcept;
    CException* _CreateDebugDataDirectory(std::string& out) noexcept;
    CException* _CreateDirectory(const std::string& DirectoryName, std::string& out) noexcept;
    CException* _CreateIndividualDirectory(const std::string& DirectoryNameMain,
                                           const std::string& DirectoryNameSub,
                                           std::string& out) noexcept;

private:
    std::string _Text(CException* (CFilePath::*member)(std::string&) noexcept) {
        std::string out;
        kvt::RaiseReported((this->*member)(out));
        return out;
    }
    // The 12-character body-number text (body-ID block first, then the camera).
    std::string _GetBodyID();

    class Impl;
    Impl* _pImpl;
};

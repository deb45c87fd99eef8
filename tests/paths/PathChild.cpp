// Child process of the path tests. Runs CFilePath beside the Corvane.dll it was copied
// next to, one operation per argument ("op" or "op:argument"), and prints one answer
// line per operation: "> op=<result>" or "> op!<code> <message>".
//
//   parser common property[:name] plugin compiler[:name] fullpath:name lastpath
//   commondir:name debugdata create:name
//   logcount:text   lines of ./KvtDll.log that contain text
//   modelblock      "exists" when some process holds "SHARED_NAME_MODELID"
//   nohandle        constructs another CFilePath while "SHARED_NAME_HANDLE" holds 0
//                   (the handle is put back afterwards)
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "common/FilePath.h"
#include "common/Handles.h"
#include "common/SharedMemory.h"

namespace {

using Operation = std::function<std::string(CFilePath&, const std::string&)>;

int CountLogLines(const std::string& text) {
    std::ifstream log("KvtDll.log");
    int count = 0;
    for (std::string line; std::getline(log, line);) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

const std::map<std::string, Operation>& Operations() {
    static const std::map<std::string, Operation> table = {
        {"parser", [](CFilePath& p, const std::string&) { return p.GetParserFullPath(); }},
        {"common", [](CFilePath& p, const std::string&) { return p.GetCommonFullPath(); }},
        {"property", [](CFilePath& p, const std::string&) { return p.GetPropertyFullPath(); }},
        {"property:", [](CFilePath& p, const std::string& a) { return p.GetPropertyFullPath(a); }},
        {"plugin", [](CFilePath& p, const std::string&) { return p.GetPlugInFullPath(); }},
        {"compiler", [](CFilePath& p, const std::string&) { return p.GetCompilerFullPath(); }},
        {"compiler:", [](CFilePath& p, const std::string& a) { return p.GetCompilerFullPath(a); }},
        {"fullpath:", [](CFilePath& p, const std::string& a) { return p.GetFullPath(a); }},
        {"lastpath", [](CFilePath& p, const std::string&) { return p.GetFullPath(); }},
        {"commondir:",
         [](CFilePath& p, const std::string& a) { return p.CreateCommonDirectory(a); }},
        {"debugdata", [](CFilePath& p, const std::string&) { return p.CreateDebugDataDirectory(); }},
        {"create:", [](CFilePath& p, const std::string& a) { return p.CreateDirectory(a); }},
        {"logcount:",
         [](CFilePath&, const std::string& a) { return std::to_string(CountLogLines(a)); }},
        {"nohandle",
         [](CFilePath&, const std::string&) {
             CCommonModuleSharedMemory block;
             std::uint32_t saved = 0;
             {
                 kvt::BlockAccess access(block);
                 if (!access.Read(saved) || !access.Write(std::uint32_t{0})) {
                     return std::string("block not accessible");
                 }
             }
             struct Restore {
                 CCommonModuleSharedMemory& block;
                 std::uint32_t saved;
                 ~Restore() { kvt::BlockAccess(block).Write(saved); }
             } restore{block, saved};
             CFilePath second;
             return std::string("constructed");
         }},
        {"modelblock",
         [](CFilePath&, const std::string&) {
             kvt::UniqueKernelHandle h(
                 ::OpenFileMappingA(FILE_MAP_READ, FALSE, "SHARED_NAME_MODELID"));
             return std::string(h ? "exists" : "absent");
         }},
    };
    return table;
}

void Answer(const std::string& op, const char* kind, const std::string& text) {
    std::printf("> %s%s%s\n", op.c_str(), kind, text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    CFilePath* path = nullptr;
    try {
        path = new CFilePath;
    } catch (CException* e) {
        Answer("construct", "!", std::to_string(e->Code()) + " " + e->Message());
        delete e;
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string op = argv[i];
        const std::size_t colon = op.find(':');
        const std::string key = colon == std::string::npos ? op : op.substr(0, colon + 1);
        const std::string argument = colon == std::string::npos ? "" : op.substr(colon + 1);
        const auto found = Operations().find(key);
        if (found == Operations().end()) {
            Answer(op, "!", "unknown operation");
            continue;
        }
        try {
            Answer(op, "=", found->second(*path, argument));
        } catch (CException* e) {
            Answer(op, "!", std::to_string(e->Code()) + " " + e->Message());
            delete e;
        } catch (...) {
            Answer(op, "!", "foreign");
        }
    }
    std::fflush(stdout);
    delete path;
    return 0;
}

#include "simulator/camera/Scenario.h"

#include <vector>

#include "simulator/camera/IniText.h"
#include "simulator/camera/ScenarioCamera.h"
#include "simulator/camera/ScenarioSource.h"
#include "simulator/camera/TransportNames.h"
#include "simulator/camera/ValueSyntax.h"
#include "simulator/camera/World.h"

namespace kvtsim {
namespace {
// "Camera3" or "Camera3.Public": index 3, sub "" or "Public".
bool SplitCameraSection(const std::string& section, unsigned* index, std::string* sub) {
    if (section.size() < 7 || !SameName(section.substr(0, 6), "Camera") ||
        section[6] < '0' || section[6] > '9') {
        return false;
    }
    std::size_t i = 6;
    unsigned n = 0;
    while (i < section.size() && section[i] >= '0' && section[i] <= '9' && n < 100) {
        n = n * 10 + static_cast<unsigned>(section[i++] - '0');
    }
    if (i < section.size() && section[i] != '.') {
        return false;
    }
    *index = n;
    *sub = i < section.size() ? section.substr(i + 1) : std::string();
    return true;
}

std::string At(const IniEntry& e, const std::string& what) {
    return "line " + std::to_string(e.line) + ": " + what;
}

class Applier {
public:
    Applier(const std::string& baseDir, std::string* error) : _baseDir(baseDir), _error(error) {}

    bool Run(World& world, const std::string& text, bool replace) {
        std::vector<IniEntry> entries;
        if (!ParseIni(text, &entries, _error)) {
            return false;
        }
        for (const IniEntry& e : entries) {
            if (SameName(e.section, "Replay")) {
                return RunReplay(world, entries, replace);
            }
        }
        if (!replace && world.replay) {
            *_error = "the camera replays " + world.replay->Path() + ": load a scenario instead";
            return false;
        }
        if (!replace) {
            for (const auto& c : world.cameras) {
                _cameras.push_back(std::make_unique<Camera>(*c));
            }
            _faults = world.faults;
        }
        unsigned count = 0;
        if (!CameraCount(entries, replace, &count) || !Resize(entries, count, replace) ||
            !ApplyAll(entries)) {
            return false;
        }
        world.Replace(std::move(_cameras), std::move(_faults));
        if (replace) {
            world.replay.reset();
            world.journal.Clear();
        }
        return true;
    }

    // "[Replay] Recording = <path>": the camera answers from that recording; the
    // section stands alone.
    bool RunReplay(World& world, const std::vector<IniEntry>& entries, bool replace) {
        std::string recording;
        for (const IniEntry& e : entries) {
            if (!SameName(e.section, "Replay")) {
                *_error = At(e, "a [Replay] scenario has no other section");
                return false;
            }
            if (!SameName(e.key, "Recording") || !recording.empty()) {
                *_error = At(e, "[Replay] holds one key, Recording");
                return false;
            }
            recording = e.value;
        }
        if (!replace) {
            *_error = "a recording is loaded as a scenario, not applied on top of one";
            return false;
        }
        if (recording.empty()) {
            *_error = "[Replay] names no Recording";
            return false;
        }
        const std::string path = kvtrec::PathFrom(_baseDir, recording);
        std::string error;
        std::unique_ptr<Replay> replay = Replay::Load(path, &error);
        if (!replay) {
            *_error = "recording " + path + ": " + error;
            return false;
        }
        world.Replace(CameraList(), CallRules());
        world.replay = std::move(replay);
        world.journal.Clear();
        return true;
    }

private:
    bool CameraCount(const std::vector<IniEntry>& entries, bool replace, unsigned* count) {
        bool given = false;
        unsigned highest = 0;
        bool anyCamera = false;
        for (const IniEntry& e : entries) {
            unsigned index;
            std::string sub;
            if (SameName(e.section, "Cameras")) {
                std::uint32_t n;
                if (!SameName(e.key, "Count")) {
                    *_error = At(e, "unknown key '" + e.key + "' in [Cameras]");
                    return false;
                }
                if (!ParseU32(e.value, &n) || n > kMaxCameras) {
                    *_error = At(e, "Count is 0 to 8");
                    return false;
                }
                *count = n;
                given = true;
            } else if (SplitCameraSection(e.section, &index, &sub)) {
                anyCamera = true;
                highest = index > highest ? index : highest;
            }
        }
        if (!given) {
            *count = replace ? (anyCamera ? highest + 1 : 1)
                             : static_cast<unsigned>(_cameras.size());
        }
        if (*count > kMaxCameras) {
            *_error = "more than 8 cameras";
            return false;
        }
        return true;
    }

    // New cameras start from their template: "default" (the built-in camera 0) unless
    // the text says "Template = empty".
    bool Resize(const std::vector<IniEntry>& entries, unsigned count, bool replace) {
        if (_cameras.size() > count) {
            _cameras.resize(count);
        }
        std::size_t existing = _cameras.size();
        for (unsigned i = static_cast<unsigned>(existing); i < count; ++i) {
            _cameras.push_back(std::make_unique<Camera>(i));
        }
        for (const IniEntry& e : entries) {
            unsigned index;
            std::string sub;
            if (SplitCameraSection(e.section, &index, &sub) && sub.empty() &&
                SameName(e.key, "Template")) {
                if (index < existing && !replace) {
                    *_error = At(e, "Template is only taken by a new camera");
                    return false;
                }
                if (!SameName(e.value, "default") && !SameName(e.value, "empty")) {
                    *_error = At(e, "Template is 'default' or 'empty'");
                    return false;
                }
                if (index < count) {
                    _template[index] = SameName(e.value, "default");
                }
            }
        }
        for (unsigned i = static_cast<unsigned>(existing); i < count; ++i) {
            if (_template[i] && !ApplyTemplate(*_cameras[i])) {
                return false;
            }
        }
        return true;
    }

    bool ApplyTemplate(Camera& camera) {
        std::vector<IniEntry> entries;
        std::string error;
        if (!ParseIni(BuiltInScenarioText(), &entries, &error)) {
            *_error = "built-in scenario: " + error;
            return false;
        }
        for (const IniEntry& e : entries) {
            unsigned index;
            std::string sub;
            if (SplitCameraSection(e.section, &index, &sub) && index == 0 &&
                !(sub.empty() && SameName(e.key, "Template")) &&
                !ApplyCameraEntry(camera, sub, e, LibraryFolder(), &error)) {
                *_error = "built-in scenario: " + error;
                return false;
            }
        }
        return true;
    }

    bool ApplyAll(const std::vector<IniEntry>& entries) {
        for (const IniEntry& e : entries) {
            unsigned index;
            std::string sub;
            if (SameName(e.section, "Cameras")) {
                continue;
            }
            if (SameName(e.section, "Faults")) {
                if (!ApplyFault(e)) {
                    return false;
                }
                continue;
            }
            if (!SplitCameraSection(e.section, &index, &sub)) {
                *_error = At(e, "unknown section [" + e.section + "]");
                return false;
            }
            if (index >= _cameras.size()) {
                *_error = At(e, "[" + e.section + "] is beyond the camera count");
                return false;
            }
            if (sub.empty() && SameName(e.key, "Template")) {
                continue;
            }
            if (!ApplyCameraEntry(*_cameras[index], sub, e, _baseDir, _error)) {
                return false;
            }
        }
        return true;
    }

    // "k2pConnectCamera = 5" (every call), "k2pConnectCamera#2 = 5"; status 0 removes.
    bool ApplyFault(const IniEntry& e) {
        std::string name = e.key;
        std::uint64_t nth = 0;
        std::size_t hash = name.find('#');
        if (hash != std::string::npos) {
            if (!ParseNumber(name.substr(hash + 1), &nth) || nth == 0) {
                *_error = At(e, "a call number is '#1' or more");
                return false;
            }
            name = name.substr(0, hash);
        }
        std::uint32_t status;
        if (!IsTransportFunction(name)) {
            *_error = At(e, "'" + name + "' is not a transport function");
            return false;
        }
        if (!ParseU32(e.value, &status)) {
            *_error = At(e, "the status is a number");
            return false;
        }
        if (status == 0) {
            _faults.Remove(name, RuleKind::Status);
        } else {
            _faults.Add(name, RuleKind::Status, nth, status);
        }
        return true;
    }

    std::string _baseDir;
    std::string* _error;
    CameraList _cameras;
    CallRules _faults;
    bool _template[kMaxCameras] = {true, true, true, true, true, true, true, true};
};
}  // namespace

bool LoadScenario(World& world, const std::string& text, const std::string& baseDir,
                  std::string* error) {
    return Applier(baseDir, error).Run(world, text, true);
}

bool ApplyScenario(World& world, const std::string& text, const std::string& baseDir,
                   std::string* error) {
    return Applier(baseDir, error).Run(world, text, false);
}

}  // namespace kvtsim

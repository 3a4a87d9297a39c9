#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeKey.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vt::fake {

namespace {
Behaviour defaultBehaviour = Behaviour::Wine;
}  // namespace

void FakePlatform::SetDefaultBehaviour(Behaviour behaviour) {
    defaultBehaviour = behaviour;
}
Behaviour FakePlatform::DefaultBehaviour() {
    return defaultBehaviour;
}

FakePlatform::FakePlatform() : behaviour_(defaultBehaviour) {
    SetCodePage(1252);
    localMachine_ = std::make_shared<Key>();
    localMachine_->path = "HKEY_LOCAL_MACHINE";
    users_ = std::make_shared<Key>();
    users_->path = "HKEY_USERS";
    users_->AddChild(".DEFAULT");
    currentUser_ = users_->AddChild("S-1-5-21-0-0-0-1000");
    currentUser_->path = "HKEY_CURRENT_USER";
    classesRoot_ = localMachine_->AddChild("Software")->AddChild("Classes");
    classesRoot_->path = "HKEY_CLASSES_ROOT";  // the log names class keys as the program does

    MakeDirectories("C:\\");
    MakeDirectories(windowsDir_ + "\\SYSTEM");

    memory_.dwMemoryLoad = 25;
    memory_.dwTotalPhys = 64u * 1024 * 1024;
    memory_.dwAvailPhys = 48u * 1024 * 1024;
    memory_.dwTotalPageFile = 256u * 1024 * 1024;
    memory_.dwAvailPageFile = 200u * 1024 * 1024;
    memory_.dwTotalVirtual = 2048u * 1024 * 1024;
    memory_.dwAvailVirtual = 2000u * 1024 * 1024;
    version_.dwMajorVersion = 4;
    version_.dwMinorVersion = 10;
    version_.dwBuildNumber = 0x040A08AE;
    version_.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    std::strcpy(version_.szCSDVersion, " A ");
}

FakePlatform::~FakePlatform() = default;

// --- Test controls ---------------------------------------------------------------------

void FakePlatform::FailNth(Call kind, int nth, LONG error) {
    faults_.push_back({[kind, remaining = nth](const CallInfo& call) mutable {
                           return call.kind == kind && --remaining == 0;
                       },
                       error});
}

void FakePlatform::FailWhen(std::function<bool(const CallInfo&)> match, LONG error) {
    faults_.push_back({std::move(match), error});
}

void FakePlatform::ClearFaults() {
    faults_.clear();
    ignores_.clear();
    profileRoom_ = 0;
}

void FakePlatform::IgnoreWhen(std::function<bool(const CallInfo&)> match) {
    ignores_.push_back(std::move(match));
}

void FakePlatform::LoseUnflushedWrites() {
    for (auto& [path, saved] : flushedHives_) {
        std::shared_ptr<Key> hive = path == localMachine_->path ? localMachine_ : nullptr;
        for (const auto& [_, user] : users_->children)
            if (user->path == path) hive = user;
        if (!hive) continue;
        MarkDeleted(*hive);
        hive->deleted = false;
        hive->values = saved->values;
        hive->children = saved->children;
        for (auto& [_, child] : hive->children) child->parent = hive;
    }
    flushedHives_.clear();
    classesRoot_ = localMachine_->AddChild("Software")->AddChild("Classes");
    classesRoot_->path = "HKEY_CLASSES_ROOT";
    handles_.clear();
    for (auto& [path, onDisk] : unflushedFiles_) {
        if (onDisk)
            files_[path] = *onDisk;
        else
            files_.erase(path);
    }
    unflushedFiles_.clear();
    profileCache_.reset();
}

std::vector<std::string> FakePlatform::Dump() const {
    std::vector<std::string> lines;
    auto hex = [](const std::vector<BYTE>& bytes) {
        std::string text;
        char byte[4];
        for (BYTE b : bytes) {
            std::snprintf(byte, sizeof byte, "%02x", b);
            text += byte;
        }
        return text;
    };
    std::function<void(const Key&, const std::string&)> walk = [&](const Key& key,
                                                                   const std::string& path) {
        lines.push_back("key " + path);
        for (const auto& [_, value] : key.values)
            lines.push_back("value " + path + "|" + value.first + "|" +
                            std::to_string(value.second.type) + "|" + hex(value.second.data));
        for (const auto& [_, child] : key.children) walk(*child, path + "\\" + child->name);
    };
    walk(*localMachine_, "HKEY_LOCAL_MACHINE");
    walk(*users_, "HKEY_USERS");
    for (const auto& [_, path] : directories_) lines.push_back("folder " + path);
    for (const auto& [path, file] : files_)
        lines.push_back("file " + path + "|" + std::to_string(file.attributes) + "|" +
                        hex(file.data));
    return lines;
}

LONG FakePlatform::Enter(const CallInfo& call) {
    if (powerLeft_ < 0 || (powerLeft_ > 0 && --powerLeft_ == 0)) {
        powerLeft_ = -1;
        throw PowerCut{};
    }
    calls_.push_back(call);
    for (Fault& fault : faults_)
        if (fault.match(call)) return fault.error;
    ignored_ = std::any_of(ignores_.begin(), ignores_.end(),
                           [&](const auto& match) { return match(call); });
    return ERROR_SUCCESS;
}

BOOL FakePlatform::Fail(LONG error) {
    lastError_ = static_cast<DWORD>(error);
    return FALSE;
}

}  // namespace vt::fake

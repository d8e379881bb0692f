#include "services/Shell.h"

#include "base/Failure.h"

namespace kavrolt {
namespace {

void Execute(const ShellPlatform& platform, WindowHandle owner, std::u16string_view file,
             std::u16string_view parameters) {
    ShellRequest request;
    request.owner = owner;
    request.verb = kShellVerb;
    request.file = file;
    request.parameters = parameters;
    request.showCommand = kShowCommand;
    platform.execute(request);
}

// Closes the token when it goes out of scope.
class TokenGuard {
public:
    TokenGuard(const ShutdownPlatform& platform, TokenHandle token)
        : platform_(platform), token_(token) {}
    TokenGuard(const TokenGuard&) = delete;
    TokenGuard& operator=(const TokenGuard&) = delete;
    ~TokenGuard() {
        Guarded([this] { platform_.closeHandle(token_); });
    }
    TokenHandle get() const { return token_; }

private:
    const ShutdownPlatform& platform_;
    TokenHandle token_;
};

} // namespace

std::u16string FolderOfPath(std::u16string_view path) {
    const std::size_t last = path.find_last_of(u"\\/:");
    if (last == std::u16string_view::npos)
        return {};
    return std::u16string(path.substr(0, last + 1));
}

std::u16string HelpAddress(std::u16string_view folder, std::u16string_view helpFile,
                           std::u16string_view topic) {
    std::u16string address(folder);
    address += helpFile;
    address += kHelpTopicSeparator;
    address += topic;
    address += kHelpWindowType;
    return address;
}

void OpenDocument(const ShellPlatform& platform, std::u16string_view file,
                  std::u16string_view parameters) {
    Guarded([&] { Execute(platform, platform.applicationWindow(), file, parameters); });
}

void RunProgram(const ShellPlatform& platform, std::u16string_view file,
                std::u16string_view parameters) {
    Guarded([&] { Execute(platform, nullptr, file, parameters); });
}

void OpenUrl(const ShellPlatform& platform, std::u16string_view address) {
    Guarded([&] { Execute(platform, platform.applicationWindow(), address, {}); });
}

void ShowHelpTopic(const ShellPlatform& platform, std::u16string_view helpFile,
                   std::u16string_view topic) {
    Guarded(
        [&] { platform.displayHelpTopic(HelpAddress(platform.programFolder(), helpFile, topic)); });
}

void SetShutdownPrivilege(const ShutdownPlatform& platform, bool on) {
    Guarded([&] {
        TokenHandle token = nullptr;
        if (!platform.openProcessToken(kTokenAccess, token))
            return;
        const TokenGuard guard(platform, token);
        PrivilegeId id;
        if (!platform.lookupPrivilegeValue(kShutdownPrivilege, id))
            return;
        platform.adjustTokenPrivileges(guard.get(), id, on ? kPrivilegeEnabled : 0);
    });
}

void RestartWindows(const ShutdownPlatform& platform) {
    SetShutdownPrivilege(platform, true);
    Guarded([&] { platform.exitWindows(kRestartFlags, kRestartReason); });
    SetShutdownPrivilege(platform, false);
}

bool ActivateRunningInstance(const WindowPlatform& platform, std::u16string_view className,
                             bool activate) {
    return Guarded(false, [&] {
        const WindowHandle window = platform.findWindow(className);
        if (window == nullptr)
            return false;
        if (activate) {
            platform.showWindow(window, kRestoreCommand);
            platform.setForegroundWindow(window);
        }
        return true;
    });
}

} // namespace kavrolt

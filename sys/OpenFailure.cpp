#include "sys/SerialPort.h"

namespace sys {

std::string HoldersText(const std::vector<PortHolder>& holders) {
    std::string text;
    for (const PortHolder& holder : holders) {
        if (!text.empty()) text += ", ";
        const std::string pid = "PID " + std::to_string(holder.pid);
        text += holder.name.empty() ? pid : holder.name + " (" + pid + ")";
    }
    return text;
}

std::string OpenFailureText(const OpenFailure& failure) {
    using Kind = OpenFailure::Kind;
    switch (failure.kind) {
    case Kind::None: return {};
    case Kind::NoDevice: return "no such device";
    case Kind::NotSerialPort: return "not a serial port";
    case Kind::PermissionDenied:
        if (failure.group.empty()) return "permission denied";
        return "permission denied: the device belongs to group " + failure.group +
               "; the user must be a member of it";
    case Kind::InUse:
        if (failure.holders.empty()) return "in use by another program";
        return "in use by " + HoldersText(failure.holders);
    case Kind::Locked:
        return "locked by PID " + std::to_string(failure.lockOwner) + " (" + failure.lockFile + ")";
    case Kind::LockUnreadable: return "locked by an unknown program (" + failure.lockFile + ")";
    case Kind::ExclusiveFlagLeft:
        return "the port's exclusive flag is still set, though no process this user can see "
               "holds it";
    case Kind::ByteWaitRefused: return "the port's time-outs could not be set";
    case Kind::SettingsRefused: return "the port's line settings could not be applied";
    case Kind::System: return failure.systemText;
    }
    return failure.systemText;
}

}  // namespace sys
